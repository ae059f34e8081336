#include "tests/hosts/GdiCounter.h"

#include "tests/hosts/ImportPatch.h"

#include <set>

namespace {

std::set<HGDIOBJ> gdiObjects;
std::set<HDC> deviceContexts;
std::set<HWND> windows;

template <class H>
H Track(std::set<H>& live, H handle)
{
    if (handle)
        live.insert(handle);
    return handle;
}

template <class H>
BOOL Untrack(std::set<H>& live, H handle, BOOL released)
{
    if (released)
        live.erase(handle);
    return released;
}

#define REAL(name) decltype(&::name) real##name = nullptr

REAL(CreateCompatibleDC);
REAL(DeleteDC);
REAL(CreateCompatibleBitmap);
REAL(CreateBitmap);
REAL(CreateFontA);
REAL(CreateFontIndirectA);
REAL(CreatePen);
REAL(CreateSolidBrush);
REAL(DeleteObject);
REAL(GetDC);
REAL(ReleaseDC);
REAL(BeginPaint);
REAL(EndPaint);
REAL(LoadBitmapA);
REAL(LoadImageA);
REAL(CreateWindowExA);
REAL(CreateDialogParamA);

HDC WINAPI HookCreateCompatibleDC(HDC dc) { return Track(deviceContexts, realCreateCompatibleDC(dc)); }
BOOL WINAPI HookDeleteDC(HDC dc) { return Untrack(deviceContexts, dc, realDeleteDC(dc)); }
HBITMAP WINAPI HookCreateCompatibleBitmap(HDC dc, int cx, int cy)
{
    return static_cast<HBITMAP>(Track<HGDIOBJ>(gdiObjects, realCreateCompatibleBitmap(dc, cx, cy)));
}
HBITMAP WINAPI HookCreateBitmap(int cx, int cy, UINT planes, UINT bits, const void* data)
{
    return static_cast<HBITMAP>(Track<HGDIOBJ>(gdiObjects, realCreateBitmap(cx, cy, planes, bits, data)));
}
HFONT WINAPI HookCreateFontA(int h, int w, int e, int o, int weight, DWORD i, DWORD u, DWORD s, DWORD c, DWORD op,
    DWORD cp, DWORD q, DWORD p, LPCSTR face)
{
    return static_cast<HFONT>(Track<HGDIOBJ>(gdiObjects, realCreateFontA(h, w, e, o, weight, i, u, s, c, op, cp, q, p, face)));
}
HFONT WINAPI HookCreateFontIndirectA(const LOGFONTA* font)
{
    return static_cast<HFONT>(Track<HGDIOBJ>(gdiObjects, realCreateFontIndirectA(font)));
}
HPEN WINAPI HookCreatePen(int style, int width, COLORREF colour)
{
    return static_cast<HPEN>(Track<HGDIOBJ>(gdiObjects, realCreatePen(style, width, colour)));
}
HBRUSH WINAPI HookCreateSolidBrush(COLORREF colour)
{
    return static_cast<HBRUSH>(Track<HGDIOBJ>(gdiObjects, realCreateSolidBrush(colour)));
}
BOOL WINAPI HookDeleteObject(HGDIOBJ object) { return Untrack(gdiObjects, object, realDeleteObject(object)); }
HDC WINAPI HookGetDC(HWND window) { return Track(deviceContexts, realGetDC(window)); }
int WINAPI HookReleaseDC(HWND window, HDC dc)
{
    int released = realReleaseDC(window, dc);
    Untrack(deviceContexts, dc, released);
    return released;
}
HDC WINAPI HookBeginPaint(HWND window, PAINTSTRUCT* paint) { return Track(deviceContexts, realBeginPaint(window, paint)); }
BOOL WINAPI HookEndPaint(HWND window, const PAINTSTRUCT* paint)
{
    deviceContexts.erase(paint->hdc);
    return realEndPaint(window, paint);
}
HBITMAP WINAPI HookLoadBitmapA(HINSTANCE instance, LPCSTR name)
{
    return static_cast<HBITMAP>(Track<HGDIOBJ>(gdiObjects, realLoadBitmapA(instance, name)));
}
HANDLE WINAPI HookLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    HANDLE image = realLoadImageA(instance, name, type, cx, cy, flags);
    if (type == IMAGE_BITMAP)
        Track<HGDIOBJ>(gdiObjects, image);
    return image;
}
HWND WINAPI HookCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR text, DWORD style, int x, int y, int cx,
    int cy, HWND parent, HMENU menu, HINSTANCE instance, void* parameter)
{
    return Track(windows, realCreateWindowExA(exStyle, className, text, style, x, y, cx, cy, parent, menu, instance, parameter));
}
HWND WINAPI HookCreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC procedure, LPARAM parameter)
{
    return Track(windows, realCreateDialogParamA(instance, name, parent, procedure, parameter));
}

struct Hook {
    const char* name;
    void** real;
    void* hook;
};

#define HOOK(name) {#name, reinterpret_cast<void**>(&real##name), reinterpret_cast<void*>(&Hook##name)}

const Hook hooks[] = {
    HOOK(CreateCompatibleDC), HOOK(DeleteDC), HOOK(CreateCompatibleBitmap), HOOK(CreateBitmap),
    HOOK(CreateFontA), HOOK(CreateFontIndirectA), HOOK(CreatePen),
    HOOK(CreateSolidBrush), HOOK(DeleteObject), HOOK(GetDC),
    HOOK(ReleaseDC), HOOK(BeginPaint), HOOK(EndPaint), HOOK(LoadBitmapA), HOOK(LoadImageA),
    HOOK(CreateWindowExA), HOOK(CreateDialogParamA),
};

// Each hook replaces the program's import of that name from either DLL; the
// patches stay for the life of the program.
int PatchImports()
{
    int count = 0;
    for (const Hook& hook : hooks) {
        for (const char* dll : {"gdi32.dll", "user32.dll"}) {
            auto* patch = new ImportPatch(dll, hook.name, hook.hook);
            if (patch->Installed()) {
                *hook.real = patch->Original();
                ++count;
                break;
            }
            delete patch;
        }
    }
    return count;
}

} // namespace

GdiCounter& GdiCounter::Install()
{
    static GdiCounter counter;
    if (counter.patched == 0)
        counter.patched = PatchImports();
    return counter;
}

GuiObjects GdiCounter::Live() const
{
    for (auto it = windows.begin(); it != windows.end();)
        it = IsWindow(*it) ? std::next(it) : windows.erase(it);
    return {gdiObjects.size(), deviceContexts.size(), windows.size()};
}
