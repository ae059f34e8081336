#include <gtest/gtest.h>

#include <vector>

#include "controls/SkinDialog.h"
#include "tests/controls/TestWindows.h"

namespace {

// What the hooks saw; outlives the self-deleting dialog.
struct Record {
    int initSkin = 0;
    int applyAppearance = 0;
    int layouts = 0;
    std::vector<int> clicks, hovers, rightClicks;
    std::vector<WPARAM> appMessages;
    bool deleted = false;
};

class PanelDialog : public SkinDialog {
public:
    explicit PanelDialog(Record& seen) : SkinDialog(IDD_LAUNCHER), record(seen) {}

protected:
    void InitSkin() override { ++record.initSkin; }
    void ApplyAppearance() override { ++record.applyAppearance; }
    void OnLayout() override { ++record.layouts; }
    void OnAppMessage(WPARAM wParam) override { record.appMessages.push_back(wParam); }
    void OnItemClick(int index) override { record.clicks.push_back(index); }
    void OnItemHover(int index) override { record.hovers.push_back(index); }
    void OnItemRightClick(int index) override { record.rightClicks.push_back(index); }
    void OnPostNcDestroy() override { record.deleted = true; }

private:
    Record& record;
};

constexpr COLORREF Line = RGB(200, 0, 0);

class SkinDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A host background whose pixels tell where they come from.
        ClientDC screen(nullptr);
        background.Reset(CreateCompatibleBitmap(screen, 400, 300));
        MemoryDC dc(screen);
        SelectedObject selection(dc, background);
        for (int y = 0; y < 300; y += 10)
            for (int x = 0; x < 400; x += 10)
                FillSolid(dc, RECT{x, y, x + 10, y + 10}, RGB(x / 2, y / 2, 90));
        dialog = new PanelDialog(record);
        ASSERT_TRUE(dialog->Create(host.GetSafeHwnd()));
    }
    void TearDown() override
    {
        if (!record.deleted)
            dialog->DestroyWindow();
    }
    void Apply(HBITMAP bitmap)
    {
        dialog->ApplySkin(font, Line, RGB(255, 255, 255), RGB(0, 0, 200), RGB(0, 0, 0), bitmap, RECT{40, 30, 200, 200});
    }

    HostDialog host;
    Record record;
    PanelDialog* dialog = nullptr;
    Bitmap background;
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
};

TEST_F(SkinDialogTest, ApplySkinMakesTheCaptionBoldFilledPaddedAndCentred)
{
    Apply(background);
    EXPECT_EQ(1, record.initSkin);
    EXPECT_EQ(1, record.applyAppearance);
    EXPECT_GE(record.layouts, 2);
    DWORD flags = dialog->Caption().GetFlags();
    EXPECT_EQ(static_cast<DWORD>(SkinLabel::Bold | SkinLabel::Filled), flags & (SkinLabel::Bold | SkinLabel::Filled));
    dialog->UpdateSkin(font, Line, 0, 0, 0, background, RECT{0, 0, 10, 10});
    EXPECT_EQ(1, record.initSkin);
    EXPECT_EQ(2, record.applyAppearance);

    dialog->SetCaption("Directory Service");
    EXPECT_EQ("  Directory Service  ", dialog->Caption().GetText());
    RECT client = dialog->GetClientRect();
    RECT caption = dialog->Caption().GetWindowRect();
    MapWindowPoints(nullptr, dialog->GetSafeHwnd(), reinterpret_cast<POINT*>(&caption), 2);
    int width = caption.right - caption.left, height = caption.bottom - caption.top;
    EXPECT_EQ(client.right / 2 - width / 2, caption.left);
    EXPECT_EQ(0, caption.top);
    EXPECT_EQ(height, dialog->CaptionBottom());
    EXPECT_EQ(height + 1, dialog->ClientArea().top);
    EXPECT_EQ(dialog->Caption().GetSafeHwnd(), GetDlgItem(dialog->GetSafeHwnd(), SkinDialog::CaptionId));

    dialog->SetCaption(std::string(80, 'W'));
    caption = dialog->Caption().GetWindowRect();
    MapWindowPoints(nullptr, dialog->GetSafeHwnd(), reinterpret_cast<POINT*>(&caption), 2);
    EXPECT_LT(caption.left, 0);
}

TEST_F(SkinDialogTest, PaintsTheHostBackgroundRegionAndTheLineOrNothingWithoutABackground)
{
    Apply(background);
    dialog->SetCaption("Panel");
    RECT client = dialog->GetClientRect();
    Canvas canvas(client.right, client.bottom);
    dialog->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(canvas)), PRF_CLIENT);
    int line = dialog->CaptionBottom();
    for (POINT p : {POINT{0, line + 5}, POINT{55, line + 20}, POINT{client.right - 1, client.bottom - 1}}) {
        int sx = 40 + p.x, sy = 30 + p.y;
        EXPECT_EQ(RGB(sx / 10 * 5, sy / 10 * 5, 90), canvas.At(p.x, p.y)) << p.x << "," << p.y;
    }
    EXPECT_EQ(Line, canvas.At(0, line));
    EXPECT_EQ(Line, canvas.At(client.right - 2, line));

    Apply(nullptr);
    Canvas untouched(client.right, client.bottom, RGB(7, 7, 7));
    dialog->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(untouched)), PRF_CLIENT);
    EXPECT_TRUE(dialog->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<HDC>(untouched))));
    EXPECT_EQ(client.right * client.bottom, untouched.Count(RGB(7, 7, 7)));
}

TEST_F(SkinDialogTest, LabelNotificationsReachTheHooksAndItDeletesItselfAfterItsWindow)
{
    dialog->PostMessage(WM_SKIN_CLICK, 2);
    dialog->PostMessage(WM_SKIN_HOVER, 5);
    dialog->PostMessage(WM_SKIN_RIGHT_CLICK, 9);
    dialog->PostMessage(WM_APP + 100, 33);
    Pump();
    EXPECT_EQ(std::vector<int>{2}, record.clicks);
    EXPECT_EQ(std::vector<int>{5}, record.hovers);
    EXPECT_EQ(std::vector<int>{9}, record.rightClicks);
    EXPECT_EQ(std::vector<WPARAM>{33}, record.appMessages);
    EXPECT_EQ(0, dialog->SendMessage(WM_SKIN_CLICK, 4));

    HWND window = dialog->GetSafeHwnd();
    ::DestroyWindow(window);
    EXPECT_TRUE(record.deleted);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(window));
}

} // namespace
