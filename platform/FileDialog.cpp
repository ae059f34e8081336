#include "platform/FileDialog.h"

#include <commdlg.h>

namespace {

// The chooser moves the process's current directory to the chosen file's
// folder, and it belongs to the host: put it back.
class CurrentDirectoryKept {
public:
    CurrentDirectoryKept() : length(GetCurrentDirectoryA(MAX_PATH, folder)) {}
    ~CurrentDirectoryKept()
    {
        if (length > 0 && length < MAX_PATH)
            SetCurrentDirectoryA(folder);
    }
    CurrentDirectoryKept(const CurrentDirectoryKept&) = delete;
    CurrentDirectoryKept& operator=(const CurrentDirectoryKept&) = delete;

private:
    char folder[MAX_PATH] = {};
    DWORD length;
};

} // namespace

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
    CurrentDirectoryKept kept;
    if (!(open ? GetOpenFileNameA(&request) : GetSaveFileNameA(&request)))
        return false;
    path = chosen;
    return true;
}
