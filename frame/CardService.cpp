#include "frame/CardService.h"

#include "frame/ItemDescriptions.h"
#include "platform/ModuleContext.h"
#include "resources/resource.h"

namespace {

uint32_t HandleValue(HBITMAP bitmap)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(bitmap));
}

bool OffersCardService(HostContact* contact)
{
    ContactServices* services = contact ? contact->Services() : nullptr;
    return services && services->Has(CardServiceName);
}

} // namespace

CardService::CardService(HostApi* hostApi)
    : ServiceBase(hostApi), LangTable(LangTexts::cardService, LangTexts::cardServiceCount) {}

CardService::~CardService()
{
    if (cardBitmap)
        DeleteObject(cardBitmap);
    if (itemIcon)
        DeleteObject(itemIcon);
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
        cardBitmap = LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_PRODUCT_LOGO));
    if (!itemIcon)
        itemIcon = LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_ITEM));
    return 0;
}

int CardService::OnLogout()
{
    contactMenuEnabled = 0;
    return 0;
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
}

bool CardService::IsContact(const std::string& userName, const std::string& domain)
{
    HostContactList* contacts = user ? user->Contacts() : nullptr;
    return contacts && contacts->Find(userName.c_str(), domain.c_str()) != nullptr;
}

void CardService::Request(int kind, CWnd*)
{
    switch (static_cast<RequestKind>(kind)) {
    case RequestKind::ProductLabel:
        if (host)
            host->Command(12, this, nullptr);
        break;
    default:
        break;
    }
}
