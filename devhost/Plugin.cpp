#include "devhost/Plugin.h"

namespace {
using CreateServiceFn = ServiceInterface*(__cdecl*)(HostApi*);
using StatusFn = int(__cdecl*)();

// Through void(*)(), the cast that -Wcast-function-type leaves alone.
template <typename Function>
Function Export(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}
}  // namespace

Plugin::~Plugin()
{
    Unload();
}

bool Plugin::Load(const std::string& path, HostApi* host)
{
    library = LoadLibraryA(path.c_str());
    if (!library) {
        error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    auto create = Export<CreateServiceFn>(library, MAKEINTRESOURCEA(1));
    auto statusOf = Export<StatusFn>(library, "GetThisDllStatus315");
    if (!create || !statusOf) {
        error = path + " lacks its exports";
        Unload();
        return false;
    }
    status = statusOf();
    service = create(host);
    if (!service) {
        error = "the creation entry of " + path + " gave no service";
        Unload();
        return false;
    }
    return true;
}

void Plugin::Unload()
{
    if (service)
        service->DeletingDestructor(1);
    service = nullptr;
    if (library)
        FreeLibrary(library);
    library = nullptr;
}
