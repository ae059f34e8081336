#include "picture/PhotoFit.h"

#include <algorithm>
#include <new>

#include "picture/DecodedImage.h"
#include "picture/Shrink.h"

namespace {

constexpr int Qualities[] = {85, 70, 55, 40, 25};

FittedPhoto Fit(const std::string& bytes, SIZE frame, COLORREF background, size_t maxBytes)
{
    FittedPhoto fitted;
    GdiplusLibrary gdiplus;
    DecodedImage image(gdiplus, bytes.data(), bytes.size());
    if (image.TooLarge())
        return {FittedPhoto::TooManyPixels, {}, {}, 0};
    if (!image)
        return fitted;
    fitted.outcome = FittedPhoto::TooLarge;
    if (frame.cx < 1 || frame.cy < 1)
        return fitted;
    SIZE size = FitSize(image.Width(), image.Height(), frame.cx, frame.cy);
    std::vector<uint32_t> pixels = image.Pixels(size, background);
    while (!pixels.empty()) {
        size_t previous = 0;
        for (int quality : Qualities) {
            std::string jpeg = EncodeJpeg(gdiplus, pixels, size.cx, size.cy, quality);
            if (jpeg.empty())
                return fitted;
            if (jpeg.size() <= maxBytes)
                return {FittedPhoto::Fitted, std::move(jpeg), size, quality};
            // An encoder that ignores the quality (Wine's) leaves it to the size.
            if (jpeg.size() == previous)
                break;
            previous = jpeg.size();
        }
        if (size.cx == 1 && size.cy == 1)
            break;
        SIZE smaller = FitSize(size.cx, size.cy, std::max(1L, size.cx * 4 / 5), std::max(1L, size.cy * 4 / 5));
        pixels = Shrink(reinterpret_cast<const uint8_t*>(pixels.data()), size.cx * 4, 4, size.cx, size.cy, smaller.cx,
            smaller.cy, background);
        size = smaller;
    }
    return fitted;
}

} // namespace

FittedPhoto FitPhoto(const std::string& bytes, SIZE frame, COLORREF background, size_t maxBytes)
{
    try {
        return Fit(bytes, frame, background, maxBytes);
    } catch (const std::bad_alloc&) {
        return {FittedPhoto::TooManyPixels, {}, {}, 0};
    }
}
