#pragma once
// ModalScope: while a modal window of this module is up (a message box, the
// file chooser), the module's other top-level windows are disabled, as the
// modal window's owner is. At the end of the scope it enables again those it
// disabled, and only those.
#include <windows.h>

#include <vector>

class ModalScope {
public:
    // owner: the window the modal one is shown for, or null. Its top-level
    // window is left to the modal window, which disables and enables it.
    explicit ModalScope(HWND owner);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    static BOOL CALLBACK DisableWindow(HWND window, LPARAM scope);

    HWND ownerRoot;
    std::vector<HWND> disabled;
};
