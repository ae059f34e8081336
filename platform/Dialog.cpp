#include "platform/Dialog.h"

#include "platform/ModalScope.h"
#include "platform/ModuleContext.h"

namespace {

// Messages whose result the dialog procedure returns itself instead of
// through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

} // namespace

BOOL CDialog::Create(HWND parent)
{
    HWND window = CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId), parent, DialogProc,
        reinterpret_cast<LPARAM>(this));
    if (window && !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
        ModalScope::Join(window);
    return window != nullptr;
}

BOOL CDialog::UpdateData(BOOL save)
{
    CDataExchange exchange(hwnd, save != FALSE);
    DoDataExchange(&exchange);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    return hwnd && IsDialogMessageA(hwnd, msg);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    DestroyWindow();
}

void CDialog::OnCancel()
{
    DestroyWindow();
}

void CDialog::DoDataExchange(CDataExchange*) {}

LRESULT CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return 0;
        }
    }
    return Default();
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

LRESULT CDialog::Default()
{
    MarkDefaulted();
    return 0;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return AtBoundary<INT_PTR>(FALSE, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG)
            reinterpret_cast<CDialog*>(lParam)->Attach(window);
        auto* dialog = dynamic_cast<CDialog*>(FromHandlePermanent(window));
        if (!dialog)
            return FALSE;
        bool defaulted = false;
        // The dialog may be gone once its last message has been routed.
        LRESULT result = dialog->Route(message, wParam, lParam, &defaulted);
        if (defaulted || message == WM_NCDESTROY)
            return FALSE;
        if (ReturnsDirectly(message))
            return result;
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
    });
}
