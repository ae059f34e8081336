#pragma once
// FileChooserAnswer: while it lives, the first file chooser this thread
// shows gets a path typed into its file name box and is confirmed with its
// Open button, as a person would. The chooser is modal, so the answer comes
// from a thread timer that the chooser's own loop runs.
#include <windows.h>

#include <string>

class FileChooserAnswer {
public:
    explicit FileChooserAnswer(std::string path);
    ~FileChooserAnswer();
    FileChooserAnswer(const FileChooserAnswer&) = delete;
    FileChooserAnswer& operator=(const FileChooserAnswer&) = delete;

    // Whether a chooser came up and was answered.
    bool Answered() const { return answered; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Answer(HWND chooser);

    static FileChooserAnswer* current;
    std::string path;
    UINT_PTR timer;
    bool answered = false;
};
