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

    bool IsSelf(const std::string& userName, const std::string& domainName) const
    {
        return userName == user && domainName == domain;
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
        std::error_code inner;
        if (!domains->is_directory(inner))
            continue;
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
            // The owner's own card always exists: a section never published
            // comes back empty at version 0, so that he can fill it in and
            // publish version 1.
            if (viewer.IsSelf(user, domain) && (!card || !card->Section(number).held)) {
                section.AddChild("err", StatusData);
                section.AddChild(NotPublishedTag, 0);
                section.AddChild(VersionTag, 0);
                return;
            }
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
    const Query query{field("n"), field("em"), field("cp"), {field("ci"), field("s"), field("t")}};
    XmlDocument answer("msg", SearchMessage);
    std::size_t found = 0;
    for (auto entry = accounts.begin(); entry != accounts.end() && found < maxResults; ++entry) {
        const CardRecord& card = entry->second.card;
        const Shown shown{viewer.Sees(card, IdentificationSection), viewer.Sees(card, HomeSection),
                          viewer.Sees(card, BusinessSection)};
        if (!shown.identification && !shown.home && !shown.business && !viewer.Sees(card, PhotoSection))
            continue;
        if (Matches(entry->second, shown, query)) {
            AddResult(answer, card, shown);
            ++found;
        }
    }
    return answer.GetXml();
}

bool CardServer::Matches(const Account& account, const Shown& shown, const Query& query)
{
    const Columns& cols = Cols();
    auto has = [](const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; };
    const auto& id = account.folded[0];
    const auto& home = account.folded[1];
    const auto& business = account.folded[2];
    if (!query.name.empty()) {
        bool hit = shown.identification && has(account.foldedFullName, query.name);
        for (int column : cols.names)
            hit = hit || (shown.identification && has(id[column], query.name));
        if (!hit)
            return false;
    }
    if (!query.email.empty()) {
        bool hit = false;
        for (int slot = 0; shown.identification && !hit && slot < MaxEmailSlots; ++slot)
            hit = has(id[cols.firstEmail + slot], query.email);
        if (!hit)
            return false;
    }
    if (!query.company.empty() && !(shown.business && has(business[cols.company], query.company)))
        return false;
    for (std::size_t i = 0; i < query.place.size(); ++i) {
        if (!query.place[i].empty() && !(shown.home && has(home[cols.homePlace[i]], query.place[i])) &&
            !(shown.business && has(business[cols.businessPlace[i]], query.place[i])))
            return false;
    }
    return true;
}

void CardServer::AddResult(XmlDocument& answer, const CardRecord& card, const Shown& shown)
{
    const Columns& cols = Cols();
    XmlNode& person = answer.AddChild("ps", 1);
    person.AddChild("usr", card.user);
    person.AddChild("dom", card.domain);
    const auto& id = card.Section(IdentificationSection).values;
    std::string firstEmail;
    for (int slot = 0; shown.identification && firstEmail.empty() && slot < MaxEmailSlots; ++slot)
        firstEmail = id[cols.firstEmail + slot];
    person.AddChild("n", shown.identification ? FullName(id[cols.first], id[cols.last]) : "");
    person.AddChild("em", firstEmail);
    person.AddChild("cp", shown.business ? card.Section(BusinessSection).values[cols.company] : "");

    const auto& home = card.Section(HomeSection).values;
    bool homeFilled = false;
    for (int column : cols.homePlace)
        homeFilled = homeFilled || (shown.home && !home[column].empty());
    const std::vector<std::string>* where = homeFilled      ? &home
                                            : shown.business ? &card.Section(BusinessSection).values
                                                             : nullptr;
    const std::array<int, 3>& at = homeFilled ? cols.homePlace : cols.businessPlace;
    const char* tags[] = {"ci", "s", "t"};
    for (int i = 0; i < 3; ++i)
        person.AddChild(tags[i], where ? (*where)[at[i]] : "");
}
