#pragma once
// Screenshots: what the screen shows of a rectangle, saved under
// VCARD_SCREENS as a bitmap file and, through ImageMagick, as PNG.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Gdi.h"

struct Screenshot {
    int width = 0, height = 0;
    std::vector<unsigned char> rows;  // bottom-up, 24-bit

    COLORREF At(int x, int y) const
    {
        size_t stride = static_cast<size_t>((width * 3 + 3) & ~3);
        const unsigned char* p = &rows[stride * static_cast<size_t>(height - 1 - y) + static_cast<size_t>(x) * 3];
        return RGB(p[2], p[1], p[0]);
    }
};

// The host's skin for a window of that size: a soft vertical gradient with
// a faint diagonal weave.
inline HBITMAP HostSkin(int width, int height)
{
    ClientDC screen(nullptr);
    HBITMAP skin = CreateCompatibleBitmap(screen, width, height);
    MemoryDC dc(screen);
    SelectedObject selection(dc, skin);
    for (int y = 0; y < height; ++y) {
        int t = y * 255 / height;
        for (int x = 0; x < width; x += 2) {
            int weave = ((x + y) / 6) % 2 ? 6 : 0;
            FillSolid(dc, RECT{x, y, x + 2, y + 1}, RGB(196 - t / 6 + weave, 214 - t / 8 + weave, 236 - t / 12));
        }
    }
    return skin;
}

// rect in screen coordinates.
inline Screenshot CaptureScreen(const RECT& rect)
{
    Screenshot shot;
    shot.width = rect.right - rect.left;
    shot.height = rect.bottom - rect.top;
    shot.rows.resize(static_cast<size_t>(((shot.width * 3 + 3) & ~3) * shot.height));
    ClientDC screen(nullptr);
    MemoryDC memory(screen);
    Bitmap bitmap(CreateCompatibleBitmap(screen, shot.width, shot.height));
    {
        SelectedObject selection(memory, bitmap);
        BitBlt(memory, 0, 0, shot.width, shot.height, screen, rect.left, rect.top, SRCCOPY);
    }
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, shot.width, shot.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(shot.height), shot.rows.data(), &info, DIB_RGB_COLORS);
    return shot;
}

// Writes name.bmp and name.png; false when either is missing.
inline bool Save(const Screenshot& shot, const std::string& name)
{
    CreateDirectoryA(VCARD_SCREENS, nullptr);
    std::string base = std::string(VCARD_SCREENS) + "/" + name;
    BITMAPINFOHEADER header = {sizeof header, shot.width, shot.height, 1, 24, BI_RGB,
        static_cast<DWORD>(shot.rows.size()), 2835, 2835, 0, 0};
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof header + shot.rows.size()), 0, 0,
        static_cast<DWORD>(sizeof file + sizeof header)};
    FILE* out = std::fopen((base + ".bmp").c_str(), "wb");
    if (!out)
        return false;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1
        && std::fwrite(shot.rows.data(), shot.rows.size(), 1, out) == 1;
    if (std::fclose(out) != 0 || !written)
        return false;
    // ImageMagick is a Unix program: it takes the path without the drive,
    // and its process handle is signalled at once, so wait for its file.
    DeleteFileA((base + ".png").c_str());
    std::string unixBase = base.substr(2);
    std::string command = "Z:\\usr\\bin\\convert \"" + unixBase + ".bmp\" \"" + unixBase + ".png\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    for (int tries = 0; tries < 100; ++tries) {
        if (GetFileAttributesA((base + ".png").c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        Sleep(100);
    }
    return false;
}
