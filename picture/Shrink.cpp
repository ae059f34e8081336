#include "picture/Shrink.h"

#include <algorithm>
#include <cmath>

namespace {

// Where one source pixel's share lands: on cell first, and what is left of
// it on the next cell.
struct Share {
    int first;
    float toFirst;
    float toNext;
};

// One share per source pixel when count pixels become cells ones.
std::vector<Share> Shares(int count, int cells)
{
    std::vector<Share> shares(static_cast<size_t>(count));
    double scale = static_cast<double>(cells) / count;
    for (int i = 0; i < count; ++i) {
        double from = i * scale, to = (i + 1) * scale;
        int cell = std::min(static_cast<int>(from), cells - 1);
        double split = std::min(to, static_cast<double>(cell + 1));
        bool spills = cell + 1 < cells && to > split;
        shares[static_cast<size_t>(i)] = {cell, static_cast<float>(split - from),
            spills ? static_cast<float>(to - split) : 0.0f};
    }
    return shares;
}

} // namespace

SIZE FitSize(int width, int height, int maxWidth, int maxHeight)
{
    if (width <= maxWidth && height <= maxHeight)
        return {std::max(width, 1), std::max(height, 1)};
    double scale = std::min(static_cast<double>(maxWidth) / width, static_cast<double>(maxHeight) / height);
    return {std::max(1L, std::lround(width * scale)), std::max(1L, std::lround(height * scale))};
}

std::vector<uint32_t> Shrink(const uint8_t* rows, int stride, int pixelBytes, int width, int height,
    int targetWidth, int targetHeight, COLORREF background)
{
    const float back[3] = {static_cast<float>(GetBValue(background)), static_cast<float>(GetGValue(background)),
        static_cast<float>(GetRValue(background))};
    std::vector<Share> across = Shares(width, targetWidth), down = Shares(height, targetHeight);
    std::vector<float> sums(static_cast<size_t>(targetWidth) * targetHeight * 3, 0.0f);
    std::vector<float> line(static_cast<size_t>(targetWidth) * 3);
    for (int y = 0; y < height; ++y) {
        std::fill(line.begin(), line.end(), 0.0f);
        const uint8_t* pixel = rows + static_cast<ptrdiff_t>(y) * stride;
        for (int x = 0; x < width; ++x, pixel += pixelBytes) {
            float colour[3] = {static_cast<float>(pixel[0]), static_cast<float>(pixel[1]), static_cast<float>(pixel[2])};
            if (pixelBytes == 4 && pixel[3] != 255) {
                float alpha = pixel[3] / 255.0f;
                for (int c = 0; c < 3; ++c)
                    colour[c] = colour[c] * alpha + back[c] * (1.0f - alpha);
            }
            const Share& share = across[static_cast<size_t>(x)];
            float* cell = &line[static_cast<size_t>(share.first) * 3];
            for (int c = 0; c < 3; ++c)
                cell[c] += colour[c] * share.toFirst;
            if (share.toNext > 0.0f)
                for (int c = 0; c < 3; ++c)
                    cell[3 + c] += colour[c] * share.toNext;
        }
        const Share& share = down[static_cast<size_t>(y)];
        float* target = &sums[static_cast<size_t>(share.first) * targetWidth * 3];
        for (size_t i = 0; i < line.size(); ++i)
            target[i] += line[i] * share.toFirst;
        if (share.toNext > 0.0f)
            for (size_t i = 0; i < line.size(); ++i)
                target[line.size() + i] += line[i] * share.toNext;
    }
    // The shares of each cell add up to one, so the sums are averages.
    std::vector<uint32_t> pixels(static_cast<size_t>(targetWidth) * targetHeight);
    for (size_t i = 0; i < pixels.size(); ++i) {
        uint32_t value = 0xFF000000;
        for (int c = 0; c < 3; ++c)
            value |= static_cast<uint32_t>(std::clamp(std::lround(sums[i * 3 + c]), 0L, 255L)) << (8 * c);
        pixels[i] = value;
    }
    return pixels;
}
