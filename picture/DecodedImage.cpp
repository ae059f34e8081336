#include "picture/DecodedImage.h"

#include <cstring>

#include "picture/ExifOrientation.h"
#include "picture/PictureSize.h"
#include "picture/Shrink.h"

namespace {

// GDI+'s own JPEG encoder and its quality parameter, the same on every system.
constexpr CLSID JpegEncoder = {0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID QualityParameter = {0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};

// Holds the locked pixels of a GDI+ bitmap until the end of the scope.
class LockedBits {
public:
    // Locks all of a width x height bitmap for reading in that format.
    LockedBits(const GdiplusLibrary& library, Gdiplus::GpBitmap* bitmap, int width, int height,
        Gdiplus::PixelFormat format)
        : gdiplus(library), image(bitmap)
    {
        Gdiplus::Rect all(0, 0, width, height);
        locked = gdiplus.BitmapLockBits(image, &all, Gdiplus::ImageLockModeRead, format, &data) == Gdiplus::Ok;
    }
    ~LockedBits()
    {
        if (locked)
            gdiplus.BitmapUnlockBits(image, &data);
    }
    LockedBits(const LockedBits&) = delete;
    LockedBits& operator=(const LockedBits&) = delete;

    explicit operator bool() const { return locked; }
    const Gdiplus::BitmapData& Data() const { return data; }

private:
    const GdiplusLibrary& gdiplus;
    Gdiplus::GpBitmap* image;
    Gdiplus::BitmapData data = {};
    bool locked = false;
};

// Exif orientations 5 to 8 store the picture on its side.
bool Sideways(int orientation)
{
    return orientation >= 5;
}

// Pixels stored w x h as Exif orientation (1 to 8) says, turned upright.
std::vector<uint32_t> Upright(const std::vector<uint32_t>& stored, int w, int h, int orientation)
{
    if (orientation == 1)
        return stored;
    int uprightWidth = Sideways(orientation) ? h : w;
    int uprightHeight = Sideways(orientation) ? w : h;
    std::vector<uint32_t> upright(stored.size());
    for (int y = 0; y < uprightHeight; ++y)
        for (int x = 0; x < uprightWidth; ++x) {
            int sx = x, sy = y;
            switch (orientation) {
            case 2: sx = w - 1 - x; break;
            case 3: sx = w - 1 - x; sy = h - 1 - y; break;
            case 4: sy = h - 1 - y; break;
            case 5: sx = y; sy = x; break;
            case 6: sx = y; sy = h - 1 - x; break;
            case 7: sx = w - 1 - y; sy = h - 1 - x; break;
            case 8: sx = w - 1 - y; sy = x; break;
            }
            upright[static_cast<size_t>(y) * uprightWidth + x] = stored[static_cast<size_t>(sy) * w + sx];
        }
    return upright;
}

} // namespace

void OpenStream(const void* bytes, size_t count, ComPtr<IStream>& stream)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, count ? count : 1);
    if (!block)
        return;
    void* target = GlobalLock(block);
    if (target) {
        std::memcpy(target, bytes, count);
        GlobalUnlock(block);
    }
    if (!target || FAILED(CreateStreamOnHGlobal(block, TRUE, stream.Put())))
        GlobalFree(block);
}

DecodedImage::DecodedImage(const GdiplusLibrary& library, const void* bytes, size_t count)
    : gdiplus(library), image(library)
{
    std::string_view file(static_cast<const char*>(bytes), count);
    auto declared = DeclaredSize(file);
    tooLarge = declared && declared->Pixels() > MaxPixels;
    if (!gdiplus || !declared || tooLarge)
        return;
    OpenStream(bytes, count, stream);
    if (!stream || gdiplus.CreateBitmapFromStream(stream.Get(), image.Put()) != Gdiplus::Ok || !image)
        return;
    UINT w = 0, h = 0;
    gdiplus.GetImageWidth(image.Get(), &w);
    gdiplus.GetImageHeight(image.Get(), &h);
    if (w == 0 || h == 0 || static_cast<int64_t>(w) * h > MaxPixels)
        return;
    // Cameras store pictures as the sensor saw them and say how to turn them.
    orientation = ExifOrientation(file);
    width = static_cast<int>(Sideways(orientation) ? h : w);
    height = static_cast<int>(Sideways(orientation) ? w : h);
}

std::vector<uint32_t> DecodedImage::Pixels(SIZE size, COLORREF background) const
{
    if (!*this || size.cx < 1 || size.cy < 1 || size.cx > width || size.cy > height)
        return {};
    int storedWidth = Sideways(orientation) ? height : width;
    int storedHeight = Sideways(orientation) ? width : height;
    SIZE stored = Sideways(orientation) ? SIZE{size.cy, size.cx} : size;
    // Pixels without alpha are read as they are stored, sparing a conversion.
    Gdiplus::PixelFormat format = 0;
    gdiplus.GetImagePixelFormat(image.Get(), &format);
    bool opaque = format == PixelFormat24bppRGB;
    LockedBits bits(gdiplus, image.Get(), storedWidth, storedHeight, opaque ? PixelFormat24bppRGB : PixelFormat32bppARGB);
    if (!bits)
        return {};
    // Turned after the reduction: the full-size picture is never copied.
    return Upright(Shrink(static_cast<const uint8_t*>(bits.Data().Scan0), bits.Data().Stride, opaque ? 3 : 4,
                       storedWidth, storedHeight, stored.cx, stored.cy, background),
        stored.cx, stored.cy, orientation);
}

std::string EncodeJpeg(const GdiplusLibrary& library, const std::vector<uint32_t>& pixels, int width, int height,
    int quality)
{
    if (!library || width < 1 || height < 1 || pixels.size() != static_cast<size_t>(width) * height)
        return {};
    GdiplusImage bitmap(library);
    // GDI+ only reads the pixels, whatever the pointer's type says.
    BYTE* first = reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels.data()));
    if (library.CreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppRGB, first, bitmap.Put())
        != Gdiplus::Ok)
        return {};
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())))
        return {};
    ULONG value = static_cast<ULONG>(quality);
    Gdiplus::EncoderParameters parameters = {};
    parameters.Count = 1;
    parameters.Parameter[0].Guid = QualityParameter;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Value = &value;
    if (library.SaveImageToStream(bitmap.Get(), stream.Get(), &JpegEncoder, &parameters) != Gdiplus::Ok)
        return {};
    ULARGE_INTEGER end = {};
    LARGE_INTEGER zero = {};
    if (FAILED(stream->Seek(zero, STREAM_SEEK_END, &end)) || FAILED(stream->Seek(zero, STREAM_SEEK_SET, nullptr)))
        return {};
    std::string jpeg(static_cast<size_t>(end.QuadPart), '\0');
    ULONG read = 0;
    if (FAILED(stream->Read(jpeg.data(), static_cast<ULONG>(jpeg.size()), &read)) || read != jpeg.size())
        return {};
    return jpeg;
}
