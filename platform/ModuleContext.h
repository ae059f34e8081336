#pragma once
// This module's own context. Resources, dialog templates and window classes
// always come from ModuleInstance(), never from the host's module. Every entry
// from the host also activates the module's activation context (its manifest
// asks for common controls 6) and restores the caller's on return.
#include <windows.h>

#include <source_location>

#include "platform/ReportSwallowed.h"

// The instance of the module that holds this code (the DLL, or a test program
// linked with the same code).
HINSTANCE ModuleInstance();

class ModuleContext {
public:
    ModuleContext();
    ~ModuleContext();
    ModuleContext(const ModuleContext&) = delete;
    ModuleContext& operator=(const ModuleContext&) = delete;

    // Releases the activation context; called when the module unloads.
    static void Shutdown();

private:
    ULONG_PTR cookie = 0;
    bool activated = false;
};

// Runs body inside the module context; an exception never crosses back into
// Win32 or the host: it yields onException and is reported as swallowed in
// the function that called AtBoundary.
template <class R, class F>
R AtBoundary(R onException, F&& body, std::source_location caller = std::source_location::current()) noexcept
{
    ModuleContext context;
    try {
        return body();
    } catch (...) {
        ReportSwallowed(caller.function_name());
        return onException;
    }
}

template <class F>
void AtBoundary(F&& body, std::source_location caller = std::source_location::current()) noexcept
{
    ModuleContext context;
    try {
        body();
    } catch (...) {
        ReportSwallowed(caller.function_name());
    }
}
