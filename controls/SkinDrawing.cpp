#include "controls/SkinDrawing.h"

#include <algorithm>

namespace {

double HueValue(double n1, double n2, double hue)
{
    while (hue >= 360)
        hue -= 360;
    while (hue < 0)
        hue += 360;
    if (hue < 60)
        return n1 + (n2 - n1) * hue / 60;
    if (hue < 180)
        return n2;
    if (hue < 240)
        return n1 + (n2 - n1) * (240 - hue) / 60;
    return n1;
}

int Move(int value, int percent)
{
    if (percent > 0)
        return value + (255 - value) * percent / 100;
    if (percent < 0)
        return value * (100 + percent) / 100;
    return value;
}

} // namespace

DWORD RgbToHls(COLORREF colour)
{
    double r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    double high = std::max({r, g, b}), low = std::min({r, g, b});
    double lightness = (high + low) / 510;
    double hue = 0, saturation = 0;
    if (high != low) {
        double delta = high - low;
        saturation = lightness <= 0.5 ? delta / (high + low) : delta / (510 - high - low);
        if (r == high)
            hue = (g - b) / delta;
        else if (g == high)
            hue = 2 + (b - r) / delta;
        else
            hue = 4 + (r - g) / delta;
        hue *= 60;
        if (hue < 0)
            hue += 360;
    }
    auto h = static_cast<DWORD>(hue * 255 / 360);
    auto l = static_cast<DWORD>(lightness * 255);
    auto s = static_cast<DWORD>(saturation * 255);
    return h | (l << 8) | (s << 16);
}

COLORREF HlsToRgb(DWORD hls)
{
    int lightnessByte = (hls >> 8) & 0xFF;
    double hue = (hls & 0xFF) * 360.0 / 255;
    double lightness = lightnessByte / 255.0;
    double saturation = ((hls >> 16) & 0xFF) / 255.0;
    if (saturation == 0)
        return RGB(lightnessByte, lightnessByte, lightnessByte);
    double m2 = lightness <= 0.5 ? lightness * (1 + saturation) : lightness + saturation - lightness * saturation;
    double m1 = 2 * lightness - m2;
    auto component = [&](double offset) { return static_cast<BYTE>(HueValue(m1, m2, hue + offset) * 255); };
    return RGB(component(120), component(0), component(-120));
}

COLORREF AdjustColor(COLORREF colour, int lightnessPercent, int saturationPercent)
{
    DWORD hls = RgbToHls(colour);
    DWORD lightness = static_cast<DWORD>(Move((hls >> 8) & 0xFF, lightnessPercent));
    DWORD saturation = static_cast<DWORD>(Move((hls >> 16) & 0xFF, saturationPercent));
    return HlsToRgb((hls & 0xFF) | (lightness << 8) | (saturation << 16));
}

PenSelector::PenSelector(HDC dc, COLORREF colour)
    : pen(CreatePen(PS_SOLID, 1, colour)), selection(dc, pen)
{
}

BrushSelector::BrushSelector(HDC dc, COLORREF colour)
    : brush(colour == 0xFFFFFFFF ? nullptr : CreateSolidBrush(colour)),
      selection(dc, brush ? static_cast<HGDIOBJ>(brush.Get()) : GetStockObject(HOLLOW_BRUSH))
{
}
