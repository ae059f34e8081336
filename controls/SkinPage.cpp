#include "controls/SkinPage.h"

#include <prsht.h>

#include "controls/SkinTab.h"

BOOL SkinPage::PreTranslateMessage(MSG* msg)
{
    bool switchKey = msg->wParam == VK_TAB || msg->wParam == VK_PRIOR || msg->wParam == VK_NEXT;
    if (msg->message != WM_KEYDOWN || !switchKey || !(GetAsyncKeyState(VK_CONTROL) & 0x8000))
        return CDialog::PreTranslateMessage(msg);
    if (SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)))
        return TRUE;
    bool next = msg->wParam == VK_TAB ? !(GetAsyncKeyState(VK_SHIFT) & 0x8000) : msg->wParam == VK_NEXT;
    ::SendMessageA(GetParent(), WM_SKIN_SWITCH_PAGE, next ? 1 : 0, 0);
    return TRUE;
}
