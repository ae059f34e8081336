// The server's answers: card answers fill the card dialog that asked and
// are cached; search results fill the search dialog.
#include <algorithm>

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

// The version an answer carries; none when it carries none.
std::optional<int> ReceivedVersion(const XmlNode& section)
{
    if (!section.HasChild(VersionTag))
        return std::nullopt;
    return ReadNumber(section.ChildText(VersionTag));
}

} // namespace

// Each person's sections go to the card that shows them; sections whose
// cached copy could not be loaded are asked for again in one request.
void CardService::HandleCardAnswer(const XmlDocument& doc)
{
    WalkChildren(doc, "ps", [&](const XmlNode& person) {
        CardDialog* dialog = FindCardDialog(person.ChildText("usr"), person.ChildText("dom"));
        auto known = openCards.find(dialog);
        if (!dialog || known == openCards.end())
            return;
        SectionsToAsk again{};
        WalkChildren(person, "typ", [&](const XmlNode& section) {
            HandleSection(*dialog, known->second, section, again);
        });
        if (std::find(again.begin(), again.end(), true) != again.end())
            SendCardRequest(dialog->GetUser(), dialog->GetDomain(), again);
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

void CardService::CachedCopyMissing(CardDialog& dialog, OpenCardState& known, int section, SectionsToAsk& again)
{
    if (known.askedAgain[section - 1]) {
        dialog.ShowSectionError(section);
        return;
    }
    known.askedAgain[section - 1] = true;
    again[section - 1] = true;
}

void CardService::CardTimedOut(CardDialog& dialog)
{
    if (!openCards.count(&dialog))
        return;
    for (int section = IdentificationSection; section <= PhotoSection; ++section)
        if (dialog.IsAwaiting(section))
            ShowSavedCopy(dialog, section);
}

void CardService::ShowSavedCopy(CardDialog& dialog, int section)
{
    const std::string& userName = dialog.GetUser();
    const std::string& domain = dialog.GetDomain();
    int hidden = 0;
    bool loaded = cache.GetCachedVersion(userName, domain, section) != NotCached;
    if (loaded && section == IdentificationSection) {
        IdentificationFields fields;
        cache.LoadBasic(userName, domain, fields, hidden);
        dialog.ShowSavedSection(fields);
    } else if (loaded && section == PhotoSection) {
        PhotoFields photo;
        if (cache.LoadPhoto(userName, domain, photo, hidden))
            dialog.ShowSavedSection(photo);
    } else if (loaded) {
        AddressFields fields;
        if (section == HomeSection)
            cache.LoadHome(userName, domain, fields, hidden);
        else
            cache.LoadBusiness(userName, domain, fields, hidden);
        dialog.ShowSavedSection(static_cast<CardSection>(section), fields);
    } else {
        dialog.ShowSectionNotAnswering(section);
    }
}

// 200 loads the cached copy, 201 shows the answer's and stores it, any other
// status shows the error. The version shown is the one a publish follows.
void CardService::HandleSection(CardDialog& dialog, OpenCardState& known, const XmlNode& section, SectionsToAsk& again)
{
    int number = ReadNumber(section.GetText());
    int status = ReadNumber(section.ChildText("err"));
    if (number == PhotoSection) {
        HandlePhoto(dialog, known, section, again);
        return;
    }
    if (number < IdentificationSection || number > BusinessSection)
        return;
    if (status != StatusCurrent && status != StatusData) {
        dialog.ShowSectionError(number);
        return;
    }
    const std::string& userName = dialog.GetUser();
    const std::string& domain = dialog.GetDomain();
    std::optional<int>& version = known.versions[number - 1];
    if (status == StatusCurrent) {
        int cached = cache.GetCachedVersion(userName, domain, number);
        if (cached == NotCached) {
            CachedCopyMissing(dialog, known, number, again);
            return;
        }
        int hidden = 0;
        if (number == IdentificationSection) {
            IdentificationFields fields;
            cache.LoadBasic(userName, domain, fields, hidden);
            dialog.ShowSection(fields, hidden);
        } else {
            AddressFields fields;
            if (number == HomeSection)
                cache.LoadHome(userName, domain, fields, hidden);
            else
                cache.LoadBusiness(userName, domain, fields, hidden);
            dialog.ShowSection(static_cast<CardSection>(number), fields, hidden);
        }
        version = cached;
        return;
    }
    auto text = [&](const std::string& tag) { return section.ChildText(tag); };
    int hidden = ReadNumber(text(NotPublishedTag));
    if (number == IdentificationSection) {
        IdentificationFields fields;
        ReadIdentification(fields, text);
        dialog.ShowSection(fields, hidden);
        cache.StoreBasic(userName, domain, section);
    } else {
        AddressFields fields;
        if (number == HomeSection)
            ReadAddress(fields, HomeTags, text);
        else
            ReadAddress(fields, BusinessTags, text);
        dialog.ShowSection(static_cast<CardSection>(number), fields, hidden);
        if (number == HomeSection)
            cache.StoreHome(userName, domain, section);
        else
            cache.StoreBusiness(userName, domain, section);
    }
    version = ReceivedVersion(section);
}

// The own card becomes the editor once its photo section is handled.
void CardService::HandlePhoto(CardDialog& dialog, OpenCardState& known, const XmlNode& section, SectionsToAsk& again)
{
    const std::string& userName = dialog.GetUser();
    const std::string& domain = dialog.GetDomain();
    int status = ReadNumber(section.ChildText("err"));
    std::optional<int>& version = known.versions[PhotoSection - 1];
    if (status == StatusCurrent) {
        if (section.HasChild(NotPublishedTag))
            cache.StorePhoto(userName, domain, section, true);
        int cached = cache.GetCachedVersion(userName, domain, PhotoSection);
        PhotoFields photo;
        int hidden = 0;
        if (cached == NotCached || !cache.LoadPhoto(userName, domain, photo, hidden)) {
            CachedCopyMissing(dialog, known, PhotoSection, again);
            if (again[PhotoSection - 1])
                return;
        } else {
            dialog.ShowSection(photo, hidden);
            version = cached;
        }
    } else if (status == StatusData) {
        dialog.ShowSection(PhotoFields{section.ChildText("ph")}, ReadNumber(section.ChildText(NotPublishedTag)));
        version = ReceivedVersion(section);
        cache.StorePhoto(userName, domain, section, false);
    } else {
        dialog.ShowSectionError(PhotoSection);
    }
    if (IsOwnAccount(userName, domain))
        dialog.EnableEditing(1);
}
