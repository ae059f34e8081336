#pragma once
// Windows and pixels for the skinned control tests.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Gdi.h"
#include "platform/ModuleContext.h"
#include "platform/WinApp.h"
#include "resources/resource.h"

// A top-level dialog (the card template) that parents and reflects to the controls under test.
class HostDialog : public CDialog {
public:
    HostDialog() : CDialog(IDD_CARD) { Create(nullptr); }
    ~HostDialog() override { DestroyWindow(); }
};

// Messages posted to window in [first, last], removed from the queue.
inline std::vector<MSG> TakePosted(HWND window, UINT first, UINT last)
{
    std::vector<MSG> taken;
    MSG msg;
    while (PeekMessageA(&msg, window, first, last, PM_REMOVE))
        taken.push_back(msg);
    return taken;
}

// Runs the queue of this thread until it is empty.
inline void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline std::string Text(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}
// A static that shows an icon, a bitmap or a metafile: its window text is
// a resource reference, whose form differs between builds, not a text.
inline bool ShowsAPicture(HWND window)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD type = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & SS_TYPEMASK;
    return lstrcmpiA(className, "Static") == 0 && (type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE);
}
// The texts of a window and its descendants with an id, keyed by the ids on
// the way down; controls that show a picture have none.
inline std::map<std::string, std::string> WindowTexts(HWND window, const std::string& path = "")
{
    std::map<std::string, std::string> texts;
    if (!ShowsAPicture(window))
        texts[path] = Text(window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(child);
        if (id == -1 || id == 0xFFFF)
            continue;
        texts.merge(WindowTexts(child, path + "/" + std::to_string(id)));
    }
    return texts;
}

inline bool Visible(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }
inline bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
inline void Type(HWND edit, const std::string& text)
{
    for (char c : text)
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}
inline void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }
// A key pressed on a control, through the host's loop.
inline void Press(HWND target, WPARAM key)
{
    SetFocus(target);
    MSG msg = {target, WM_KEYDOWN, key, 1, GetTickCount(), {}};
    if (!CWinApp::Instance().PreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Pump();
}

// A screen-compatible bitmap in a memory DC, read back pixel by pixel.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(1, 2, 3))
        : screen(nullptr), bitmap(CreateCompatibleBitmap(screen, width, height)), dc(screen),
          selection(dc, bitmap), cx(width), cy(height)
    {
        FillSolid(dc, RECT{0, 0, width, height}, fill);
    }
    operator HDC() const { return dc; }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    int Count(COLORREF colour) const
    {
        int count = 0;
        for (int x = 0; x < cx; ++x)
            for (int y = 0; y < cy; ++y)
                count += At(x, y) == colour;
        return count;
    }
    // The first column that holds the colour, -1 when none does.
    int FirstColumn(COLORREF colour) const
    {
        for (int x = 0; x < cx; ++x)
            for (int y = 0; y < cy; ++y)
                if (At(x, y) == colour)
                    return x;
        return -1;
    }
    int Width() const { return cx; }
    int Height() const { return cy; }

private:
    ClientDC screen;
    Bitmap bitmap;
    MemoryDC dc;
    SelectedObject selection;
    int cx, cy;
};

// Pixels of a bitmap resource of this program.
class ResourceBitmap {
public:
    explicit ResourceBitmap(int id)
        : bitmap(LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(id))), selection(dc, bitmap)
    {
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    HBITMAP Handle() const { return bitmap; }
    SIZE Size() const { return BitmapSize(bitmap); }

private:
    Bitmap bitmap;
    MemoryDC dc;
    SelectedObject selection;
};
