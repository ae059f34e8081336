#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/SkinPage.h"
#include "controls/SkinTab.h"
#include "tests/controls/TestWindows.h"

namespace {

class SkinTabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tabs.SubclassDlgItem(IDC_TABS, host.GetSafeHwnd()));
        for (UINT id : {IDD_IDENTIFICATION, IDD_HOME, IDD_BUSINESS}) {
            pages.push_back(std::make_unique<SkinPage>(id));
            ASSERT_TRUE(pages.back()->Create(tabs.GetSafeHwnd()));
            tabs.AddPage(pages.back().get(), "Page", 0);
        }
    }
    // Which pages are visible, "1" for each shown.
    std::string Shown() const
    {
        std::string shown;
        for (const auto& page : pages)
            shown += (page->GetStyle() & WS_VISIBLE) ? '1' : '0';
        return shown;
    }
    // The key pressed on a control of the current page with Control and Shift
    // held as asked, through the pre-translation of the host's loop.
    BOOL PressOnPage(WPARAM key, bool control, bool shift)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        HWND page = pages[static_cast<size_t>(tabs.GetCurSel())]->GetSafeHwnd();
        MSG msg = {GetDlgItem(page, IDC_WAITING), WM_KEYDOWN, key, 0, 0, {}};
        BOOL handled = CWinApp::Instance().PreTranslateMessage(&msg);
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return handled;
    }
    void Click(int index)
    {
        RECT item = {};
        tabs.SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    }

    HostDialog host;
    SkinTab tabs;
    std::vector<std::unique_ptr<SkinPage>> pages;
};

TEST_F(SkinTabTest, PagesShowOneAtATimeDisabledOnesCannotBeChosenAndTabTextShowsTheState)
{
    EXPECT_TRUE(tabs.GetStyle() & TCS_OWNERDRAWFIXED);
    EXPECT_EQ("100", Shown());
    tabs.SetPage(1, pages[1].get(), "Renamed", 0);
    tabs.SetPage(0, pages[0].get(), "Renamed", 0);
    EXPECT_EQ("100", Shown());

    tabs.SetPageEnabled(1, false);
    EXPECT_FALSE(tabs.SelectPage(1));
    Click(1);
    EXPECT_EQ(0, tabs.GetCurSel());
    EXPECT_EQ("100", Shown());
    Click(2);
    EXPECT_EQ(2, tabs.GetCurSel());
    EXPECT_EQ("001", Shown());

    // Black text on an enabled tab, grey on a disabled one, the chosen colour
    // on the selected one.
    constexpr COLORREF Chosen = RGB(0, 0, 250);
    tabs.SetSelectedTextColour(Chosen);
    COLORREF black = GetSysColor(COLOR_BTNTEXT), grey = GetSysColor(COLOR_GRAYTEXT);
    struct Case {
        COLORREF shown, absent;
    } cases[] = {{black, Chosen}, {grey, black}, {Chosen, black}};
    for (UINT index = 0; index < 3; ++index) {
        Canvas canvas(120, 24);
        SelectObject(canvas, tabs.GetFont() ? tabs.GetFont() : GetStockObject(DEFAULT_GUI_FONT));
        DRAWITEMSTRUCT item = {ODT_TAB, IDC_TABS, index, ODA_DRAWENTIRE, 0, tabs.GetSafeHwnd(), canvas, {0, 0, 120, 24}, 0};
        host.SendMessage(WM_DRAWITEM, IDC_TABS, reinterpret_cast<LPARAM>(&item));
        EXPECT_GT(canvas.Count(cases[index].shown), 0) << index;
        EXPECT_EQ(0, canvas.Count(cases[index].absent)) << index;
    }
}

// Control with Tab or Page Down moves forward, with Shift or Page Up back,
// round the end; without Control the selection stays.
TEST_F(SkinTabTest, ControlKeysOnAPageMoveTheSelectionWithWrapAround)
{
    struct Case {
        WPARAM key;
        bool control, shift;
        int selected;
    } cases[] = {
        {VK_TAB, true, false, 1},  {VK_NEXT, true, false, 2}, {VK_NEXT, true, false, 0},
        {VK_PRIOR, true, false, 2}, {VK_TAB, true, true, 1},  {VK_TAB, false, false, 1},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(PressOnPage(c.key, c.control, c.shift) || !c.control) << c.key;
        EXPECT_EQ(c.selected, tabs.GetCurSel()) << c.key;
        EXPECT_EQ(c.selected, static_cast<int>(Shown().find('1'))) << c.key;
    }
}

} // namespace
