#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "controls/SkinButton.h"
#include "controls/SkinDialog.h"
#include "controls/SkinIconLabel.h"
#include "controls/SkinPage.h"
#include "controls/SkinTab.h"
#include "tests/controls/TestWindows.h"
#include "tests/hosts/GdiCounter.h"

std::ostream& operator<<(std::ostream& out, const GuiObjects& live)
{
    return out << live.gdiObjects << " GDI objects, " << live.deviceContexts << " DCs, " << live.icons
               << " icons, " << live.windows << " windows";
}

namespace {

constexpr int Rounds = 50;

class Panel : public SkinDialog {
public:
    Panel() : SkinDialog(IDD_LAUNCHER) {}

protected:
    void InitSkin() override
    {
        if (entry.SubclassDlgItem(IDC_OWN_CARD_ENTRY, hwnd)) {
            entry.ModifyFlags(SkinLabel::Interactive, 0, false);
            entry.SetImage(image, RGB(255, 0, 255));
            entry.SetNotify(hwnd, 1);
        }
    }
    void ApplyAppearance() override { entry.SetAppearance(font, colours[0], colours[1], colours[2], colours[3], false); }
    void OnLayout() override {}

private:
    SkinIconLabel entry;
    Bitmap image{LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_OWN_CARD))};
};

class LeakTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_GE(counter.PatchedEntries(), 12); }

    // Runs one creation and destruction, then Rounds of them, and expects
    // nothing of it to be left.
    void Cycle(const std::function<void()>& round)
    {
        round();
        GuiObjects before = counter.Live();
        for (int i = 0; i < Rounds; ++i)
            round();
        Pump();
        EXPECT_EQ(before, counter.Live());
    }
    void Print(HWND window, HDC dc)
    {
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    }

    GdiCounter& counter = GdiCounter::Install();
    HostDialog host;
    Canvas canvas{200, 120};
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
};

TEST_F(LeakTest, CounterSeesWhatIsCreatedAndNotReleased)
{
    GuiObjects before = counter.Live();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HDC dc = CreateCompatibleDC(nullptr);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, host.GetSafeHwnd(), nullptr, nullptr, nullptr);
    GuiObjects during = counter.Live();
    EXPECT_EQ(before.gdiObjects + 1, during.gdiObjects);
    EXPECT_EQ(before.deviceContexts + 1, during.deviceContexts);
    EXPECT_EQ(before.windows + 1, during.windows);
    DeleteObject(brush);
    DeleteDC(dc);
    DestroyWindow(window);
    EXPECT_EQ(before, counter.Live());
}

TEST_F(LeakTest, SkinButton)
{
    Cycle([&] {
        SkinButton button;
        button.Create("OK", WS_CHILD | WS_VISIBLE, RECT{0, 0, 75, 23}, host.GetSafeHwnd(), 1000);
        button.SetBitmaps(IDB_BUTTON_STRIP, 5, 7, 7, 6, 18);
        button.SetFont(font);
        DRAWITEMSTRUCT item = {ODT_BUTTON, 1000, 0, ODA_DRAWENTIRE, ODS_FOCUS | ODS_SELECTED, button.GetSafeHwnd(),
            canvas, {0, 0, 75, 23}, 0};
        host.SendMessage(WM_DRAWITEM, 1000, reinterpret_cast<LPARAM>(&item));
        button.DestroyWindow();
    });
}

TEST_F(LeakTest, SkinLabel)
{
    Cycle([&] {
        SkinLabel label;
        label.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 120, 20}, host.GetSafeHwnd(), 1001);
        label.SetAppearance(font, 0, RGB(200, 200, 200), RGB(0, 0, 200), 0, false);
        label.ModifyFlags(SkinLabel::Interactive | SkinLabel::Bold | SkinLabel::HoverUnderline, 0, false);
        label.SetText("Entry", true, "Tip", false);
        label.SendMessage(WM_MOUSEMOVE, 0, 0);
        Print(label.GetSafeHwnd(), canvas);
        label.DestroyWindow();
    });
}

TEST_F(LeakTest, SkinIconLabel)
{
    Bitmap image(LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_PRODUCT_LOGO)));
    Cycle([&] {
        SkinIconLabel label;
        label.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 150, 20}, host.GetSafeHwnd(), 1002);
        label.SetAppearance(font, 0, RGB(0xDD, 0xDD, 0xAA), RGB(0xBB, 0xBB, 0x6E), 0, false);
        label.ModifyFlags(SkinLabel::Framed, 0, false);
        label.SetImage(image, RGB(255, 0, 255));
        label.SetText("Quillora", true, "", false);
        Print(label.GetSafeHwnd(), canvas);
        label.SetImage(image, RGB(255, 0, 255));
        label.DestroyWindow();
    });
}

TEST_F(LeakTest, SkinTabWithAPage)
{
    Cycle([&] {
        SkinTab tabs;
        tabs.CreateEx(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 200}, host.GetSafeHwnd(), 1003);
        SkinPage page(IDD_DIRECTORY);
        page.Create(tabs.GetSafeHwnd());
        tabs.AddPage(&page, "Directory", 0);
        DRAWITEMSTRUCT item = {ODT_TAB, 1003, 0, ODA_DRAWENTIRE, 0, tabs.GetSafeHwnd(), canvas, {0, 0, 80, 20}, 0};
        host.SendMessage(WM_DRAWITEM, 1003, reinterpret_cast<LPARAM>(&item));
        tabs.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<HDC>(canvas)));
        tabs.DestroyWindow();
    });
}

TEST_F(LeakTest, SkinDialog)
{
    ClientDC screen(nullptr);
    Bitmap background(CreateCompatibleBitmap(screen, 300, 300));
    Cycle([&] {
        auto* panel = new Panel;
        panel->Create(host.GetSafeHwnd());
        panel->ApplySkin(font, RGB(0, 0, 128), RGB(255, 255, 255), RGB(0, 0, 200), 0, background, RECT{10, 10, 200, 200});
        panel->SetCaption("Directory Service");
        Print(panel->GetSafeHwnd(), canvas);
        panel->DestroyWindow();
    });
}

} // namespace
