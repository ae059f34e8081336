#include <gtest/gtest.h>

#include <vector>

#include "picture/Picture.h"
#include "tests/controls/TestWindows.h"
#include "tests/picture/TestPictures.h"

namespace {

TEST(FitRect, PlacesOrScalesThePicture)
{
    struct Case {
        RECT frame;
        int w, h;
        bool centre;
        RECT expected;
    } cases[] = {
        {{0, 0, 120, 100}, 40, 30, false, {40, 35, 80, 65}},
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
        EXPECT_TRUE(EqualRect(&got, &c.expected)) << c.w << "x" << c.h << " centre " << c.centre;
    }
}

// Each kind the loader reads, at its size; bytes that are no picture load
// empty and draw nothing.
TEST_F(PictureTest, LoadsEachPictureKindWithItsSize)
{
    std::string png = PhotoFile("transparent-600x600.png");
    struct Case {
        std::vector<unsigned char> bytes;
        int width, height;
    } cases[] = {
        {ResourceBytes(PhotoBmp), 40, 30},
        {ResourceBytes(PhotoJpeg), 40, 30},
        {ResourceBytes(PhotoGif), 40, 30},
        {ResourceBytes(NoteIcon), 32, 32},
        {{png.begin(), png.end()}, 600, 600},
        {{'n', 'o', 'i', 's', 'e'}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        CPicture picture;
        EXPECT_EQ(1, picture.Load(c.bytes.data(), static_cast<int>(c.bytes.size())));
        EXPECT_EQ(c.width > 0, picture.HasPicture());
        EXPECT_EQ(c.width, picture.GetWidth());
        EXPECT_EQ(c.height, picture.GetHeight());
        Canvas canvas(10, 10);
        EXPECT_EQ(c.width > 0, picture.Render(canvas, 0, 0, 10, 10) == 1);
        EXPECT_EQ(c.width > 0, picture.UpdateSizeForDC(canvas) == 1);
    }
}

// Drawn stretched into the rectangle; a PNG comes through GDI+, laid on the
// photo frame's colour where it is transparent.
TEST_F(PictureTest, DrawsStretchedAndAPngOnThePhotoBackground)
{
    std::string png = PhotoFile("transparent-600x600.png");
    std::vector<unsigned char> jpeg = ResourceBytes(PhotoJpeg);
    CPicture picture;
    picture.Load(jpeg.data(), static_cast<int>(jpeg.size()));
    Canvas canvas(100, 60, RGB(0, 255, 0));
    ASSERT_EQ(1, picture.Render(canvas, 10, 0, 90, 60));
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(5, 30));
    EXPECT_EQ(RGB(0, 255, 0), canvas.At(95, 30));
    EXPECT_TRUE(Near(Red, canvas.At(20, 10)));
    EXPECT_TRUE(Near(Blue, canvas.At(80, 50)));
    EXPECT_EQ(0, picture.Render(nullptr, 0, 0, 10, 10));

    picture.Load(reinterpret_cast<const unsigned char*>(png.data()), static_cast<int>(png.size()));
    ASSERT_EQ(1, picture.Render(canvas, 0, 0, 60, 60));
    EXPECT_EQ(PhotoBackground, canvas.At(1, 58));
    EXPECT_TRUE(Near(RGB(0xDD, 0x14, 0x14), canvas.At(30, 50), 4));
}

} // namespace
