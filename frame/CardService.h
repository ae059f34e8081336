#pragma once
// The library's one service, "VCARD-PC": it answers the host's menu
// questions, keeps the local card cache, and owns the service's windows.
#include <array>
#include <map>
#include <optional>

#include "dialogs/DialogOwner.h"
#include "dialogs/LangTable.h"
#include "frame/HostSettings.h"
#include "frame/ServiceBase.h"
#include "platform/Gdi.h"
#include "store/CardCache.h"
#include "support/IndexedList.h"

inline constexpr const char* CardServiceName = "VCARD-PC";
inline constexpr int CardServiceStatus = 20302;

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
    void OpenOwnCard() override;
    void OpenSearch() override;
    void ProductLabel() override;
    // One message per section changed, each with the version after the one
    // last received or sent, and stored right after it is sent. Only the own
    // card's editor publishes, and only sections whose version is known.
    void Publish(const CardDialog& card, const CardChanges& changes) override;
    void CardClosed(const CardDialog& card) override;
    void CardTimedOut(CardDialog& card) override;
    void RetryCard(const CardDialog& card) override;
    void Search(const SearchFields& fields) override;
    void ViewSearchResult(const std::string& user, const std::string& domain) override;
    void AddSearchResult(const std::string& user, const std::string& domain) override;
    void SearchClosed(const SearchDialog& search) override;
    bool IsContact(const std::string& user, const std::string& domain) override;

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

    // What the service knows of an open card's sections, by section number
    // less one: the version last received or sent (none while unknown, so
    // not publishable; the server says -1 for a section it never held), and
    // whether a section whose cached copy could not be loaded was asked for
    // again.
    struct OpenCardState {
        std::array<std::optional<int>, 4> versions;
        std::array<bool, 4> askedAgain{};
    };
    using SectionsToAsk = std::array<bool, 4>;

    void OpenCard(const std::string& user, const std::string& domain, const std::string& displayName);
    // The card request with the cached versions; -1 for the sections in again.
    void SendCardRequest(const std::string& user, const std::string& domain, const SectionsToAsk& again = {});
    bool IsOwnAccount(const std::string& user, const std::string& domain) const;
    // Detaches every window from the service, then destroys it.
    void CloseWindows();
    void BuildPanel();
    void ShowPanel(bool show);
    void PlacePanel(LauncherPanel& shown);

    void HandleCardAnswer(const XmlDocument& doc);
    void HandleSearchAnswer(const XmlDocument& doc);
    void HandleSection(CardDialog& dialog, OpenCardState& known, const XmlNode& section, SectionsToAsk& again);
    void HandlePhoto(CardDialog& dialog, OpenCardState& known, const XmlNode& section, SectionsToAsk& again);
    // A 200 whose cached copy cannot be loaded counts as not received: the
    // section is asked for again, once; the second time it is an error.
    void CachedCopyMissing(CardDialog& dialog, OpenCardState& known, int section, SectionsToAsk& again);
    // The cached copy of a section the card still awaits, only shown: no
    // version is taken from it, so it is never published.
    void ShowSavedCopy(CardDialog& dialog, int section);

    Bitmap cardBitmap;
    Bitmap itemIcon;
    int contactMenuEnabled = 0;
    CardCache cache{settingsKey, appPath, std::string(HostSettingsKey) + "\\Users"};
    // The panel deletes itself with its window, which its parent, the
    // host's window, may destroy at any time: it is found by its handle.
    HWND panelWindow = nullptr;
    SearchDialog* searchDialog = nullptr;
    IndexedList<CardDialog> cardDialogs;
    std::map<const CardDialog*, OpenCardState> openCards;
};
