#pragma once
// Answers the file dialog that the service opens next on this thread, as a
// person would: the file name typed into its name field, then OK. A thread
// timer looks for the dialog while the object lives, since the dialog runs
// its own loop inside the call that opened it.
#include <windows.h>

#include <functional>
#include <string>

class FileDialogAnswer {
public:
    // keepName: the name the dialog proposes stays, in folder; otherwise
    // name replaces it. seen runs with the filled dialog before OK.
    FileDialogAnswer(std::string folder, std::string name, bool keepName, std::function<void(HWND)> seen);
    ~FileDialogAnswer();
    FileDialogAnswer(const FileDialogAnswer&) = delete;
    FileDialogAnswer& operator=(const FileDialogAnswer&) = delete;

    bool Answered() const { return answered; }
    // The name the dialog proposed, and the path given.
    const std::string& Proposed() const { return proposed; }
    const std::string& Path() const { return path; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK Look(HWND window, LPARAM self);
    bool Answer(HWND dialog);

    static FileDialogAnswer* current;
    std::string folder, name;
    bool keepName;
    std::function<void(HWND)> seen;
    UINT_PTR timer = 0;
    bool answered = false;
    std::string proposed, path;
};
