#include "devhost/server/CardServer.h"

#include "protocol/Card.h"
#include "protocol/Number.h"
#include "support/Xml.h"

namespace fs = std::filesystem;

namespace {

std::string Fold(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

std::string FullName(const std::string& first, const std::string& last)
{
    if (first.empty() || last.empty())
        return first + last;
    return first + " " + last;
}

// Positions of the fields that the search reads.
struct Columns {
    int first = TagIndex(IdentificationSection, "f");
    int last = TagIndex(IdentificationSection, "l");
    std::vector<int> names{TagIndex(IdentificationSection, "f"), TagIndex(IdentificationSection, "l"),
                           TagIndex(IdentificationSection, "m"), TagIndex(IdentificationSection, "fn"),
                           TagIndex(IdentificationSection, "nk")};
    int firstEmail = TagIndex(IdentificationSection, EmailTag(0));
    int company = TagIndex(BusinessSection, "cp");
    // City, state and country, in home and in business.
    std::array<int, 3> homePlace{TagIndex(HomeSection, "ci"), TagIndex(HomeSection, "s"),
                                 TagIndex(HomeSection, "t")};
    std::array<int, 3> businessPlace{TagIndex(BusinessSection, "ci"), TagIndex(BusinessSection, "s"),
                                     TagIndex(BusinessSection, "t")};
};

const Columns& Cols()
{
    static const Columns columns;
    return columns;
}

template <class Walk>
void ForEachRepeated(const XmlNode& parent, const std::string& name, Walk walk)
{
    for (const XmlNode* node = &parent.FindChild(name); !node->GetText().empty();
         node = &parent.FindNextChild(name, *node))
        walk(*node);
}

} // namespace

class CardServer::Viewer {
public:
    Viewer(const std::string& userName, const std::string& domainName, const ContactTest& contactTest)
        : user(userName), domain(domainName), isContact(contactTest)
    {
    }

    // Whether the section holds data that this requester may see.
    bool Sees(const CardRecord& card, int number)
    {
        const StoredSection& section = card.Section(number);
        return section.held && (section.notPublished == 0 || Trusted(card));
    }

private:
    bool Trusted(const CardRecord& card)
    {
        if (&card != lastCard) {
            lastCard = &card;
            lastTrusted = (card.user == user && card.domain == domain) ||
                          (isContact && isContact(card.user, card.domain));
        }
        return lastTrusted;
    }

    const std::string& user;
    const std::string& domain;
    const ContactTest& isContact;
    const CardRecord* lastCard = nullptr;
    bool lastTrusted = false;
};

CardServer::CardServer(fs::path dataFolder, std::size_t maxSearchResults)
    : folder(std::move(dataFolder)), maxResults(maxSearchResults)
{
    std::error_code error;
    for (fs::directory_iterator domains(folder, error), end; !error && domains != end; domains.increment(error)) {
        if (!domains->is_directory(error))
            continue;
        std::error_code inner;
        for (fs::directory_iterator files(domains->path(), inner); !inner && files != end; files.increment(inner)) {
            const fs::path& path = files->path();
            if (path.extension() != ".xml")
                continue;
            auto card = ReadCardFile(path);
            if (!card || !IsSafeAccountName(card->user) || !IsSafeAccountName(card->domain) ||
                CardFilePath(folder, card->user, card->domain) != path)
                continue;
            Account& account = accounts[{card->user, card->domain}];
            account.card = std::move(*card);
            Refold(account);
        }
    }
}

const CardRecord* CardServer::Find(const std::string& user, const std::string& domain) const
{
    auto found = accounts.find({user, domain});
    return found == accounts.end() ? nullptr : &found->second.card;
}

std::string CardServer::Handle(const std::string& fromUser, const std::string& fromDomain, const std::string& xml,
                               const ContactTest& isContact)
{
    if (!IsSafeAccountName(fromUser) || !IsSafeAccountName(fromDomain))
        return {};
    XmlDocument message;
    if (!message.Parse(xml) || message.GetRoot().GetName() != "msg")
        return {};
    Viewer viewer(fromUser, fromDomain, isContact);
    switch (ReadNumber(message.GetRoot().GetText())) {
    case CardMessage: return AnswerCardRequest(message, viewer);
    case PublishMessage: Publish(fromUser, fromDomain, message); return {};
    case SearchMessage: return AnswerSearch(message, viewer);
    default: return {};
    }
}

void CardServer::Refold(Account& account)
{
    for (int number = IdentificationSection; number <= BusinessSection; ++number) {
        auto& folded = account.folded[number - 1];
        folded.clear();
        for (const std::string& value : account.card.Section(number).values)
            folded.push_back(Fold(value));
    }
    const auto& identification = account.card.Section(IdentificationSection).values;
    account.foldedFullName = Fold(FullName(identification[Cols().first], identification[Cols().last]));
}

std::string CardServer::AnswerCardRequest(const XmlDocument& request, Viewer& viewer) const
{
    XmlDocument answer("msg", CardMessage);
    bool answered = false;
    ForEachRepeated(request.GetRoot(), "ps", [&](const XmlNode& person) {
        std::string user = person.FindChild("usr").GetText();
        std::string domain = person.FindChild("dom").GetText();
        if (!IsSafeAccountName(user) || !IsSafeAccountName(domain))
            return;
        answered = true;
        const CardRecord* card = Find(user, domain);
        XmlNode& out = answer.AddChild("ps", 1);
        out.AddChild("usr", user);
        out.AddChild("dom", domain);
        ForEachRepeated(person, "typ", [&](const XmlNode& typ) {
            int number = ReadNumber(typ.GetText());
            if (number < IdentificationSection || number > PhotoSection)
                return;
            XmlNode& section = out.AddChild("typ", number);
            if (!card || !viewer.Sees(*card, number)) {
                section.AddChild("err", kStatusNoData);
                return;
            }
            const StoredSection& held = card->Section(number);
            int sent = ReadNumber(typ.FindChild(VersionTag).GetText());
            if (sent != NotCached && sent == held.version) {
                section.AddChild("err", StatusCurrent);
                if (number == PhotoSection)
                    section.AddChild(NotPublishedTag, held.notPublished);
                return;
            }
            section.AddChild("err", StatusData);
            const auto& tags = SectionTags(number);
            for (std::size_t i = 0; i < tags.size(); ++i) {
                bool emailSlot = number == IdentificationSection && static_cast<int>(i) >= Cols().firstEmail;
                if (!emailSlot || !held.values[i].empty())
                    section.AddChild(tags[i], held.values[i]);
            }
            section.AddChild(NotPublishedTag, held.notPublished);
            section.AddChild(VersionTag, held.version);
        });
    });
    return answered ? answer.GetXml() : std::string();
}

void CardServer::Publish(const std::string& user, const std::string& domain, const XmlDocument& message)
{
    auto [entry, created] = accounts.try_emplace({user, domain});
    Account& account = entry->second;
    if (created)
        account.card = CardRecord(user, domain);
    bool changed = false;
    ForEachRepeated(message.GetRoot(), "typ", [&](const XmlNode& typ) {
        int number = ReadNumber(typ.GetText());
        if (number < IdentificationSection || number > PhotoSection)
            return;
        StoredSection& section = account.card.Section(number);
        section.notPublished = ReadNumber(typ.FindChild(NotPublishedTag).GetText()) != 0 ? 1 : 0;
        changed = true;
        bool flagOnly = number == PhotoSection && !typ.HasChild("ph") && !typ.HasChild(VersionTag);
        if (flagOnly)
            return;
        section.held = true;
        section.version = ReadNumber(typ.FindChild(VersionTag).GetText());
        const auto& tags = SectionTags(number);
        for (std::size_t i = 0; i < tags.size(); ++i)
            section.values[i] = typ.FindChild(tags[i]).GetText();
    });
    if (!changed) {
        if (created)
            accounts.erase(entry);
        return;
    }
    Refold(account);
    lastWriteOk = WriteCardFile(folder, account.card);
}

std::string CardServer::AnswerSearch(const XmlDocument& request, Viewer& viewer) const
{
    auto field = [&request](const char* tag) { return Fold(request.FindChild(tag).GetText()); };
    const std::string name = field("n"), email = field("em"), company = field("cp");
    const std::array<std::string, 3> place{field("ci"), field("s"), field("t")};
    const Columns& cols = Cols();
    auto has = [](const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    };

    XmlDocument answer("msg", SearchMessage);
    std::size_t found = 0;
    for (const auto& [key, account] : accounts) {
        if (found >= maxResults)
            break;
        const CardRecord& card = account.card;
        bool identification = viewer.Sees(card, IdentificationSection);
        bool home = viewer.Sees(card, HomeSection);
        bool business = viewer.Sees(card, BusinessSection);
        if (!identification && !home && !business && !viewer.Sees(card, PhotoSection))
            continue;
        const auto& id = account.folded[0];
        if (!name.empty()) {
            bool hit = identification && has(account.foldedFullName, name);
            for (int column : cols.names)
                hit = hit || (identification && has(id[column], name));
            if (!hit)
                continue;
        }
        if (!email.empty()) {
            bool hit = false;
            for (int slot = 0; identification && !hit && slot < MaxEmailSlots; ++slot)
                hit = has(id[cols.firstEmail + slot], email);
            if (!hit)
                continue;
        }
        if (!company.empty() && !(business && has(account.folded[2][cols.company], company)))
            continue;
        bool placeMatches = true;
        for (std::size_t i = 0; placeMatches && i < place.size(); ++i) {
            placeMatches = place[i].empty() || (home && has(account.folded[1][cols.homePlace[i]], place[i])) ||
                           (business && has(account.folded[2][cols.businessPlace[i]], place[i]));
        }
        if (!placeMatches)
            continue;

        ++found;
        XmlNode& person = answer.AddChild("ps", 1);
        person.AddChild("usr", card.user);
        person.AddChild("dom", card.domain);
        const auto& ident = card.Section(IdentificationSection).values;
        std::string firstEmail;
        for (int slot = 0; identification && firstEmail.empty() && slot < MaxEmailSlots; ++slot)
            firstEmail = ident[cols.firstEmail + slot];
        person.AddChild("n", identification ? FullName(ident[cols.first], ident[cols.last]) : "");
        person.AddChild("em", firstEmail);
        person.AddChild("cp", business ? card.Section(BusinessSection).values[cols.company] : "");
        // The home place when it is shown and filled in, else the business one.
        const auto& homeValues = card.Section(HomeSection).values;
        bool homeFilled = home && (!homeValues[cols.homePlace[0]].empty() || !homeValues[cols.homePlace[1]].empty() ||
                                   !homeValues[cols.homePlace[2]].empty());
        const std::vector<std::string>* where = homeFilled ? &homeValues
                                                : business ? &card.Section(BusinessSection).values
                                                           : nullptr;
        const std::array<int, 3>& at = homeFilled ? cols.homePlace : cols.businessPlace;
        person.AddChild("ci", where ? (*where)[at[0]] : "");
        person.AddChild("s", where ? (*where)[at[1]] : "");
        person.AddChild("t", where ? (*where)[at[2]] : "");
    }
    return answer.GetXml();
}
