#include "protocol/VCardMapping.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace {

enum Place { Home, Work };

bool Has(const std::vector<std::string>& types, std::string_view word)
{
    return std::find(types.begin(), types.end(), word) != types.end();
}

// Joins the texts that are there.
std::string Joined(std::initializer_list<const std::string*> parts, std::string_view separator)
{
    std::string joined;
    for (const std::string* part : parts)
        if (!part->empty())
            joined += (joined.empty() ? "" : std::string(separator)) + *part;
    return joined;
}

std::string JoinedNames(const IdentificationFields& fields)
{
    return Joined({&fields.title, &fields.first, &fields.middle, &fields.last}, " ");
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// ---- card to vCard ----

void AddPlace(VCardContact& contact, const AddressFields& fields, const char* kind)
{
    if (!Joined({&fields.street, &fields.city, &fields.state, &fields.zip, &fields.country}, "").empty())
        contact.addresses.push_back(
            {{kind}, 0, "", "", fields.street, fields.city, fields.state, fields.zip, fields.country});
    const std::pair<const std::string*, const char*> phones[] = {
        {&fields.phone, "voice"}, {&fields.fax, "fax"}, {&fields.mobile, "cell"}};
    for (const auto& [number, use] : phones)
        if (!number->empty())
            contact.phones.push_back({{kind, use}, 0, *number});
    if (!fields.web.empty() && WebPageToSend(fields.web) != "http://")
        contact.urls.push_back({{kind}, 0, fields.web});
}

// ---- vCard to card ----

// Which place an untyped address, phone or web page belongs to: work on a
// card that names work and never home, else home.
class Places {
public:
    explicit Places(const VCardContact& contact)
    {
        bool home = false, work = false;
        auto look = [&](const std::vector<std::string>& types) {
            home = home || Has(types, "home");
            work = work || Has(types, "work");
        };
        for (const auto& address : contact.addresses)
            look(address.types);
        for (const auto& phone : contact.phones)
            look(phone.types);
        for (const auto& url : contact.urls)
            look(url.types);
        untyped = work && !home ? Work : Home;
    }

    Place Of(const std::vector<std::string>& types) const
    {
        return Has(types, "work") ? Work : Has(types, "home") ? Home : untyped;
    }

private:
    Place untyped = Home;
};

// Smaller is better: the preference, then an explicit place, then position.
using Rank = std::tuple<int, int, int, std::size_t>;

Rank RankOf(int kind, int pref, const std::vector<std::string>& types, std::size_t position)
{
    bool explicitPlace = Has(types, "home") || Has(types, "work");
    return {kind, pref == 0 ? 101 : pref, explicitPlace ? 0 : 1, position};
}

// The index of the best candidate of each slot; -1 for none.
template <std::size_t Slots>
struct Choice {
    std::ptrdiff_t index[Slots];
    Rank rank[Slots];

    Choice() { std::fill(std::begin(index), std::end(index), -1); }
    void Offer(std::size_t slot, std::size_t candidate, const Rank& candidateRank)
    {
        if (index[slot] < 0 || candidateRank < rank[slot]) {
            index[slot] = static_cast<std::ptrdiff_t>(candidate);
            rank[slot] = candidateRank;
        }
    }
    bool Taken(std::size_t candidate) const
    {
        return std::find(std::begin(index), std::end(index), static_cast<std::ptrdiff_t>(candidate)) != std::end(index);
    }
};

AddressFields& FieldsOf(CardContact& card, Place place)
{
    return place == Work ? card.business : card.home;
}

std::string TypeList(const std::vector<std::string>& types)
{
    std::string list;
    for (const std::string& type : types)
        list += (list.empty() ? "" : ", ") + type;
    return list.empty() ? "" : " (" + list + ")";
}

void TakeAddresses(const VCardContact& contact, const Places& places, CardImport& import)
{
    Choice<2> choice;
    for (std::size_t i = 0; i < contact.addresses.size(); ++i) {
        const VCardAddress& address = contact.addresses[i];
        choice.Offer(places.Of(address.types), i, RankOf(0, address.pref, address.types, i));
    }
    for (std::size_t i = 0; i < contact.addresses.size(); ++i) {
        const VCardAddress& a = contact.addresses[i];
        std::string street = Joined({&a.street, &a.extended, &a.poBox}, "\n");
        if (!choice.Taken(i)) {
            std::string line = Joined({&street, &a.city, &a.region, &a.postalCode, &a.country}, ", ");
            std::replace(line.begin(), line.end(), '\n', ' ');
            import.leftOut.push_back({LeftOut::Address, line + TypeList(a.types)});
            continue;
        }
        AddressFields& fields = FieldsOf(import.card, places.Of(a.types));
        fields.street = street;
        fields.city = a.city;
        fields.state = a.region;
        fields.zip = a.postalCode;
        fields.country = a.country;
    }
}

// Phone, fax and mobile of each place. A fax or mobile number fills only its
// own field; a voice or untyped number is the phone before any other kind
// (pager, video, text...).
void TakePhones(const VCardContact& contact, const Places& places, CardImport& import)
{
    enum Slot { Voice, Fax, Cell };
    static constexpr std::string_view NotKinds[] = {"home", "work", "pref", "internet", "voice"};
    Choice<6> choice;
    for (std::size_t i = 0; i < contact.phones.size(); ++i) {
        const VCardPhone& phone = contact.phones[i];
        Slot slot = Has(phone.types, "fax") ? Fax : Has(phone.types, "cell") ? Cell : Voice;
        bool otherKind = !Has(phone.types, "voice") && std::any_of(phone.types.begin(), phone.types.end(),
            [](const std::string& type) { return std::find(std::begin(NotKinds), std::end(NotKinds), type) == std::end(NotKinds); });
        choice.Offer(places.Of(phone.types) * 3 + slot, i, RankOf(slot == Voice && otherKind, phone.pref, phone.types, i));
    }
    std::string AddressFields::*const fields[] = {&AddressFields::phone, &AddressFields::fax, &AddressFields::mobile};
    for (std::size_t slot = 0; slot < 6; ++slot)
        if (choice.index[slot] >= 0)
            FieldsOf(import.card, slot < 3 ? Home : Work).*fields[slot % 3] =
                contact.phones[static_cast<std::size_t>(choice.index[slot])].number;
    for (std::size_t i = 0; i < contact.phones.size(); ++i) {
        const VCardPhone& phone = contact.phones[i];
        bool kept = false;
        for (std::ptrdiff_t taken : choice.index)
            kept = kept || (taken >= 0 && contact.phones[static_cast<std::size_t>(taken)].number == phone.number);
        if (!kept)
            import.leftOut.push_back({LeftOut::Phone, phone.number + TypeList(phone.types)});
    }
}

void TakeWebPages(const VCardContact& contact, const Places& places, CardImport& import)
{
    Choice<2> choice;
    for (std::size_t i = 0; i < contact.urls.size(); ++i)
        choice.Offer(places.Of(contact.urls[i].types), i, RankOf(0, contact.urls[i].pref, contact.urls[i].types, i));
    for (std::size_t i = 0; i < contact.urls.size(); ++i) {
        if (choice.Taken(i))
            FieldsOf(import.card, places.Of(contact.urls[i].types)).web = contact.urls[i].address;
        else
            import.leftOut.push_back({LeftOut::WebPage, contact.urls[i].address});
    }
}

void TakeEmails(const VCardContact& contact, CardImport& import)
{
    std::vector<std::string> seen;
    for (const std::string& email : contact.emails) {
        std::size_t at = email.find('@');
        if (at == std::string::npos || at < 1 || at + 2 > email.size()) {
            import.leftOut.push_back({LeftOut::Email, email});
            continue;
        }
        if (std::find(seen.begin(), seen.end(), Lower(email)) != seen.end())
            continue;
        seen.push_back(Lower(email));
        if (import.card.identification.emails.size() == static_cast<std::size_t>(MaxEmailSlots))
            import.moreThanTenEmails = true;
        else
            import.card.identification.emails.push_back(email);
    }
}

} // namespace

VCardContact VCardOfCard(const CardContact& card, std::string_view displayName)
{
    const IdentificationFields& id = card.identification;
    VCardContact contact;
    contact.formattedName = !id.friendly.empty() ? id.friendly : JoinedNames(id);
    if (contact.formattedName.empty())
        contact.formattedName = displayName;
    contact.family = id.last;
    contact.given = id.first;
    contact.additional = id.middle;
    contact.prefix = id.title;
    contact.nickname = id.nickname;
    contact.emails = id.emails;
    AddPlace(contact, card.home, "home");
    AddPlace(contact, card.business, "work");
    if (!card.business.company.empty() || !card.business.department.empty())
        contact.organization = {card.business.company};
    if (!card.business.department.empty())
        contact.organization.push_back(card.business.department);
    contact.jobTitle = card.business.job;
    contact.photo = card.photo;
    contact.photoType = card.photo.empty() ? "" : PictureMediaType(card.photo);
    contact.account = card.account;
    return contact;
}

CardImport CardOfVCard(const VCardContact& contact)
{
    CardImport import;
    IdentificationFields& id = import.card.identification;
    id.title = contact.prefix;
    id.first = contact.given;
    id.middle = contact.additional;
    id.last = Joined({&contact.family, &contact.suffix}, " ");
    id.nickname = contact.nickname;
    id.friendly = contact.formattedName == JoinedNames(id) ? "" : contact.formattedName;
    TakeEmails(contact, import);
    Places places(contact);
    TakeAddresses(contact, places, import);
    TakePhones(contact, places, import);
    TakeWebPages(contact, places, import);
    for (AddressFields* fields : {&import.card.home, &import.card.business})
        fields->web = WebPageReceived(fields->web);
    if (!contact.organization.empty())
        import.card.business.company = contact.organization[0];
    for (std::size_t unit = 1; unit < contact.organization.size(); ++unit)
        if (!contact.organization[unit].empty())
            import.card.business.department += (import.card.business.department.empty() ? "" : ", ")
                + contact.organization[unit];
    import.card.business.job = contact.jobTitle;
    import.card.photo = contact.photo;
    if (contact.photo.empty() && !contact.photoAddress.empty())
        import.leftOut.push_back({LeftOut::PhotoAddress, contact.photoAddress});
    return import;
}
