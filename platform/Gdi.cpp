#include "platform/Gdi.h"

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    COLORREF previous = SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

void DrawParentBackground(HWND child, HDC dc)
{
    HWND parent = GetParent(child);
    if (!parent)
        return;
    POINT origin = {0, 0};
    MapWindowPoints(child, parent, &origin, 1);
    POINT previous;
    OffsetWindowOrgEx(dc, origin.x, origin.y, &previous);
    SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetWindowOrgEx(dc, previous.x, previous.y, nullptr);
}
