#pragma once
// CEdit: an edit control.
#include "platform/Wnd.h"

class CEdit : public CWnd {
public:
    void SetReadOnly(BOOL readOnly = TRUE) { SendMessage(EM_SETREADONLY, readOnly); }
};
