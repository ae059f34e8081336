#pragma once
// The host's operation table, implemented once for any service: lifecycle,
// name screening, what the host hands over; each operation then calls a
// protected hook that the derived service overrides.
#include <string>

#include "frame/ServiceInterface.h"
#include "store/RegKey.h"

class XmlDocument;

// The host may pass null where a text is expected; it reads as empty.
inline std::string HostText(const char* text)
{
    return text ? text : "";
}

enum ServiceState { Created = 0, Started = 1, LoggedIn = 2, LoggedOut = 3 };

class ServiceBase : public ServiceInterface {
public:
    explicit ServiceBase(HostApi* host);
    ServiceBase(const ServiceBase&) = delete;
    ServiceBase& operator=(const ServiceBase&) = delete;

    // ---- the host's operation table
    void* HOSTCALL DeletingDestructor(unsigned int flags) override;
    int HOSTCALL GetStatus() override;
    int HOSTCALL QueryValue() override;
    int HOSTCALL Start() override;
    int HOSTCALL Stop() override;
    int HOSTCALL Login(HostUser* user) override;
    int HOSTCALL Logout() override;
    void HOSTCALL DeliverMessage(int unused, const char* name, const char* xml) override;
    int HOSTCALL HandleEvent(int code, LPARAM param) override;
    int HOSTCALL SetAppearance(HFONT font, COLORREF c1, COLORREF c2, COLORREF c3,
                               COLORREF c4) override;
    int HOSTCALL SetPanelArea(HWND parent, const RECT* rect, HBITMAP background) override;
    int HOSTCALL SetSecondArea(uint32_t parent, const RECT* rect, uint32_t background) override;
    void HOSTCALL Notify() override;
    void HOSTCALL GetServiceInfo(const char* name, void* buffer) override;
    int HOSTCALL QueryService(const char* name) override;
    void HOSTCALL EnableService(const char* name, int flag) override;
    int HOSTCALL GetExtraInfo(const char* name, uint32_t value, void* buffer) override;
    int HOSTCALL GetContactMenuItem(const char* name, HostContact* contact, void* buffer) override;
    int HOSTCALL GetDirectoryItem(const char* name, void* buffer) override;
    void HOSTCALL NotifyValue(int value) override;
    void HOSTCALL SetUser(HostUser* user) override;
    void HOSTCALL ContactCommand(const char* name, HostContact* contact) override;
    void HOSTCALL Activate(const char* name) override;
    int HOSTCALL DeliverDocument(const char* name, const char* text, const char* xml) override;
    void HOSTCALL DeliverDocumentEx(int unused, const char* name, const char* xml,
                                    int value) override;
    void HOSTCALL SetLanguage(int language) override;
    void HOSTCALL SetProductName(const char* productName) override;

protected:
    // ---- hooks, with the defaults a service may keep
    virtual int OnGetStatus() = 0;
    virtual int OnQueryValue() { return 0; }
    virtual int OnStart() { return 0; }
    virtual int OnStop() { return 0; }
    virtual int OnLogin() { return 0; }
    virtual int OnLogout() { return 0; }
    virtual void OnMessage(const std::string& /*name*/, int /*code*/, XmlDocument& /*doc*/) {}
    virtual int OnEvent(int /*code*/, LPARAM /*param*/) { return 0; }
    virtual int OnAppearanceChanged() { return 0; }
    virtual int OnPanelAreaChanged() { return 0; }
    virtual int OnSecondAreaChanged() { return 0; }
    virtual void OnNotify() {}
    virtual void OnGetServiceInfo(const std::string& /*name*/, void* /*buffer*/) {}
    virtual int OnQueryService(const std::string& /*name*/) { return 1; }
    virtual void OnEnableService(const std::string& /*name*/, int /*flag*/) {}
    virtual int OnGetExtraInfo(const std::string& /*name*/, void* /*buffer*/) { return 0; }
    virtual int OnGetContactMenuItem(const std::string& /*name*/, HostContact* /*contact*/,
                                     void* /*buffer*/) { return 0; }
    virtual int OnGetDirectoryItem(const std::string& /*name*/, void* /*buffer*/) { return 0; }
    virtual void OnNotifyValue(int /*value*/) {}
    virtual void OnUserChanged() {}
    virtual void OnContactCommand(const std::string& /*name*/, HostContact* /*contact*/) {}
    virtual void OnActivate(const std::string& /*name*/) {}
    virtual int OnDocument(const std::string& /*name*/, const std::string& /*text*/,
                           XmlDocument& /*doc*/) { return 0; }
    virtual void OnDocumentEx(const std::string& /*name*/, XmlDocument& /*doc*/, int /*value*/) {}
    virtual void OnBeforeStart() {}
    virtual void OnBeforeLogout() {}
    virtual void OnLanguageChanged(int /*language*/) {}
    virtual void OnProductNameChanged() {}
    virtual bool IsMine(const std::string& name) = 0;

public:
    // Declared after the hooks so that the boundary slots and the hooks keep
    // their numbers; deleting through slot 0 reaches the derived service.
    virtual ~ServiceBase();

protected:
    // Serialises the document and hands it to the host under that name.
    void Send(const std::string& name, XmlDocument& doc);

    HostApi* const host;
    int state = Created;
    std::string appPath;
    RegKey settingsKey;
    std::string productName = DefaultProductName;
    HWND panelParent = nullptr;
    RECT panelRect = {};
    HBITMAP panelBackground = nullptr;
    uint32_t secondParent = 0;
    RECT secondRect = {};
    uint32_t secondBackground = 0;
    Appearance appearance;
    std::string alertSound;
    std::string deniedSound;
    std::string typingSound;
    HostUser* user = nullptr;

    static constexpr const char* DefaultProductName = "Quillora";

private:
    void LoadSettings();
    // Screens the name; when it is this service's, reads the text into doc.
    bool ParseFor(const char* name, const char* xml, std::string& service, XmlDocument& doc);
};
