#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "controls/SkinIconLabel.h"
#include "tests/controls/TestWindows.h"

namespace {

constexpr COLORREF Magenta = RGB(255, 0, 255), Back = RGB(10, 200, 60);
constexpr COLORREF Ink = RGB(10, 20, 30), Paper = RGB(200, 200, 200), Frame = RGB(0, 0, 200), HoverInk = RGB(150, 0, 0);

// A plain label and, below it, a label with an image, both saying "Card".
class SkinLabelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(label.Create("", WS_CHILD | WS_VISIBLE, RECT{10, 10, 130, 40}, host.GetSafeHwnd(), 1001));
        ASSERT_TRUE(iconLabel.Create("", WS_CHILD | WS_VISIBLE, RECT{10, 50, 130, 80}, host.GetSafeHwnd(), 1002));
        label.SetNotify(host.GetSafeHwnd(), 7);
        for (SkinLabel* each : {&label, static_cast<SkinLabel*>(&iconLabel)}) {
            each->SetAppearance(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), Ink, Paper, Frame, HoverInk, false);
            each->SetText("Card", false, "", false);
        }
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
    // The notifications posted to the host, with the label's index.
    using Posts = std::vector<std::pair<UINT, WPARAM>>;
    Posts Posted()
    {
        Posts posts;
        for (const MSG& msg : TakePosted(host.GetSafeHwnd(), WM_SKIN_CLICK, WM_SKIN_HOVER))
            posts.emplace_back(msg.message, msg.wParam);
        return posts;
    }

    std::unique_ptr<Canvas> Drawn(DWORD flags)
    {
        label.ModifyFlags(flags, ~flags & (SkinLabel::Framed | SkinLabel::Interactive | SkinLabel::Disabled |
                                            SkinLabel::HoverUnderline), false);
        auto canvas = std::make_unique<Canvas>(120, 30);
        label.Draw(*canvas, RECT{0, 0, 120, 30});
        return canvas;
    }

    HostDialog host;
    SkinLabel label;
    SkinIconLabel iconLabel;
    // The logo's pixels, and a copy for the label: a bitmap is in one DC at a time.
    ResourceBitmap logo{IDB_PRODUCT_LOGO};
    Bitmap image{LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_PRODUCT_LOGO))};
};

// A click before the hover posts only the click; only interactive, enabled
// labels post clicks.
TEST_F(SkinLabelTest, HoverIsPostedOnTheThirdTickOnceAndClicksOnlyByInteractiveLabels)
{
    label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    Enter();
    Tick(2);
    EXPECT_EQ(Posts{}, Posted());
    Tick(2);
    EXPECT_EQ((Posts{{WM_SKIN_HOVER, 7}}), Posted());
    Enter(false);
    Tick();
    EXPECT_FALSE(label.IsHovered());

    label.ModifyFlags(SkinLabel::Interactive, 0, false);
    Enter();
    Tick();
    label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    Tick(4);
    EXPECT_EQ((Posts{{WM_SKIN_CLICK, 7}}), Posted());
    label.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ((Posts{{WM_SKIN_RIGHT_CLICK, 7}}), Posted());
    label.ModifyFlags(SkinLabel::Disabled, 0, false);
    label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(Posts{}, Posted());
}

// Framed: the second colour 73% lighter as the fill, text in the first;
// hovered: the third colour 70% lighter and 70% less saturated, text in the
// fourth, underlined when asked; disabled: grey text.
TEST_F(SkinLabelTest, ColoursFollowFrameHoverAndState)
{
    auto framed = Drawn(SkinLabel::Framed);
    EXPECT_EQ(RGB(240, 240, 240), framed->At(1, 1));
    EXPECT_GT(framed->Count(Ink), 0);

    Enter();
    ASSERT_TRUE(label.IsHovered());
    auto hovered = Drawn(SkinLabel::Interactive);
    EXPECT_EQ(RGB(193, 193, 222), hovered->At(1, 1));
    EXPECT_EQ(0, hovered->Count(Ink));
    auto underlined = Drawn(SkinLabel::Interactive | SkinLabel::HoverUnderline);
    EXPECT_GT(underlined->Count(HoverInk), hovered->Count(HoverInk));

    auto disabled = Drawn(SkinLabel::Framed | SkinLabel::Disabled);
    EXPECT_EQ(0, disabled->Count(Ink));
    EXPECT_GT(disabled->Count(SkinLabel::DisabledText), 0);
}

// The image at 2 pixels with its magenta showing the background, the text 3
// pixels after the image; the measure adds the image and 6 pixels.
TEST_F(SkinLabelTest, AnIconLabelDrawsItsImageThenTheTextAndMeasuresBoth)
{
    iconLabel.SetImage(image, Magenta);
    Canvas withImage(300, 30, Back), without(300, 30, Back);
    iconLabel.Draw(withImage, RECT{0, 0, 300, 30});
    label.Draw(without, RECT{0, 0, 300, 30});
    SIZE size = logo.Size();
    int top = (30 - size.cy) / 2, transparent = 0;
    for (int x = 0; x < size.cx; ++x) {
        for (int y = 0; y < size.cy; ++y) {
            COLORREF source = logo.At(x, y);
            transparent += source == Magenta;
            ASSERT_EQ(source == Magenta ? Back : source, withImage.At(2 + x, top + y)) << x << "," << y;
        }
    }
    EXPECT_GT(transparent, 0);
    ASSERT_GE(without.FirstColumn(Ink), 0);
    EXPECT_EQ(without.FirstColumn(Ink) + size.cx + 3, withImage.FirstColumn(Ink));
    EXPECT_EQ(label.Measure(RECT{0, 0, 300, 30}).cx + size.cx + 6, iconLabel.Measure(RECT{0, 0, 300, 30}).cx);
}

} // namespace
