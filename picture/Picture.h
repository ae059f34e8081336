#pragma once
// CPicture: picture bytes loaded through the OLE picture loader (JPEG, BMP,
// GIF, ICO), or through GDI+ when that cannot read them (PNG), and drawn
// into a device context.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "platform/ComPtr.h"

// What shows through the transparent parts of a photo.
constexpr COLORREF PhotoBackground = 0x00AADDDD;

class CPicture {
public:
    // Pictures whose header declares more pixels are not loaded; the
    // header is read first, and a file without one is none.
    static constexpr int MaxDecodedPixels = 4 * 1024 * 1024;

public:
    // owner: the window whose picture this is; it owns the error boxes.
    explicit CPicture(HWND ownerWindow = nullptr) : owner(ownerWindow) {}
    virtual ~CPicture();
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;

    // Non-zero on success, also when the bytes held no picture.
    int Load(const unsigned char* bytes, int byteCount);
    // Draws the whole picture stretched into the rectangle; 0 without one.
    int Render(HDC dc, int left, int top, int right, int bottom);
    // Width and height in pixels of dc; 0 without a dc or a picture.
    int UpdateSizeForDC(HDC dc);
    void Free();

    bool HasPicture() const { return static_cast<bool>(picture); }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetSize() const { return size; }

private:
    void ShowError(const char* text) const;

    HWND owner;
    ComPtr<IPicture> picture;
    int height = 0;
    int size = 0;
    int width = 0;
};

// Where a w by h picture goes in frame: at its own size and centred when it
// is smaller both ways, else scaled to the frame's width or height.
RECT FitRect(const RECT& frame, int w, int h, bool centre);
