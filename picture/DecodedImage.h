#pragma once
// DecodedImage: picture bytes of any kind GDI+ reads (BMP, JPEG, GIF, PNG,
// ICO, TIFF), decoded once when the size their header declares is
// affordable, and reduced to any smaller size on request, turned upright as
// the Exif orientation says.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "picture/Gdiplus.h"
#include "platform/ComPtr.h"

// A stream over a copy of the bytes; empty when memory runs out.
void OpenStream(const void* bytes, size_t count, ComPtr<IStream>& stream);

class DecodedImage {
public:
    // Pictures of more pixels than this are refused rather than decoded: at
    // three or four bytes a pixel, what a 32-bit process can still find.
    static constexpr int64_t MaxPixels = 64 * 1024 * 1024;

    DecodedImage(const GdiplusLibrary& library, const void* bytes, size_t count);

    explicit operator bool() const { return width > 0 && height > 0; }
    // Its header declares more than MaxPixels; nothing was decoded.
    bool TooLarge() const { return tooLarge; }
    // Upright.
    int Width() const { return width; }
    int Height() const { return height; }
    // Its pixels (0xFFRRGGBB, rows top-down) at that size, at most its own,
    // laid over background; empty if GDI+ cannot hand them over.
    std::vector<uint32_t> Pixels(SIZE size, COLORREF background) const;

private:
    const GdiplusLibrary& gdiplus;
    ComPtr<IStream> stream;
    GdiplusImage image;
    int orientation = 1;
    int width = 0;
    int height = 0;
    bool tooLarge = false;
};

// The JPEG bytes of width x height pixels 0xFFRRGGBB at that quality (0 to
// 100); empty on failure.
std::string EncodeJpeg(const GdiplusLibrary& library, const std::vector<uint32_t>& pixels, int width, int height,
    int quality);
