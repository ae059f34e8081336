#include "platform/FileDialog.h"

#include <commdlg.h>

CFileDialog::CFileDialog(const char* fileName, DWORD openFlags, const char* filter, HWND parent)
    : initialName(fileName ? fileName : ""), filterPairs(filter ? filter : ""), flags(openFlags), owner(parent)
{
    for (char& c : filterPairs)
        if (c == '|')
            c = '\0';
}

bool CFileDialog::DoModal()
{
    char chosen[MAX_PATH] = {};
    initialName.copy(chosen, sizeof chosen - 1);
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = filterPairs.empty() ? nullptr : filterPairs.c_str();
    request.lpstrFile = chosen;
    request.nMaxFile = sizeof chosen;
    request.Flags = flags;
    if (!GetOpenFileNameA(&request))
        return false;
    path = chosen;
    return true;
}
