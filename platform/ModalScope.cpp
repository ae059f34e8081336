#include "platform/ModalScope.h"

#include <vector>

#include "platform/Wnd.h"

namespace {

int depth = 0;
// The windows the scopes disabled, enabled again when the last one ends.
std::vector<HWND>& Disabled()
{
    static std::vector<HWND> windows;
    return windows;
}

void Disable(HWND window)
{
    if (!IsWindowEnabled(window))
        return;
    EnableWindow(window, FALSE);
    Disabled().push_back(window);
}

} // namespace

ModalScope::ModalScope(HWND owner)
{
    ++depth;
    HWND ownerRoot = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(ownerRoot));
}

ModalScope::~ModalScope()
{
    if (--depth > 0)
        return;
    for (HWND window : Disabled())
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    Disabled().clear();
}

bool ModalScope::Active()
{
    return depth > 0;
}

void ModalScope::Join(HWND window)
{
    if (Active())
        Disable(window);
}

// The module's windows are those with an object; the host's have none.
BOOL CALLBACK ModalScope::DisableWindow(HWND window, LPARAM ownerRoot)
{
    if (window != reinterpret_cast<HWND>(ownerRoot) && CWnd::FromHandlePermanent(window))
        Disable(window);
    return TRUE;
}
