#include "dialogs/DialogSkin.h"

#include "controls/SkinDrawing.h"
#include "platform/ModuleContext.h"
#include "resources/resource.h"

namespace {

// The strip's five frames keep these borders unscaled: top, bottom, left, right.
constexpr int StripFrames = 5;
constexpr int StripTop = 7, StripBottom = 7, StripLeft = 6, StripRight = 18;

// The product label's framed and hovered fills.
constexpr COLORREF LabelFrame = 0xAADDDD;
constexpr COLORREF LabelHover = 0x6EBBBB;

HANDLE LoadIconOfSize(int id, int sizeX, int sizeY)
{
    return LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON, GetSystemMetrics(sizeX),
        GetSystemMetrics(sizeY), LR_SHARED);
}

} // namespace

void SetUpDialogButton(SkinButton& button, HFONT font)
{
    button.SetBitmaps(IDB_BUTTON_STRIP, StripFrames, StripTop, StripBottom, StripLeft, StripRight);
    button.SetFont(font, TRUE);
}

void SetUpProductLabel(SkinIconLabel& label, HWND dialog, HBITMAP image)
{
    label.SetAppearance(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), 0, LabelFrame, LabelHover, 0,
        false);
    label.ModifyFlags(SkinLabel::Interactive, 0, false);
    label.SetHoverCursor(LoadCursorA(ModuleInstance(), MAKEINTRESOURCEA(IDR_HAND_CURSOR)));
    label.SetNotify(dialog, ProductLabelIndex);
    label.SetImage(image, TransparentColour);
}

void SetDialogIcons(HWND dialog, int smallIcon, int bigIcon)
{
    SendMessageA(dialog, WM_SETICON, ICON_SMALL,
        reinterpret_cast<LPARAM>(LoadIconOfSize(smallIcon, SM_CXSMICON, SM_CYSMICON)));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconOfSize(bigIcon, SM_CXICON, SM_CYICON)));
}

std::string DialogTitle(const std::string& productName, const char* text)
{
    return productName + " - " + text;
}
