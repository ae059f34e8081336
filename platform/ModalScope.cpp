#include "platform/ModalScope.h"

#include "platform/Wnd.h"

ModalScope::ModalScope(HWND owner) : ownerRoot(owner ? GetAncestor(owner, GA_ROOT) : nullptr)
{
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(this));
}

ModalScope::~ModalScope()
{
    for (HWND window : disabled)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
}

// The module's windows are those with an object; the host's have none.
BOOL CALLBACK ModalScope::DisableWindow(HWND window, LPARAM scope)
{
    auto* self = reinterpret_cast<ModalScope*>(scope);
    if (window != self->ownerRoot && CWnd::FromHandlePermanent(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        self->disabled.push_back(window);
    }
    return TRUE;
}
