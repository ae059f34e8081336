// What the service's windows ask of it: opening and raising windows,
// forgetting closed ones, and the messages sent for them.
#include <climits>

#include "dialogs/CardDialog.h"
#include "dialogs/SearchDialog.h"
#include "frame/CardService.h"
#include "protocol/Messages.h"

namespace {

void ShowOnTop(CWnd& window)
{
    ShowWindow(window.GetSafeHwnd(), SW_SHOW);
    SetWindowPos(window.GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window.GetSafeHwnd());
}

} // namespace

void CardService::OpenOwnCard()
{
    if (user)
        OpenCard(HostText(user->UserName()), HostText(user->Domain()), HostText(user->DisplayName()));
}

void CardService::ProductLabel()
{
    if (host)
        host->Command(ProductLabelClicked, this, nullptr);
}

void CardService::CardClosed(const CardDialog& card)
{
    cardDialogs.Remove(&card);
    openCards.erase(&card);
}

void CardService::RetryCard(const CardDialog& card)
{
    if (openCards.count(&card))
        SendCardRequest(card.GetUser(), card.GetDomain());
}

void CardService::Search(const SearchFields& fields)
{
    if (searchDialog)
        Send(CardServiceName, *SearchRequest(fields));
}

void CardService::AddSearchResult(const std::string& userName, const std::string& domain)
{
    if (host)
        host->Command(AddToContacts, this, CombinedName(userName, domain).c_str());
}

// Only the search dialog the service knows is forgotten: a late close from
// an older one leaves the newer in place.
void CardService::SearchClosed(const SearchDialog& search)
{
    if (&search == searchDialog)
        searchDialog = nullptr;
}

CardDialog* CardService::FindCardDialog(const std::string& userName, const std::string& domain) const
{
    for (int i = 0; i < cardDialogs.Count(); ++i) {
        CardDialog* dialog = cardDialogs.GetAt(i);
        if (dialog->GetUser() == userName && dialog->GetDomain() == domain)
            return dialog;
    }
    return nullptr;
}

CardDialog* CardService::OpenCardDialog(const std::string& userName, const std::string& domain,
                                        const std::string& displayName)
{
    auto* dialog = new CardDialog(this);
    if (!dialog->Create()) {
        delete dialog;
        return nullptr;
    }
    // The dialog wrote its texts as it was made; only another language writes them again.
    if (dialog->GetLanguage() != GetLanguage())
        dialog->SetLanguage(GetLanguage());
    dialog->SetTitleName(productName);
    dialog->SetIdentity(userName, domain, displayName);
    cardDialogs.Append(dialog);
    openCards[dialog] = {};
    return dialog;
}

void CardService::SendCardRequest(const std::string& userName, const std::string& domain, const SectionsToAsk& again)
{
    std::array<int, 4> versions;
    for (int section = IdentificationSection; section <= PhotoSection; ++section)
        versions[section - 1] = again[section - 1] ? NotCached : cache.GetCachedVersion(userName, domain, section);
    Send(CardServiceName, *CardRequest(userName, domain, versions));
}

// The one road to a card: raise the dialog that shows it, or ask the server
// and open a dialog that waits for the answer.
void CardService::OpenCard(const std::string& userName, const std::string& domain, const std::string& displayName)
{
    if (CardDialog* open = FindCardDialog(userName, domain)) {
        ShowOnTop(*open);
        return;
    }
    SendCardRequest(userName, domain);
    if (CardDialog* dialog = OpenCardDialog(userName, domain, displayName))
        ShowOnTop(*dialog);
}

void CardService::OpenSearch()
{
    if (!searchDialog) {
        auto* created = new SearchDialog(this);
        if (!created->Create()) {
            delete created;
            return;
        }
        created->SetLanguage(GetLanguage());
        created->SetTitleName(productName);
        searchDialog = created;
    }
    ShowOnTop(*searchDialog);
}

// A result's card is titled with the name the contact list knows, else the
// combined form.
void CardService::ViewSearchResult(const std::string& userName, const std::string& domain)
{
    std::string displayName = CombinedName(userName, domain);
    HostContactList* contacts = user ? user->Contacts() : nullptr;
    if (HostContact* contact = contacts ? contacts->Find(userName.c_str(), domain.c_str()) : nullptr)
        displayName = HostText(contact->DisplayName());
    OpenCard(userName, domain, displayName);
}

bool CardService::IsOwnAccount(const std::string& userName, const std::string& domain) const
{
    return user && userName == HostText(user->UserName()) && domain == HostText(user->Domain());
}

void CardService::Publish(const CardDialog& dialog, const CardChanges& changes)
{
    const std::string& userName = dialog.GetUser();
    const std::string& domain = dialog.GetDomain();
    auto known = openCards.find(&dialog);
    if (!IsOwnAccount(userName, domain) || known == openCards.end())
        return;
    auto& versions = known->second.versions;
    auto hidden = [&](int section) { return changes.hidden[section - 1]; };
    auto send = [&](const std::unique_ptr<XmlDocument>& doc, auto store) {
        Send(CardServiceName, *doc);
        store(doc->FindChild("typ"));
    };
    auto publish = [&](int section, auto message, auto store) {
        std::optional<int>& version = versions[section - 1];
        if (!version)
            return;
        version = std::min(*version, INT_MAX - 1) + 1;
        send(message(*version), store);
    };

    if (changes.identification)
        publish(IdentificationSection,
                [&](int version) { return PublishIdentification(*changes.identification, hidden(IdentificationSection), version); },
                [&](const XmlNode& typ) { cache.StoreBasic(userName, domain, typ); });
    if (changes.photoFlag)
        send(PublishPhotoFlag(hidden(PhotoSection)),
             [&](const XmlNode& typ) { cache.StorePhoto(userName, domain, typ, true); });
    if (changes.photo)
        publish(PhotoSection, [&](int version) { return PublishPhoto(*changes.photo, hidden(PhotoSection), version); },
                [&](const XmlNode& typ) { cache.StorePhoto(userName, domain, typ, false); });
    if (changes.home)
        publish(HomeSection, [&](int version) { return PublishHome(*changes.home, hidden(HomeSection), version); },
                [&](const XmlNode& typ) { cache.StoreHome(userName, domain, typ); });
    if (changes.business)
        publish(BusinessSection,
                [&](int version) { return PublishBusiness(*changes.business, hidden(BusinessSection), version); },
                [&](const XmlNode& typ) { cache.StoreBusiness(userName, domain, typ); });
}
