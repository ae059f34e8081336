#include "devhost/FileDialogAnswer.h"

#include <dlgs.h>

#include <utility>

FileDialogAnswer* FileDialogAnswer::current = nullptr;

FileDialogAnswer::FileDialogAnswer(std::string inFolder, std::string fileName, bool keep,
    std::function<void(HWND)> filled)
    : folder(std::move(inFolder)), name(std::move(fileName)), keepName(keep), seen(std::move(filled))
{
    current = this;
    timer = SetTimer(nullptr, 0, 100, Tick);
}

FileDialogAnswer::~FileDialogAnswer()
{
    KillTimer(nullptr, timer);
    current = nullptr;
}

void CALLBACK FileDialogAnswer::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (current && !current->answered)
        EnumThreadWindows(GetCurrentThreadId(), Look, reinterpret_cast<LPARAM>(current));
}

BOOL CALLBACK FileDialogAnswer::Look(HWND window, LPARAM self)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return !(IsWindowVisible(window) && std::string(className) == "#32770"
        && reinterpret_cast<FileDialogAnswer*>(self)->Answer(window));
}

// The name field is the combo box of the explorer-style dialog or the edit
// of the older one.
bool FileDialogAnswer::Answer(HWND dialog)
{
    HWND field = GetDlgItem(dialog, cmb13);
    if (!field)
        field = GetDlgItem(dialog, edt1);
    if (!field)
        return false;
    char text[MAX_PATH] = {};
    GetWindowTextA(field, text, sizeof text);
    proposed = text;
    path = folder + "\\" + (keepName ? proposed : name);
    SetWindowTextA(field, path.c_str());
    answered = true;
    if (seen)
        seen(dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return true;
}
