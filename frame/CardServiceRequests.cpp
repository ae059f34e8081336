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

void CardService::Request(int kind, CWnd* dialog)
{
    switch (static_cast<RequestKind>(kind)) {
    case RequestKind::OpenOwnCard:
        if (user)
            OpenCard(HostText(user->UserName()), HostText(user->Domain()), HostText(user->DisplayName()));
        break;
    case RequestKind::OpenSearch:
        OpenSearch();
        break;
    case RequestKind::SearchClosed:
        searchDialog = nullptr;
        break;
    case RequestKind::Search:
        if (searchDialog)
            Send(CardServiceName, *SearchRequest(searchDialog->Fields()));
        break;
    case RequestKind::ViewSearchResult:
        ViewSearchResult();
        break;
    case RequestKind::AddSearchResult:
        if (searchDialog && host)
            host->Command(AddToContacts, this,
                          CombinedName(searchDialog->SelectedUser(), searchDialog->SelectedDomain()).c_str());
        break;
    case RequestKind::CardClosed:
        cardDialogs.Remove(static_cast<CardDialog*>(dialog));
        break;
    case RequestKind::Publish:
        if (dialog)
            Publish(*static_cast<CardDialog*>(dialog));
        break;
    case RequestKind::ProductLabel:
        if (host)
            host->Command(ProductLabelClicked, this, nullptr);
        break;
    default:
        break;
    }
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
    dialog->SetLanguage(GetLanguage());
    dialog->SetTitle(productName);
    dialog->SetIdentity(userName, domain, displayName);
    cardDialogs.Append(dialog);
    return dialog;
}

void CardService::SendCardRequest(const std::string& userName, const std::string& domain)
{
    std::array<int, 4> versions;
    for (int section = IdentificationSection; section <= PhotoSection; ++section)
        versions[section - 1] = cache.GetCachedVersion(userName, domain, section);
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
        created->SetTitle(productName);
        searchDialog = created;
    }
    ShowOnTop(*searchDialog);
}

// A result's card is titled with the name the contact list knows, else the
// combined form.
void CardService::ViewSearchResult()
{
    if (!searchDialog)
        return;
    std::string userName = searchDialog->SelectedUser();
    std::string domain = searchDialog->SelectedDomain();
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

// One message per changed section of the own card, each stored right after
// it is sent. A dialog that never became the editor has no boxes to read and
// publishes nothing.
void CardService::Publish(CardDialog& dialog)
{
    const std::string& userName = dialog.GetUser();
    const std::string& domain = dialog.GetDomain();
    DirectoryPage* directory = dialog.Directory();
    if (!IsOwnAccount(userName, domain) || !directory)
        return;
    auto hidden = [&](int section) { return directory->IsPublished(section) ? 0 : 1; };
    auto nextVersion = [&](int section) { return std::min(cache.GetCachedVersion(userName, domain, section), INT_MAX - 1) + 1; };
    auto send = [&](std::unique_ptr<XmlDocument> doc, auto store) {
        Send(CardServiceName, *doc);
        store(doc->FindChild("typ"));
    };

    IdentificationPage& identification = dialog.Identification();
    if (identification.identificationChanged)
        send(PublishIdentification(identification.fields, hidden(IdentificationSection), nextVersion(IdentificationSection)),
             [&](const XmlNode& typ) { cache.StoreBasic(userName, domain, typ); });
    if (identification.pictureFlagChanged)
        send(PublishPhotoFlag(hidden(PhotoSection)),
             [&](const XmlNode& typ) { cache.StorePhoto(userName, domain, typ, true); });
    if (identification.pictureChanged)
        send(PublishPhoto(PhotoFields{identification.pictureText}, hidden(PhotoSection), nextVersion(PhotoSection)),
             [&](const XmlNode& typ) { cache.StorePhoto(userName, domain, typ, false); });
    if (dialog.Home().changed)
        send(PublishHome(dialog.Home().fields, hidden(HomeSection), nextVersion(HomeSection)),
             [&](const XmlNode& typ) { cache.StoreHome(userName, domain, typ); });
    if (dialog.Business().changed)
        send(PublishBusiness(dialog.Business().fields, hidden(BusinessSection), nextVersion(BusinessSection)),
             [&](const XmlNode& typ) { cache.StoreBusiness(userName, domain, typ); });
}
