#include <gtest/gtest.h>

#include <vector>

#include "dialogs/PhotoFrame.h"
#include "tests/controls/TestWindows.h"
#include "tests/picture/TestPictures.h"

namespace {

class PhotoFrameTest : public PictureTest {
protected:
    void SetUp() override
    {
        PictureTest::SetUp();
        ASSERT_TRUE(frame.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 120, 100}, host.GetSafeHwnd(), 4138));
    }
    std::unique_ptr<Canvas> Paint(int width = 120, int height = 100)
    {
        auto canvas = std::make_unique<Canvas>(width, height);
        frame.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(*canvas)), PRF_CLIENT);
        return canvas;
    }

    HostDialog host;
    PhotoFrame frame;
};

// A small picture is centred at its own size; a larger one than the control
// is scaled down to fit it, centred.
TEST_F(PhotoFrameTest, ShowsAPictureCentredAndNoLargerThanTheControl)
{
    std::vector<unsigned char> bytes = ResourceBytes(PhotoJpeg);
    frame.SetPicture(bytes.data(), static_cast<int>(bytes.size()));
    auto canvas = Paint();
    for (auto [x, y] : {std::pair{39, 50}, {80, 50}, {60, 34}, {60, 65}})
        EXPECT_EQ(PhotoFrame::Background, canvas->At(x, y)) << x << "," << y;
    EXPECT_TRUE(Near(Red, canvas->At(42, 37)));
    EXPECT_TRUE(Near(Blue, canvas->At(78, 63)));

    bytes = ResourceBytes(PhotoBmp);
    frame.SetPicture(bytes.data(), static_cast<int>(bytes.size()));
    frame.SetWindowPos(nullptr, 0, 0, 20, 30, SWP_NOMOVE | SWP_NOZORDER);
    canvas = Paint(20, 30);
    // 40 x 30 into 20 x 30: scaled to 20 x 15 and centred.
    EXPECT_EQ(PhotoFrame::Background, canvas->At(10, 6));
    EXPECT_EQ(Red, canvas->At(2, 10));
    EXPECT_EQ(Blue, canvas->At(17, 20));
    EXPECT_EQ(PhotoFrame::Background, canvas->At(10, 23));
}

TEST_F(PhotoFrameTest, BytesThatAreNoPictureShowTheBackgroundOnly)
{
    const unsigned char noise[] = "GIF89a but not really";
    frame.SetPicture(noise, sizeof noise);
    ASSERT_NE(nullptr, frame.GetPicture());
    EXPECT_FALSE(frame.GetPicture()->HasPicture());
    auto canvas = Paint();
    EXPECT_EQ(120 * 100, canvas->Count(PhotoFrame::Background));
    std::vector<unsigned char> bytes = ResourceBytes(PhotoBmp);
    frame.SetPicture(bytes.data(), static_cast<int>(bytes.size()));
    frame.ClearPicture();
    EXPECT_EQ(nullptr, frame.GetPicture());
    EXPECT_EQ(120 * 100, Paint()->Count(PhotoFrame::Background));
}

} // namespace
