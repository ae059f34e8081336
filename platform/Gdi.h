#pragma once
// RAII holders of GDI handles. GdiObject owns its handle (Owned = true) and
// deletes it, or only borrows it. Device contexts that are ours are deleted
// or released; those we are handed are saved on entry and restored on exit.
#include <windows.h>

#include <utility>

template <class Handle, bool Owned>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : object(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) requires(!Owned) = default;
    GdiObject& operator=(const GdiObject&) requires(!Owned) = default;
    GdiObject(GdiObject&& other) noexcept : object(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }

    Handle Get() const { return object; }
    operator Handle() const { return object; }
    explicit operator bool() const { return object != nullptr; }

    // Takes the new handle, deleting the old one when owned.
    void Reset(Handle handle = nullptr)
    {
        if constexpr (Owned) {
            if (object && object != handle)
                DeleteObject(object);
        }
        object = handle;
    }
    Handle Release() { return std::exchange(object, nullptr); }

private:
    Handle object = nullptr;
};

using Bitmap = GdiObject<HBITMAP, true>;
using BitmapRef = GdiObject<HBITMAP, false>;
using Font = GdiObject<HFONT, true>;
using FontRef = GdiObject<HFONT, false>;
using Pen = GdiObject<HPEN, true>;
using Brush = GdiObject<HBRUSH, true>;
using BrushRef = GdiObject<HBRUSH, false>;

// Selects an object into a DC and selects the previous one back on exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : target(dc), previous(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (previous)
            SelectObject(target, previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC target;
    HGDIOBJ previous;
};

// A memory DC compatible with another (null: the screen), deleted on exit.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible = nullptr) : dc(CreateCompatibleDC(compatible)) {}
    ~MemoryDC()
    {
        if (dc)
            DeleteDC(dc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    operator HDC() const { return dc; }

private:
    HDC dc;
};

// The DC of a window's client area, released on exit.
class ClientDC {
public:
    explicit ClientDC(HWND window) : owner(window), dc(GetDC(window)) {}
    ~ClientDC()
    {
        if (dc)
            ReleaseDC(owner, dc);
    }
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;
    operator HDC() const { return dc; }

private:
    HWND owner;
    HDC dc;
};

// BeginPaint and EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : owner(window), dc(BeginPaint(window, &paint)) {}
    ~PaintDC() { EndPaint(owner, &paint); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    operator HDC() const { return dc; }
    const RECT& UpdateRect() const { return paint.rcPaint; }

private:
    HWND owner;
    PAINTSTRUCT paint = {};
    HDC dc;
};

// A DC that is not ours: its state is saved on entry and restored on exit.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : target(dc), state(SaveDC(dc)) {}
    ~SavedDC()
    {
        if (state)
            RestoreDC(target, state);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    operator HDC() const { return target; }

private:
    HDC target;
    int state;
};

// An off-screen bitmap of the given size in a memory DC; Flush copies it to
// the target in one blit.
class BufferDC {
public:
    BufferDC(HDC target, int width, int height)
        : destination(target), cx(width), cy(height), memory(target),
          bitmap(CreateCompatibleBitmap(target, width, height)), selection(memory, bitmap)
    {
    }
    BufferDC(const BufferDC&) = delete;
    BufferDC& operator=(const BufferDC&) = delete;
    operator HDC() const { return memory; }
    void Flush(int x = 0, int y = 0) { BitBlt(destination, x, y, cx, cy, memory, 0, 0, SRCCOPY); }

private:
    HDC destination;
    int cx, cy;
    MemoryDC memory;
    Bitmap bitmap;
    SelectedObject selection;
};

// Fills a rectangle with a solid colour.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
// Size of a bitmap in pixels; (0, 0) for an invalid handle.
SIZE BitmapSize(HBITMAP bitmap);
// Paints what the parent shows under the child into dc (child coordinates):
// its erase and its client paint.
void DrawParentBackground(HWND child, HDC dc);
