// Leaks and button captions of the card dialog.
#include "tests/dialogs/CardDialogFixture.h"


#include "dialogs/SearchDialog.h"
#include "support/Base64.h"
#include "tests/hosts/GdiCounter.h"

namespace {

class WindowsTest : public CardDialogTest {
protected:
    CardDialog* OpenFilled(int language, bool own, bool show)
    {
        auto* card = new CardDialog(service);
        card->Create();
        card->SetLanguage(language);
        card->SetTitleName("Quillora");
        card->SetIdentity(own ? "u1" : "c1", "d1", own ? "User One" : "Contact One");
        if (show)
            card->ShowWindow(SW_SHOW);
        auto& identification = card->Identification();
        identification.fields = {"Ann", "Lee", "M", "Dr", "Annie", "al", {"ann@example.org", "lee@example.org"}};
        identification.SetPhotoData(Base64Encode(BitmapFile(40, 30), true));
        card->Home().fields = {.company = {}, .job = {}, .department = {}, .street = "12 Harbour Road\r\nFlat 3", .city = "Valparaiso", .state = "V Region",
            .zip = "2340000", .country = "Chile", .phone = "+56 32 555 0101", .fax = {}, .mobile = "+56 9 5555 0101",
            .web = "http://ann.example.org"};
        card->Business().fields = {.company = "Acme Shipping", .job = "Navigator", .department = "Charts", .street = {},
            .city = "Santiago", .state = {}, .zip = {}, .country = {}, .phone = {}, .fax = {}, .mobile = {},
            .web = "http://acme.example"};
        for (CardPage* page : {static_cast<CardPage*>(&identification), static_cast<CardPage*>(&card->Home()),
                 static_cast<CardPage*>(&card->Business())}) {
            page->UpdateControls();
            page->ShowContent();
        }
        if (own) {
            card->EnableEditing(1);
            card->Directory()->ShowContent();
        }
        return card;
    }
};

TEST_F(WindowsTest, OpeningAndClosingAFilledCard20TimesLeavesNoGdiOrUserObjectBehind)
{
    GdiCounter& counter = GdiCounter::Install();
    ClientDC screen(nullptr);
    auto cycle = [&](int round) {
        CardDialog* card = OpenFilled(round % 2, round % 3 == 0, false);
        RECT rect = card->GetWindowRect();
        MemoryDC memory(screen);
        Bitmap bitmap(CreateCompatibleBitmap(screen, rect.right - rect.left, rect.bottom - rect.top));
        SelectedObject selection(memory, bitmap);
        PrintWindow(card->GetSafeHwnd(), memory, 0);  // every control paints, by the routine of the screen
        Click(GetDlgItem(card->GetSafeHwnd(), IDCANCEL));
        Pump();
    };
    auto [before, after] = counter.LiveAround(20, cycle);
    EXPECT_EQ(before, after);
}

// Where each skinned button draws its caption: the pixels that change when
// the button is drawn with its caption instead of without.
struct Caption {
    std::string text;
    SIZE button;
    RECT drawn;  // empty when no pixel changed
};

// The button's pixels as it draws itself for its parent, row by row.
std::vector<COLORREF> DrawButton(HWND button, const RECT& client)
{
    ClientDC screen(nullptr);
    MemoryDC canvas(screen);
    Bitmap bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
    SelectedObject selection(canvas, bitmap);
    UINT state = IsWindowEnabled(button) ? 0 : ODS_DISABLED;
    DRAWITEMSTRUCT item = {ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(button)), 0, ODA_DRAWENTIRE, state, button,
        canvas, client, 0};
    SendMessageA(GetParent(button), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            pixels.push_back(GetPixel(canvas, x, y));
    return pixels;
}

BOOL CALLBACK AddCaption(HWND button, LPARAM captions)
{
    if (!dynamic_cast<SkinButton*>(CWnd::FromHandlePermanent(button)))
        return TRUE;
    char text[128] = {};
    GetWindowTextA(button, text, sizeof text);
    RECT client = {};
    GetClientRect(button, &client);
    auto with = DrawButton(button, client);
    SetWindowTextA(button, "");
    auto without = DrawButton(button, client);
    SetWindowTextA(button, text);
    RECT drawn = {client.right, client.bottom, 0, 0};
    for (LONG y = 0; y < client.bottom; ++y)
        for (LONG x = 0; x < client.right; ++x)
            if (with[static_cast<size_t>(y * client.right + x)] != without[static_cast<size_t>(y * client.right + x)])
                drawn = {std::min(drawn.left, x), std::min(drawn.top, y), std::max(drawn.right, x + 1),
                    std::max(drawn.bottom, y + 1)};
    reinterpret_cast<std::vector<Caption>*>(captions)->push_back({text, {client.right, client.bottom}, drawn});
    return TRUE;
}

TEST_F(WindowsTest, EveryButtonCaptionIsDrawnInsideItsButtonWithAMarginInBothLanguages)
{
    constexpr int Margin = 2;
    for (int language : {1, 0}) {
        CardDialog* card = OpenFilled(language, true, false);
        SearchDialog search(service);
        ASSERT_TRUE(search.Create());
        search.SetLanguage(language);
        std::vector<Caption> captions;
        EnumChildWindows(card->GetSafeHwnd(), AddCaption, reinterpret_cast<LPARAM>(&captions));
        EnumChildWindows(search.GetSafeHwnd(), AddCaption, reinterpret_cast<LPARAM>(&captions));
        EXPECT_EQ(14u, captions.size());
        for (const Caption& caption : captions) {
            EXPECT_GE(caption.drawn.left, Margin) << caption.text;
            EXPECT_GE(caption.drawn.top, Margin) << caption.text;
            EXPECT_LE(caption.drawn.right, caption.button.cx - Margin) << caption.text;
            EXPECT_LE(caption.drawn.bottom, caption.button.cy - Margin) << caption.text;
        }
        search.DestroyWindow();
        card->DestroyWindow();
        Pump();
    }
}

} // namespace
