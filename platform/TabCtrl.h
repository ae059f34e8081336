#pragma once
// CTabCtrl: a tab control.
#include <windows.h>
#include <commctrl.h>

#include "platform/Wnd.h"

class CTabCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    // Previous selection, or -1.
    int SetCurSel(int index) { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index))); }
    // Index of the new tab, or -1.
    int InsertItem(int index, const TCITEMA& item)
    {
        return static_cast<int>(SendMessage(TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItem(int index, const TCITEMA& item)
    {
        return static_cast<BOOL>(SendMessage(TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    BOOL GetItem(int index, TCITEMA& item) const
    {
        return static_cast<BOOL>(SendMessage(TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    HIMAGELIST GetImageList() const { return reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST)); }
};
