#pragma once
// CPicture: picture bytes (JPEG, BMP, GIF, ICO) loaded through the OLE
// picture loader and drawn into a device context. PhotoFrame: the static
// control that shows one, fitted and centred on a light background.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <memory>

#include "platform/ComPtr.h"
#include "platform/Static.h"

class CPicture {
public:
    CPicture() = default;
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
    ComPtr<IPicture> picture;
    int height = 0;
    int size = 0;
    int width = 0;
};

// Where a w by h picture goes in frame: at its own size and centred when it
// is smaller both ways, else scaled to the frame's width or height.
RECT FitRect(const RECT& frame, int w, int h, bool centre);

class PhotoFrame : public CStatic {
public:
    static constexpr COLORREF Background = 0x00AADDDD;

    // Shows the picture from the next paint on.
    void SetPicture(const unsigned char* bytes, int byteCount);
    void SetPicture(std::unique_ptr<CPicture> loaded);
    // Removes it and repaints at once.
    void ClearPicture();
    // The picture shown, or null.
    const CPicture* GetPicture() const { return picture.get(); }

protected:
    LRESULT OnSize(UINT type, int cx, int cy) override;
    LRESULT OnEraseBkgnd(HDC) override { return TRUE; }
    LRESULT OnPaint() override { return PaintClient(nullptr); }
    LRESULT OnPrintClient(HDC dc) override { return PaintClient(dc); }
    void DrawClient(HDC dc, const RECT& client) override;

private:
    std::unique_ptr<CPicture> picture;
    int frameWidth = 0;
    int frameHeight = 0;
};
