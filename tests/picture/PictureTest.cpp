#include <gtest/gtest.h>

#include <vector>

#include "picture/Picture.h"
#include "picture/PictureSize.h"
#include "tests/controls/TestWindows.h"
#include "tests/hosts/ImportPatch.h"
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
    std::string photo = PhotoFile("photo-4000x3000.jpg");
    // Declares 30000 x 30000 pixels in a few bytes: never decoded.
    std::string header = png.substr(0, 16) + std::string("\0\0\x75\x30\0\0\x75\x30", 8) + png.substr(24);
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
        {{header.begin(), header.end()}, 0, 0},
        {{photo.begin(), photo.end()}, 0, 0},  // 12 megapixels: more than a viewer decodes
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

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

// The size each kind of file declares, read from its header alone: a few
// bytes can declare gigabytes of pixels. Real files are the loader's tests.
TEST(DeclaredSize, ReadFromTheHeaderOfEachKind)
{
    const std::string png = "\x89PNG\r\n\x1A\n" + Bytes({0, 0, 0, 13}) + "IHDR";
    const std::string jpeg = Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xC4, 0, 2, 0xFF, 0xC2, 0, 11, 8});
    const std::string bmp = "BM" + std::string(12, '\0');
    struct Case {
        std::string bytes;
        int64_t width, height;  // 0: none declared
    } cases[] = {
        {png + Bytes({0, 0, 0x75, 0x30, 0, 0, 0x75, 0x30}), 30000, 30000},
        {jpeg + Bytes({0x75, 0x30, 0x4E, 0x20}), 20000, 30000},
        {jpeg + Bytes({0x75}), 0, 0},
        {Bytes({0xFF, 0xD8, 0xFF, 0xDA, 0, 2, 0xFF, 0xC0, 0, 11, 8, 1, 0, 1, 0}), 0, 0},
        {"GIF89a" + Bytes({0xFF, 0xFF, 0x10, 0x00}), 65535, 16},
        {bmp + Bytes({40, 0, 0, 0, 0x40, 0x9C, 0, 0, 0xC0, 0x63, 0xFF, 0xFF}), 40000, 40000},  // rows top-down
        {bmp + Bytes({12, 0, 0, 0, 0x10, 0, 0x20, 0}), 16, 32},
        {Bytes({'I', 'I', 42, 0, 8, 0, 0, 0, 2, 0, 0, 1, 3, 0, 1, 0, 0, 0, 0x88, 0x13, 0, 0, 1, 1, 4, 0, 1, 0, 0, 0,
             0x10, 0x27, 0, 0}), 5000, 10000},
        {Bytes({0, 0, 1, 0, 2, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
             0, 0, 38, 0, 0, 0}) + png + Bytes({0, 0, 8, 0, 0, 0, 8, 0}), 2048, 2048},  // the second in PNG
        {"noise", 0, 0},
        {"\x89PNG\r\n\x1A\n", 0, 0},
    };
    for (const Case& c : cases) {
        auto size = DeclaredSize(c.bytes).value_or(PictureSize{});
        EXPECT_EQ(std::pair(c.width, c.height), std::pair(size.width, size.height)) << &c - cases;
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

HWND errorBoxOwner = reinterpret_cast<HWND>(-1);
int WINAPI RecordErrorBox(HWND owner, LPCSTR, LPCSTR, UINT, WORD)
{
    errorBoxOwner = owner;
    return IDOK;
}

HRESULT WINAPI LoaderWithoutThePicture(IStream*, LONG, BOOL, REFIID, void**)
{
    return E_NOINTERFACE;
}

// The loader's error box belongs to the window the picture is shown in, so
// that it stays in front of it.
TEST_F(PictureTest, AnErrorBoxBelongsToTheWindowOfThePicture)
{
    ImportPatch box("user32.dll", "MessageBoxExA", reinterpret_cast<void*>(&RecordErrorBox));
    ImportPatch loader("oleaut32.dll", "OleLoadPicture", reinterpret_cast<void*>(&LoaderWithoutThePicture));
    ASSERT_TRUE(box.Installed() && loader.Installed());
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, window, nullptr, nullptr, nullptr);
    std::vector<unsigned char> jpeg = ResourceBytes(PhotoJpeg);
    EXPECT_EQ(0, CPicture(child).Load(jpeg.data(), static_cast<int>(jpeg.size())));
    EXPECT_EQ(window, errorBoxOwner);
    DestroyWindow(window);
}

} // namespace
