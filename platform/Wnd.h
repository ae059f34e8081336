#pragma once
// CWnd: an object bound to a window handle. The permanent map from handle to
// object is filled when a window is attached and emptied at WM_NCDESTROY.
// Subclassed windows get this framework's window procedure and pass what the
// class does not handle on to the procedure they had before (not comctl32's
// SetWindowSubclass: under Wine each message to such a window asks the
// server for the window's subclass property, about 80 microseconds); parents reflect owner-draw requests,
// notifications and colour requests to the object of the direct child first.
// A window that ends during one of its own messages gets PostNcDestroy only
// when the outermost of them returns, so no handler runs on a deleted object.
#include <windows.h>

#include <string>

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

    // Creates a window of a system class from this module and subclasses it.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style,
        const RECT& rect, HWND parent, UINT id);
    // Routes the window's messages through this object; false when already
    // bound or still passing through a former object's procedure.
    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, HWND parent);
    BOOL DestroyWindow();

    // Offered every message the host's loop takes for this window or one of
    // its children before it is dispatched; true when it was handled here.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Thin operations on the handle.
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(hwnd); }
    HWND GetParent() const { return ::GetParent(hwnd); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int command) { return ::ShowWindow(hwnd, command); }
    BOOL EnableWindow(BOOL enable) { return ::EnableWindow(hwnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(hwnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(hwnd); }
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags);
    void Invalidate(BOOL erase = TRUE) { InvalidateRect(hwnd, nullptr, erase); }
    HFONT GetFont() const;
    void SetFont(HFONT font, BOOL redraw = TRUE);
    DWORD GetStyle() const { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }
    void ModifyStyle(DWORD remove, DWORD add);
    HWND SetFocus() { return ::SetFocus(hwnd); }

protected:
    // Dispatches with a switch to the handlers below; what is not handled
    // goes to Default().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The routed message, handled the way the window would without this object.
    virtual LRESULT Default();
    // A message the parent reflected back to this child; true when handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Runs once the object is bound, before the first routed message.
    virtual void PreSubclassWindow() {}
    // Runs after WM_NCDESTROY, when the object no longer has a window and
    // none of its messages is still being handled; may delete the object.
    virtual void PostNcDestroy() {}

    virtual LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNotify(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnPaint();
    virtual LRESULT OnPrintClient(HDC dc);
    virtual LRESULT OnEraseBkgnd(HDC dc);
    virtual LRESULT OnTimer(UINT_PTR id);
    virtual LRESULT OnMouseMove(UINT keys, POINT point);
    virtual LRESULT OnLButtonDown(UINT keys, POINT point);
    virtual LRESULT OnRButtonDown(UINT keys, POINT point);
    virtual LRESULT OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
    virtual LRESULT OnSize(UINT type, int cx, int cy);
    virtual LRESULT OnShowWindow(BOOL show, UINT status);
    virtual LRESULT OnDestroy();
    // Messages from WM_APP up.
    virtual LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Owner-draw request reflected from the parent; false when not drawn.
    virtual bool DrawItem(const DRAWITEMSTRUCT& item);

    // The one paint path: WM_PAINT (target null) and WM_PRINTCLIENT both
    // draw the client area through DrawClient into a memory DC.
    LRESULT PaintClient(HDC target);
    virtual void DrawClient(HDC dc, const RECT& client);

    // Routes one message through WindowProc, remembering it for Default().
    // Ends the object's window at WM_NCDESTROY; the object may be deleted
    // when it returns.
    LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam, bool* defaulted);
    // Marks the routed message as left to the default handling.
    void MarkDefaulted();

    HWND hwnd = nullptr;

private:
    // One message being handled, on the stack of its handler; the chain runs
    // from the innermost to the outermost.
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool defaulted;
        bool objectDeleted;  // by its owner, while this message was handled
        Message* outer;
    };

    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Unsubclass();
    // The object of the direct child that sent it handles it first.
    bool Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const;
    void EndOfWindow();

    Message* routed = nullptr;
    bool subclassed = false;
    bool windowEnded = false;  // PostNcDestroy waits for the outermost message
};
