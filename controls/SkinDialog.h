#pragma once
// SkinDialog: base of a borderless dialog that blends into the host's skin.
// It paints the matching region of the host's background bitmap, shows a
// centred bold caption over a one-pixel line, and turns its labels'
// notifications into hooks. The object deletes itself after its window.
#include "controls/SkinLabel.h"
#include "platform/Dialog.h"

class SkinDialog : public CDialog {
public:
    static constexpr UINT CaptionId = 0xFFFF;

    using CDialog::CDialog;

    // First application of the host's look.
    void ApplySkin(HFONT font, COLORREF colour1, COLORREF colour2, COLORREF colour3, COLORREF colour4,
        HBITMAP background, const RECT& area);
    // Every later change of the look or of the area.
    void UpdateSkin(HFONT font, COLORREF colour1, COLORREF colour2, COLORREF colour3, COLORREF colour4,
        HBITMAP background, const RECT& area);
    void SetCaption(const std::string& text);

    // Centres the caption, then OnLayout.
    virtual void Layout();

    // The client area left below the caption.
    const RECT& ClientArea() const { return client; }
    int CaptionBottom() const { return captionBottom; }
    SkinLabel& Caption() { return caption; }

protected:
    virtual void InitSkin() = 0;
    virtual void ApplyAppearance() = 0;
    virtual void OnLayout() = 0;
    virtual void OnAppMessage(WPARAM) {}
    virtual void OnItemClick(int) {}
    virtual void OnItemHover(int) {}
    virtual void OnItemRightClick(int) {}
    virtual void OnAppMessage304(WPARAM, LPARAM) {}
    virtual void OnAppMessage303(WPARAM, LPARAM) {}
    virtual void OnAppMessage305(WPARAM, LPARAM) {}
    virtual void OnAppMessage307(WPARAM, LPARAM) {}
    virtual void OnAppMessage306(WPARAM, LPARAM) {}
    virtual void OnAppMessage308(WPARAM, LPARAM) {}
    virtual void OnAppMessage309(WPARAM, LPARAM) {}
    virtual void OnAppMessage310(WPARAM, LPARAM) {}
    // Runs just before the object deletes itself.
    virtual void OnPostNcDestroy() {}

    BOOL OnInitDialog() override;
    LRESULT OnEraseBkgnd(HDC) override { return TRUE; }
    LRESULT OnPaint() override;
    LRESULT OnPrintClient(HDC dc) override;
    void DrawClient(HDC dc, const RECT& area) override;
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    HFONT font = nullptr;
    HBITMAP background = nullptr;
    RECT area = {};
    COLORREF colours[4] = {};
    RECT client = {};
    int captionBottom = 0;
    SkinLabel caption;
};
