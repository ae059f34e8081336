#include <gtest/gtest.h>

#include <functional>

#include "controls/SkinButton.h"
#include "controls/SkinIconLabel.h"
#include "controls/SkinPage.h"
#include "controls/SkinTab.h"
#include "tests/controls/TestWindows.h"
#include "tests/hosts/GdiCounter.h"

namespace {

// Each control is created, drawn and destroyed 50 times: afterwards as many
// GDI objects, DCs and windows are alive as after the first round.
// The skinned dialogs have theirs in the launcher panel's tests.
TEST(LeakTest, SkinnedControlsLeaveNothingBehind)
{
    GdiCounter& counter = GdiCounter::Install();
    ASSERT_GE(counter.PatchedEntries(), 12);
    HostDialog host;
    Canvas canvas{200, 120};
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    Bitmap logo(LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_PRODUCT_LOGO)));

    const std::pair<const char*, std::function<void()>> rounds[] = {
        {"button", [&] {
             SkinButton button;
             button.Create("OK", WS_CHILD | WS_VISIBLE, RECT{0, 0, 75, 23}, host.GetSafeHwnd(), 1000);
             button.SetBitmaps(IDB_BUTTON_STRIP, 5, 7, 7, 6, 18);
             button.SetFont(font);
             DRAWITEMSTRUCT item = {ODT_BUTTON, 1000, 0, ODA_DRAWENTIRE, ODS_FOCUS | ODS_SELECTED,
                                    button.GetSafeHwnd(), canvas, {0, 0, 75, 23}, 0};
             host.SendMessage(WM_DRAWITEM, 1000, reinterpret_cast<LPARAM>(&item));
             button.DestroyWindow();
         }},
        {"label", [&] {
             SkinIconLabel label;
             label.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 150, 20}, host.GetSafeHwnd(), 1001);
             label.SetAppearance(font, 0, RGB(0xDD, 0xDD, 0xAA), RGB(0xBB, 0xBB, 0x6E), 0, false);
             label.ModifyFlags(SkinLabel::Interactive | SkinLabel::Bold | SkinLabel::HoverUnderline, 0, false);
             label.SetImage(logo, RGB(255, 0, 255));
             label.SetText("Entry", true, "Tip", false);
             label.SendMessage(WM_MOUSEMOVE, 0, 0);
             label.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(HDC(canvas)), PRF_CLIENT);
             label.SetImage(logo, RGB(255, 0, 255));
             label.DestroyWindow();
         }},
        {"tab with a page", [&] {
             SkinTab tabs;
             tabs.CreateEx(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 300, 200}, host.GetSafeHwnd(), 1003);
             SkinPage page(IDD_DIRECTORY);
             page.Create(tabs.GetSafeHwnd());
             tabs.AddPage(&page, "Directory", 0);
             DRAWITEMSTRUCT item = {ODT_TAB, 1003, 0, ODA_DRAWENTIRE, 0, tabs.GetSafeHwnd(), canvas, {0, 0, 80, 20}, 0};
             host.SendMessage(WM_DRAWITEM, 1003, reinterpret_cast<LPARAM>(&item));
             tabs.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<HDC>(canvas)));
             tabs.DestroyWindow();
         }},
    };
    for (const auto& [name, round] : rounds) {
        auto [before, after] = counter.LiveAround(50, [&](int) { round(); });
        EXPECT_EQ(before, after) << name;
    }
}

} // namespace
