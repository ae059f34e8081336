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

class SkinButton : public CButton {
public:
    // Pixels kept free between the caption and the left and right edges.
    static constexpr int CaptionMargin = 3;
    // The default frame's distance from the edges.
    static constexpr int DefaultFrameInset = 3;

    SkinButton();
    ~SkinButton() override;

    // Builds the four faces at the current client size from strip
    // resourceId of this module; false at the first failure.
    bool SetBitmaps(int resourceId, int frameCount, int top, int bottom, int left, int right);

    SkinFont& GetSkinFont() { return *font; }
    bool IsReady() const { return ready != 0; }

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
    // Frame number frame of the strip selected into source, stretched to the button.
    bool BuildFace(HDC screen, HDC source, SIZE stripSize, int frame, Bitmap& face);
    void DrawFace(HDC dc, HBITMAP face, int width, int height) const;

    int ready = 0;
    int resourceId = 0;
    int frameCount = 0;
    Bitmap normalImage, pressedImage, focusImage, disabledImage;
    int marginTop = 8, marginBottom = 8, marginLeft = 8, marginRight = 17;
    COLORREF transparentColour = TransparentColour;
    std::unique_ptr<SkinFont> font;
};
