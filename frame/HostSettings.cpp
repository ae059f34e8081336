#include "frame/HostSettings.h"

#include "frame/ServiceBase.h"

std::string SkinFolder(const std::string& skinFile)
{
    std::string::size_type separator = skinFile.find_last_of("\\/");
    if (separator != std::string::npos)
        return skinFile.substr(0, separator + 1);
    bool hasDrive = skinFile.size() >= 2 && skinFile[1] == ':';
    return hasDrive ? skinFile.substr(0, 2) : std::string();
}

void ServiceBase::LoadSettings()
{
    if (!settingsKey.SetRootKey(HKEY_LOCAL_MACHINE) || !settingsKey.SetKey(HostSettingsKey, true))
        return;
    appPath = settingsKey.ReadString("AppPath", "");
    std::string skinFile = settingsKey.ReadString("Skin", "");
    std::string folder = SkinFolder(skinFile);

    std::string* sounds[] = {&alertSound, &deniedSound, &typingSound};
    const char* keys[] = {"Alert", "Denied", "Typing"};
    for (int i = 0; i < 3; ++i) {
        // Without a skin file there is nothing to read (an empty name would
        // make Windows read its own win.ini).
        char value[256] = "";
        if (!skinFile.empty())
            GetPrivateProfileStringA("SOUNDS", keys[i], "", value, sizeof value, skinFile.c_str());
        *sounds[i] = folder + value;
    }
}
