// Leaks of the card dialog.
#include "tests/dialogs/CardDialogFixture.h"

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

} // namespace
