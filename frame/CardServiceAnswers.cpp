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

template <class Page, std::size_t N>
void CardService::HandleAddress(CardDialog& dialog, Page& page, int& hidden, const FieldTag<AddressFields> (&tags)[N],
                                const XmlNode& section, int status, AddressLoader load, SectionStorer store)
{
    if (status == StatusCurrent) {
        (cache.*load)(dialog.GetUser(), dialog.GetDomain(), page.fields, hidden);
    } else if (status == StatusData) {
        ReadAddress(page.fields, tags, [&](const std::string& tag) { return section.ChildText(tag); });
        hidden = ReadNumber(section.ChildText(NotPublishedTag));
    } else {
        page.ShowError();
        return;
    }
    page.UpdateControls();
    page.ShowContent();
    dialog.FocusCurrentPage();
    if (status == StatusData)
        (cache.*store)(dialog.GetUser(), dialog.GetDomain(), section);
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
    switch (number) {
    case IdentificationSection:
        if (status == StatusCurrent) {
            cache.LoadBasic(userName, domain, identification.fields, dialog.identificationHidden);
        } else if (status == StatusData) {
            ReadIdentification(identification.fields, [&](const std::string& tag) { return section.ChildText(tag); });
            dialog.identificationHidden = ReadNumber(section.ChildText(NotPublishedTag));
        } else {
            identification.ShowError();
            return;
        }
        identification.UpdateControls();
        identification.ShowContent();
        dialog.FocusCurrentPage();
        if (status == StatusData)
            cache.StoreBasic(userName, domain, section);
        return;
    case HomeSection:
        HandleAddress(dialog, dialog.Home(), dialog.homeHidden, HomeTags, section, status, &CardCache::LoadHome,
                      &CardCache::StoreHome);
        return;
    case BusinessSection:
        HandleAddress(dialog, dialog.Business(), dialog.businessHidden, BusinessTags, section, status,
                      &CardCache::LoadBusiness, &CardCache::StoreBusiness);
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
