// The library's entry point: the module's activation context goes when the
// library is unloaded.
#include <windows.h>

#include "platform/ModuleContext.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    else if (reason == DLL_PROCESS_DETACH)
        ModuleContext::Shutdown();
    return TRUE;
}
