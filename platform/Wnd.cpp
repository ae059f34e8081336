#include "platform/Wnd.h"

#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <unordered_map>

#include "platform/Gdi.h"
#include "platform/ModuleContext.h"

namespace {

std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The procedure each subclassed window had before, until its WM_NCDESTROY.
std::unordered_map<HWND, WNDPROC>& OriginalProcs()
{
    static std::unordered_map<HWND, WNDPROC> procs;
    return procs;
}

LRESULT CallOriginal(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto found = OriginalProcs().find(window);
    if (found == OriginalProcs().end())
        return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(found->second, window, message, wParam, lParam);
}

} // namespace

CWnd::~CWnd()
{
    for (Message* message = routed; message; message = message->outer)
        message->objectDeleted = true;
    if (subclassed && hwnd)
        Unsubclass();
    Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND window)
{
    auto& map = PermanentMap();
    auto found = map.find(window);
    return found == map.end() ? nullptr : found->second;
}

void CWnd::Attach(HWND window)
{
    Detach();
    hwnd = window;
    if (window)
        PermanentMap()[window] = this;
}

HWND CWnd::Detach()
{
    HWND window = hwnd;
    if (window)
        PermanentMap().erase(window);
    hwnd = nullptr;
    return window;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style,
    const RECT& rect, HWND parent, UINT id)
{
    HWND window = CreateWindowExA(exStyle, className, text, style, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ModuleInstance(), nullptr);
    if (!window)
        return FALSE;
    if (!SubclassWindow(window)) {
        ::DestroyWindow(window);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND window)
{
    if (!window || hwnd || FromHandlePermanent(window) || OriginalProcs().contains(window))
        return FALSE;
    auto original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    if (!original)
        return FALSE;
    OriginalProcs()[window] = original;
    subclassed = true;
    Attach(window);
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, HWND parent)
{
    return SubclassWindow(::GetDlgItem(parent, static_cast<int>(id)));
}

BOOL CWnd::DestroyWindow()
{
    return hwnd ? ::DestroyWindow(hwnd) : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

std::string CWnd::GetWindowText() const
{
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hwnd, text.data(), length + 1)));
    return text;
}

void CWnd::SetWindowText(const std::string& text)
{
    ::SetWindowTextA(hwnd, text.c_str());
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(hwnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(hwnd, message, wParam, lParam);
}

RECT CWnd::GetClientRect() const
{
    RECT rect = {};
    ::GetClientRect(hwnd, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const
{
    RECT rect = {};
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

BOOL CWnd::SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(hwnd, after, x, y, cx, cy, flags);
}

HFONT CWnd::GetFont() const
{
    return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
}

void CWnd::SetFont(HFONT font, BOOL redraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

void CWnd::ModifyStyle(DWORD remove, DWORD add)
{
    SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>((GetStyle() & ~remove) | add));
}

LRESULT CWnd::Route(UINT message, WPARAM wParam, LPARAM lParam, bool* defaulted)
{
    Message incoming = {message, wParam, lParam, false, false, routed};
    routed = &incoming;
    // A handler that throws leaves the chain as a return would: the message
    // is unhooked from this frame before the exception goes on.
    LRESULT result = 0;
    std::exception_ptr failure;
    try {
        result = WindowProc(message, wParam, lParam);
    } catch (...) {
        failure = std::current_exception();
    }
    if (defaulted)
        *defaulted = incoming.defaulted;
    if (!incoming.objectDeleted) {
        routed = incoming.outer;
        if (message == WM_NCDESTROY)
            EndOfWindow();
        if (windowEnded && !routed) {
            windowEnded = false;
            PostNcDestroy();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

void CWnd::MarkDefaulted()
{
    if (routed)
        routed->defaulted = true;
}

LRESULT CWnd::Default()
{
    if (!routed || !hwnd)
        return 0;
    return CallOriginal(hwnd, routed->message, routed->wParam, routed->lParam);
}

// The original procedure goes back unless another procedure was set over
// this one; then this one stays in the chain and passes everything on.
void CWnd::Unsubclass()
{
    if (GetWindowLongPtrA(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(SubclassProc))
        return;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OriginalProcs()[hwnd]));
    OriginalProcs().erase(hwnd);
}

void CWnd::EndOfWindow()
{
    if (subclassed && hwnd) {
        Unsubclass();
        OriginalProcs().erase(hwnd);
    }
    subclassed = false;
    Detach();
    windowEnded = true;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return AtBoundary<LRESULT>(0, [&]() -> LRESULT {
        CWnd* object = FromHandlePermanent(window);
        if (object && object->subclassed)
            return object->Route(message, wParam, lParam, nullptr);
        LRESULT result = CallOriginal(window, message, wParam, lParam);
        if (message == WM_NCDESTROY)
            OriginalProcs().erase(window);
        return result;
    });
}

bool CWnd::Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const
{
    if (!child || !hwnd || GetAncestor(child, GA_PARENT) != hwnd)
        return false;
    CWnd* object = FromHandlePermanent(child);
    return object && object->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM && DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
        *result = TRUE;
        return TRUE;
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT reflected = 0;
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_COMMAND:
        if (lParam && Reflect(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &reflected))
            return reflected;
        return OnCommand(wParam, lParam);
    case WM_NOTIFY:
        if (Reflect(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, message, wParam, lParam, &reflected))
            return reflected;
        return OnNotify(wParam, lParam);
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU && Reflect(item->hwndItem, message, wParam, lParam, &reflected))
            return reflected;
        return Default();
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (Reflect(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &reflected))
            return reflected;
        return Default();
    case WM_PAINT:
        return OnPaint();
    case WM_PRINTCLIENT:
        return OnPrintClient(reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_TIMER:
        return OnTimer(wParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(static_cast<UINT>(wParam), point);
    case WM_LBUTTONDOWN:
        return OnLButtonDown(static_cast<UINT>(wParam), point);
    case WM_RBUTTONDOWN:
        return OnRButtonDown(static_cast<UINT>(wParam), point);
    case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_SIZE:
        return OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_SHOWWINDOW:
        return OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
    case WM_DESTROY:
        return OnDestroy();
    default:
        if (message >= WM_APP && message <= 0xBFFF)
            return OnPrivateMessage(message, wParam, lParam);
        return Default();
    }
}

LRESULT CWnd::OnCommand(WPARAM, LPARAM) { return Default(); }
LRESULT CWnd::OnNotify(WPARAM, LPARAM) { return Default(); }
LRESULT CWnd::OnPaint() { return Default(); }
LRESULT CWnd::OnPrintClient(HDC) { return Default(); }
LRESULT CWnd::OnEraseBkgnd(HDC) { return Default(); }
LRESULT CWnd::OnTimer(UINT_PTR) { return Default(); }
LRESULT CWnd::OnMouseMove(UINT, POINT) { return Default(); }
LRESULT CWnd::OnLButtonDown(UINT, POINT) { return Default(); }
LRESULT CWnd::OnRButtonDown(UINT, POINT) { return Default(); }
LRESULT CWnd::OnSetCursor(HWND, UINT, UINT) { return Default(); }
LRESULT CWnd::OnSize(UINT, int, int) { return Default(); }
LRESULT CWnd::OnShowWindow(BOOL, UINT) { return Default(); }
LRESULT CWnd::OnDestroy() { return Default(); }
LRESULT CWnd::OnPrivateMessage(UINT, WPARAM, LPARAM) { return Default(); }
bool CWnd::DrawItem(const DRAWITEMSTRUCT&) { return false; }
void CWnd::DrawClient(HDC, const RECT&) {}

LRESULT CWnd::PaintClient(HDC target)
{
    RECT client = GetClientRect();
    auto paint = [&](HDC dc) {
        BufferDC buffer(dc, client.right, client.bottom);
        DrawClient(buffer, client);
        buffer.Flush();
    };
    if (target) {
        paint(target);
    } else {
        PaintDC dc(hwnd);
        paint(dc);
    }
    return 0;
}
