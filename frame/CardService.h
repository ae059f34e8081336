#pragma once
// The library's one service, "VCARD-PC": it answers the host's menu
// questions, keeps the local card cache, and owns the service's windows.
#include "dialogs/LangTable.h"
#include "frame/ServiceBase.h"
#include "protocol/RequestKind.h"
#include "store/CardCache.h"

inline constexpr const char* CardServiceName = "VCARD-PC";
inline constexpr int CardServiceStatus = 20302;

class CWnd;

class CardService : public ServiceBase, public LangTable {
public:
    explicit CardService(HostApi* host);
    ~CardService() override;

    // Whether the signed-in user's contact list holds that account.
    bool IsContact(const std::string& user, const std::string& domain);

    // Entry of the service's windows; kinds outside RequestKind do nothing.
    void Request(int kind, CWnd* dialog);

    int GetContactMenuEnabled() const { return contactMenuEnabled; }
    HBITMAP GetItemIcon() const { return itemIcon; }
    CardCache& Cache() { return cache; }

protected:
    int OnGetStatus() override;
    int OnStart() override;
    int OnLogout() override;
    void OnGetServiceInfo(const std::string& name, void* buffer) override;
    void OnEnableService(const std::string& name, int flag) override;
    int OnGetExtraInfo(const std::string& name, void* buffer) override;
    int OnGetContactMenuItem(const std::string& name, HostContact* contact, void* buffer) override;
    int OnGetDirectoryItem(const std::string& name, void* buffer) override;
    void OnLanguageChanged(int language) override;
    bool IsMine(const std::string& name) override;

private:
    enum Text { ViewCardText = 1, DirectoryServiceText = 2 };

    HBITMAP cardBitmap = nullptr;
    HBITMAP itemIcon = nullptr;
    int contactMenuEnabled = 0;
    CardCache cache{settingsKey, appPath};
};
