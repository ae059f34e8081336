#include "controls/SkinDialog.h"

#include "platform/Gdi.h"

void SkinDialog::ApplySkin(HFONT skinFont, COLORREF colour1, COLORREF colour2, COLORREF colour3,
    COLORREF colour4, HBITMAP skinBackground, const RECT& panelArea)
{
    UpdateSkin(skinFont, colour1, colour2, colour3, colour4, skinBackground, panelArea);
    caption.ModifyFlags(SkinLabel::Bold | SkinLabel::Filled, 0, false);
    caption.SetAlignment(SkinLabel::AlignCentre);
    InitSkin();
    Layout();
}

void SkinDialog::UpdateSkin(HFONT skinFont, COLORREF colour1, COLORREF colour2, COLORREF colour3,
    COLORREF colour4, HBITMAP skinBackground, const RECT& panelArea)
{
    font = skinFont;
    colours[0] = colour1;
    colours[1] = colour2;
    colours[2] = colour3;
    colours[3] = colour4;
    background = skinBackground;
    area = panelArea;
    caption.SetAppearance(font, colour1, colour2, colour3, colour4, true);
    ApplyAppearance();
    Layout();
}

void SkinDialog::SetCaption(const std::string& text)
{
    caption.SetText(text, true, "", true);
    Layout();
}

void SkinDialog::Layout()
{
    client = GetClientRect();
    RECT label = caption.GetWindowRect();
    int width = label.right - label.left, height = label.bottom - label.top;
    caption.SetWindowPos(nullptr, client.right / 2 - width / 2, 0, 0, 0,
        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    captionBottom = height;
    client.top = height + 1;
    OnLayout();
}

BOOL SkinDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    caption.Create("", WS_CHILD | WS_VISIBLE, RECT{0, 0, 20, 20}, hwnd, CaptionId);
    return TRUE;
}

LRESULT SkinDialog::OnPaint()
{
    if (!background) {
        PaintDC nothing(hwnd);
        return 0;
    }
    return PaintClient(nullptr);
}

LRESULT SkinDialog::OnPrintClient(HDC dc)
{
    return background ? PaintClient(dc) : 0;
}

void SkinDialog::DrawClient(HDC dc, const RECT& whole)
{
    {
        MemoryDC source(dc);
        SelectedObject selection(source, background);
        BitBlt(dc, 0, 0, whole.right, whole.bottom, source, area.left, area.top, SRCCOPY);
    }
    Pen line(CreatePen(PS_SOLID, 1, colours[0]));
    SelectedObject selection(dc, line);
    MoveToEx(dc, 0, captionBottom, nullptr);
    LineTo(dc, client.right, captionBottom);
}

LRESULT SkinDialog::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    int index = static_cast<int>(wParam);
    switch (message) {
    case WM_APP + 100: OnAppMessage(wParam); return 0;
    case WM_SKIN_CLICK: OnItemClick(index); return 0;
    case WM_SKIN_HOVER: OnItemHover(index); return 0;
    case WM_SKIN_RIGHT_CLICK: OnItemRightClick(index); return 0;
    case WM_APP + 304: OnAppMessage304(wParam, lParam); return 0;
    case WM_APP + 303: OnAppMessage303(wParam, lParam); return 0;
    case WM_APP + 305: OnAppMessage305(wParam, lParam); return 0;
    case WM_APP + 307: OnAppMessage307(wParam, lParam); return 0;
    case WM_APP + 306: OnAppMessage306(wParam, lParam); return 0;
    case WM_APP + 308: OnAppMessage308(wParam, lParam); return 0;
    case WM_APP + 309: OnAppMessage309(wParam, lParam); return 0;
    case WM_APP + 310: OnAppMessage310(wParam, lParam); return 0;
    default: return CDialog::OnPrivateMessage(message, wParam, lParam);
    }
}

void SkinDialog::PostNcDestroy()
{
    OnPostNcDestroy();
    delete this;
}
