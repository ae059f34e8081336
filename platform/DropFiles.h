#pragma once
// DroppedFiles: the files of one WM_DROPFILES, released with the holder.
#include <windows.h>
#include <shellapi.h>

#include <string>

class DroppedFiles {
public:
    explicit DroppedFiles(HDROP handle) : drop(handle) {}
    ~DroppedFiles() { DragFinish(drop); }
    DroppedFiles(const DroppedFiles&) = delete;
    DroppedFiles& operator=(const DroppedFiles&) = delete;

    // The path of the first file; empty without one.
    std::string First() const
    {
        char path[MAX_PATH] = {};
        return DragQueryFileA(drop, 0, path, sizeof path) ? path : "";
    }

private:
    HDROP drop;
};
