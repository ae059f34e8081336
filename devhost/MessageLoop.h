#pragma once
// The host's message loop: every message is offered to the service first
// (event 15 with the MSG) and skipped when the service takes it.
#include <windows.h>

#include "frame/ServiceInterface.h"

class MessageLoop {
public:
    void SetService(ServiceInterface* card) { service = card; }
    // Until WM_QUIT; returns its exit code.
    int Run();
    // Dispatches what is queued now; false once WM_QUIT was seen.
    bool PumpPending();
    bool QuitSeen() const { return quit; }

private:
    void Dispatch(MSG& msg);

    ServiceInterface* service = nullptr;
    bool quit = false;
};
