// The server's answers: card answers fill the card dialog that asked and
// are cached; search results fill the search dialog.
#include "dialogs/CardDialog.h"
#include "dialogs/SearchDialog.h"
#include "frame/CardService.h"
#include "protocol/Number.h"
#include "support/Xml.h"

namespace {

// Walks the children of one name until one is missing or has an empty text.
template <class Parent, class Visit>
void WalkChildren(const Parent& parent, const std::string& name, Visit visit)
{
    for (const XmlNode* child = &parent.FindChild(name); !child->GetText().empty();
         child = &parent.FindNextChild(name, *child))
        visit(*child);
}

// A section of fields: 200 loads the cached copy, 201 fills the page from
// the answer and is stored once shown, any other status shows the error.
template <class Page, class Load, class Read, class Store>
void ShowSection(CardDialog& dialog, Page& page, int& hidden, const XmlNode& section, int status, Load load, Read read,
                 Store store)
{
    if (status == StatusCurrent) {
        load(page.fields, hidden);
    } else if (status == StatusData) {
        read(page.fields);
        hidden = ReadNumber(section.ChildText(NotPublishedTag));
    } else {
        page.ShowError();
        return;
    }
    page.UpdateControls();
    page.ShowContent();
    dialog.FocusCurrentPage();
    if (status == StatusData)
        store();
}

} // namespace

void CardService::HandleCardAnswer(const XmlDocument& doc)
{
    WalkChildren(doc, "ps", [&](const XmlNode& person) {
        if (CardDialog* dialog = FindCardDialog(person.ChildText("usr"), person.ChildText("dom"))) {
            WalkChildren(person, "typ", [&](const XmlNode& section) {
                HandleSection(*dialog, section, ReadNumber(section.GetText()), ReadNumber(section.ChildText("err")));
            });
            dialog->ShowHiddenFlags();
        }
    });
}

// The results are listed in the order of the message, each at the top.
void CardService::HandleSearchAnswer(const XmlDocument& doc)
{
    if (!searchDialog)
        return;
    searchDialog->SearchFinished();
    WalkChildren(doc, "ps", [&](const XmlNode& person) {
        searchDialog->AddResult(person.ChildText("usr"), person.ChildText("dom"), person.ChildText("n"),
                                person.ChildText("em"), person.ChildText("cp"), person.ChildText("ci"),
                                person.ChildText("s"), person.ChildText("t"));
    });
}

void CardService::HandleSection(CardDialog& dialog, const XmlNode& section, int number, int status)
{
    const std::string& userName = dialog.GetUser();
    const std::string& domain = dialog.GetDomain();
    IdentificationPage& identification = dialog.Identification();
    auto text = [&](const std::string& tag) { return section.ChildText(tag); };
    switch (number) {
    case IdentificationSection:
        ShowSection(
            dialog, identification, dialog.identificationHidden, section, status,
            [&](IdentificationFields& fields, int& hidden) { cache.LoadBasic(userName, domain, fields, hidden); },
            [&](IdentificationFields& fields) { ReadIdentification(fields, text); },
            [&] { cache.StoreBasic(userName, domain, section); });
        return;
    case HomeSection:
        ShowSection(
            dialog, dialog.Home(), dialog.homeHidden, section, status,
            [&](AddressFields& fields, int& hidden) { cache.LoadHome(userName, domain, fields, hidden); },
            [&](AddressFields& fields) { ReadAddress(fields, HomeTags, text); },
            [&] { cache.StoreHome(userName, domain, section); });
        return;
    case BusinessSection:
        ShowSection(
            dialog, dialog.Business(), dialog.businessHidden, section, status,
            [&](AddressFields& fields, int& hidden) { cache.LoadBusiness(userName, domain, fields, hidden); },
            [&](AddressFields& fields) { ReadAddress(fields, BusinessTags, text); },
            [&] { cache.StoreBusiness(userName, domain, section); });
        return;
    case PhotoSection:
        if (status == StatusCurrent) {
            if (section.HasChild(NotPublishedTag))
                cache.StorePhoto(userName, domain, section, true);
            PhotoFields photo;
            if (cache.LoadPhoto(userName, domain, photo, dialog.photoHidden))
                identification.SetPhotoData(photo.picture);
        } else if (status == StatusData) {
            identification.SetPhotoData(section.ChildText("ph"));
            dialog.photoHidden = ReadNumber(section.ChildText(NotPublishedTag));
            cache.StorePhoto(userName, domain, section, false);
        }
        if (IsOwnAccount(userName, domain)) {
            dialog.EnableEditing(1);
            if (DirectoryPage* directory = dialog.Directory())
                directory->ShowContent();
            dialog.FocusCurrentPage();
        }
        return;
    default:
        return;
    }
}
