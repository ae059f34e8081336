#pragma once
// SkinLabel: an owner-painted static text in the host's font and colours that
// can size itself, highlights itself under the pointer and posts clicks and
// hovering to a chosen window with its notify index.
#include <memory>
#include <string>

#include "platform/Gdi.h"
#include "platform/Static.h"
#include "platform/ToolTipCtrl.h"

// Posted to the notify window with the notify index in wParam.
inline constexpr UINT WM_SKIN_CLICK = WM_APP + 300;
inline constexpr UINT WM_SKIN_RIGHT_CLICK = WM_APP + 301;
inline constexpr UINT WM_SKIN_HOVER = WM_APP + 302;

class SkinLabel : public CStatic {
public:
    enum Flag : DWORD {
        AutoHeight = 0x001,
        AutoWidth = 0x002,
        Wrap = 0x004,
        Filled = 0x008,
        Interactive = 0x010,
        Bold = 0x040,
        Framed = 0x080,
        Italic = 0x100,
        HoverUnderline = 0x200,
        Disabled = 0x400,
    };
    enum Alignment { AlignLeft = 0, AlignRight = 2, AlignCentre = 6 };
    static constexpr COLORREF DisabledText = 0x00808080;
    static constexpr UINT_PTR HoverTimer = 1;

    // ---- Operations
    // pad surrounds the text with two spaces on each side on a filled label;
    // an empty tooltip removes the tooltip.
    void SetText(const std::string& text, bool autoSize, const std::string& tooltip, bool pad);
    void ModifyFlags(DWORD add, DWORD remove, bool redraw);
    void SetAppearance(HFONT font, COLORREF colour1, COLORREF colour2, COLORREF colour3, COLORREF colour4, bool resize);
    // Resizes the window to the measured text when auto height or width is set.
    void AutoSize();
    void SetNotify(HWND window, int index);
    void SetHoverCursor(HCURSOR cursor) { hoverCursor = cursor; }
    void SetAlignment(int value) { alignment = value; }

    DWORD GetFlags() const { return flags; }
    const std::string& GetText() const { return text; }
    bool IsHovered() const { return hovered != 0; }
    // The tooltip, or null.
    CToolTipCtrl* GetToolTip() const { return tooltip.get(); }

    // Size that the text needs inside rect.
    virtual SIZE Measure(const RECT& rect);
    virtual void DrawText(HDC dc, const RECT& rect, bool skipFill);
    virtual void Draw(HDC dc, const RECT& area);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // Invalidates the label's rectangle in the parent, so that a transparent
    // label shows the parent's background.
    void Redraw();
    // The base font with this label's weight, slant and underline; empty
    // without a base font.
    Font MakeFont() const;
    bool IsEnabledLabel() const { return !(flags & Disabled); }
    bool ShowsHover() const { return (flags & Interactive) && hovered; }

    COLORREF colour1 = 0;
    COLORREF colour2 = 0;
    COLORREF colour3 = 0;
    COLORREF colour4 = 0;

    void PreSubclassWindow() override;
    LRESULT OnPaint() override { return PaintClient(nullptr); }
    LRESULT OnPrintClient(HDC dc) override { return PaintClient(dc); }
    LRESULT OnEraseBkgnd(HDC) override { return TRUE; }
    void DrawClient(HDC dc, const RECT& client) override;
    LRESULT OnTimer(UINT_PTR id) override;
    LRESULT OnMouseMove(UINT keys, POINT point) override;
    LRESULT OnLButtonDown(UINT keys, POINT point) override;
    LRESULT OnRButtonDown(UINT keys, POINT point) override;
    LRESULT OnButtonDown(UINT message, UINT notification, UINT keys, POINT point);
    LRESULT OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage) override;
    LRESULT OnDestroy() override;

private:
    void Relay(UINT message, WPARAM wParam, LPARAM lParam);
    void Notify(UINT message) const;

    HCURSOR hoverCursor = nullptr;
    HFONT font = nullptr;
    int notifyIndex = 0;
    HWND notifyWindow = nullptr;
    std::string text;
    DWORD flags = AutoHeight | AutoWidth;
    int alignment = AlignLeft;
    int hovered = 0;
    int hoverTicks = 0;
    std::unique_ptr<CToolTipCtrl> tooltip;
};
