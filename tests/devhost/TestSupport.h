#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

// A fresh folder under the system's temporary folder, removed afterwards.
struct TempFolder {
    TempFolder()
        : path(std::filesystem::temp_directory_path() /
               ("cardserver-" + std::to_string(std::random_device()()) + "-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
    {
        std::filesystem::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

// "" when bytes are a consistent uncompressed 24-bit BMP file, else what is wrong.
inline std::string BmpProblem(const std::string& bytes)
{
    auto at = [&bytes](std::size_t offset, int size) {
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
        return value;
    };
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0)
        return "no BMP signature";
    if (at(2, 4) != bytes.size() || at(10, 4) != 54 || at(14, 4) != 40)
        return "inconsistent header";
    if (at(26, 2) != 1 || at(28, 2) != 24 || at(30, 4) != 0)
        return "not an uncompressed 24-bit picture";
    std::uint32_t width = at(18, 4), height = at(22, 4);
    if (width == 0 || height == 0 || width > 4096 || height > 4096 ||
        54 + (width * 3 + 3) / 4 * 4 * height != bytes.size())
        return "pixel data does not fit the size";
    return "";
}
