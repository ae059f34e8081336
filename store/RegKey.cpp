#include "store/RegKey.h"

#include <vector>

void RegKey::OpenKey::Reset(HKEY newKey)
{
    if (key)
        RegCloseKey(key);
    key = newKey;
}

bool RegKey::SetRootKey(HKEY newRoot)
{
    if (newRoot != HKEY_CLASSES_ROOT && newRoot != HKEY_CURRENT_USER &&
        newRoot != HKEY_LOCAL_MACHINE && newRoot != HKEY_USERS)
        return false;
    if (newRoot == root)
        return true;
    root = newRoot;
    HKEY key = nullptr;
    if (subKey.empty() || RegOpenKeyExA(root, subKey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        key = nullptr;
    open.Reset(key);
    return true;
}

bool RegKey::SetKey(const std::string& path, bool create)
{
    if (path.empty()) {
        open.Reset(nullptr);
        subKey.clear();
        return true;
    }
    HKEY key = nullptr;
    LONG result = create
        ? RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr)
        : RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (result != ERROR_SUCCESS)
        return false;
    open.Reset(key);
    subKey = path;
    return true;
}

DWORD RegKey::GetValueType(const std::string& name) const
{
    DWORD type = 0;
    if (!Current() || RegQueryValueExA(Current(), name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return type;
}

std::string RegKey::ReadString(const std::string& name, const std::string& fallback) const
{
    if (!Current())
        return fallback;
    // Reads into a buffer that holds the common short value; a longer one
    // is read again into a buffer of the size the first read gave, and so
    // on while the value grows in between.
    std::vector<char> buffer(256);
    for (;;) {
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(buffer.size() - 1);
        LONG result = RegQueryValueExA(Current(), name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (result == ERROR_MORE_DATA) {
            buffer.assign(size + 1, '\0');
            continue;
        }
        if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return fallback;
        buffer[size] = '\0';
        return std::string(buffer.data());
    }
}

uint32_t RegKey::ReadDword(const std::string& name, uint32_t fallback) const
{
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!Current() ||
        RegQueryValueExA(Current(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return fallback;
    return value;
}

bool RegKey::WriteString(const std::string& name, const std::string& value) const
{
    if (value.size() > MaxStringLength)
        return false;
    return Current() && RegSetValueExA(Current(), name.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegKey::WriteDword(const std::string& name, uint32_t value) const
{
    DWORD data = value;
    return Current() && RegSetValueExA(Current(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                       sizeof data) == ERROR_SUCCESS;
}
