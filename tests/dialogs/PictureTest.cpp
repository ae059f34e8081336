#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dialogs/Picture.h"
#include "platform/ModuleContext.h"
#include "tests/controls/TestWindows.h"

namespace {

enum PictureResource { PhotoBmp = 1, PhotoJpeg = 2, PhotoGif = 3, NoteIcon = 4 };

std::vector<unsigned char> ResourceBytes(int id)
{
    HRSRC found = FindResourceA(ModuleInstance(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));
    if (!found)
        return {};
    auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(ModuleInstance(), found)));
    return {data, data + SizeofResource(ModuleInstance(), found)};
}

bool Near(COLORREF a, COLORREF b, int tolerance = 40)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance
        && std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

constexpr COLORREF Red = RGB(220, 20, 20);
constexpr COLORREF Blue = RGB(20, 20, 220);

TEST(FitRect, PlacesOrScalesThePicture)
{
    struct Case {
        RECT frame;
        int w, h;
        bool centre;
        RECT expected;
    } cases[] = {
        {{0, 0, 120, 100}, 40, 30, true, {40, 35, 80, 65}},
        {{0, 0, 120, 100}, 40, 30, false, {40, 35, 80, 65}},
        {{0, 0, 100, 100}, 200, 100, true, {0, 25, 100, 75}},
        {{0, 0, 100, 100}, 100, 200, true, {25, 0, 75, 100}},
        {{0, 0, 100, 100}, 100, 200, false, {0, 0, 50, 100}},
        // As wide as the frame but lower: scaled, so not centred without the flag.
        {{0, 0, 120, 100}, 120, 50, false, {0, 0, 120, 50}},
        {{0, 0, 120, 100}, 120, 50, true, {0, 25, 120, 75}},
        {{0, 0, 120, 100}, 240, 200, true, {0, 0, 120, 100}},
        {{0, 0, 82, 71}, 300, 100, true, {0, 22, 82, 49}},
    };
    for (const Case& c : cases) {
        RECT got = FitRect(c.frame, c.w, c.h, c.centre);
        EXPECT_TRUE(EqualRect(&got, &c.expected)) << c.w << "x" << c.h << " centre " << c.centre << ": " << got.left
                                                  << "," << got.top << "," << got.right << "," << got.bottom;
    }
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};

TEST_F(PictureTest, LoadsEachPictureKindWithItsSize)
{
    struct Case {
        int resource;
        int width, height;
    } cases[] = {{PhotoBmp, 40, 30}, {PhotoJpeg, 40, 30}, {PhotoGif, 40, 30}, {NoteIcon, 32, 32}};
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes = ResourceBytes(c.resource);
        ASSERT_FALSE(bytes.empty()) << c.resource;
        CPicture picture;
        EXPECT_EQ(1, picture.Load(bytes.data(), static_cast<int>(bytes.size()))) << c.resource;
        EXPECT_TRUE(picture.HasPicture()) << c.resource;
        EXPECT_EQ(c.width, picture.GetWidth()) << c.resource;
        EXPECT_EQ(c.height, picture.GetHeight()) << c.resource;
        EXPECT_EQ(static_cast<int>(bytes.size()), picture.GetSize());
    }
}

TEST_F(PictureTest, BytesThatAreNoPictureLoadEmpty)
{
    const unsigned char noise[] = "this is not a picture at all";
    CPicture picture;
    EXPECT_EQ(1, picture.Load(noise, sizeof noise));
    EXPECT_FALSE(picture.HasPicture());
    EXPECT_EQ(0, picture.GetWidth());
    EXPECT_EQ(0, picture.GetHeight());
    Canvas canvas(10, 10);
    EXPECT_EQ(0, picture.Render(canvas, 0, 0, 10, 10));
    EXPECT_EQ(0, picture.UpdateSizeForDC(canvas));
    std::vector<unsigned char> bytes = ResourceBytes(PhotoBmp);
    picture.Load(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_EQ(0, picture.UpdateSizeForDC(nullptr));
    EXPECT_EQ(0, picture.GetWidth());
}

TEST_F(PictureTest, RendersStretchedIntoTheRectangle)
{
    std::vector<unsigned char> bytes = ResourceBytes(PhotoJpeg);
    CPicture picture;
    picture.Load(bytes.data(), static_cast<int>(bytes.size()));
    Canvas canvas(100, 60, RGB(0, 255, 0));
    ASSERT_EQ(1, picture.Render(canvas, 10, 0, 90, 60));
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(5, 30));
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(95, 30));
    EXPECT_TRUE(Near(Red, canvas.At(20, 10)));
    EXPECT_TRUE(Near(Blue, canvas.At(80, 50)));
    EXPECT_EQ(0, picture.Render(nullptr, 0, 0, 10, 10));
}

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

TEST_F(PhotoFrameTest, ShowsASmallPictureCentredAtItsOwnSize)
{
    std::vector<unsigned char> bytes = ResourceBytes(PhotoJpeg);
    frame.SetPicture(bytes.data(), static_cast<int>(bytes.size()));
    auto canvas = Paint();
    EXPECT_EQ(PhotoFrame::Background, canvas->At(39, 50));
    EXPECT_EQ(PhotoFrame::Background, canvas->At(80, 50));
    EXPECT_EQ(PhotoFrame::Background, canvas->At(60, 34));
    EXPECT_EQ(PhotoFrame::Background, canvas->At(60, 65));
    EXPECT_TRUE(Near(Red, canvas->At(42, 37)));
    EXPECT_TRUE(Near(Blue, canvas->At(78, 63)));
}

TEST_F(PhotoFrameTest, FollowsTheSizeOfTheControl)
{
    std::vector<unsigned char> bytes = ResourceBytes(PhotoBmp);
    frame.SetPicture(bytes.data(), static_cast<int>(bytes.size()));
    frame.SetWindowPos(nullptr, 0, 0, 20, 30, SWP_NOMOVE | SWP_NOZORDER);
    auto canvas = Paint(20, 30);
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
