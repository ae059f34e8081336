#pragma once
// CFileDialog: the standard open-file dialog.
#include <windows.h>

#include <string>

class CFileDialog {
public:
    // filter: description|patterns|...|| as in a resource text.
    CFileDialog(const char* fileName, DWORD flags, const char* filter, HWND owner);
    // True when the user chose a file.
    bool DoModal();
    const std::string& GetPathName() const { return path; }

private:
    std::string initialName;
    std::string filterPairs;
    DWORD flags;
    HWND owner;
    std::string path;
};
