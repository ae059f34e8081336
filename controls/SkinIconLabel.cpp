#include "controls/SkinIconLabel.h"

#include <algorithm>

#include "controls/SkinDrawing.h"
#include "platform/Gdi.h"

void SkinIconLabel::ReleaseImage()
{
    image = nullptr;
    ownImage.Reset();
    mask.Reset();
    imageWidth = imageHeight = 0;
}

void SkinIconLabel::SetImage(HBITMAP bitmap, COLORREF transparent)
{
    ReleaseImage();
    if (!bitmap)
        return;
    SIZE size = BitmapSize(bitmap);
    if (transparent == 0) {
        image = bitmap;
    } else {
        ClientDC screen(nullptr);
        Bitmap copy(CreateCompatibleBitmap(screen, size.cx, size.cy));
        Bitmap monochrome(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
        if (!copy || !monochrome)
            return;
        {
            MemoryDC source(screen), target(screen), maskDC(screen);
            SelectedObject sourceSelection(source, bitmap);
            SelectedObject targetSelection(target, copy);
            SelectedObject maskSelection(maskDC, monochrome);
            BitBlt(target, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
            SetBkColor(source, transparent);
            BitBlt(maskDC, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
            // Transparent pixels (mask 1) become black in the copy.
            SetBkColor(target, RGB(0, 0, 0));
            SetTextColor(target, RGB(255, 255, 255));
            BitBlt(target, 0, 0, size.cx, size.cy, maskDC, 0, 0, SRCAND);
        }
        ownImage = std::move(copy);
        mask = std::move(monochrome);
        image = ownImage;
    }
    imageWidth = size.cx;
    imageHeight = size.cy;
    transparentColour = transparent;
}

SIZE SkinIconLabel::Measure(const RECT& rect)
{
    if (!image || !showImage)
        return SkinLabel::Measure(rect);
    RECT textArea = rect;
    textArea.left += imageWidth + 6;
    if (textArea.bottom - textArea.top < imageHeight)
        textArea.bottom = textArea.top + imageHeight;
    SIZE size = SkinLabel::Measure(textArea);
    size.cx += imageWidth + 6;
    size.cy = std::max<LONG>(size.cy, imageHeight);
    return size;
}

void SkinIconLabel::Draw(HDC dc, const RECT& area)
{
    if ((GetFlags() & Framed) || ShowsHover()) {
        PenSelector pen(dc, colour3);
        BrushSelector brush(dc, IsEnabledLabel() ? AdjustColor(colour3, 70, -70) : AdjustColor(colour2, 73, 0));
        Rectangle(dc, area.left, area.top, area.right, area.bottom);
    }
    if (!image || !showImage) {
        DrawText(dc, area, true);
        return;
    }
    RECT textArea = area;
    textArea.left += imageWidth + 3;
    DrawText(dc, textArea, true);
    int y = (area.bottom - area.top - imageHeight) / 2;
    MemoryDC source(dc);
    SavedDC saved(dc);
    if (mask) {
        SetBkColor(dc, RGB(255, 255, 255));
        SetTextColor(dc, RGB(0, 0, 0));
        {
            SelectedObject selection(source, mask);
            BitBlt(dc, 2, y, imageWidth, imageHeight, source, 0, 0, SRCAND);
        }
        SelectedObject selection(source, image);
        BitBlt(dc, 2, y, imageWidth, imageHeight, source, 0, 0, SRCPAINT);
    } else {
        SelectedObject selection(source, image);
        BitBlt(dc, 2, y, imageWidth, imageHeight, source, 0, 0, SRCCOPY);
    }
}
