#include "picture/DecodedImage.h"

#include <cstring>

#include "picture/ExifOrientation.h"
#include "picture/Shrink.h"

namespace {

// GDI+'s own JPEG encoder and its quality parameter, the same on every system.
constexpr CLSID JpegEncoder = {0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
// What turns a picture of each Exif orientation (1 to 8) upright.
constexpr Gdiplus::RotateFlipType Upright[] = {Gdiplus::RotateNoneFlipNone, Gdiplus::RotateNoneFlipNone,
    Gdiplus::RotateNoneFlipX, Gdiplus::Rotate180FlipNone, Gdiplus::RotateNoneFlipY, Gdiplus::Rotate90FlipX,
    Gdiplus::Rotate90FlipNone, Gdiplus::Rotate270FlipX, Gdiplus::Rotate270FlipNone};
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

} // namespace

void OpenStream(const void* bytes, size_t count, ComPtr<IStream>& stream)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, count ? count : 1);
    if (!block)
        return;
    if (void* target = GlobalLock(block)) {
        std::memcpy(target, bytes, count);
        GlobalUnlock(block);
    }
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, stream.Put())))
        GlobalFree(block);
}

DecodedImage::DecodedImage(const GdiplusLibrary& library, const void* bytes, size_t count)
    : gdiplus(library), image(library)
{
    if (!gdiplus || count == 0)
        return;
    OpenStream(bytes, count, stream);
    if (!stream || gdiplus.CreateBitmapFromStream(stream.Get(), image.Put()) != Gdiplus::Ok || !image)
        return;
    // Cameras store pictures as the sensor saw them and say how to turn them.
    int orientation = ExifOrientation(std::string_view(static_cast<const char*>(bytes), count));
    if (orientation != 1 && gdiplus.ImageRotateFlip(image.Get(), Upright[orientation]) != Gdiplus::Ok)
        return;
    UINT w = 0, h = 0;
    gdiplus.GetImageWidth(image.Get(), &w);
    gdiplus.GetImageHeight(image.Get(), &h);
    if (w > 0 && h > 0 && static_cast<int64_t>(w) * h <= MaxPixels) {
        width = static_cast<int>(w);
        height = static_cast<int>(h);
    }
}

std::vector<uint32_t> DecodedImage::Pixels(SIZE size, COLORREF background) const
{
    if (!*this || size.cx < 1 || size.cy < 1 || size.cx > width || size.cy > height)
        return {};
    // Pixels without alpha are read as they are stored, sparing a conversion.
    Gdiplus::PixelFormat stored = 0;
    gdiplus.GetImagePixelFormat(image.Get(), &stored);
    bool opaque = stored == PixelFormat24bppRGB;
    LockedBits bits(gdiplus, image.Get(), width, height, opaque ? PixelFormat24bppRGB : PixelFormat32bppARGB);
    if (!bits)
        return {};
    return Shrink(static_cast<const uint8_t*>(bits.Data().Scan0), bits.Data().Stride, opaque ? 3 : 4, width, height,
        size.cx, size.cy, background);
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
