#pragma once
// WaitCursor: the wait cursor for the life of the object, then the cursor
// that was shown before.
#include <windows.h>

class WaitCursor {
public:
    WaitCursor() : previous(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous;
};
