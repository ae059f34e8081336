#include "store/RegKey.h"

#include <vector>

namespace {

// An open key that closes itself.
class OpenKey {
public:
    OpenKey(HKEY root, const std::string& path, REGSAM access)
    {
        if (RegOpenKeyExA(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS)
            key = nullptr;
    }
    ~OpenKey()
    {
        if (key)
            RegCloseKey(key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    explicit operator bool() const { return key != nullptr; }
    HKEY Get() const { return key; }

private:
    HKEY key = nullptr;
};

} // namespace

bool RegKey::SetRootKey(HKEY newRoot)
{
    if (newRoot != HKEY_CLASSES_ROOT && newRoot != HKEY_CURRENT_USER &&
        newRoot != HKEY_LOCAL_MACHINE && newRoot != HKEY_USERS)
        return false;
    root = newRoot;
    return true;
}

bool RegKey::SetKey(const std::string& path, bool create)
{
    if (path.empty()) {
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
    RegCloseKey(key);
    subKey = path;
    return true;
}

DWORD RegKey::GetValueType(const std::string& name) const
{
    OpenKey key(root, subKey, KEY_QUERY_VALUE);
    DWORD type = 0;
    if (!key || RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return type;
}

std::string RegKey::ReadString(const std::string& name, const std::string& fallback) const
{
    OpenKey key(root, subKey, KEY_READ);
    if (!key)
        return fallback;
    // Asks for the size first, then reads; a value that grew in between is
    // asked for again.
    std::vector<char> buffer;
    for (;;) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return fallback;
        buffer.assign(size + 1, '\0');
        LONG result = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return fallback;
        buffer[size] = '\0';
        return std::string(buffer.data());
    }
}

uint32_t RegKey::ReadDword(const std::string& name, uint32_t fallback) const
{
    OpenKey key(root, subKey, KEY_READ);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!key ||
        RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return fallback;
    return value;
}

bool RegKey::WriteString(const std::string& name, const std::string& value) const
{
    if (value.size() > MaxStringLength)
        return false;
    OpenKey key(root, subKey, KEY_WRITE);
    return key && RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegKey::WriteDword(const std::string& name, uint32_t value) const
{
    OpenKey key(root, subKey, KEY_WRITE);
    DWORD data = value;
    return key && RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                 sizeof data) == ERROR_SUCCESS;
}
