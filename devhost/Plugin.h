#pragma once
// The service library loaded as the messenger loads it: by ordinal 1, with
// the status export checked.
#include <string>

#include "frame/ServiceInterface.h"

class Plugin {
public:
    Plugin() = default;
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // False, with Error() set, when the library or its exports are missing
    // or the creation entry gives no service.
    bool Load(const std::string& path, HostApi* host);
    // Deletes the service (slot 0, flags 1) and frees the library.
    void Unload();

    ServiceInterface* Service() const { return service; }
    int Status() const { return status; }
    const std::string& Error() const { return error; }

private:
    HMODULE library = nullptr;
    ServiceInterface* service = nullptr;
    int status = 0;
    std::string error;
};
