#include "devhost/MessageLoop.h"

int MessageLoop::Run()
{
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        Dispatch(msg);
    quit = true;
    return static_cast<int>(msg.wParam);
}

bool MessageLoop::PumpPending()
{
    MSG msg = {};
    while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            quit = true;
        else
            Dispatch(msg);
    }
    return !quit;
}

void MessageLoop::Dispatch(MSG& msg)
{
    if (service && service->HandleEvent(15, reinterpret_cast<LPARAM>(&msg)) != 0)
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}
