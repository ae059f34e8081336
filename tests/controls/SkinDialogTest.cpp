#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/SkinDialog.h"
#include "tests/controls/TestWindows.h"

namespace {

// What the hooks saw, in order; outlives the self-deleting dialog.
struct Record {
    std::vector<std::string> calls;
    bool deleted = false;
};

class PanelDialog : public SkinDialog {
public:
    explicit PanelDialog(Record& seen) : SkinDialog(IDD_LAUNCHER), record(seen) {}

protected:
    void InitSkin() override { record.calls.push_back("init"); }
    void ApplyAppearance() override { record.calls.push_back("look"); }
    void OnLayout() override {}
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
        dialog->ApplySkin(font, Line, RGB(255, 255, 255), RGB(0, 0, 200), 0, background, RECT{40, 30, 200, 200});
    }
    void TearDown() override
    {
        if (!record.deleted)
            dialog->DestroyWindow();
    }
    HostDialog host;
    Record record;
    PanelDialog* dialog = nullptr;
    Bitmap background;
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
};

// The caption centred over the line, the client area below it.
TEST_F(SkinDialogTest, PaintsTheHostBackgroundRegionAndTheLineUnderTheCaptionOrNothingWithoutABackground)
{
    dialog->SetCaption("Panel");
    RECT client = dialog->GetClientRect(), caption = dialog->Caption().GetWindowRect();
    MapWindowPoints(nullptr, dialog->GetSafeHwnd(), reinterpret_cast<POINT*>(&caption), 2);
    EXPECT_EQ(client.right / 2 - (caption.right - caption.left) / 2, caption.left);
    EXPECT_EQ(caption.bottom + 1, dialog->ClientArea().top);
    Canvas canvas(client.right, client.bottom), untouched(client.right, client.bottom, RGB(7, 7, 7));
    dialog->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(canvas)), PRF_CLIENT);
    for (POINT p : {POINT{0, caption.bottom + 5}, POINT{55, caption.bottom + 20}, POINT{client.right - 1, client.bottom - 1}}) {
        int sx = 40 + p.x, sy = 30 + p.y;
        EXPECT_EQ(RGB(sx / 10 * 5, sy / 10 * 5, 90), canvas.At(p.x, p.y)) << p.x << "," << p.y;
    }
    EXPECT_EQ(Line, canvas.At(0, caption.bottom));
    EXPECT_EQ(Line, canvas.At(client.right - 2, caption.bottom));

    dialog->UpdateSkin(font, Line, 0, 0, 0, nullptr, RECT{40, 30, 200, 200});
    EXPECT_EQ((std::vector<std::string>{"look", "init", "look"}), record.calls);
    dialog->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(untouched)), PRF_CLIENT);
    EXPECT_TRUE(dialog->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<HDC>(untouched))));
    EXPECT_EQ(client.right * client.bottom, untouched.Count(RGB(7, 7, 7)));
}

} // namespace
