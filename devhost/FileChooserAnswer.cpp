#include "devhost/FileChooserAnswer.h"

#include <dlgs.h>

FileChooserAnswer* FileChooserAnswer::current = nullptr;

namespace {

// The file name box of the chooser's two layouts.
HWND NameBox(HWND chooser)
{
    HWND box = GetDlgItem(chooser, cmb13);
    return box ? box : GetDlgItem(chooser, edt1);
}

BOOL CALLBACK FindChooser(HWND window, LPARAM found)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && std::string(name) == "#32770" && NameBox(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

FileChooserAnswer::FileChooserAnswer(std::string file) : path(std::move(file)), timer(SetTimer(nullptr, 0, 50, Tick))
{
    current = this;
}

FileChooserAnswer::~FileChooserAnswer()
{
    KillTimer(nullptr, timer);
    current = nullptr;
}

void CALLBACK FileChooserAnswer::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    HWND chooser = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindChooser, reinterpret_cast<LPARAM>(&chooser));
    if (chooser && current && !current->answered)
        current->Answer(chooser);
}

void FileChooserAnswer::Answer(HWND chooser)
{
    answered = true;
    SetWindowTextA(NameBox(chooser), path.c_str());
    PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
}
