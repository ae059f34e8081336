#include "platform/ModuleContext.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HANDLE activationContext = INVALID_HANDLE_VALUE;
bool activationContextTried = false;

// The manifest is resource 2 of this module; a module without one (a test
// program) simply runs without its own activation context.
HANDLE ActivationContext()
{
    if (!activationContextTried) {
        activationContextTried = true;
        char path[MAX_PATH];
        if (GetModuleFileNameA(ModuleInstance(), path, sizeof path) != 0) {
            ACTCTXA request = {};
            request.cbSize = sizeof request;
            request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
            request.lpSource = path;
            request.hModule = ModuleInstance();
            request.lpResourceName = MAKEINTRESOURCEA(2);
            activationContext = CreateActCtxA(&request);
        }
    }
    return activationContext;
}

} // namespace

HINSTANCE ModuleInstance()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

ModuleContext::ModuleContext()
{
    HANDLE context = ActivationContext();
    if (context != INVALID_HANDLE_VALUE)
        activated = ActivateActCtx(context, &cookie) != FALSE;
}

ModuleContext::~ModuleContext()
{
    if (activated)
        DeactivateActCtx(0, cookie);
}

void ModuleContext::Shutdown()
{
    if (activationContext != INVALID_HANDLE_VALUE)
        ReleaseActCtx(activationContext);
    activationContext = INVALID_HANDLE_VALUE;
    activationContextTried = false;
}
