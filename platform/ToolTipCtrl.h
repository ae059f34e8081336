#pragma once
// CToolTipCtrl: a tooltip with one tool covering its owner's client area.
#include <windows.h>
#include <commctrl.h>

#include "platform/Wnd.h"

class CToolTipCtrl : public CWnd {
public:
    // Creates the tooltip window owned by owner.
    BOOL Create(HWND owner);
    // Adds or replaces the tool id over the owner's client area.
    BOOL SetTool(UINT id, const char* text);
    void SetDelayTime(int milliseconds) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(milliseconds, 0)); }
    void Activate(BOOL active) { SendMessage(TTM_ACTIVATE, active); }
    void RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }

private:
    HWND owner = nullptr;
};
