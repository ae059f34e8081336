#include "devhost/HostRegistry.h"

#include <windows.h>

#include <cstdio>

namespace {

bool SetString(HKEY key, const char* name, const std::string& value)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
               static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

}  // namespace

bool WriteHostSettings(const std::string& appPath, const std::string& skinFolder)
{
    std::string skinFile = WithSlash(skinFolder) + "skin.ini";
    if (std::FILE* ini = std::fopen(skinFile.c_str(), "wb")) {
        std::fputs("[SOUNDS]\r\nAlert=alert.wav\r\nDenied=denied.wav\r\nTyping=typing.wav\r\n", ini);
        std::fclose(ini);
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Tesselar\\Quillora", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
            &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool written = SetString(key, "AppPath", WithSlash(appPath)) && SetString(key, "Skin", skinFile);
    RegCloseKey(key);
    return written;
}
