#include "controls/SkinPage.h"

#include <prsht.h>

#include "controls/SkinTab.h"

// Ctrl and Shift as they were when the key was typed (GetKeyState), not as
// they are now: the loop may take the key well after it was pressed.
int PageSwitchKey(const MSG& msg)
{
    bool switchKey = msg.wParam == VK_TAB || msg.wParam == VK_PRIOR || msg.wParam == VK_NEXT;
    if (msg.message != WM_KEYDOWN || !switchKey || !(GetKeyState(VK_CONTROL) & 0x8000))
        return -1;
    if (msg.wParam == VK_TAB)
        return (GetKeyState(VK_SHIFT) & 0x8000) ? 0 : 1;
    return msg.wParam == VK_NEXT ? 1 : 0;
}

// Enter and Escape are the page's own OK and Cancel; every other key goes to
// the dialog that holds the page, so that Tab and the mnemonics reach all of it.
bool SkinPage::IsDialogCommandKey(const MSG& msg)
{
    return msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
}

BOOL SkinPage::PreTranslateMessage(MSG* msg)
{
    int direction = PageSwitchKey(*msg);
    if (direction < 0)
        return IsDialogCommandKey(*msg) && CDialog::PreTranslateMessage(msg);
    if (SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)))
        return TRUE;
    ::SendMessageA(GetParent(), WM_SKIN_SWITCH_PAGE, direction, 0);
    return TRUE;
}
