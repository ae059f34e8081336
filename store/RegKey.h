#pragma once
// One registry root and key path; every operation opens the key, does its
// one thing and closes it again, so no handle stays open between calls.
#include <windows.h>
#include <cstdint>
#include <string>

class RegKey {
public:
    RegKey() = default;

    HKEY Root() const { return root; }
    const std::string& SubKey() const { return subKey; }

private:
    HKEY root = HKEY_CURRENT_USER;
    std::string subKey;
};
