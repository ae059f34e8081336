#pragma once
// Pictures for the tests: small ones in the program (pictures.rc), photographs drawn at build time.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/ModuleContext.h"

enum PictureResource { PhotoBmp = 1, PhotoJpeg = 2, PhotoGif = 3, NoteIcon = 4 };

inline std::vector<unsigned char> ResourceBytes(int id)
{
    HRSRC found = FindResourceA(ModuleInstance(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));
    if (!found)
        return {};
    auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(ModuleInstance(), found)));
    return {data, data + SizeofResource(ModuleInstance(), found)};
}

#ifdef VCARD_PHOTOS
// The bytes of a photograph drawn by tools/make-photos.
inline std::string PhotoFile(const std::string& name)
{
    std::ifstream file(std::string(VCARD_PHOTOS) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
#endif

inline bool Near(COLORREF a, COLORREF b, int tolerance = 40)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance
        && std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

constexpr COLORREF Red = RGB(220, 20, 20);
constexpr COLORREF Blue = RGB(20, 20, 220);

// OLE is up for each case, as in the card dialog's thread.
class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};
