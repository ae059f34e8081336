#pragma once
// SkinPage: base of the page dialogs of a SkinTab, control parents inside the
// dialog that holds them. Ctrl+Tab and Ctrl+Page Down ask the parent for the
// next page, Ctrl+Shift+Tab and Ctrl+Page Up for the previous one.
#include "platform/Dialog.h"

// The tab a key asks for: 1 the next (Ctrl+Tab, Ctrl+Page Down), 0 the
// previous (Ctrl+Shift+Tab, Ctrl+Page Up), -1 none.
int PageSwitchKey(const MSG& msg);

class SkinPage : public CDialog {
public:
    using CDialog::CDialog;

    BOOL PreTranslateMessage(MSG* msg) override;

private:
    static bool IsDialogCommandKey(const MSG& msg);
};
