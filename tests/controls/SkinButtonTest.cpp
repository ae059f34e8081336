#include <gtest/gtest.h>

#include <memory>

#include "controls/SkinButton.h"
#include "tests/controls/TestWindows.h"

namespace {

constexpr int Width = 75, Height = 23;
constexpr int Top = 7, Bottom = 7, Left = 6, Right = 18;
constexpr int FrameWidth = 26, FrameHeight = 19;
constexpr COLORREF Magenta = RGB(255, 0, 255), Black = RGB(0, 0, 0);
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

    // The right-hand corners show the frame's own corners unscaled; magenta
    // shows what lies under them.
    void ExpectRightCorners(int frame, const Canvas& canvas, const Canvas* under) const
    {
        for (int x = Width - Right; x < Width; ++x) {
            for (int y : {0, Top - 1, Height - Bottom, Height - 1}) {
                int row = y < Top ? y : FrameHeight - (Height - y);
                COLORREF source = strip.At(FrameWidth * (frame + 1) - (Width - x), row);
                COLORREF background = under ? under->At(x, y) : GetSysColor(COLOR_BTNFACE);
                ASSERT_EQ(source == Magenta ? background : source, canvas.At(x, y))
                    << "frame " << frame << " at " << x << "," << y;
            }
        }
    }

    HostDialog host;
    SkinButton button;
    ResourceBitmap strip{IDB_BUTTON_STRIP};
};

// Without a strip (a bad one is refused) the face is drawn; with one each state
// draws its frame, pressed over the focus face with the caption moved right.
TEST_F(SkinButtonTest, EachStateDrawsItsFrameAndCaption)
{
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & BS_TYPEMASK);
    EXPECT_FALSE(button.SetBitmaps(IDB_BUTTON_STRIP, 0, Top, Bottom, Left, Right));
    EXPECT_FALSE(button.SetBitmaps(9999, 5, Top, Bottom, Left, Right));
    auto plain = Render(0);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), plain->At(Width - 1, Height / 2));
    EXPECT_GT(plain->Count(Black), 0);

    ASSERT_TRUE(button.SetBitmaps(IDB_BUTTON_STRIP, 5, Top, Bottom, Left, Right));
    auto normal = Render(0), focused = Render(ODS_FOCUS), pressed = Render(ODS_FOCUS | ODS_SELECTED);
    auto disabled = Render(ODS_DISABLED);
    ExpectRightCorners(Normal, *normal, nullptr);
    ExpectRightCorners(Focused, *focused, nullptr);
    ExpectRightCorners(Pressed, *pressed, focused.get());
    ExpectRightCorners(Disabled, *disabled, nullptr);
    ASSERT_EQ(Magenta, strip.At(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), normal->At(0, 0));
    EXPECT_EQ(strip.At(1, 1), normal->At(1, 1));

    ASSERT_GE(focused->FirstColumn(Black), 0);
    EXPECT_GT(pressed->FirstColumn(Black), focused->FirstColumn(Black));
    EXPECT_EQ(0, disabled->Count(Black));
    EXPECT_GT(disabled->Count(GetSysColor(COLOR_GRAYTEXT)), 0);
}

} // namespace
