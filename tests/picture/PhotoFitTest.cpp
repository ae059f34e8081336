#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "picture/PhotoFit.h"
#include "picture/Picture.h"
#include "picture/Shrink.h"
#include "tests/controls/TestWindows.h"
#include "tests/picture/TestPictures.h"

namespace {

constexpr SIZE Frame = {120, 100};
constexpr size_t CardBytes = 8192;
constexpr COLORREF Disc = RGB(0xDD, 0x14, 0x14);

// Each pixel spreads over the target pixels its area covers; a transparent one
// lies on the background. Four-byte source pixels are 0xAARRGGBB.
TEST(Shrink, AveragesTheAreaEachPixelCoversOverTheBackground)
{
    constexpr COLORREF back = RGB(0, 100, 200);
    auto shrink = [](std::vector<uint32_t> source, int width, int height, int targetWidth, int targetHeight) {
        return Shrink(reinterpret_cast<const uint8_t*>(source.data()), width * 4, 4, width, height, targetWidth,
            targetHeight, back);
    };
    EXPECT_EQ(std::vector<uint32_t>{0xFF808080}, shrink({0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000}, 2, 2, 1, 1));
    // Three pixels into two: the middle one halves itself between them.
    EXPECT_EQ((std::vector<uint32_t>{0xFF000055, 0xFF000055}), shrink({0xFF000000, 0xFF0000FF, 0xFF000000}, 3, 1, 2, 1));
    EXPECT_EQ((std::vector<uint32_t>{0xFF0064C8, 0xFF803264}), shrink({0x00FF0000, 0x80FF0000}, 2, 1, 2, 1));
    // Three-byte pixels, without alpha, padded rows.
    const uint8_t rows[] = {0, 0, 0, 255, 255, 255, 9, 9, 10, 20, 30, 10, 20, 30, 7, 7};
    EXPECT_EQ((std::vector<uint32_t>{0xFF808080, 0xFF1E140A}), Shrink(rows, 8, 3, 2, 2, 1, 2, back));
}

using PhotoFitTest = PictureTest;

// The JPEG as the loader shows it, at its own size.
std::unique_ptr<Canvas> Shown(const std::string& jpeg)
{
    CPicture picture;
    picture.Load(reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<int>(jpeg.size()));
    auto canvas = std::make_unique<Canvas>(std::max(1, picture.GetWidth()), std::max(1, picture.GetHeight()));
    picture.Render(*canvas, 0, 0, picture.GetWidth(), picture.GetHeight());
    return canvas;
}

// Within the frame, its proportions kept, never enlarged.
TEST_F(PhotoFitTest, MakesEachPictureAJpegWithinTheFrameAndTheCardsBytes)
{
    struct Case {
        const char* file;
        SIZE expected;
    } cases[] = {
        {"photo-2400x1600.jpg", {120, 80}},
        {"strip-4000x1.bmp", {120, 1}},
        {"small-16x16.bmp", {16, 16}},
    };
    for (const Case& c : cases) {
        FittedPhoto fitted = FitPhoto(PhotoFile(c.file), Frame, PhotoBackground, CardBytes);
        ASSERT_EQ(FittedPhoto::Fitted, fitted.outcome) << c.file;
        EXPECT_LE(fitted.jpeg.size(), CardBytes) << c.file;
        EXPECT_EQ(0, fitted.jpeg.compare(0, 3, "\xFF\xD8\xFF")) << c.file;
        auto shown = Shown(fitted.jpeg);
        EXPECT_EQ(c.expected.cx, shown->Width()) << c.file;
        EXPECT_EQ(c.expected.cy, shown->Height()) << c.file;
    }
}

TEST_F(PhotoFitTest, LaysTransparentPartsOnTheBackgroundAndAveragesThePixels)
{
    auto canvas = Shown(FitPhoto(PhotoFile("transparent-600x600.png"), Frame, PhotoBackground, CardBytes).jpeg);
    ASSERT_EQ(100, canvas->Width());
    // Below: a red disc on nothing; above: half see-through blue over both.
    EXPECT_TRUE(Near(PhotoBackground, canvas->At(3, 96), 12));
    EXPECT_TRUE(Near(Disc, canvas->At(50, 80), 12));
    EXPECT_TRUE(Near(RGB(0x78, 0x78, 0xC3), canvas->At(3, 3), 12));
    EXPECT_TRUE(Near(RGB(0x79, 0x14, 0x79), canvas->At(50, 20), 12));
    // The disc's edge is blended, not stepped from one colour to the other.
    int between = 0;
    for (int x = 0; x < 50; ++x)
        between += !Near(PhotoBackground, canvas->At(x, 60), 12) && !Near(Disc, canvas->At(x, 60), 12);
    EXPECT_GE(between, 1);
}

// Bytes that are no picture, and a frame without room, are the Browse tests'.
TEST_F(PhotoFitTest, TooFewBytesForTheFrameGiveASmallerPictureOrNone)
{
    std::string photo = PhotoFile("photo-2400x1600.jpg");
    EXPECT_EQ(FittedPhoto::TooLarge, FitPhoto(photo, Frame, PhotoBackground, 100).outcome);
    // Too few bytes for the frame's size: smaller, in the same proportions.
    FittedPhoto smaller = FitPhoto(photo, Frame, PhotoBackground, 900);
    ASSERT_EQ(FittedPhoto::Fitted, smaller.outcome);
    EXPECT_LE(smaller.jpeg.size(), 900u);
    EXPECT_LT(smaller.size.cx, 120);
    EXPECT_NEAR(1.5, static_cast<double>(smaller.size.cx) / smaller.size.cy, 0.05);
}

// A picture that declares more pixels than a 32-bit process affords is
// refused for its size before any pixel is decoded; other bytes are no picture.
TEST_F(PhotoFitTest, APictureTooLargeToDecodeIsToldApartFromNoPicture)
{
    std::string panorama = PhotoFile("photo-2400x1600.jpg");
    size_t frame = panorama.find("\xFF\xC0");
    ASSERT_NE(std::string::npos, frame);
    panorama.replace(frame + 5, 4, std::string("\x1F\x40\x27\x10", 4));  // 10000 x 8000
    std::string png = PhotoFile("transparent-600x600.png");
    const std::pair<std::string, FittedPhoto::Outcome> cases[] = {{panorama, FittedPhoto::TooManyPixels},
        {png.substr(0, 16) + std::string("\0\1\0\0\0\1\0\0", 8), FittedPhoto::TooManyPixels},
        {png.substr(0, 20), FittedPhoto::Undecodable}};
    for (const auto& [bytes, outcome] : cases)
        EXPECT_EQ(outcome, FitPhoto(bytes, Frame, PhotoBackground, CardBytes).outcome) << bytes.size();
}

// The JPEG with an Exif block whose first directory, at the offset given,
// holds the orientation: one entry of type short, no next directory.
std::string WithExif(const std::string& jpeg, bool little, uint32_t orientation, uint32_t directory = 8)
{
    std::string tiff = little ? std::string("II*\0", 4) : std::string("MM\0*", 4);
    const std::pair<uint32_t, int> fields[] = {{directory, 4}, {1, 2}, {0x0112, 2}, {3, 2}, {1, 4}, {orientation, 2},
        {0, 2}, {0, 4}};
    for (auto [value, count] : fields)
        for (int i = 0; i < count; ++i)
            tiff += static_cast<char>(value >> 8 * (little ? i : count - 1 - i));
    std::string segment = std::string("Exif\0\0", 6) + tiff;
    std::string length = {static_cast<char>((segment.size() + 2) >> 8), static_cast<char>(segment.size() + 2)};
    return jpeg.substr(0, 2) + "\xFF\xE1" + length + segment + jpeg.substr(2);
}

// A camera held upright stores the picture turned a quarter either way; an
// unknown orientation or a block pointing beyond its end is ignored.
TEST_F(PhotoFitTest, TurnsAPictureUprightAsItsExifSays)
{
    std::string photo = PhotoFile("photo-2400x1600.jpg");
    for (auto [little, orientation] : {std::pair{true, 6}, std::pair{false, 8}}) {
        auto canvas = Shown(FitPhoto(WithExif(photo, little, orientation), Frame, PhotoBackground, CardBytes).jpeg);
        ASSERT_EQ(67, canvas->Width()) << orientation;
        ASSERT_EQ(100, canvas->Height()) << orientation;
        // The sky, the picture's top, is now on the right (6) or the left (8).
        COLORREF sky = canvas->At(orientation == 6 ? 65 : 1, 3), ground = canvas->At(orientation == 6 ? 1 : 65, 3);
        EXPECT_GT(GetBValue(sky), GetRValue(sky)) << orientation;
        EXPECT_GT(GetRValue(ground), GetBValue(ground)) << orientation;
    }
    auto turned = Shown(FitPhoto(WithExif(photo, true, 3), Frame, PhotoBackground, CardBytes).jpeg);
    ASSERT_EQ(80, turned->Height());
    EXPECT_TRUE(GetBValue(turned->At(1, 78)) > GetRValue(turned->At(1, 78))  // the sky below
        && GetRValue(turned->At(1, 1)) > GetBValue(turned->At(1, 1)));
    for (const std::string& broken : {WithExif(photo, true, 9), WithExif(photo, false, 6, 4000)})
        EXPECT_EQ(120, Shown(FitPhoto(broken, Frame, PhotoBackground, CardBytes).jpeg)->Width());
}

} // namespace
