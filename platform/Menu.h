#pragma once
// PopupMenu: a shortcut menu of our own, destroyed with its holder.
#include <windows.h>

class PopupMenu {
public:
    PopupMenu() : menu(CreatePopupMenu()) {}
    ~PopupMenu()
    {
        if (menu)
            DestroyMenu(menu);
    }
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    void Append(UINT id, const char* text, bool enabled = true)
    {
        AppendMenuA(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, text);
    }
    // The chosen command, 0 when none; the menu is gone when it returns.
    UINT Track(HWND owner, POINT screen) const
    {
        return static_cast<UINT>(
            TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr));
    }

private:
    HMENU menu;
};
