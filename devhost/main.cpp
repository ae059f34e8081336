// The development host: loads vcardpc.dll by ordinal as the messenger does,
// drives the service's lifecycle and prints what the service answers.
#include <cstdio>

#include "frame/ServiceInterface.h"

namespace {

using CreateServiceFn = ServiceInterface*(__cdecl*)(HostApi*);
using StatusFn = int(__cdecl*)();

class DevHost : public HostApi {
public:
    int HOSTCALL Command(int code, ServiceInterface*, const char* param) override
    {
        std::printf("host: Command %d %s\n", code, param ? param : "(none)");
        return 1;
    }
    int HOSTCALL SendMessage(ServiceInterface*, const char* name, const char* xml) override
    {
        std::printf("host: SendMessage %s\n%s", name, xml);
        return 0;
    }
};

class DevContacts : public HostContactList {
public:
    HostContact* HOSTCALL Find(const char*, const char*) override { return nullptr; }
};

class DevUser : public HostUser {
public:
    const char* HOSTCALL UserName() override { return "ana"; }
    const char* HOSTCALL Domain() override { return "example.net"; }
    const char* HOSTCALL DisplayName() override { return "Ana"; }
    HostContactList* HOSTCALL Contacts() override { return &contacts; }
    uint32_t HOSTCALL ExtraValue() override { return 0x1234; }

private:
    DevContacts contacts;
};

} // namespace

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "vcardpc.dll";
    HMODULE library = LoadLibraryA(path);
    if (!library) {
        std::printf("devhost: cannot load %s (error %lu)\n", path, GetLastError());
        return 1;
    }
    auto create = reinterpret_cast<CreateServiceFn>(GetProcAddress(library, MAKEINTRESOURCEA(1)));
    auto status = reinterpret_cast<StatusFn>(GetProcAddress(library, "GetThisDllStatus315"));
    if (!create || !status) {
        std::printf("devhost: %s lacks its exports\n", path);
        return 1;
    }
    std::printf("devhost: loaded %s, GetThisDllStatus315 = %d\n", path, status());

    DevHost host;
    DevUser user;
    ServiceInterface* service = create(&host);
    if (!service) {
        std::printf("devhost: CreateService gave null\n");
        return 1;
    }
    std::printf("service: GetStatus = %d\n", service->GetStatus());
    std::printf("service: Start = %d\n", service->Start());
    std::printf("service: Login = %d\n", service->Login(&user));
    std::printf("service: QueryService(\"VCARD-PC\") = %d\n", service->QueryService("VCARD-PC"));
    std::printf("service: QueryService(\"OTHER\") = %d\n", service->QueryService("OTHER"));
    std::printf("service: Logout = %d\n", service->Logout());
    std::printf("service: Stop = %d\n", service->Stop());
    service->DeletingDestructor(1);
    std::printf("devhost: service deleted\n");
    FreeLibrary(library);
    return 0;
}
