#pragma once
// Reduces pixels to a smaller size by averaging the area each new pixel
// covers, with transparent parts laid over a background colour. Rows run
// top-down, pixels in GDI+'s byte order: B, G, R and, in 4-byte pixels, A.
#include <windows.h>

#include <cstdint>
#include <vector>

// The largest size within maxWidth x maxHeight with the picture's aspect
// ratio, never larger than the picture itself; at least 1 x 1.
SIZE FitSize(int width, int height, int maxWidth, int maxHeight);

// pixelBytes: 3, or 4 with alpha. Gives targetWidth x targetHeight opaque
// 4-byte pixels (0xFFRRGGBB).
// The target must not be larger than the source either way.
std::vector<uint32_t> Shrink(const uint8_t* rows, int stride, int pixelBytes, int width, int height,
    int targetWidth, int targetHeight, COLORREF background);
