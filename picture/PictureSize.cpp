#include "picture/PictureSize.h"

#include <algorithm>

namespace {

// count (1 to 4) bytes at offset, in either order; empty beyond the end.
std::optional<uint32_t> Number(std::string_view bytes, size_t offset, int count, bool little)
{
    if (offset > bytes.size() || bytes.size() - offset < static_cast<size_t>(count))
        return std::nullopt;
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | static_cast<uint8_t>(bytes[offset + static_cast<size_t>(little ? count - 1 - i : i)]);
    return value;
}

std::optional<PictureSize> Sized(std::optional<uint32_t> width, std::optional<uint32_t> height)
{
    if (!width || !height || *width == 0 || *height == 0)
        return std::nullopt;
    return PictureSize{*width, *height};
}

// The first frame header (SOF0 to SOF15 but DHT, JPG and DAC) before the scan.
std::optional<PictureSize> Jpeg(std::string_view bytes)
{
    size_t at = 2;
    while (auto length = Number(bytes, at + 2, 2, false)) {
        auto marker = static_cast<uint8_t>(bytes[at + 1]);
        if (static_cast<uint8_t>(bytes[at]) != 0xFF || marker == 0xDA || *length < 2)
            return std::nullopt;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return Sized(Number(bytes, at + 7, 2, false), Number(bytes, at + 5, 2, false));
        at += 2 + *length;
    }
    return std::nullopt;
}

std::optional<PictureSize> Bmp(std::string_view bytes)
{
    auto header = Number(bytes, 14, 4, true);
    if (header == 12u)
        return Sized(Number(bytes, 18, 2, true), Number(bytes, 20, 2, true));
    auto height = Number(bytes, 22, 4, true);
    if (height && (*height & 0x80000000u))
        height = 0u - *height;  // rows top-down
    return Sized(Number(bytes, 18, 4, true), height);
}

std::optional<PictureSize> Tiff(std::string_view bytes)
{
    bool little = bytes[0] == 'I';
    auto directory = Number(bytes, 4, 4, little);
    auto entries = directory ? Number(bytes, *directory, 2, little) : std::nullopt;
    std::optional<uint32_t> width, height;
    for (uint32_t i = 0; entries && i < *entries; ++i) {
        size_t entry = *directory + 2 + static_cast<size_t>(i) * 12;
        auto tag = Number(bytes, entry, 2, little), type = Number(bytes, entry + 2, 2, little);
        if (!tag || !type)
            break;
        auto value = Number(bytes, entry + 8, *type == 3 ? 2 : 4, little);
        if (*tag == 256)
            width = value;
        else if (*tag == 257)
            height = value;
    }
    return Sized(width, height);
}

std::optional<PictureSize> Png(std::string_view bytes)
{
    if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR")
        return std::nullopt;
    return Sized(Number(bytes, 16, 4, false), Number(bytes, 20, 4, false));
}

// Each picture of an icon, the largest counting; one in PNG declares its own.
std::optional<PictureSize> Icon(std::string_view bytes)
{
    auto count = Number(bytes, 4, 2, true);
    std::optional<PictureSize> largest;
    for (uint32_t i = 0; count && i < *count; ++i) {
        size_t entry = 6 + static_cast<size_t>(i) * 16;
        auto width = Number(bytes, entry, 1, true), height = Number(bytes, entry + 1, 1, true);
        auto offset = Number(bytes, entry + 12, 4, true);
        if (!width || !height || !offset)
            return std::nullopt;
        std::optional<PictureSize> size = Sized(*width ? *width : 256, *height ? *height : 256);
        if (*offset < bytes.size() && bytes.substr(*offset, 4) == "\x89PNG")
            size = Png(bytes.substr(*offset));
        if (!size)
            return std::nullopt;
        if (!largest || size->Pixels() > largest->Pixels())
            largest = size;
    }
    return largest;
}

} // namespace

std::optional<PictureSize> DeclaredSize(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xFF\xD8\xFF")
        return Jpeg(bytes);
    if (bytes.substr(0, 8) == "\x89PNG\r\n\x1A\n")
        return Png(bytes);
    if (bytes.substr(0, 4) == "GIF8")
        return Sized(Number(bytes, 6, 2, true), Number(bytes, 8, 2, true));
    if (bytes.substr(0, 2) == "BM")
        return Bmp(bytes);
    if (bytes.substr(0, 4) == std::string_view("\0\0\1\0", 4))
        return Icon(bytes);
    if (bytes.substr(0, 4) == std::string_view("II*\0", 4) || bytes.substr(0, 4) == std::string_view("MM\0*", 4))
        return Tiff(bytes);
    return std::nullopt;
}
