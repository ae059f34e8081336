#pragma once
// The library's one service, "VCARD-PC": it answers the host's menu
// questions, keeps the local card cache, and owns the service's windows.
#include "dialogs/DialogOwner.h"
#include "dialogs/LangTable.h"
#include "frame/HostSettings.h"
#include "frame/ServiceBase.h"
#include "platform/Gdi.h"
#include "protocol/RequestKind.h"
#include "store/CardCache.h"
#include "support/IndexedList.h"

inline constexpr const char* CardServiceName = "VCARD-PC";
inline constexpr int CardServiceStatus = 20302;

class CWnd;
class CardDialog;
class LauncherPanel;
class SearchDialog;
class XmlDocument;
class XmlNode;

class CardService : public ServiceBase, public LangTable, public DialogOwner {
public:
    explicit CardService(HostApi* host);
    ~CardService() override;

    // ---- what the service's windows ask of it
    bool IsContact(const std::string& user, const std::string& domain) override;
    void Request(int kind, CWnd* dialog) override;

    // The first open card dialog of that account, or null.
    CardDialog* FindCardDialog(const std::string& user, const std::string& domain) const;
    // A new hidden card dialog, listed; null when its window cannot be made.
    CardDialog* OpenCardDialog(const std::string& user, const std::string& domain, const std::string& displayName);
    int CardDialogCount() const { return cardDialogs.Count(); }
    SearchDialog* GetSearchDialog() const { return searchDialog; }
    // The panel while its window exists, else null.
    LauncherPanel* GetPanel() const;

    CardCache& Cache() { return cache; }

protected:
    int OnGetStatus() override;
    int OnStart() override;
    int OnLogout() override;
    int OnEvent(int code, LPARAM param) override;
    int OnPanelAreaChanged() override;
    void OnActivate(const std::string& name) override;
    void OnMessage(const std::string& name, int code, XmlDocument& doc) override;
    void OnContactCommand(const std::string& name, HostContact* contact) override;
    void OnGetServiceInfo(const std::string& name, void* buffer) override;
    void OnEnableService(const std::string& name, int flag) override;
    int OnGetExtraInfo(const std::string& name, void* buffer) override;
    int OnGetContactMenuItem(const std::string& name, HostContact* contact, void* buffer) override;
    int OnGetDirectoryItem(const std::string& name, void* buffer) override;
    void OnLanguageChanged(int language) override;
    void OnProductNameChanged() override;
    bool IsMine(const std::string& name) override;

private:
    enum Text { ViewCardText = 1, DirectoryServiceText = 2 };

    void OpenCard(const std::string& user, const std::string& domain, const std::string& displayName);
    void SendCardRequest(const std::string& user, const std::string& domain);
    void Publish(CardDialog& dialog);
    bool IsOwnAccount(const std::string& user, const std::string& domain) const;
    void CloseWindows();
    void OpenSearch();
    void ViewSearchResult();
    void BuildPanel();
    void ShowPanel(bool show);
    void PlacePanel(LauncherPanel& shown);

    void HandleCardAnswer(const XmlDocument& doc);
    void HandleSearchAnswer(const XmlDocument& doc);
    void HandleSection(CardDialog& dialog, const XmlNode& section, int number, int status);

    Bitmap cardBitmap;
    Bitmap itemIcon;
    int contactMenuEnabled = 0;
    CardCache cache{settingsKey, appPath, std::string(HostSettingsKey) + "\\Users"};
    // The panel deletes itself with its window, which its parent, the
    // host's window, may destroy at any time: it is found by its handle.
    HWND panelWindow = nullptr;
    SearchDialog* searchDialog = nullptr;
    IndexedList<CardDialog> cardDialogs;
};
