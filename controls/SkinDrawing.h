#pragma once
// Colour arithmetic of the skinned controls and scoped pen and brush selection.
#include <windows.h>

#include "platform/Gdi.h"

// The colour of this module's bitmaps that lets what is under them show.
inline constexpr COLORREF TransparentColour = 0x00FF00FF;

// Hue (0..255 for 0..360 degrees), lightness and saturation packed in bytes
// 0, 1 and 2.
DWORD RgbToHls(COLORREF colour);
COLORREF HlsToRgb(DWORD hls);
// Moves lightness and saturation by percentages: positive towards 255,
// negative towards 0.
COLORREF AdjustColor(COLORREF colour, int lightnessPercent, int saturationPercent);

// A solid pen of width 1, selected until the end of the scope.
class PenSelector {
public:
    PenSelector(HDC dc, COLORREF colour);
    PenSelector(const PenSelector&) = delete;
    PenSelector& operator=(const PenSelector&) = delete;

private:
    Pen pen;
    SelectedObject selection;
};

// A solid brush, or the hollow stock brush for 0xFFFFFFFF.
class BrushSelector {
public:
    BrushSelector(HDC dc, COLORREF colour);
    BrushSelector(const BrushSelector&) = delete;
    BrushSelector& operator=(const BrushSelector&) = delete;

private:
    Brush brush;
    SelectedObject selection;
};
