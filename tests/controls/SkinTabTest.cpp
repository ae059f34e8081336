#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "controls/SkinPage.h"
#include "controls/SkinTab.h"
#include "platform/WinApp.h"
#include "tests/controls/TestWindows.h"

namespace {

// Holds keys down in this thread's key state, the state as of the message
// being translated, and lets them go at the end of the scope. What the
// keyboard does at this moment is left alone.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<BYTE> held)
    {
        GetKeyboardState(saved);
        BYTE state[256];
        std::copy(std::begin(saved), std::end(saved), state);
        for (BYTE key : held)
            state[key] |= 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(saved); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE saved[256] = {};
};

class SkinTabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tabs.SubclassDlgItem(IDC_TABS, host.GetSafeHwnd()));
        for (UINT id : {IDD_IDENTIFICATION, IDD_HOME, IDD_BUSINESS}) {
            pages.push_back(std::make_unique<SkinPage>(id));
            ASSERT_TRUE(pages.back()->Create(tabs.GetSafeHwnd()));
        }
    }
    void AddAll()
    {
        tabs.AddPage(pages[0].get(), "Identification", 0);
        tabs.AddPage(pages[1].get(), "Home", 0);
        tabs.AddPage(pages[2].get(), "Business", 0);
    }
    bool Shown(int page) const { return (pages[static_cast<size_t>(page)]->GetStyle() & WS_VISIBLE) != 0; }
    // The key pressed on a control of the current page, through the
    // application's pre-translation as the host's loop does it.
    BOOL PressOnPage(int page, WPARAM key)
    {
        MSG msg = {GetDlgItem(pages[static_cast<size_t>(page)]->GetSafeHwnd(), IDC_WAITING), WM_KEYDOWN, key, 0, 0, {}};
        return CWinApp::Instance().PreTranslateMessage(&msg);
    }
    void Click(int index)
    {
        RECT item = {};
        tabs.SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        tabs.SendMessage(WM_LBUTTONUP, 0, at);
    }
    std::unique_ptr<Canvas> RenderTab(int index, const RECT& rect)
    {
        auto canvas = std::make_unique<Canvas>(rect.right, rect.bottom);
        SelectObject(*canvas, tabs.GetFont() ? tabs.GetFont() : GetStockObject(DEFAULT_GUI_FONT));
        DRAWITEMSTRUCT item = {ODT_TAB, IDC_TABS, static_cast<UINT>(index), ODA_DRAWENTIRE, 0, tabs.GetSafeHwnd(),
            *canvas, rect, 0};
        host.SendMessage(WM_DRAWITEM, IDC_TABS, reinterpret_cast<LPARAM>(&item));
        return canvas;
    }

    HostDialog host;
    SkinTab tabs;
    std::vector<std::unique_ptr<SkinPage>> pages;
};

TEST_F(SkinTabTest, PagesShowOneAtATimeAndAClickSwitchesUnlessThePageIsDisabled)
{
    AddAll();
    EXPECT_TRUE(tabs.GetStyle() & TCS_OWNERDRAWFIXED);
    EXPECT_EQ(3, tabs.GetItemCount());
    EXPECT_TRUE(Shown(0));
    EXPECT_FALSE(Shown(1));
    EXPECT_FALSE(Shown(2));
    RECT placed = pages[1]->GetWindowRect();
    MapWindowPoints(nullptr, tabs.GetSafeHwnd(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(4, placed.left);
    EXPECT_EQ(28, placed.top);
    EXPECT_EQ(pages[1].get(), tabs.PageAt(1));
    tabs.SetPage(2, pages[0].get(), "Other", 0);
    EXPECT_FALSE(Shown(0));
    tabs.SetPage(0, pages[0].get(), "Identification", 0);
    tabs.SetPage(2, pages[2].get(), "Business", 0);
    EXPECT_TRUE(Shown(0));

    tabs.SetPageEnabled(1, false);
    EXPECT_FALSE(tabs.SelectPage(1));
    Click(1);
    EXPECT_EQ(0, tabs.GetCurSel());
    EXPECT_TRUE(Shown(0));
    EXPECT_FALSE(Shown(1));
    Click(2);
    EXPECT_EQ(2, tabs.GetCurSel());
    EXPECT_TRUE(Shown(2));
    EXPECT_FALSE(Shown(0));
}

TEST_F(SkinTabTest, ControlKeysOnAPageMoveTheSelectionWithWrapAround)
{
    AddAll();
    {
        HeldKeys control({VK_CONTROL});
        EXPECT_TRUE(PressOnPage(0, VK_TAB));
        EXPECT_EQ(1, tabs.GetCurSel());
        EXPECT_TRUE(PressOnPage(1, VK_NEXT));
        EXPECT_EQ(2, tabs.GetCurSel());
        EXPECT_TRUE(PressOnPage(2, VK_NEXT));
        EXPECT_EQ(0, tabs.GetCurSel());
        EXPECT_TRUE(PressOnPage(0, VK_PRIOR));
        EXPECT_EQ(2, tabs.GetCurSel());
        EXPECT_TRUE(Shown(2));
        EXPECT_FALSE(Shown(0));
    }
    {
        HeldKeys controlShift({VK_CONTROL, VK_SHIFT});
        EXPECT_TRUE(PressOnPage(2, VK_TAB));
        EXPECT_EQ(1, tabs.GetCurSel());
    }
    PressOnPage(1, VK_TAB);
    EXPECT_EQ(1, tabs.GetCurSel());
}

TEST_F(SkinTabTest, TabTextIsCutAt62Characters)
{
    std::string text62(62, 'W');
    tabs.AddPage(pages[0].get(), (text62 + "XYZ").c_str(), -1);
    tabs.AddPage(pages[1].get(), text62.c_str(), -1);
    tabs.AddPage(pages[2].get(), std::string(61, 'W').c_str(), -1);
    RECT wide = {0, 0, 900, 24};
    auto cut = RenderTab(0, wide);
    auto exact = RenderTab(1, wide);
    auto shorter = RenderTab(2, wide);
    bool sameAsExact = true, sameAsShorter = true;
    for (int x = 0; x < wide.right; ++x)
        for (int y = 0; y < wide.bottom; ++y) {
            sameAsExact = sameAsExact && cut->At(x, y) == exact->At(x, y);
            sameAsShorter = sameAsShorter && cut->At(x, y) == shorter->At(x, y);
        }
    EXPECT_TRUE(sameAsExact);
    EXPECT_FALSE(sameAsShorter);
    EXPECT_EQ(SkinTab::Background, cut->At(1, 10));
}

// Black text on an enabled tab, the chosen colour on the selected one, grey
// on a tab whose page is disabled.
TEST_F(SkinTabTest, TabTextColoursFollowSelectionAndState)
{
    AddAll();
    constexpr COLORREF Chosen = RGB(0, 0, 250);
    tabs.SetSelectedTextColour(Chosen);
    tabs.SetPageEnabled(2, false);
    RECT rect = {0, 0, 120, 24};
    auto selected = RenderTab(0, rect), other = RenderTab(1, rect), disabled = RenderTab(2, rect);
    EXPECT_GT(selected->Count(Chosen), 0);
    EXPECT_EQ(0, selected->Count(GetSysColor(COLOR_BTNTEXT)));
    EXPECT_GT(other->Count(GetSysColor(COLOR_BTNTEXT)), 0);
    EXPECT_EQ(0, other->Count(Chosen));
    EXPECT_GT(disabled->Count(GetSysColor(COLOR_GRAYTEXT)), 0);
    EXPECT_EQ(0, disabled->Count(GetSysColor(COLOR_BTNTEXT)));
}

} // namespace
