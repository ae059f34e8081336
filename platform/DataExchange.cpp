#include "platform/DataExchange.h"

#include "platform/Wnd.h"

void DDX_Control(CDataExchange* exchange, int id, CWnd& control)
{
    if (!control.GetSafeHwnd())
        control.SubclassDlgItem(static_cast<UINT>(id), exchange->dialog);
}

void DDX_Text(CDataExchange* exchange, int id, std::string& value)
{
    HWND item = GetDlgItem(exchange->dialog, id);
    if (!exchange->saveAndValidate) {
        SetWindowTextA(item, value.c_str());
        return;
    }
    int length = GetWindowTextLengthA(item);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(item, text.data(), length + 1)));
    value = std::move(text);
}

void DDX_Check(CDataExchange* exchange, int id, int& value)
{
    if (exchange->saveAndValidate)
        value = static_cast<int>(IsDlgButtonChecked(exchange->dialog, id));
    else
        CheckDlgButton(exchange->dialog, id, static_cast<UINT>(value));
}
