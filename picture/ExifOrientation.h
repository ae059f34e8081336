#pragma once
// How a camera held when it took a JPEG picture: the orientation tag of its
// Exif block, 1 (upright) to 8. 1 when the bytes carry none or a bad one.
#include <string_view>

int ExifOrientation(std::string_view jpeg);
