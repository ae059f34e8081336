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
        TakePosted(host.GetSafeHwnd(), WM_SKIN_CLICK, WM_SKIN_HOVER);
    }
    void TearDown() override { SetCursorPos(0, 0); }

    void PointAt(bool inside)
    {
        RECT rect = label.GetWindowRect();
        SetCursorPos(inside ? (rect.left + rect.right) / 2 : rect.right + 50, inside ? (rect.top + rect.bottom) / 2 : rect.bottom + 50);
    }
    void Enter()
    {
        PointAt(true);
        label.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    }
    void Tick() { label.SendMessage(WM_TIMER, SkinLabel::HoverTimer); }
    std::vector<MSG> Notifications() { return TakePosted(host.GetSafeHwnd(), WM_SKIN_CLICK, WM_SKIN_HOVER); }

    HostDialog host;
    SkinLabel label;
};

TEST_F(SkinLabelTest, CreationAddsNotifyAndNoPrefix)
{
    EXPECT_EQ(static_cast<DWORD>(SS_NOTIFY | SS_NOPREFIX), label.GetStyle() & (SS_NOTIFY | SS_NOPREFIX));
}

TEST_F(SkinLabelTest, HoverIsPostedOnTheThirdTickOnly)
{
    Enter();
    ASSERT_TRUE(label.IsHovered());
    Tick();
    Tick();
    EXPECT_TRUE(Notifications().empty());
    Tick();
    auto posted = Notifications();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(WM_SKIN_HOVER, posted[0].message);
    EXPECT_EQ(7u, posted[0].wParam);
    EXPECT_EQ(0, posted[0].lParam);
    Tick();
    EXPECT_TRUE(Notifications().empty());
}

TEST_F(SkinLabelTest, LeavingEndsTheHoverAndStartsTheCountAgain)
{
    Enter();
    Tick();
    Tick();
    PointAt(false);
    Tick();
    EXPECT_FALSE(label.IsHovered());
    Enter();
    Tick();
    Tick();
    EXPECT_TRUE(Notifications().empty());
    Tick();
    EXPECT_EQ(1u, Notifications().size());
}

TEST_F(SkinLabelTest, ClickBeforeTheHoverPostsOnlyTheClick)
{
    label.ModifyFlags(SkinLabel::Interactive, 0, false);
    Enter();
    Tick();
    label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    for (int i = 0; i < 4; ++i)
        Tick();
    auto posted = Notifications();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(WM_SKIN_CLICK, posted[0].message);
    EXPECT_EQ(7u, posted[0].wParam);
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
        label.SendMessage(c.button, 0, MAKELPARAM(5, 5));
        auto posted = Notifications();
        if (c.expected == 0) {
            EXPECT_TRUE(posted.empty()) << c.flags << " " << c.button;
        } else {
            ASSERT_EQ(1u, posted.size()) << c.flags << " " << c.button;
            EXPECT_EQ(c.expected, posted[0].message);
        }
    }
}

TEST_F(SkinLabelTest, DisabledFlagDisablesTheWindowAndStopsTheHover)
{
    label.ModifyFlags(SkinLabel::Disabled, 0, false);
    EXPECT_FALSE(label.IsWindowEnabled());
    Enter();
    for (int i = 0; i < 3; ++i)
        Tick();
    EXPECT_TRUE(Notifications().empty());
    label.ModifyFlags(0, SkinLabel::Disabled, false);
    EXPECT_TRUE(label.IsWindowEnabled());
}

TEST_F(SkinLabelTest, HoverCursorOnlyOverAnInteractiveLabel)
{
    HCURSOR hand = LoadCursorA(ModuleInstance(), MAKEINTRESOURCEA(IDR_HAND_CURSOR));
    ASSERT_NE(nullptr, hand);
    label.SetHoverCursor(hand);
    SetCursor(nullptr);
    label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(label.GetSafeHwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(hand, GetCursor());
    label.ModifyFlags(SkinLabel::Interactive, 0, false);
    EXPECT_TRUE(label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(label.GetSafeHwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(hand, GetCursor());
}

TEST_F(SkinLabelTest, EmptyTextMeasuresThreeByThree)
{
    label.SetText("", false, "", false);
    SIZE size = label.Measure(RECT{0, 0, 200, 50});
    EXPECT_EQ(3, size.cx);
    EXPECT_EQ(3, size.cy);
}

TEST_F(SkinLabelTest, AutoSizeFitsTheTextAndPaddingWidensAFilledLabel)
{
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    label.SetAppearance(font, 0, 0, 0, 0, false);
    label.SetText("Caption", true, "", true);
    EXPECT_EQ("Caption", label.GetText());
    RECT plain = label.GetWindowRect();
    label.ModifyFlags(SkinLabel::Filled, 0, false);
    label.SetText("Caption", true, "", true);
    EXPECT_EQ("  Caption  ", label.GetText());
    EXPECT_EQ("  Caption  ", label.GetWindowText());
    RECT padded = label.GetWindowRect();
    EXPECT_GT(padded.right - padded.left, plain.right - plain.left);
    EXPECT_EQ(plain.bottom - plain.top, padded.bottom - padded.top);
}

TEST_F(SkinLabelTest, TooltipIsMadeOnDemandAndRemovedByAnEmptyText)
{
    label.SetText("Entry", false, "More about it", false);
    ASSERT_NE(nullptr, label.GetToolTip());
    HWND tip = label.GetToolTip()->GetSafeHwnd();
    EXPECT_TRUE(IsWindow(tip));
    label.SetText("Entry", false, "", false);
    EXPECT_EQ(nullptr, label.GetToolTip());
    EXPECT_FALSE(IsWindow(tip));
}

TEST_F(SkinLabelTest, FilledLabelPaintsColourOneAndDisabledTextIsGrey)
{
    label.SetAppearance(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), RGB(200, 30, 30), RGB(255, 255, 255), 0, 0, false);
    label.ModifyFlags(SkinLabel::Filled, 0, false);
    Canvas filled(120, 30);
    label.DrawText(filled, RECT{0, 0, 120, 30}, false);
    EXPECT_EQ(RGB(200, 30, 30), filled.At(118, 1));

    label.ModifyFlags(SkinLabel::Disabled, SkinLabel::Filled, false);
    Canvas disabled(120, 30, RGB(250, 250, 250));
    label.DrawText(disabled, RECT{0, 0, 120, 30}, false);
    int grey = 0, red = 0;
    for (int x = 0; x < 120; ++x)
        for (int y = 0; y < 30; ++y) {
            grey += disabled.At(x, y) == SkinLabel::DisabledText;
            red += disabled.At(x, y) == RGB(200, 30, 30);
        }
    EXPECT_GT(grey, 0);
    EXPECT_EQ(0, red);
}

TEST(AdjustColor, KeepsGreysGrey)
{
    for (int v : {0, 1, 64, 127, 128, 200, 254, 255}) {
        COLORREF adjusted = AdjustColor(RGB(v, v, v), 70, -70);
        EXPECT_EQ(GetRValue(adjusted), GetGValue(adjusted)) << v;
        EXPECT_EQ(GetGValue(adjusted), GetBValue(adjusted)) << v;
        EXPECT_GE(GetRValue(adjusted), v) << v;
    }
}

TEST(AdjustColor, HlsToRgbOfZeroSaturationIsTheLightnessByte)
{
    for (DWORD lightness : {0u, 17u, 128u, 255u}) {
        DWORD hue = 77;
        EXPECT_EQ(RGB(lightness, lightness, lightness), HlsToRgb(hue | (lightness << 8)));
    }
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
        {RGB(255, 255, 255), 0 | (255 << 8)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.hls, RgbToHls(c.colour)) << std::hex << c.colour;
}

TEST(AdjustColor, RoundTripsWithinTruncation)
{
    for (COLORREF colour : {RGB(0xBB, 0xBB, 0x6E), RGB(0xDD, 0xDD, 0xAA), RGB(30, 90, 200), RGB(250, 10, 120)}) {
        COLORREF back = HlsToRgb(RgbToHls(colour));
        EXPECT_NEAR(GetRValue(colour), GetRValue(back), 4) << std::hex << colour;
        EXPECT_NEAR(GetGValue(colour), GetGValue(back), 4) << std::hex << colour;
        EXPECT_NEAR(GetBValue(colour), GetBValue(back), 4) << std::hex << colour;
    }
}

TEST(AdjustColor, MovesLightnessTowardsTheEnds)
{
    EXPECT_EQ(RGB(255, 255, 255), AdjustColor(RGB(100, 100, 100), 100, 0));
    EXPECT_EQ(RGB(0, 0, 0), AdjustColor(RGB(100, 100, 100), -100, 0));
    EXPECT_EQ(HlsToRgb(RgbToHls(RGB(30, 90, 200))), AdjustColor(RGB(30, 90, 200), 0, 0));
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

TEST_F(SkinIconLabelTest, ImageWithoutTransparencyIsTheCallersAndStaysAlive)
{
    Bitmap own(CreateBitmap(8, 8, 1, 32, nullptr));
    label.SetImage(own, 0);
    EXPECT_EQ(own.Get(), label.GetImage());
    EXPECT_EQ(nullptr, label.GetMask());
    label.SetImage(image, Magenta);
    EXPECT_EQ(OBJ_BITMAP, GetObjectType(own));
    EXPECT_NE(image.Get(), label.GetImage());
}

TEST_F(SkinIconLabelTest, MaskedCopyIsReleasedWhenReplaced)
{
    label.SetImage(image, Magenta);
    HBITMAP copy = label.GetImage(), mask = label.GetMask();
    ASSERT_NE(nullptr, mask);
    label.SetImage(nullptr, 0);
    EXPECT_EQ(0u, GetObjectType(copy));
    EXPECT_EQ(0u, GetObjectType(mask));
    EXPECT_EQ(nullptr, label.GetImage());
}

TEST_F(SkinIconLabelTest, MagentaOfTheImageLeavesTheBackground)
{
    label.SetImage(image, Magenta);
    constexpr COLORREF Back = RGB(10, 200, 60);
    Canvas canvas(120, 30, Back);
    label.Draw(canvas, RECT{0, 0, 120, 30});
    int top = (30 - 16) / 2;
    int transparent = 0, opaque = 0;
    for (int x = 0; x < 74; ++x) {
        for (int y = 0; y < 16; ++y) {
            COLORREF source = logo.At(x, y);
            if (source == Magenta) {
                ++transparent;
                ASSERT_EQ(Back, canvas.At(2 + x, top + y)) << x << "," << y;
            } else {
                ++opaque;
                ASSERT_EQ(source, canvas.At(2 + x, top + y)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(transparent, 0);
    EXPECT_GT(opaque, 0);
}

TEST_F(SkinIconLabelTest, MeasureMakesRoomForTheImage)
{
    label.SetAppearance(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), 0, 0, 0, 0, false);
    label.SetText("Quillora", false, "", false);
    SIZE textOnly = label.Measure(RECT{0, 0, 300, 8});
    label.SetImage(image, Magenta);
    SIZE withImage = label.Measure(RECT{0, 0, 300, 8});
    EXPECT_EQ(textOnly.cx + 74 + 6, withImage.cx);
    EXPECT_GE(withImage.cy, 16);
}

} // namespace
