#include <gtest/gtest.h>

#include <fstream>

#include "frame/HostSettings.h"
#include "frame/ServiceBase.h"
#include "tests/hosts/TestHost.h"

namespace {

TEST(SkinFolderTest, KeepsDriveAndFolderWithTheirSeparator)
{
    struct Case { const char* path; const char* folder; };
    const Case cases[] = {
        {"D:\\skins\\blue\\skin.ini", "D:\\skins\\blue\\"},
        {"skin.ini", ""},
        {"D:skin.ini", "D:"},
        {"", ""},
        {"\\\\server\\share\\skin.ini", "\\\\server\\share\\"},
        {"C:/skins/red/skin.ini", "C:/skins/red/"},
        {"D:\\skins\\", "D:\\skins\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SkinFolder(c.path), c.folder) << c.path;
    std::string folder = "C:\\" + std::string(600, 'a') + "\\" + std::string(300, 'b') + "\\";
    EXPECT_EQ(SkinFolder(folder + "skin.ini"), folder);
}

class SettingsService : public ServiceBase {
public:
    using ServiceBase::ServiceBase;
    std::string Sounds() const { return alertSound + "|" + deniedSound + "|" + typingSound; }
    const std::string& AppPath() const { return appPath; }

protected:
    int OnGetStatus() override { return 0; }
    bool IsMine(const std::string&) override { return true; }
};

class HostSettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, HostSettingsKey);
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "vcard-skin-test\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        skinFile = folder + "skin.ini";
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, HostSettingsKey);
        DeleteFileA(skinFile.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    void SetHostValue(const char* name, const std::string& value)
    {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, HostSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }

    TestHost host;
    TestUser user;
    SettingsService service{&host};
    std::string folder;
    std::string skinFile;
};

// The settings are read once, at the first login after Start.
TEST_F(HostSettingsTest, AppPathAndTheSkinsSoundsAreReadAtTheFirstLoginAfterStart)
{
    ServiceInterface& api = service;
    SetHostValue("AppPath", "C:\\first");
    SetHostValue("Skin", skinFile);
    std::ofstream(skinFile) << "[SOUNDS]\r\nAlert=alert.wav\r\nTyping=type.wav\r\n";
    api.Login(&user);
    EXPECT_EQ(service.AppPath(), "");
    api.Start();
    api.Login(&user);
    EXPECT_EQ(service.AppPath(), "C:\\first");
    EXPECT_EQ(service.Sounds(), folder + "alert.wav|" + folder + "|" + folder + "type.wav");
    SetHostValue("AppPath", "C:\\second");
    api.Logout();
    api.Login(&user);
    EXPECT_EQ(service.AppPath(), "C:\\first");
}

} // namespace
