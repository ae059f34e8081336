#include "frame/CardService.h"

#include <iterator>
#include <utility>

#include "dialogs/CardDialog.h"
#include "dialogs/SearchDialog.h"
#include "frame/LauncherPanel.h"

#include "frame/ItemDescriptions.h"
#include "platform/ModuleContext.h"
#include "resources/resource.h"

namespace {

uint32_t HandleValue(HBITMAP bitmap)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(bitmap));
}

// Its texts: the host's menu entries.
const char* const Texts[] = {
    DefaultProductName,
    "Ver Tarjeta Virtual", "Servicio de Directorio",
    "View Virtual Card", "Directory Service",
};

bool OffersCardService(HostContact* contact)
{
    ContactServices* services = contact ? contact->Services() : nullptr;
    return services && services->Has(CardServiceName);
}

} // namespace

CardService::CardService(HostApi* hostApi)
    : ServiceBase(hostApi), LangTable(Texts, static_cast<int>(std::size(Texts) / 2)) {}

// Windows go before the code they run may be unloaded.
CardService::~CardService()
{
    CloseWindows();
}

int CardService::OnGetStatus()
{
    return CardServiceStatus;
}

bool CardService::IsMine(const std::string& name)
{
    return name == CardServiceName;
}

int CardService::OnStart()
{
    if (!cardBitmap)
        cardBitmap.Reset(LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_PRODUCT_LOGO)));
    if (!itemIcon)
        itemIcon.Reset(LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_ITEM)));
    return 0;
}

int CardService::OnLogout()
{
    CloseWindows();
    contactMenuEnabled = 0;
    return 0;
}

// A window may outlive its destruction for a while, when it ends inside one
// of its own messages (a file chooser or a message box of its own): it is
// forgotten and detached first, so it never calls the service again.
void CardService::CloseWindows()
{
    while (cardDialogs.Count() > 0) {
        CardDialog* first = cardDialogs.GetAt(0);
        cardDialogs.RemoveAt(0);
        first->DetachOwner();
        DestroyWindow(first->GetSafeHwnd());
    }
    openCards.clear();
    if (LauncherPanel* shown = GetPanel()) {
        shown->DetachOwner();
        DestroyWindow(shown->GetSafeHwnd());
    }
    panelWindow = nullptr;
    if (SearchDialog* search = std::exchange(searchDialog, nullptr)) {
        search->DetachOwner();
        DestroyWindow(search->GetSafeHwnd());
    }
}

void CardService::OnMessage(const std::string&, int code, XmlDocument& doc)
{
    if (code == CardMessage)
        HandleCardAnswer(doc);
    else if (code == SearchMessage)
        HandleSearchAnswer(doc);
}

LauncherPanel* CardService::GetPanel() const
{
    return panelWindow ? static_cast<LauncherPanel*>(CWnd::FromHandlePermanent(panelWindow)) : nullptr;
}

void CardService::OnActivate(const std::string&)
{
    if (host && host->Command(MayBuildPanel, this, nullptr) != 0)
        BuildPanel();
}

void CardService::BuildPanel()
{
    if (!GetPanel()) {
        auto* created = new LauncherPanel(this);
        if (!created->Create(panelParent)) {
            delete created;
            return;
        }
        panelWindow = created->GetSafeHwnd();
        PlacePanel(*created);
        created->ApplySkin(appearance.font, appearance.colors[0], appearance.colors[1], appearance.colors[2],
                           appearance.colors[3], panelBackground, panelRect);
        created->SetLanguage(GetLanguage());
    }
    ShowPanel(true);
}

void CardService::PlacePanel(LauncherPanel& shown)
{
    SetWindowPos(shown.GetSafeHwnd(), nullptr, 0, 0, panelRect.right - panelRect.left,
                 panelRect.bottom - panelRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CardService::ShowPanel(bool show)
{
    LauncherPanel* shown = GetPanel();
    if (!shown)
        return;
    if (show) {
        ShowWindow(shown->GetSafeHwnd(), SW_SHOW);
        return;
    }
    ShowWindow(shown->GetSafeHwnd(), SW_HIDE);
    DestroyWindow(shown->GetSafeHwnd());
    panelWindow = nullptr;
}

int CardService::OnEvent(int code, LPARAM)
{
    if (code == 3)
        ShowPanel(false);
    return 0;
}

int CardService::OnPanelAreaChanged()
{
    if (LauncherPanel* shown = GetPanel()) {
        shown->UpdateSkin(appearance.font, appearance.colors[0], appearance.colors[1], appearance.colors[2],
                          appearance.colors[3], panelBackground, panelRect);
        PlacePanel(*shown);
    }
    return 0;
}

void CardService::OnContactCommand(const std::string&, HostContact* contact)
{
    if (OffersCardService(contact))
        OpenCard(HostText(contact->UserName()), HostText(contact->Domain()), HostText(contact->DisplayName()));
}

void CardService::OnGetServiceInfo(const std::string&, void* buffer)
{
    if (buffer)
        FillServiceInfo(buffer, GetText(DirectoryServiceText), GetText(ViewCardText));
}

void CardService::OnEnableService(const std::string& name, int flag)
{
    if (name == CardServiceName)
        contactMenuEnabled = flag;
}

// Before any user is known there is no value to give: the block stays as it is.
int CardService::OnGetExtraInfo(const std::string&, void* buffer)
{
    if (!user || !buffer)
        return 0;
    FillExtraInfo(buffer, user->ExtraValue());
    return 1;
}

int CardService::OnGetContactMenuItem(const std::string& name, HostContact* contact, void* buffer)
{
    if (!buffer || !contactMenuEnabled || name != CardServiceName || !OffersCardService(contact))
        return 0;
    FillContactMenuItem(buffer, HandleValue(itemIcon), GetText(ViewCardText));
    return 1;
}

int CardService::OnGetDirectoryItem(const std::string&, void* buffer)
{
    if (!buffer)
        return 0;
    FillDirectoryItem(buffer, HandleValue(itemIcon), GetText(DirectoryServiceText));
    return 1;
}

void CardService::OnLanguageChanged(int newLanguage)
{
    LangTable::SetLanguage(newLanguage);
    for (int i = 0; i < cardDialogs.Count(); ++i)
        cardDialogs.GetAt(i)->SetLanguage(GetLanguage());
    if (LauncherPanel* shown = GetPanel())
        shown->SetLanguage(GetLanguage());
    if (searchDialog)
        searchDialog->SetLanguage(GetLanguage());
}

void CardService::OnProductNameChanged()
{
    for (int i = 0; i < cardDialogs.Count(); ++i)
        cardDialogs.GetAt(i)->SetTitleName(productName);
    if (searchDialog)
        searchDialog->SetTitleName(productName);
}

bool CardService::IsContact(const std::string& userName, const std::string& domain)
{
    HostContactList* contacts = user ? user->Contacts() : nullptr;
    return contacts && contacts->Find(userName.c_str(), domain.c_str()) != nullptr;
}
