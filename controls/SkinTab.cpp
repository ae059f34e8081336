#include "controls/SkinTab.h"

void SkinTab::PreSubclassWindow()
{
    backgroundBrush.Reset(CreateSolidBrush(Background));
    ModifyStyle(0, TCS_OWNERDRAWFIXED);
}

CWnd* SkinTab::PageAt(int index) const
{
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    if (index < 0 || !GetItem(index, item))
        return nullptr;
    return reinterpret_cast<CWnd*>(item.lParam);
}

// A page may be a child of the tab control or, as in a property sheet, its
// sibling: then it goes above the tab control, which clips it out.
void SkinTab::PlacePage(CWnd* page)
{
    POINT origin = pageOrigin;
    MapWindowPoints(hwnd, page->GetParent(), &origin, 1);
    page->SetWindowPos(HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void SkinTab::ShowPage(int index, bool show)
{
    if (CWnd* page = PageAt(index))
        page->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void SkinTab::AddPage(CWnd* page, const char* text, int imageIndex)
{
    int index = GetItemCount();
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = const_cast<char*>(text);
    item.iImage = imageIndex;
    item.lParam = reinterpret_cast<LPARAM>(page);
    index = InsertItem(index, item);
    if (index < 0)
        return;
    PlacePage(page);
    page->ShowWindow(index == 0 ? SW_SHOW : SW_HIDE);
    if (pageEnabled.size() <= static_cast<size_t>(index))
        pageEnabled.resize(static_cast<size_t>(index) + 1);
    pageEnabled[static_cast<size_t>(index)] = 1;
}

void SkinTab::SetPage(int index, CWnd* page, const char* text, int imageIndex)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = const_cast<char*>(text);
    item.iImage = imageIndex;
    item.lParam = reinterpret_cast<LPARAM>(page);
    if (index < 0 || !SetItem(index, item))
        return;
    PlacePage(page);
    page->ShowWindow(index == GetCurSel() ? SW_SHOW : SW_HIDE);
    if (pageEnabled.size() <= static_cast<size_t>(index))
        pageEnabled.resize(static_cast<size_t>(index) + 1);
    pageEnabled[static_cast<size_t>(index)] = 1;
}

void SkinTab::SetSelectedTextColour(COLORREF colour)
{
    selectedTextColour = colour;
    hasSelectedTextColour = true;
}

bool SkinTab::IsPageEnabled(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < pageEnabled.size() && pageEnabled[static_cast<size_t>(index)];
}

void SkinTab::SetPageEnabled(int index, bool enabled)
{
    if (index < 0 || static_cast<size_t>(index) >= pageEnabled.size())
        return;
    pageEnabled[static_cast<size_t>(index)] = enabled ? 1 : 0;
    Invalidate();
}

bool SkinTab::SelectPage(int index)
{
    int current = GetCurSel();
    if (index == current)
        return true;
    if (!IsPageEnabled(index))
        return false;
    ShowPage(current, false);
    SetCurSel(index);
    ShowPage(index, true);
    if (CWnd* page = PageAt(index))
        FocusPage(*page);
    return true;
}

bool SkinTab::SelectNext(bool forward)
{
    int count = GetItemCount();
    int start = GetCurSel();
    int index = start;
    for (int step = 0; step < count; ++step) {
        index += forward ? 1 : -1;
        if (index >= count)
            index = 0;
        if (index < 0)
            index = count - 1;
        if (index == start)
            return false;
        if (IsPageEnabled(index))
            return SelectPage(index);
    }
    return false;
}

void SkinTab::FocusCurrentPage()
{
    CWnd* page = PageAt(GetCurSel());
    if (page && page->IsWindowVisible())
        FocusPage(*page);
}

// The page's first control that takes the focus gets it, as a click would
// give it: unlike the dialog manager, this selects no text.
void SkinTab::FocusPage(CWnd& page)
{
    HWND first = GetNextDlgTabItem(page.GetSafeHwnd(), nullptr, FALSE);
    ::SetFocus(first ? first : page.GetSafeHwnd());
}

BOOL SkinTab::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_NOTIFY)
        return CTabCtrl::OnChildNotify(message, wParam, lParam, result);
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == TCN_SELCHANGING) {
        previousSelection = GetCurSel();
        *result = FALSE;
        return TRUE;
    }
    if (header->code == TCN_SELCHANGE) {
        int selected = GetCurSel();
        if (IsPageEnabled(selected)) {
            ShowPage(previousSelection, false);
            ShowPage(selected, true);
            // Arrow keys on the focused tab control leave the focus there.
            CWnd* page = PageAt(selected);
            if (page && ::GetFocus() != hwnd)
                FocusPage(*page);
        } else {
            SetCurSel(previousSelection);
        }
        *result = 0;
        return TRUE;
    }
    return FALSE;
}

bool SkinTab::DrawItem(const DRAWITEMSTRUCT& draw)
{
    int index = static_cast<int>(draw.itemID);
    if (index < 0)
        return true;
    int edge = GetSystemMetrics(SM_CXEDGE);
    RECT work = draw.rcItem;
    work.top += edge;
    char text[63] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!GetItem(index, item))
        return true;
    SavedDC saved(draw.hDC);
    SetBkMode(draw.hDC, TRANSPARENT);
    FillSolid(draw.hDC, work, Background);
    HIMAGELIST images = GetImageList();
    if (images && item.iImage >= 0) {
        SIZE space = {};
        GetTextExtentPoint32A(draw.hDC, " ", 1, &space);
        work.left += space.cx;
        ImageList_Draw(images, item.iImage, draw.hDC, work.left, work.top, ILD_TRANSPARENT);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images, &cx, &cy);
        work.left += cx;
    }
    COLORREF colour = GetSysColor(COLOR_BTNTEXT);
    if (!IsPageEnabled(index))
        colour = GetSysColor(COLOR_GRAYTEXT);
    else if (index == GetCurSel() && hasSelectedTextColour)
        colour = selectedTextColour;
    SetTextColor(draw.hDC, colour);
    work.top -= edge;
    ::DrawTextA(draw.hDC, text, -1, &work, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    return true;
}

LRESULT SkinTab::OnEraseBkgnd(HDC dc)
{
    RECT clip = {};
    GetClipBox(dc, &clip);
    FillRect(dc, &clip, backgroundBrush);
    return TRUE;
}

LRESULT SkinTab::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SKIN_SWITCH_PAGE) {
        SelectNext(wParam != 0);
        return 0;
    }
    return CTabCtrl::OnPrivateMessage(message, wParam, lParam);
}
