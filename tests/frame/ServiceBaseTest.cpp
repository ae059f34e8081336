#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "frame/CardService.h"
#include "frame/HostSettings.h"
#include "support/Xml.h"
#include "tests/hosts/DebugOutput.h"
#include "tests/hosts/TestHost.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

// A service that records every hook it is given, with its arguments.
class RecordingService : public ServiceBase {
public:
    explicit RecordingService(HostApi* hostApi) : ServiceBase(hostApi) {}

    std::vector<std::string> calls;
    int startResult = 0;
    int loginResult = 0;
    bool throwOnStart = false;

    int State() const { return state; }
    HostUser* User() const { return user; }
    std::string Settings() const { return appPath + "|" + alertSound + "|" + deniedSound + "|" + typingSound; }
    void SendDocument(XmlDocument& doc) { Send("VCARD-PC", doc); }

protected:
    int Log(std::string call, int result = 0)
    {
        calls.push_back(std::move(call));
        return result;
    }

    int OnGetStatus() override { return 77; }
    int OnStart() override
    {
        if (throwOnStart)
            throw std::runtime_error("start");
        return Log("OnStart", startResult);
    }
    int OnStop() override { return Log("OnStop"); }
    int OnLogin() override { return Log("OnLogin", loginResult); }
    int OnLogout() override { return Log("OnLogout"); }
    void OnMessage(const std::string& name, int code, XmlDocument& doc) override
    {
        Log("OnMessage " + name + " " + std::to_string(code) + " " + doc.FindChild("ps").GetText());
    }
    void OnGetServiceInfo(const std::string& name, void*) override { Log("OnGetServiceInfo " + name); }
    int OnQueryService(const std::string& name) override { return Log("OnQueryService " + name, 3); }
    void OnEnableService(const std::string& name, int flag) override
    {
        Log("OnEnableService " + name + " " + std::to_string(flag));
    }
    int OnGetExtraInfo(const std::string& name, void* buffer) override
    {
        static_cast<char*>(buffer)[0] = 'X';
        return Log("OnGetExtraInfo " + name, 4);
    }
    int OnGetContactMenuItem(const std::string& name, HostContact* contact, void*) override
    {
        return Log("OnGetContactMenuItem " + name + " " + contact->UserName(), 6);
    }
    int OnGetDirectoryItem(const std::string& name, void*) override { return Log("OnGetDirectoryItem " + name, 8); }
    void OnContactCommand(const std::string& name, HostContact* contact) override
    {
        Log("OnContactCommand " + name + " " + contact->UserName());
    }
    void OnActivate(const std::string& name) override { Log("OnActivate " + name); }
    int OnDocument(const std::string& name, const std::string& text, XmlDocument& doc) override
    {
        return Log("OnDocument " + name + " " + text + " " + doc.FindChild("msg").GetText(), 1);
    }
    void OnDocumentEx(const std::string& name, XmlDocument& doc, int value) override
    {
        Log("OnDocumentEx " + name + " " + doc.FindChild("msg").GetText() + " " + std::to_string(value));
    }
    void OnBeforeStart() override { Log("OnBeforeStart"); }
    void OnBeforeLogout() override { Log("OnBeforeLogout"); }
    void OnProductNameChanged() override { Log("OnProductNameChanged " + productName); }
    bool IsMine(const std::string& name) override { return name == "VCARD-PC"; }
};

class ServiceBaseTest : public testing::Test {
protected:
    TestHost host;
    TestUser user;
    RecordingService service{&host};
    ServiceInterface& api = service;  // calls go through the host's table
};

// ---- lifecycle

// Start, login, logout and stop move through the four states once each;
// a login before start only stores the user, a second start or login does
// nothing more, a failing hook keeps the state.
TEST_F(ServiceBaseTest, MovesThroughTheFourStatesOnlyInTheirOrderAndAFailingHookKeepsTheState)
{
    EXPECT_EQ(api.Login(&user), 0);
    EXPECT_EQ(service.State(), Created);
    EXPECT_EQ(service.User(), &user);
    EXPECT_THAT(service.calls, IsEmpty());

    service.startResult = 1;
    EXPECT_EQ(api.Start(), -1);
    EXPECT_EQ(service.State(), Created);
    service.startResult = 0;
    EXPECT_EQ(api.Start(), 0);
    EXPECT_EQ(api.Start(), 0);
    EXPECT_EQ(service.State(), Started);
    service.loginResult = -5;
    EXPECT_EQ(api.Login(&user), -1);
    EXPECT_EQ(service.State(), Started);
    service.loginResult = 0;
    TestUser other("u2", "d2");
    EXPECT_EQ(api.Login(&user), 0);
    EXPECT_EQ(service.State(), LoggedIn);
    EXPECT_EQ(api.Login(&other), 0);
    EXPECT_EQ(service.User(), &other);
    EXPECT_EQ(api.Logout(), 0);
    EXPECT_EQ(service.State(), LoggedOut);
    EXPECT_EQ(api.Login(&user), 0);
    EXPECT_EQ(service.State(), LoggedOut);
    EXPECT_EQ(api.Stop(), 0);
    EXPECT_EQ(service.State(), Created);
    EXPECT_THAT(service.calls, ElementsAre("OnBeforeStart", "OnStart", "OnBeforeStart", "OnStart", "OnLogin",
                                           "OnLogin", "OnBeforeLogout", "OnLogout", "OnStop"));

    for (int target : {Started, LoggedIn}) {
        RecordingService fresh(&host);
        ServiceInterface& table = fresh;
        table.Start();
        if (target == LoggedIn)
            table.Login(&user);
        EXPECT_EQ(table.Stop(), 0);
        EXPECT_EQ(fresh.State(), Created);
    }
    RecordingService userless(&host);
    static_cast<ServiceInterface&>(userless).Logout();
    EXPECT_THAT(userless.calls, ElementsAre("OnLogout"));

    // An exception in a hook fails the operation, stays inside and is reported.
    DebugOutput debugOutput;
    RecordingService throwing(&host);
    throwing.throwOnStart = true;
    EXPECT_EQ(static_cast<ServiceInterface&>(throwing).Start(), -1);
    EXPECT_EQ(throwing.State(), Created);
    EXPECT_THAT(DebugOutput::Lines(),
        ElementsAre(testing::AllOf(testing::StartsWith("vcardpc: "), testing::HasSubstr("ServiceBase::Start"))));
}

// Slot 0 with flag 1 frees the object, as the host's delete does.
TEST_F(ServiceBaseTest, TheDeletingDestructorFreesWithFlagOne)
{
    struct Watched : RecordingService {
        Watched(HostApi* hostApi, bool& flag) : RecordingService(hostApi), deleted(flag) {}
        ~Watched() override { deleted = true; }
        bool& deleted;
    };
    bool deleted = false;
    ServiceInterface* created = new Watched(&host, deleted);
    EXPECT_EQ(nullptr, created->DeletingDestructor(1));
    EXPECT_TRUE(deleted);
}

// ---- name screening

// Each name-addressed operation reaches its hook for the service's own name
// only, spelt exactly; the others answer 0 and leave the block alone.
TEST_F(ServiceBaseTest, NameAddressedOperationsReachTheirHooksOnlyForTheOwnName)
{
    TestContact contact("c1", "d1", "C");
    char block[16] = {};
    for (const char* name : {"OTHER", "vcard-pc", "VCARD-PC ", "", static_cast<const char*>(nullptr), "VCARD-PC"}) {
        SCOPED_TRACE(name ? name : "(null)");
        bool mine = name && std::string(name) == "VCARD-PC";
        api.DeliverMessage(0, name, "<msg>1<ps>2</ps></msg>");
        api.GetServiceInfo(name, block);
        EXPECT_EQ(api.QueryService(name), mine ? 3 : 0);
        api.EnableService(name, 42);
        EXPECT_EQ(api.GetExtraInfo(name, 0, block), mine ? 4 : 0);
        EXPECT_EQ(api.GetContactMenuItem(name, &contact, block), mine ? 6 : 0);
        EXPECT_EQ(api.GetDirectoryItem(name, block), mine ? 8 : 0);
        api.ContactCommand(name, &contact);
        api.Activate(name);
        EXPECT_EQ(api.DeliverDocument(name, "hello", "<msg>7</msg>"), 0);
        api.DeliverDocumentEx(0, name, "<msg>8</msg>", 31);
        EXPECT_EQ(block[0], mine ? 'X' : 0);
    }
    EXPECT_THAT(service.calls,
                ElementsAre("OnMessage VCARD-PC 1 2", "OnGetServiceInfo VCARD-PC", "OnQueryService VCARD-PC",
                            "OnEnableService VCARD-PC 42", "OnGetExtraInfo VCARD-PC",
                            "OnGetContactMenuItem VCARD-PC c1", "OnGetDirectoryItem VCARD-PC",
                            "OnContactCommand VCARD-PC c1", "OnActivate VCARD-PC", "OnDocument VCARD-PC hello 7",
                            "OnDocumentEx VCARD-PC 8 31"));
}

// ---- delivery and sending

// Null texts from the host read as empty.
TEST_F(ServiceBaseTest, DeliveredTextReachesOnMessageWithItsCodeAndSentDocumentsTheHost)
{
    api.DeliverMessage(0, "VCARD-PC", "<msg>3<ps>1</ps></msg>");
    api.DeliverMessage(0, "VCARD-PC", "<other><ps>2</ps></other>");
    api.DeliverMessage(0, "VCARD-PC", "<msg>1<ps>5</ps><typ>");
    api.DeliverMessage(0, "VCARD-PC", "<Root><msg> 12abc</msg></Root>");
    api.DeliverMessage(0, "VCARD-PC", nullptr);
    EXPECT_EQ(api.DeliverDocument("VCARD-PC", nullptr, nullptr), 0);
    api.SetProductName(nullptr);
    EXPECT_THAT(service.calls, ElementsAre("OnMessage VCARD-PC 3 1", "OnMessage VCARD-PC 0 2",
                                           "OnMessage VCARD-PC 1 5", "OnMessage VCARD-PC 12 ",
                                           "OnMessage VCARD-PC 0 ", "OnDocument VCARD-PC  ", "OnProductNameChanged "));

    XmlDocument doc("msg", 2);
    doc.AddChild("typ", 1);
    service.SendDocument(doc);
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0].name, "VCARD-PC");
    EXPECT_EQ(host.sent[0].xml, "<msg>2\n<typ>1</typ>\n</msg>\n");
}

// ---- the host's settings

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

class HostSettingsTest : public ServiceBaseTest {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, HostSettingsKey);
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, HostSettingsKey);
        DeleteFileA((folder + "skin.ini").c_str());
        RemoveDirectoryA(folder.c_str());
    }
    static void SetHostValue(const char* name, const std::string& value)
    {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, HostSettingsKey, name, REG_SZ, value.c_str(),
            static_cast<DWORD>(value.size() + 1));
    }

    std::string folder = [] {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        return std::string(temp) + "vcard-skin-test\\";
    }();
};

// The settings are read once, at the first login after Start.
TEST_F(HostSettingsTest, AppPathAndTheSkinsSoundsAreReadAtTheFirstLoginAfterStart)
{
    SetHostValue("AppPath", "C:\\first");
    SetHostValue("Skin", folder + "skin.ini");
    std::ofstream(folder + "skin.ini") << "[SOUNDS]\r\nAlert=alert.wav\r\nTyping=type.wav\r\n";
    api.Login(&user);
    EXPECT_EQ(service.Settings(), "|||");
    api.Start();
    api.Login(&user);
    std::string read = "C:\\first|" + folder + "alert.wav|" + folder + "|" + folder + "type.wav";
    EXPECT_EQ(service.Settings(), read);
    SetHostValue("AppPath", "C:\\second");
    api.Logout();
    api.Login(&user);
    EXPECT_EQ(service.Settings(), read);
}

} // namespace
