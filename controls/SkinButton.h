#pragma once
// SkinButton: an owner-drawn push button whose faces are cut from a strip of
// equal frames (normal, pressed, disabled, focused), scaled to the button with
// fixed borders and drawn with one transparent colour. It takes part in the
// dialog manager's default button as a push button does: Enter presses it
// while it has the focus, and the button Enter would press wears a frame in
// the caption's colour.
#include <memory>

#include "controls/SkinDrawing.h"
#include "platform/Button.h"
#include "platform/Gdi.h"

// A font made from a face name, with a text colour.
class SkinFont : public Font {
public:
    explicit SkinFont(const char* face);
    COLORREF textColour = 0;
};

// Where a button's faces come from: a strip of equal frames in this module,
// with borders that keep their size when a frame is stretched.
struct SkinStrip {
    int resourceId = 0;
    int frameCount = 0;
    int top = 8, bottom = 8, left = 8, right = 17;
    auto operator<=>(const SkinStrip&) const = default;
};

// The four faces of one size (normal, pressed, disabled, focused), each with
// the mask of its transparent pixels.
class SkinFaces {
public:
    enum Face { Normal, Pressed, Disabled, Focused, Count };
    // False when the strip cannot be loaded or a face cannot be made.
    bool Build(HDC dc, const SkinStrip& strip, SIZE size);
    // Pixels of the transparent colour leave what lies under them.
    void Draw(HDC dc, Face face) const;
    bool HasSize(SIZE other) const { return size.cx == other.cx && size.cy == other.cy; }

private:
    Bitmap images[Count], masks[Count];
    SIZE size = {};
};

class SkinButton : public CButton {
public:
    // Pixels kept free between the caption and the left and right edges.
    static constexpr int CaptionMargin = 3;
    // The default frame's distance from the edges.
    static constexpr int DefaultFrameInset = 3;

    SkinButton();
    ~SkinButton() override;

    // The faces come from strip resourceId of this module, cut into
    // frameCount frames; false when there is no such strip. They are built
    // when the button is first drawn at a size, and shared by every button
    // of that size.
    bool SetBitmaps(int resourceId, int frameCount, int top, int bottom, int left, int right);

    SkinFont& GetSkinFont() { return *font; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnEraseBkgnd(HDC) override { return FALSE; }
    bool DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    // Its dialog's default button while no push button has the focus.
    bool IsDialogDefault() const;
    // The default frame follows the focus: every skinned button of the
    // window is redrawn when it moves.
    void RedrawWindowButtons() const;
    // The faces at the button's present size; null without a strip.
    const SkinFaces* Faces(HDC dc, SIZE size);

    SkinStrip strip;
    std::shared_ptr<const SkinFaces> faces;
    std::unique_ptr<SkinFont> font;
};
