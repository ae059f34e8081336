#pragma once
// WindowTimer: one timer of a window, by its id. Starting it again restarts
// it; it is killed when stopped and when its holder goes.
#include <windows.h>

class WindowTimer {
public:
    explicit WindowTimer(UINT_PTR timerId) : id(timerId) {}
    ~WindowTimer() { Stop(); }
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    void Start(HWND owner, UINT milliseconds)
    {
        Stop();
        if (SetTimer(owner, id, milliseconds, nullptr))
            window = owner;
    }
    void Stop()
    {
        if (window)
            KillTimer(window, id);
        window = nullptr;
    }
    bool IsRunning() const { return window != nullptr; }
    UINT_PTR Id() const { return id; }

private:
    UINT_PTR id;
    HWND window = nullptr;
};
