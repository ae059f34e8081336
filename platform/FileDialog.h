#pragma once
// CFileDialog: the standard open-file or save-file dialog.
#include <windows.h>

#include <string>

class CFileDialog {
public:
    // filter: description|patterns|...|| as in a resource text.
    CFileDialog(const char* fileName, DWORD flags, const char* filter, HWND owner);
    // open false: the save dialog; defaultExtension goes after a name typed
    // without one (null: none).
    CFileDialog(bool open, const char* defaultExtension, const char* fileName, DWORD flags, const char* filter,
        HWND owner);
    // True when the user chose a file.
    bool DoModal();
    const std::string& GetPathName() const { return path; }

private:
    bool open;
    std::string defaultExtension;
    std::string initialName;
    std::string filterPairs;
    DWORD flags;
    HWND owner;
    std::string path;
};
