#include "frame/ServiceBase.h"

#include "platform/ModuleContext.h"
#include "platform/WinApp.h"

ServiceBase::ServiceBase(HostApi* hostApi) : host(hostApi) {}

ServiceBase::~ServiceBase() = default;

void* ServiceBase::DeletingDestructor(unsigned int flags)
{
    return AtBoundary<void*>(nullptr, [&]() -> void* {
        if (flags & 1) {
            delete this;
            return nullptr;
        }
        this->~ServiceBase();
        return this;
    });
}

int ServiceBase::GetStatus()
{
    return AtBoundary(0, [&] { return OnGetStatus(); });
}

int ServiceBase::QueryValue()
{
    return AtBoundary(0, [&] { return OnQueryValue(); });
}

int ServiceBase::Start()
{
    return AtBoundary(-1, [&] {
        if (state != Created)
            return 0;
        OnBeforeStart();
        if (OnStart() != 0)
            return -1;
        state = Started;
        return 0;
    });
}

int ServiceBase::Stop()
{
    return AtBoundary(0, [&] {
        OnStop();
        state = Created;
        return 0;
    });
}

int ServiceBase::Login(HostUser* newUser)
{
    return AtBoundary(-1, [&] {
        user = newUser;
        if (state != Started)
            return 0;
        LoadSettings();
        if (OnLogin() != 0)
            return -1;
        state = LoggedIn;
        return 0;
    });
}

int ServiceBase::Logout()
{
    return AtBoundary(0, [&] {
        if (user)
            OnBeforeLogout();
        OnLogout();
        state = LoggedOut;
        panelParent = nullptr;
        panelBackground = nullptr;
        secondParent = 0;
        secondBackground = 0;
        appearance.font = nullptr;
        productName = DefaultProductName;
        return 0;
    });
}

int ServiceBase::HandleEvent(int code, LPARAM param)
{
    return AtBoundary(0, [&] {
        if (code != 15)
            return OnEvent(code, param);
        MSG* msg = reinterpret_cast<MSG*>(param);
        return msg ? static_cast<int>(CWinApp::Instance().PreTranslateMessage(msg)) : 0;
    });
}

int ServiceBase::SetAppearance(HFONT font, COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4)
{
    return AtBoundary(0, [&] {
        appearance = Appearance{font, {c1, c2, c3, c4}};
        OnAppearanceChanged();
        return 0;
    });
}

int ServiceBase::SetPanelArea(HWND parent, const RECT* rect, HBITMAP background)
{
    return AtBoundary(0, [&] {
        panelParent = parent;
        if (rect)
            panelRect = *rect;
        panelBackground = background;
        OnPanelAreaChanged();
        return 0;
    });
}

int ServiceBase::SetSecondArea(uint32_t parent, const RECT* rect, uint32_t background)
{
    return AtBoundary(0, [&] {
        secondParent = parent;
        if (rect)
            secondRect = *rect;
        secondBackground = background;
        OnSecondAreaChanged();
        return 0;
    });
}

void ServiceBase::Notify()
{
    AtBoundary([&] { OnNotify(); });
}

void ServiceBase::GetServiceInfo(const char* name, void* buffer)
{
    AtBoundary([&] {
        if (std::string service = HostText(name); IsMine(service))
            OnGetServiceInfo(service, buffer);
    });
}

int ServiceBase::QueryService(const char* name)
{
    return AtBoundary(0, [&] {
        std::string service = HostText(name);
        return IsMine(service) ? OnQueryService(service) : 0;
    });
}

void ServiceBase::EnableService(const char* name, int flag)
{
    AtBoundary([&] {
        if (std::string service = HostText(name); IsMine(service))
            OnEnableService(service, flag);
    });
}

int ServiceBase::GetExtraInfo(const char* name, uint32_t, void* buffer)
{
    return AtBoundary(0, [&] {
        std::string service = HostText(name);
        return IsMine(service) ? OnGetExtraInfo(service, buffer) : 0;
    });
}

int ServiceBase::GetContactMenuItem(const char* name, HostContact* contact, void* buffer)
{
    return AtBoundary(0, [&] {
        std::string service = HostText(name);
        return IsMine(service) ? OnGetContactMenuItem(service, contact, buffer) : 0;
    });
}

int ServiceBase::GetDirectoryItem(const char* name, void* buffer)
{
    return AtBoundary(0, [&] {
        std::string service = HostText(name);
        return IsMine(service) ? OnGetDirectoryItem(service, buffer) : 0;
    });
}

void ServiceBase::NotifyValue(int value)
{
    AtBoundary([&] { OnNotifyValue(value); });
}

void ServiceBase::SetUser(HostUser* newUser)
{
    AtBoundary([&] {
        user = newUser;
        OnUserChanged();
    });
}

void ServiceBase::ContactCommand(const char* name, HostContact* contact)
{
    AtBoundary([&] {
        if (std::string service = HostText(name); IsMine(service))
            OnContactCommand(service, contact);
    });
}

void ServiceBase::Activate(const char* name)
{
    AtBoundary([&] {
        if (std::string service = HostText(name); IsMine(service))
            OnActivate(service);
    });
}

void ServiceBase::SetLanguage(int language)
{
    AtBoundary([&] { OnLanguageChanged(language); });
}

void ServiceBase::SetProductName(const char* name)
{
    AtBoundary([&] {
        productName = HostText(name);
        OnProductNameChanged();
    });
}
