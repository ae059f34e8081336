#pragma once
// ModalScope: while a modal window of this module is up (a message box, the
// file chooser), the module's other top-level windows are disabled, as the
// modal window's owner is. The module keeps one modal depth that every scope
// shares: a top-level window made meanwhile starts disabled, and only when
// the last scope ends are windows enabled again, and only those the module
// disabled.
#include <windows.h>

class ModalScope {
public:
    // owner: the window the modal one is shown for, or null. Its top-level
    // window is left to the modal window, which disables and enables it.
    explicit ModalScope(HWND owner);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    // Whether a modal window of the module is up.
    static bool Active();
    // A top-level window made while a modal window is up: disabled until the
    // last scope ends.
    static void Join(HWND window);

private:
    static BOOL CALLBACK DisableWindow(HWND window, LPARAM ownerRoot);
};
