#pragma once
// CWnd: an object bound to a window handle. The permanent map from handle to
// object is filled when a window is attached and emptied when it is detached.
#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return hwnd; }

    // The object attached to this handle, or null.
    static CWnd* FromHandlePermanent(HWND window);

    void Attach(HWND window);
    HWND Detach();

    // Offered every message the host's loop takes for this window or one of
    // its children before it is dispatched; true when it was handled here.
    virtual BOOL PreTranslateMessage(MSG* msg);

protected:
    HWND hwnd = nullptr;
};
