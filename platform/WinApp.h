#pragma once
// The library's one application object.
#include <windows.h>

class CWinApp {
public:
    static CWinApp& Instance();

    // Start-up, once: the rich-edit library, then the common controls the
    // dialogs use.
    void InitInstance();

    // Offers the message to the object of its window, then to the object of
    // each parent up to the top-level window; true when one handled it.
    BOOL PreTranslateMessage(MSG* msg);

private:
    CWinApp() = default;
    bool initialised = false;
};
