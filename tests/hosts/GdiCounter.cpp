#include "tests/hosts/GdiCounter.h"

#include "tests/hosts/ImportPatch.h"

#include <set>

namespace {

// What is alive of each kind, by handle.
std::set<const void*> gdiObjects, deviceContexts, windows;

template <class H>
H Track(std::set<const void*>& live, H handle)
{
    if (handle)
        live.insert(handle);
    return handle;
}

template <class R>
R Untrack(std::set<const void*>& live, const void* handle, R released)
{
    if (released)
        live.erase(handle);
    return released;
}

// The import's real entry, and a hook that passes the call on and notes the
// handle it gives or frees.
#define CREATES(live, Type, name, parameters, ...)                                                             \
    decltype(&::name) real##name = nullptr;                                                                    \
    Type WINAPI Hook##name parameters { return Track(live, real##name(__VA_ARGS__)); }
#define FREES(live, name, handle, parameters, ...)                                                             \
    decltype(&::name) real##name = nullptr;                                                                    \
    auto WINAPI Hook##name parameters { return Untrack(live, handle, real##name(__VA_ARGS__)); }

CREATES(deviceContexts, HDC, CreateCompatibleDC, (HDC dc), dc)
CREATES(deviceContexts, HDC, GetDC, (HWND window), window)
CREATES(deviceContexts, HDC, BeginPaint, (HWND window, PAINTSTRUCT* paint), window, paint)
FREES(deviceContexts, DeleteDC, dc, (HDC dc), dc)
FREES(deviceContexts, ReleaseDC, dc, (HWND window, HDC dc), window, dc)
FREES(deviceContexts, EndPaint, paint->hdc, (HWND window, const PAINTSTRUCT* paint), window, paint)
CREATES(gdiObjects, HBITMAP, CreateCompatibleBitmap, (HDC dc, int cx, int cy), dc, cx, cy)
CREATES(gdiObjects, HBITMAP, CreateBitmap, (int cx, int cy, UINT planes, UINT bits, const void* data), cx, cy,
    planes, bits, data)
CREATES(gdiObjects, HFONT, CreateFontA, (int h, int w, int e, int o, int weight, DWORD i, DWORD u, DWORD s, DWORD c,
    DWORD op, DWORD cp, DWORD q, DWORD p, LPCSTR face), h, w, e, o, weight, i, u, s, c, op, cp, q, p, face)
CREATES(gdiObjects, HFONT, CreateFontIndirectA, (const LOGFONTA* font), font)
CREATES(gdiObjects, HPEN, CreatePen, (int style, int width, COLORREF colour), style, width, colour)
CREATES(gdiObjects, HBRUSH, CreateSolidBrush, (COLORREF colour), colour)
CREATES(gdiObjects, HBITMAP, LoadBitmapA, (HINSTANCE instance, LPCSTR name), instance, name)
FREES(gdiObjects, DeleteObject, object, (HGDIOBJ object), object)
CREATES(windows, HWND, CreateWindowExA, (DWORD exStyle, LPCSTR className, LPCSTR text, DWORD style, int x, int y,
    int cx, int cy, HWND parent, HMENU menu, HINSTANCE instance, void* parameter), exStyle, className, text, style,
    x, y, cx, cy, parent, menu, instance, parameter)
CREATES(windows, HWND, CreateDialogParamA, (HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC procedure,
    LPARAM parameter), instance, name, parent, procedure, parameter)

// Icons and cursors come shared; only bitmaps are the program's to free.
decltype(&::LoadImageA) realLoadImageA = nullptr;
HANDLE WINAPI HookLoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    HANDLE image = realLoadImageA(instance, name, type, cx, cy, flags);
    return type == IMAGE_BITMAP ? Track(gdiObjects, image) : image;
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
        it = IsWindow(static_cast<HWND>(const_cast<void*>(*it))) ? std::next(it) : windows.erase(it);
    return {gdiObjects.size(), deviceContexts.size(), windows.size()};
}
