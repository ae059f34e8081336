#pragma once
// RedrawFreeze: a window draws nothing for the life of the object, so that
// it and its children can be filled and shown without each change being
// drawn, scrolled and exposed on the way. Then it draws again, repainted
// whole once if it is shown. A hidden window stays hidden: turning drawing
// back on sets its visible style, which is taken off again.
#include <windows.h>

class RedrawFreeze {
public:
    explicit RedrawFreeze(HWND frozen)
        : window(frozen), hidden(!(GetWindowLongA(frozen, GWL_STYLE) & WS_VISIBLE))
    {
        SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawFreeze()
    {
        SendMessageA(window, WM_SETREDRAW, TRUE, 0);
        LONG style = GetWindowLongA(window, GWL_STYLE);
        if (hidden && (style & WS_VISIBLE))
            SetWindowLongA(window, GWL_STYLE, style & ~WS_VISIBLE);
        if (IsWindowVisible(window))
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    RedrawFreeze(const RedrawFreeze&) = delete;
    RedrawFreeze& operator=(const RedrawFreeze&) = delete;

private:
    HWND window;
    bool hidden;
};
