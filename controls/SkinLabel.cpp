#include "controls/SkinLabel.h"

#include "controls/SkinDrawing.h"
#include "platform/Gdi.h"

namespace {

constexpr UINT TextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

UINT AlignmentFormat(int alignment)
{
    if (alignment == SkinLabel::AlignRight)
        return DT_RIGHT;
    if (alignment == SkinLabel::AlignCentre)
        return DT_CENTER;
    return DT_LEFT;
}

} // namespace

void SkinLabel::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY | SS_NOPREFIX);
}

void SkinLabel::SetText(const std::string& value, bool autoSize, const std::string& tip, bool pad)
{
    Redraw();
    text = pad && (flags & Filled) ? "  " + value + "  " : value;
    SetWindowText(text);
    if (autoSize)
        AutoSize();
    if (!tip.empty()) {
        if (!tooltip) {
            auto created = std::make_unique<CToolTipCtrl>();
            if (created->Create(hwnd)) {
                created->SetDelayTime(150);
                tooltip = std::move(created);
            }
        }
        if (tooltip) {
            tooltip->SetTool(1, tip.c_str());
            tooltip->Activate(TRUE);
        }
    } else if (tooltip) {
        tooltip->DestroyWindow();
        tooltip.reset();
    }
    Redraw();
}

void SkinLabel::ModifyFlags(DWORD add, DWORD remove, bool redraw)
{
    flags = (flags | add) & ~remove;
    if (add & Disabled) {
        EnableWindow(FALSE);
        redraw = true;
    } else if (remove & Disabled) {
        EnableWindow(TRUE);
        redraw = true;
    }
    if (redraw)
        Redraw();
}

void SkinLabel::SetAppearance(HFONT baseFont, COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4, bool resize)
{
    font = baseFont;
    colour1 = c1;
    colour2 = c2;
    colour3 = c3;
    colour4 = c4;
    if (resize)
        AutoSize();
}

void SkinLabel::AutoSize()
{
    if (!(flags & (AutoHeight | AutoWidth)))
        return;
    SIZE size = Measure(GetClientRect());
    SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SkinLabel::SetNotify(HWND window, int index)
{
    notifyWindow = window;
    notifyIndex = index;
}

Font SkinLabel::MakeFont() const
{
    LOGFONTA description = {};
    if (!font || !GetObjectA(font, sizeof description, &description))
        return Font();
    description.lfWeight = (flags & Bold) ? FW_BOLD : FW_NORMAL;
    description.lfItalic = (flags & Italic) ? TRUE : FALSE;
    description.lfUnderline = ((flags & HoverUnderline) && hovered) ? TRUE : FALSE;
    return Font(CreateFontIndirectA(&description));
}

SIZE SkinLabel::Measure(const RECT& rect)
{
    if (text.empty())
        return {3, 3};
    ClientDC dc(hwnd);
    Font labelFont = MakeFont();
    SavedDC saved(dc);
    if (labelFont)
        SelectObject(dc, labelFont);
    SIZE sample = {};
    GetTextExtentPoint32A(dc, "MpgWy", 5, &sample);
    RECT work = rect;
    if (flags & AutoHeight)
        work.bottom = work.top + sample.cy;
    if (flags & AutoWidth)
        work.right = work.left + sample.cx;
    RECT measured = work;
    measured.left += 2;
    ::DrawTextA(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    if ((measured.right > rect.right && (flags & Wrap)) || text.find('\n') != std::string::npos) {
        measured = work;
        measured.left += 2;
        ::DrawTextA(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    LONG width = measured.right - (work.left + 2);
    LONG height = (flags & AutoHeight) ? measured.bottom - measured.top : rect.bottom - rect.top;
    return {width + 2, height + 2};
}

void SkinLabel::DrawText(HDC dc, const RECT& rect, bool skipFill)
{
    COLORREF fill = AdjustColor(colour2, 73, 0);
    if (!skipFill) {
        if ((flags & Framed) || ShowsHover()) {
            fill = hovered ? AdjustColor(colour3, 70, -70) : AdjustColor(colour2, 73, 0);
            FillSolid(dc, rect, fill);
        }
        if (flags & Filled)
            FillSolid(dc, rect, colour1);
    }
    if (text.empty())
        return;
    Font labelFont = MakeFont();
    SavedDC saved(dc);
    UINT format = TextFormat | AlignmentFormat(alignment);
    COLORREF colour = !IsEnabledLabel() ? DisabledText : ShowsHover() ? colour4 : colour1;
    int mode = TRANSPARENT;
    if (flags & Filled) {
        mode = OPAQUE;
        colour = colour2;
        SetBkColor(dc, colour1);
    } else if (flags & Framed) {
        mode = OPAQUE;
        SetBkColor(dc, fill);
    }
    SetTextColor(dc, colour);
    SetBkMode(dc, mode);
    if (labelFont)
        SelectObject(dc, labelFont);
    RECT area = rect;
    area.left += 2;
    RECT measured = area;
    ::DrawTextA(dc, text.c_str(), -1, &measured, format | DT_CALCRECT);
    if ((measured.right > area.right && (flags & Wrap)) || text.find('\n') != std::string::npos)
        format = DT_WORDBREAK | DT_NOPREFIX | AlignmentFormat(alignment);
    ::DrawTextA(dc, text.c_str(), -1, &area, format);
}

void SkinLabel::Draw(HDC dc, const RECT& area)
{
    DrawText(dc, area, false);
}

void SkinLabel::DrawClient(HDC dc, const RECT& client)
{
    DrawParentBackground(hwnd, dc);
    Draw(dc, client);
}

void SkinLabel::Redraw()
{
    HWND parent = GetParent();
    if (!hwnd || !parent)
        return;
    RECT rect = GetWindowRect();
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    RedrawWindow(parent, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SkinLabel::Notify(UINT message) const
{
    if (notifyWindow)
        ::PostMessageA(notifyWindow, message, static_cast<WPARAM>(notifyIndex), 0);
}

void SkinLabel::Relay(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!tooltip)
        return;
    MSG msg = {hwnd, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    DWORD position = GetMessagePos();
    msg.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    tooltip->RelayEvent(&msg);
}

BOOL SkinLabel::PreTranslateMessage(MSG* msg)
{
    switch (msg->message) {
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        if (tooltip && msg->hwnd == hwnd)
            tooltip->RelayEvent(msg);
        break;
    default:
        break;
    }
    return FALSE;
}

LRESULT SkinLabel::OnMouseMove(UINT keys, POINT point)
{
    Relay(WM_MOUSEMOVE, keys, MAKELPARAM(point.x, point.y));
    if (!hovered) {
        hovered = 1;
        Redraw();
        SetTimer(hwnd, HoverTimer, 200, nullptr);
    }
    return Default();
}

LRESULT SkinLabel::OnTimer(UINT_PTR id)
{
    if (id != HoverTimer)
        return Default();
    POINT cursor = {};
    GetCursorPos(&cursor);
    RECT window = GetWindowRect();
    if (!PtInRect(&window, cursor)) {
        KillTimer(hwnd, HoverTimer);
        hovered = 0;
        Redraw();
        hoverTicks = 0;
    } else if (++hoverTicks == 3 && IsEnabledLabel()) {
        Notify(WM_SKIN_HOVER);
    }
    return 0;
}

LRESULT SkinLabel::OnLButtonDown(UINT keys, POINT point)
{
    return OnButtonDown(WM_LBUTTONDOWN, WM_SKIN_CLICK, keys, point);
}

LRESULT SkinLabel::OnRButtonDown(UINT keys, POINT point)
{
    return OnButtonDown(WM_RBUTTONDOWN, WM_SKIN_RIGHT_CLICK, keys, point);
}

// A press ends the hover count, so no hover notice follows a click.
LRESULT SkinLabel::OnButtonDown(UINT message, UINT notification, UINT keys, POINT point)
{
    Relay(message, keys, MAKELPARAM(point.x, point.y));
    if (flags & Interactive) {
        if (IsEnabledLabel())
            Notify(notification);
        hoverTicks = 4;
    }
    return Default();
}

LRESULT SkinLabel::OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage)
{
    if ((flags & Interactive) && IsEnabledLabel() && hoverCursor) {
        SetCursor(hoverCursor);
        return TRUE;
    }
    return CStatic::OnSetCursor(window, hitTest, mouseMessage);
}

LRESULT SkinLabel::OnDestroy()
{
    KillTimer(hwnd, HoverTimer);
    if (tooltip) {
        tooltip->DestroyWindow();
        tooltip.reset();
    }
    return Default();
}
