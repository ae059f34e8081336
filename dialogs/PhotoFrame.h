#pragma once
// PhotoFrame: the static control that shows one picture, fitted and centred
// on a light background.
#include <windows.h>

#include <memory>

#include "picture/Picture.h"
#include "platform/Static.h"

class PhotoFrame : public CStatic {
public:
    static constexpr COLORREF Background = PhotoBackground;

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
