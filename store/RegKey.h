#pragma once
// One registry root and key path. SetKey opens the key and keeps it open
// until the next SetKey, the next root or the end; reads and writes go
// through that one handle. Reads that miss return the caller's default;
// nothing raises or shows. The key and the writes are virtual so that tests
// can make them fail.
#include <windows.h>
#include <cstdint>
#include <string>

class RegKey {
public:
    // Longer texts, which no card field needs, stay out of the registry.
    static constexpr std::size_t MaxStringLength = 64 * 1024;

    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    virtual ~RegKey() = default;

    // Only the four predefined roots are taken; anything else gives false
    // and keeps the current root. The current path is opened again under
    // the new root.
    bool SetRootKey(HKEY newRoot);
    // Makes path the current key (opening, or with create creating, it under
    // the root); false leaves the former key current. "" is always taken.
    virtual bool SetKey(const std::string& path, bool create);

    // The value's registry type, 0 when the key or the value is missing.
    DWORD GetValueType(const std::string& name) const;
    // A REG_SZ or REG_EXPAND_SZ value of any length (not expanded), or fallback.
    std::string ReadString(const std::string& name, const std::string& fallback) const;
    // A REG_DWORD value, or fallback.
    uint32_t ReadDword(const std::string& name, uint32_t fallback) const;
    // A value longer than MaxStringLength is not written: false.
    virtual bool WriteString(const std::string& name, const std::string& value) const;
    virtual bool WriteDword(const std::string& name, uint32_t value) const;

    HKEY Root() const { return root; }
    const std::string& SubKey() const { return subKey; }

private:
    // An open key that closes itself.
    class OpenKey {
    public:
        OpenKey() = default;
        OpenKey(const OpenKey&) = delete;
        OpenKey& operator=(const OpenKey&) = delete;
        ~OpenKey() { Reset(nullptr); }
        void Reset(HKEY newKey);
        HKEY Get() const { return key; }

    private:
        HKEY key = nullptr;
    };

    // The handle values go through: the root itself for "", nullptr when
    // the current path could not be opened under the current root.
    HKEY Current() const { return subKey.empty() ? root : open.Get(); }

    HKEY root = HKEY_CURRENT_USER;
    std::string subKey;
    OpenKey open;
};
