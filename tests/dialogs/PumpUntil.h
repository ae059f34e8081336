#pragma once
// Waiting on the service's timers: the queue runs until done() holds, or
// gives up after many rounds (a fault, not a slow machine). Sleep(50) and
// Pump() run it past a limit of 1 ms.
#include <functional>

#include "tests/controls/TestWindows.h"

inline bool PumpUntil(const std::function<bool()>& done)
{
    for (int round = 0; round < 500 && !done(); ++round) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    return done();
}
