#include <gtest/gtest.h>

#include "controls/SkinDrawing.h"
#include "controls/SkinIconLabel.h"
#include "tests/controls/TestWindows.h"

namespace {

constexpr COLORREF Magenta = RGB(255, 0, 255);

class SkinLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(label.Create("", WS_CHILD | WS_VISIBLE, RECT{10, 10, 130, 40}, host.GetSafeHwnd(), 1001));
        label.SetNotify(host.GetSafeHwnd(), 7);
        label.SetText("Hover me", false, "", false);
    }
    void TearDown() override { SetCursorPos(0, 0); }

    void Enter(bool inside = true)
    {
        RECT rect = label.GetWindowRect();
        SetCursorPos(inside ? rect.left + 5 : rect.right + 50, inside ? rect.top + 5 : rect.bottom + 50);
        label.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    }
    // Timer ticks are sent, not waited for.
    void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            label.SendMessage(WM_TIMER, SkinLabel::HoverTimer);
    }
    std::vector<MSG> Posted() { return TakePosted(host.GetSafeHwnd(), WM_SKIN_CLICK, WM_SKIN_HOVER); }

    HostDialog host;
    SkinLabel label;
};

TEST_F(SkinLabelTest, HoverIsPostedOnTheThirdTickOnlyAndAgainAfterLeaving)
{
    Enter();
    Tick(2);
    EXPECT_TRUE(Posted().empty());
    Tick();
    auto posted = Posted();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(WM_SKIN_HOVER, posted[0].message);
    EXPECT_EQ(7u, posted[0].wParam);
    Tick();
    EXPECT_TRUE(Posted().empty());
    Enter(false);
    Tick();
    EXPECT_FALSE(label.IsHovered());
    Enter();
    Tick(3);
    EXPECT_EQ(1u, Posted().size());
}

TEST_F(SkinLabelTest, ClickBeforeTheHoverPostsOnlyTheClick)
{
    label.ModifyFlags(SkinLabel::Interactive, 0, false);
    Enter();
    Tick();
    label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    Tick(4);
    auto posted = Posted();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(WM_SKIN_CLICK, posted[0].message);
}

TEST_F(SkinLabelTest, ClicksArePostedOnlyByInteractiveEnabledLabels)
{
    struct Case {
        DWORD flags;
        UINT button;
        UINT expected;  // 0: nothing posted
    } cases[] = {
        {0, WM_LBUTTONDOWN, 0},
        {0, WM_RBUTTONDOWN, 0},
        {SkinLabel::Interactive, WM_LBUTTONDOWN, WM_SKIN_CLICK},
        {SkinLabel::Interactive, WM_RBUTTONDOWN, WM_SKIN_RIGHT_CLICK},
        {SkinLabel::Interactive | SkinLabel::Disabled, WM_LBUTTONDOWN, 0},
        {SkinLabel::Interactive | SkinLabel::Disabled, WM_RBUTTONDOWN, 0},
    };
    for (const Case& c : cases) {
        label.ModifyFlags(c.flags, ~c.flags & (SkinLabel::Interactive | SkinLabel::Disabled), false);
        EXPECT_EQ(!(c.flags & SkinLabel::Disabled), label.IsWindowEnabled() != FALSE);
        label.SendMessage(c.button, 0, MAKELPARAM(5, 5));
        auto posted = Posted();
        ASSERT_EQ(c.expected ? 1u : 0u, posted.size()) << c.flags << " " << c.button;
        if (c.expected) {
            EXPECT_EQ(c.expected, posted[0].message);
        }
    }
}

TEST_F(SkinLabelTest, EmptyTextMeasuresThreeByThree)
{
    label.SetText("", false, "", false);
    SIZE size = label.Measure(RECT{0, 0, 200, 50});
    EXPECT_EQ(3, size.cx);
    EXPECT_EQ(3, size.cy);
}

TEST(AdjustColor, KeepsGreysGreyAndZeroSaturationGivesTheLightness)
{
    for (int v : {0, 1, 64, 127, 128, 200, 255}) {
        COLORREF adjusted = AdjustColor(RGB(v, v, v), 70, -70);
        EXPECT_EQ(GetRValue(adjusted), GetGValue(adjusted)) << v;
        EXPECT_EQ(GetGValue(adjusted), GetBValue(adjusted)) << v;
        EXPECT_EQ(static_cast<DWORD>(RGB(v, v, v)), HlsToRgb(77 | (static_cast<DWORD>(v) << 8)));
    }
    EXPECT_EQ(RGB(255, 255, 255), AdjustColor(RGB(100, 100, 100), 100, 0));
    EXPECT_EQ(RGB(0, 0, 0), AdjustColor(RGB(100, 100, 100), -100, 0));
}

TEST(AdjustColor, PacksHueLightnessAndSaturation)
{
    struct Case {
        COLORREF colour;
        DWORD hls;
    } cases[] = {
        {RGB(255, 0, 0), 0 | (127 << 8) | (255u << 16)},
        {RGB(0, 255, 0), 85 | (127 << 8) | (255u << 16)},
        {RGB(0, 0, 255), 170 | (127 << 8) | (255u << 16)},
        {RGB(128, 128, 128), 0 | (128 << 8)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.hls, RgbToHls(c.colour)) << std::hex << c.colour;
        COLORREF back = HlsToRgb(c.hls);  // truncated: within a step
        EXPECT_NEAR(GetRValue(c.colour) + GetGValue(c.colour) + GetBValue(c.colour),
            GetRValue(back) + GetGValue(back) + GetBValue(back), 3) << std::hex << c.colour;
    }
}

class SkinIconLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(label.Create("", WS_CHILD | WS_VISIBLE, RECT{10, 50, 130, 80}, host.GetSafeHwnd(), 1002));
    }

    HostDialog host;
    SkinIconLabel label;
    // The pixels to compare with, and the same picture for the label (a
    // bitmap is selected into one DC at a time).
    ResourceBitmap logo{IDB_PRODUCT_LOGO};
    Bitmap image{LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_PRODUCT_LOGO))};
};

TEST_F(SkinIconLabelTest, TheCallersBitmapStaysAliveAndTheOwnCopyIsReleased)
{
    Bitmap own(CreateBitmap(8, 8, 1, 32, nullptr));
    label.SetImage(own, 0);
    EXPECT_EQ(own.Get(), label.GetImage());
    label.SetImage(image, Magenta);
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(own));
    HBITMAP copy = label.GetImage(), mask = label.GetMask();
    EXPECT_NE(image.Get(), copy);
    label.SetImage(nullptr, 0);
    EXPECT_EQ(0u, GetObjectType(copy));
    EXPECT_EQ(0u, GetObjectType(mask));
}

TEST_F(SkinIconLabelTest, MagentaOfTheImageLeavesTheBackground)
{
    label.SetImage(image, Magenta);
    constexpr COLORREF Back = RGB(10, 200, 60);
    Canvas canvas(120, 30, Back);
    label.Draw(canvas, RECT{0, 0, 120, 30});
    int top = (30 - 16) / 2, transparent = 0;
    for (int x = 0; x < 74; ++x) {
        for (int y = 0; y < 16; ++y) {
            COLORREF source = logo.At(x, y);
            transparent += source == Magenta;
            ASSERT_EQ(source == Magenta ? Back : source, canvas.At(2 + x, top + y)) << x << "," << y;
        }
    }
    EXPECT_GT(transparent, 0);
}

} // namespace
