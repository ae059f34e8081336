#pragma once
// CButton: a push button, check box or group box.
#include "platform/Wnd.h"

class CButton : public CWnd {
public:
    BOOL Create(const char* text, DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(0, "BUTTON", text, style, rect, parent, id);
    }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    // Pressed look of a push button.
    void SetState(BOOL pressed) { SendMessage(BM_SETSTATE, pressed); }
};
