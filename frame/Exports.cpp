// The library's two exports.
#include <new>

#include "frame/CardService.h"
#include "platform/ModuleContext.h"
#include "platform/WinApp.h"

extern "C" ServiceInterface* __cdecl CreateService(HostApi* host)
{
    return AtBoundary<ServiceInterface*>(nullptr, [&]() -> ServiceInterface* {
        CWinApp::Instance().InitInstance();
        return new (std::nothrow) CardService(host);
    });
}

extern "C" int __cdecl GetThisDllStatus315()
{
    return AtBoundary(0, [] { return CardServiceStatus; });
}
