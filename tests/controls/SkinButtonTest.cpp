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
        auto canvas = std::make_unique<Canvas>(width, Height);
        DRAWITEMSTRUCT item = {ODT_BUTTON, 1000, 0, ODA_DRAWENTIRE, state, button.GetSafeHwnd(), *canvas,
                               {0, 0, width, Height}, 0};
        EXPECT_TRUE(host.SendMessage(WM_DRAWITEM, 1000, reinterpret_cast<LPARAM>(&item)));
        return canvas;
    }

    // The right-hand corners show the frame's own corners unscaled; magenta
    // shows what lies under them. The button Enter would press wears the
    // default frame, in the caption's colour, over them.
    void ExpectRightCorners(int frame, const Canvas& canvas, const Canvas* under, bool isDefault) const
    {
        constexpr int inset = SkinButton::DefaultFrameInset;
        for (int x = width - Right; x < width; ++x) {
            for (int y : {0, Top - 1, Height - Bottom, Height - 1}) {
                int row = y < Top ? y : FrameHeight - (Height - y);
                COLORREF source = strip.At(FrameWidth * (frame + 1) - (width - x), row);
                COLORREF background = under ? under->At(x, y) : GetSysColor(COLOR_BTNFACE);
                bool onDefaultFrame = isDefault && x == width - 1 - inset && y >= inset && y < Height - inset;
                ASSERT_EQ(onDefaultFrame ? Black : source == Magenta ? background : source, canvas.At(x, y))
                    << "frame " << frame << " at " << x << "," << y;
            }
        }
    }

    HostDialog host;
    SkinButton button;
    ResourceBitmap strip{IDB_BUTTON_STRIP};
    int width = Width;
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
    ExpectRightCorners(Normal, *normal, nullptr, false);
    ExpectRightCorners(Focused, *focused, nullptr, true);
    ExpectRightCorners(Pressed, *pressed, focused.get(), true);
    ExpectRightCorners(Disabled, *disabled, nullptr, false);
    // The dialog's default button, while no push button has the focus.
    host.SendMessage(DM_SETDEFID, 1000);
    SetFocus(GetDlgItem(host.GetSafeHwnd(), IDOK));
    ExpectRightCorners(Normal, *Render(0), nullptr, false);
    SetFocus(nullptr);
    ExpectRightCorners(Normal, *Render(0), nullptr, true);
    ASSERT_EQ(Magenta, strip.At(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), normal->At(0, 0));
    EXPECT_EQ(strip.At(1, 1), normal->At(1, 1));

    // The caption: the first black column inside the default frame.
    auto captionStart = [](const Canvas& canvas) {
        constexpr int inset = SkinButton::DefaultFrameInset;
        for (int x = inset + 1; x < Width - inset - 1; ++x)
            for (int y = inset + 1; y < Height - inset - 1; ++y)
                if (canvas.At(x, y) == Black)
                    return x;
        return -1;
    };
    ASSERT_GE(captionStart(*focused), 0);
    EXPECT_GT(captionStart(*pressed), captionStart(*focused));
    EXPECT_EQ(0, disabled->Count(Black));
    EXPECT_GT(disabled->Count(GetSysColor(COLOR_GRAYTEXT)), 0);
}

// Buttons of one size draw the same faces; a button made wider draws its
// frame's corners at its new edge.
TEST_F(SkinButtonTest, TheFacesFollowTheButtonsSize)
{
    SkinButton twin;
    ASSERT_TRUE(twin.Create("Twin", WS_CHILD | WS_VISIBLE, RECT{100, 10, 100 + Width, 10 + Height},
                            host.GetSafeHwnd(), 1001));
    for (SkinButton* each : {&twin, &button})
        ASSERT_TRUE(each->SetBitmaps(IDB_BUTTON_STRIP, 5, Top, Bottom, Left, Right));
    Canvas twinCanvas(Width, Height);
    DRAWITEMSTRUCT item = {ODT_BUTTON, 1001, 0, ODA_DRAWENTIRE, 0, twin.GetSafeHwnd(), twinCanvas,
                           {0, 0, Width, Height}, 0};
    ASSERT_TRUE(host.SendMessage(WM_DRAWITEM, 1001, reinterpret_cast<LPARAM>(&item)));
    ExpectRightCorners(Normal, *Render(0), nullptr, false);
    for (int grown : {Width + 30, Width + 7}) {
        width = grown;
        button.SetWindowPos(nullptr, 0, 0, width, Height, SWP_NOMOVE | SWP_NOZORDER);
        ExpectRightCorners(Normal, *Render(0), nullptr, false);
        ExpectRightCorners(Disabled, *Render(ODS_DISABLED), nullptr, false);
    }
}

// The dialog manager's default-button bookkeeping leaves the face owner-drawn;
// the button answers as a push button, the default one while it has the focus.
TEST_F(SkinButtonTest, TakesPartInTheDefaultButtonAsAPushButtonDoes)
{
    button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & BS_TYPEMASK);
    EXPECT_EQ(DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, button.SendMessage(WM_GETDLGCODE));
    button.SetFocus();
    EXPECT_EQ(DLGC_BUTTON | DLGC_DEFPUSHBUTTON, button.SendMessage(WM_GETDLGCODE));
}

// A move of the focus redraws the skinned buttons of its window, and only those.
TEST_F(SkinButtonTest, TheFocusRedrawsTheSkinnedButtonsOfItsWindow)
{
    HostDialog other;
    SkinButton sibling, elsewhere;
    ASSERT_TRUE(sibling.Create("Cancel", WS_CHILD | WS_VISIBLE, RECT{100, 10, 170, 33}, host.GetSafeHwnd(), 1001));
    ASSERT_TRUE(elsewhere.Create("Other", WS_CHILD | WS_VISIBLE, RECT{10, 10, 80, 33}, other.GetSafeHwnd(), 1002));
    for (CDialog* dialog : {&host, &other}) {
        dialog->ShowWindow(SW_SHOWNA);
        UpdateWindow(dialog->GetSafeHwnd());
    }
    button.SetFocus();
    EXPECT_TRUE(GetUpdateRect(sibling.GetSafeHwnd(), nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(elsewhere.GetSafeHwnd(), nullptr, FALSE));
}

} // namespace
