#include "picture/ExifOrientation.h"

#include <cstdint>

namespace {

constexpr unsigned OrientationTag = 0x0112;

// Reads count (2 or 4) bytes at offset in the block's byte order; false
// beyond its end.
bool Read(std::string_view block, size_t offset, int count, bool little, uint32_t& value)
{
    if (offset > block.size() || block.size() - offset < static_cast<size_t>(count))
        return false;
    value = 0;
    for (int i = 0; i < count; ++i) {
        auto byte = static_cast<uint8_t>(block[offset + static_cast<size_t>(little ? count - 1 - i : i)]);
        value = value << 8 | byte;
    }
    return true;
}

// The orientation in the first directory of a TIFF block.
int FromTiff(std::string_view tiff)
{
    bool little = tiff.substr(0, 4) == std::string_view("II*\0", 4);
    if (!little && tiff.substr(0, 4) != std::string_view("MM\0*", 4))
        return 1;
    uint32_t directory = 0, entries = 0;
    if (!Read(tiff, 4, 4, little, directory) || !Read(tiff, directory, 2, little, entries))
        return 1;
    for (uint32_t i = 0; i < entries; ++i) {
        size_t entry = directory + 2 + static_cast<size_t>(i) * 12;
        uint32_t tag = 0, value = 0;
        if (!Read(tiff, entry, 2, little, tag))
            return 1;
        if (tag == OrientationTag)
            return Read(tiff, entry + 8, 2, little, value) && value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

} // namespace

int ExifOrientation(std::string_view jpeg)
{
    if (jpeg.substr(0, 2) != "\xFF\xD8")
        return 1;
    // The segments before the picture data: marker, big-endian length, body.
    size_t at = 2;
    uint32_t length = 0;
    while (at + 4 <= jpeg.size() && static_cast<uint8_t>(jpeg[at]) == 0xFF && Read(jpeg, at + 2, 2, false, length)
        && length >= 2) {
        auto marker = static_cast<uint8_t>(jpeg[at + 1]);
        if (marker == 0xDA)
            break;
        if (marker == 0xE1 && length >= 8 && jpeg.substr(at + 4, 6) == std::string_view("Exif\0\0", 6))
            return FromTiff(jpeg.substr(at + 10, length - 8));
        at += 2 + length;
    }
    return 1;
}
