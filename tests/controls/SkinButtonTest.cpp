#include <gtest/gtest.h>

#include <memory>

#include "controls/SkinButton.h"
#include "tests/controls/TestWindows.h"

namespace {

constexpr int Width = 75, Height = 23;
constexpr int Top = 7, Bottom = 7, Left = 6, Right = 18;
constexpr int FrameWidth = 26, FrameHeight = 19;
constexpr COLORREF Magenta = RGB(255, 0, 255);
constexpr COLORREF Black = RGB(0, 0, 0);

enum Frame { Normal = 0, Pressed = 1, Disabled = 2, Focused = 3 };

class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(button.Create("OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, RECT{10, 10, 10 + Width, 10 + Height},
            host.GetSafeHwnd(), 1000));
    }

    // Draws the button as its parent asks it to, through WM_DRAWITEM.
    std::unique_ptr<Canvas> Render(UINT state)
    {
        auto canvas = std::make_unique<Canvas>(Width, Height);
        DRAWITEMSTRUCT item = {ODT_BUTTON, 1000, 0, ODA_DRAWENTIRE, state, button.GetSafeHwnd(), *canvas,
            {0, 0, Width, Height}, 0};
        EXPECT_TRUE(host.SendMessage(WM_DRAWITEM, 1000, reinterpret_cast<LPARAM>(&item)));
        return canvas;
    }

    COLORREF FramePixel(int frame, int x, int y) const { return strip.At(FrameWidth * frame + x, y); }

    // The source column of button column x in the right border.
    static int SourceColumn(int x) { return FrameWidth - Right + (x - (Width - Right)); }

    // Whether the button pixel at (x, y) of the right border comes from the
    // same column of the frame: the same row in the corners, one of the
    // stretched middle rows between them.
    bool FromRightBorder(int frame, int x, int y, COLORREF actual, COLORREF under) const
    {
        auto shown = [&](COLORREF source) { return source == Magenta ? under : source; };
        int column = SourceColumn(x);
        if (y < Top)
            return actual == shown(FramePixel(frame, column, y));
        if (y >= Height - Bottom)
            return actual == shown(FramePixel(frame, column, FrameHeight - (Height - y)));
        for (int row = Top; row < FrameHeight - Bottom; ++row)
            if (actual == shown(FramePixel(frame, column, row)))
                return true;
        return false;
    }

    // Left edge of the black text pixels, or -1.
    static int TextLeft(const Canvas& canvas)
    {
        for (int x = 0; x < canvas.Width(); ++x)
            for (int y = 0; y < canvas.Height(); ++y)
                if (canvas.At(x, y) == Black)
                    return x;
        return -1;
    }

    HostDialog host;
    SkinButton button;
    ResourceBitmap strip{IDB_BUTTON_STRIP};
};

TEST_F(SkinButtonTest, RejectsAStripWithoutFramesOrResource)
{
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & BS_TYPEMASK);
    EXPECT_FALSE(button.SetBitmaps(IDB_BUTTON_STRIP, 0, Top, Bottom, Left, Right));
    EXPECT_FALSE(button.SetBitmaps(9999, 5, Top, Bottom, Left, Right));
    EXPECT_FALSE(button.IsReady());
}

TEST_F(SkinButtonTest, BeforeSetBitmapsShowsOnlyTheButtonFace)
{
    auto canvas = Render(0);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int x = Width - Right; x < Width; ++x)
        for (int y = 0; y < Height; ++y)
            ASSERT_EQ(face, canvas->At(x, y)) << x << "," << y;
    EXPECT_GT(canvas->Count(Black), 0);
}

TEST_F(SkinButtonTest, KeepsTheRightBorderAndCornersUnscaled)
{
    ASSERT_TRUE(button.SetBitmaps(IDB_BUTTON_STRIP, 5, Top, Bottom, Left, Right));
    auto canvas = Render(0);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int x = Width - Right; x < Width; ++x)
        for (int y = 0; y < Height; ++y)
            ASSERT_TRUE(FromRightBorder(Normal, x, y, canvas->At(x, y), face)) << x << "," << y;
    for (int x = 0; x < Left; ++x) {
        for (int y = 0; y < Top; ++y) {
            COLORREF expected = FramePixel(Normal, x, y);
            ASSERT_EQ(expected == Magenta ? face : expected, canvas->At(x, y)) << x << "," << y;
        }
    }
}

TEST_F(SkinButtonTest, MagentaPixelsLeaveTheBackground)
{
    ASSERT_TRUE(button.SetBitmaps(IDB_BUTTON_STRIP, 5, Top, Bottom, Left, Right));
    ASSERT_EQ(Magenta, FramePixel(Normal, 0, 0));
    ASSERT_NE(Magenta, FramePixel(Normal, 1, 1));
    auto canvas = Render(0);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas->At(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas->At(Width - 1, Height - 1));
    EXPECT_EQ(FramePixel(Normal, 1, 1), canvas->At(1, 1));
}

TEST_F(SkinButtonTest, PressedAndFocusedDrawsThePressedFaceOverTheFocusFace)
{
    ASSERT_TRUE(button.SetBitmaps(IDB_BUTTON_STRIP, 5, Top, Bottom, Left, Right));
    auto pressed = Render(ODS_FOCUS | ODS_SELECTED);
    auto focused = Render(ODS_FOCUS);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int x = Width - Right; x < Width; ++x) {
        for (int y = 0; y < Height; ++y) {
            ASSERT_TRUE(FromRightBorder(Focused, x, y, focused->At(x, y), face)) << x << "," << y;
            // Where the pressed face is transparent, the focus face shows.
            ASSERT_TRUE(FromRightBorder(Pressed, x, y, pressed->At(x, y), focused->At(x, y))) << x << "," << y;
        }
    }
    // The text is centred in the client area with its left edge moved by 5.
    SIZE text = {};
    {
        ClientDC dc(button.GetSafeHwnd());
        SelectedObject font(dc, button.GetFont() ? button.GetFont() : button.GetSkinFont().Get());
        GetTextExtentPoint32A(dc, "OK", 2, &text);
    }
    int shift = (5 + (Width - 5 - text.cx) / 2) - (Width - text.cx) / 2;
    ASSERT_GE(TextLeft(*focused), 0);
    EXPECT_EQ(TextLeft(*focused) + shift, TextLeft(*pressed));
    EXPECT_GE(shift, 2);
}

TEST_F(SkinButtonTest, DisabledShowsFrameTwoAndGreyText)
{
    ASSERT_TRUE(button.SetBitmaps(IDB_BUTTON_STRIP, 5, Top, Bottom, Left, Right));
    auto canvas = Render(ODS_DISABLED);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int x = Width - Right; x < Width; ++x)
        for (int y = 0; y < Height; ++y)
            ASSERT_TRUE(FromRightBorder(Disabled, x, y, canvas->At(x, y), face)) << x << "," << y;
    EXPECT_EQ(0, canvas->Count(Black));
    EXPECT_GT(canvas->Count(GetSysColor(COLOR_GRAYTEXT)), 0);
}

} // namespace
