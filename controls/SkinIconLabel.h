#pragma once
// SkinIconLabel: a SkinLabel with an image left of the text; one colour of
// the image can be transparent.
#include "controls/SkinLabel.h"
#include "platform/Gdi.h"

class SkinIconLabel : public SkinLabel {
public:
    // transparentColour 0 shows the caller's bitmap as it is, without a
    // copy; otherwise the label keeps its own masked copy. Null: no image.
    void SetImage(HBITMAP bitmap, COLORREF transparentColour);
    void ShowImage(bool show) { showImage = show ? 1 : 0; }

    HBITMAP GetImage() const { return image; }
    HBITMAP GetMask() const { return mask; }

    SIZE Measure(const RECT& rect) override;
    void Draw(HDC dc, const RECT& area) override;

private:
    void ReleaseImage();

    HBITMAP image = nullptr;  // the caller's bitmap, or ownImage
    int imageWidth = 0;
    int imageHeight = 0;
    Bitmap mask;
    Bitmap ownImage;
    COLORREF transparentColour = 0;
    int showImage = 1;
};
