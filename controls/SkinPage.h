#pragma once
// SkinPage: base of the page dialogs of a SkinTab. Ctrl+Tab and Ctrl+Page Down
// ask the tab control for the next page, Ctrl+Shift+Tab and Ctrl+Page Up for
// the previous one.
#include "platform/Dialog.h"

class SkinPage : public CDialog {
public:
    using CDialog::CDialog;

    BOOL PreTranslateMessage(MSG* msg) override;
};
