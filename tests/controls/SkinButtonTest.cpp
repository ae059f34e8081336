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

    // Whether the right border (and its corners) shows the frame's own
    // columns unscaled: the same row in the corners, one of the stretched
    // middle rows between them; magenta shows what lies under it.
    void ExpectRightBorder(int frame, const Canvas& canvas, const Canvas* under) const
    {
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        for (int x = Width - Right; x < Width; ++x) {
            int column = FrameWidth - Right + (x - (Width - Right));
            for (int y = 0; y < Height; ++y) {
                COLORREF background = under ? under->At(x, y) : face;
                auto shown = [&](COLORREF source) { return source == Magenta ? background : source; };
                bool matches = false;
                if (y < Top)
                    matches = canvas.At(x, y) == shown(FramePixel(frame, column, y));
                else if (y >= Height - Bottom)
                    matches = canvas.At(x, y) == shown(FramePixel(frame, column, FrameHeight - (Height - y)));
                else
                    for (int row = Top; row < FrameHeight - Bottom && !matches; ++row)
                        matches = canvas.At(x, y) == shown(FramePixel(frame, column, row));
                ASSERT_TRUE(matches) << "frame " << frame << " at " << x << "," << y;
            }
        }
    }

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

TEST_F(SkinButtonTest, WithoutAStripItDrawsTheButtonFaceAndRefusesABadStrip)
{
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & BS_TYPEMASK);
    EXPECT_FALSE(button.SetBitmaps(IDB_BUTTON_STRIP, 0, Top, Bottom, Left, Right));
    EXPECT_FALSE(button.SetBitmaps(9999, 5, Top, Bottom, Left, Right));
    auto canvas = Render(0);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas->At(Width - 1, Height / 2));
    EXPECT_GT(canvas->Count(Black), 0);
}

// Each state draws its own frame with borders and corners unscaled; pressed
// lies over the focus face and moves the caption 5 pixels right; disabled
// writes grey.
TEST_F(SkinButtonTest, EachStateDrawsItsFrameAndCaption)
{
    ASSERT_TRUE(button.SetBitmaps(IDB_BUTTON_STRIP, 5, Top, Bottom, Left, Right));
    auto normal = Render(0);
    ExpectRightBorder(Normal, *normal, nullptr);
    ASSERT_EQ(Magenta, FramePixel(Normal, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), normal->At(0, 0));
    EXPECT_EQ(FramePixel(Normal, 1, 1), normal->At(1, 1));

    auto focused = Render(ODS_FOCUS);
    auto pressed = Render(ODS_FOCUS | ODS_SELECTED);
    ExpectRightBorder(Focused, *focused, nullptr);
    ExpectRightBorder(Pressed, *pressed, focused.get());
    SIZE text = {};
    {
        ClientDC dc(button.GetSafeHwnd());
        SelectedObject font(dc, button.GetFont() ? button.GetFont() : button.GetSkinFont().Get());
        GetTextExtentPoint32A(dc, "OK", 2, &text);
    }
    int shift = (5 + (Width - 5 - text.cx) / 2) - (Width - text.cx) / 2;
    ASSERT_GE(TextLeft(*focused), 0);
    EXPECT_EQ(TextLeft(*focused) + shift, TextLeft(*pressed));

    auto disabled = Render(ODS_DISABLED);
    ExpectRightBorder(Disabled, *disabled, nullptr);
    EXPECT_EQ(0, disabled->Count(Black));
    EXPECT_GT(disabled->Count(GetSysColor(COLOR_GRAYTEXT)), 0);
}

} // namespace
