#include "platform/Wnd.h"

#include <unordered_map>

namespace {

std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

} // namespace

CWnd::~CWnd()
{
    Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND window)
{
    auto& map = PermanentMap();
    auto found = map.find(window);
    return found == map.end() ? nullptr : found->second;
}

void CWnd::Attach(HWND window)
{
    Detach();
    hwnd = window;
    if (window)
        PermanentMap()[window] = this;
}

HWND CWnd::Detach()
{
    HWND window = hwnd;
    if (window)
        PermanentMap().erase(window);
    hwnd = nullptr;
    return window;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}
