#pragma once
// CListCtrl: a list-view control in report view.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/Wnd.h"

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    // Index of the new column, or -1.
    int InsertColumn(int column, const char* heading, int format, int width);
    // Replaces only the header text.
    BOOL SetColumnHeading(int column, const char* heading);
    // Index of the new row, or -1.
    int InsertItem(int index, const char* text);
    // The number of rows of a list whose owner keeps them (LVS_OWNERDATA);
    // flags are LVSICF_ values.
    void SetItemCount(int count, DWORD flags)
    {
        SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), static_cast<LPARAM>(flags));
    }
    // The header's sort arrow on column, up when ascending; column -1 shows none.
    void SetSortArrow(int column, bool ascending);
    // Empty for a missing item.
    std::string GetItemText(int index, int column) const;
    BOOL DeleteItem(int index) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(index))); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    // First selected row, or -1.
    int GetFirstSelected() const { return GetNextItem(-1, LVNI_SELECTED); }
    // The first row after start (-1: from the top) with the LVNI_ flags, or -1.
    int GetNextItem(int start, UINT flags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }
    int GetSelectedCount() const { return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    // Sets the state bits in mask of a row, or of every row for index -1.
    void SetItemState(int index, UINT state, UINT mask);
    int GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
    void SetSelectionMark(int index) { SendMessage(LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(index)); }
    // Pixels the text takes in the list's font.
    int GetStringWidth(const char* text) const
    {
        return static_cast<int>(SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
    }
    void SetColumnWidth(int column, int width) { SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)); }
    // Works out the rows' sizes and the scroll bars by printing the list into
    // memory once. A list does that at its first paint after rows came and,
    // under Wine, draws its scroll bars over again on the way; a list filled
    // while hidden or frozen is better measured before it shows.
    void MeasureRows();
    void SetExtendedStyle(DWORD style) { SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)); }
    HWND EditLabel(int index) { return reinterpret_cast<HWND>(SendMessage(LVM_EDITLABELA, static_cast<WPARAM>(index))); }
};
