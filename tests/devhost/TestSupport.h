#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder()
    {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        std::random_device device;
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path = std::filesystem::temp_directory_path() /
               ("cardserver-" + std::string(test ? test->name() : "x") + "-" + std::to_string(device()) + "-" +
                std::to_string(stamp));
        std::filesystem::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path path;
};

// "" when bytes are a consistent uncompressed 24-bit BMP file, else what is wrong.
inline std::string BmpProblem(const std::string& bytes)
{
    auto number = [&bytes](std::size_t at, int size) {
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0)
        return "no BMP signature";
    if (number(2, 4) != bytes.size())
        return "file size field " + std::to_string(number(2, 4)) + " for " + std::to_string(bytes.size()) + " bytes";
    if (number(10, 4) != 54 || number(14, 4) != 40)
        return "unexpected header layout";
    if (number(26, 2) != 1 || number(28, 2) != 24 || number(30, 4) != 0)
        return "not an uncompressed 24-bit picture";
    std::uint32_t width = number(18, 4), height = number(22, 4);
    if (width == 0 || height == 0 || width > 4096 || height > 4096)
        return "implausible size";
    if (54 + (width * 3 + 3) / 4 * 4 * height != bytes.size())
        return "pixel data does not match the size";
    return "";
}
