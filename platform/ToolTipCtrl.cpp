#include "platform/ToolTipCtrl.h"

BOOL CToolTipCtrl::Create(HWND toolOwner)
{
    owner = toolOwner;
    RECT none = {};
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
        none, toolOwner, 0);
}

BOOL CToolTipCtrl::SetTool(UINT id, const char* text)
{
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = owner;
    tool.uId = id;
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    tool.uFlags = 0;  // the owner relays its mouse messages
    tool.lpszText = const_cast<char*>(text);
    ::GetClientRect(owner, &tool.rect);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));
}
