#pragma once
// CDialog: a modeless dialog from a template of this module. OK and Cancel
// destroy the window; a dialog never ends in EndDialog.
#include "platform/DataExchange.h"
#include "platform/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT id) : templateId(id) {}

    // Creates the window from the template (parent null: the desktop); a
    // top-level one made while a modal window is up starts disabled.
    BOOL Create(HWND parent);
    // Copies controls into members (save) or members into controls.
    BOOL UpdateData(BOOL save = TRUE);
    // Ends in IsDialogMessage.
    BOOL PreTranslateMessage(MSG* msg) override;

    UINT TemplateId() const { return templateId; }

protected:
    // Binds the controls and fills them from the members; true leaves the
    // focus to the dialog manager.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* exchange);

    // WM_INITDIALOG goes to OnInitDialog, the rest to the handlers of CWnd.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Left to the dialog manager: the dialog procedure answers FALSE.
    LRESULT Default() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId;
};
