#include "platform/FileDialog.h"

#include <commdlg.h>

CFileDialog::CFileDialog(const char* fileName, DWORD openFlags, const char* filter, HWND parent)
    : CFileDialog(true, nullptr, fileName, openFlags, filter, parent)
{
}

CFileDialog::CFileDialog(bool openDialog, const char* extension, const char* fileName, DWORD dialogFlags,
    const char* filter, HWND parent)
    : open(openDialog), defaultExtension(extension ? extension : ""), initialName(fileName ? fileName : ""),
      filterPairs(filter ? filter : ""), flags(dialogFlags), owner(parent)
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
    request.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    request.Flags = flags;
    if (!(open ? GetOpenFileNameA(&request) : GetSaveFileNameA(&request)))
        return false;
    path = chosen;
    return true;
}
