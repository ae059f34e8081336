#pragma once
// Reduces 32-bit BGRA pixels (GDI+'s 32bppARGB rows, top-down) to a smaller
// size by averaging the area each new pixel covers, with transparent parts
// laid over a background colour.
#include <windows.h>

#include <cstdint>
#include <vector>

// The largest size within maxWidth x maxHeight with the picture's aspect
// ratio, never larger than the picture itself; at least 1 x 1.
SIZE FitSize(int width, int height, int maxWidth, int maxHeight);

// targetWidth x targetHeight opaque pixels in the same layout (0xFFRRGGBB).
// The target must not be larger than the source either way.
std::vector<uint32_t> Shrink(const uint8_t* rows, int stride, int width, int height, int targetWidth,
    int targetHeight, COLORREF background);
