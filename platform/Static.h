#pragma once
// CStatic: a static control.
#include "platform/Wnd.h"

class CStatic : public CWnd {
public:
    BOOL Create(const char* text, DWORD style, const RECT& rect, HWND parent, UINT id)
    {
        return CreateEx(0, "STATIC", text, style, rect, parent, id);
    }
};
