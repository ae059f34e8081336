#pragma once
// The size a picture file declares in its header, read before any pixel is
// decoded: JPEG, PNG, GIF, BMP, icon (the largest of its pictures) and TIFF.
#include <cstdint>
#include <optional>
#include <string_view>

struct PictureSize {
    int64_t width = 0;
    int64_t height = 0;

    int64_t Pixels() const { return width * height; }
};

// Empty for any other kind of file, or a header cut short.
std::optional<PictureSize> DeclaredSize(std::string_view bytes);
