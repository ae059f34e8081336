#include "protocol/Card.h"

#include <algorithm>
#include <array>

namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

// The length of a leading "http://" or "https://" in any case, else 0.
std::size_t SchemeLength(std::string_view text)
{
    for (std::string_view scheme : {std::string_view("http://"), std::string_view("https://")})
        if (Lower(text.substr(0, scheme.size())) == scheme)
            return scheme.size();
    return 0;
}

// Scheme and host name in lower case; path, query and fragment as they are,
// since most servers tell "/Users/Ann" from "/users/ann".
std::string LowerSchemeAndHost(std::string_view address)
{
    std::size_t hostEnd = std::min(address.find_first_of("/?#", SchemeLength(address)), address.size());
    return Lower(address.substr(0, hostEnd)) + std::string(address.substr(hostEnd));
}

bool IsReservedDeviceName(std::string_view name)
{
    std::string base = Lower(name.substr(0, name.find('.')));
    static const std::array<const char*, 4> plain = {"con", "prn", "aux", "nul"};
    if (std::find(plain.begin(), plain.end(), base) != plain.end())
        return true;
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

} // namespace

SectionNames NamesOf(int section)
{
    switch (section) {
    case IdentificationSection: return {"Basic", "bver"};
    case HomeSection: return {"Home", "hver"};
    case BusinessSection: return {"Business", "buver"};
    case PhotoSection: return {"Photo", "phver"};
    default: return {nullptr, nullptr};
    }
}

const FieldTag<IdentificationFields> IdentificationTags[6] = {
    {"f", &IdentificationFields::first},     {"l", &IdentificationFields::last},
    {"m", &IdentificationFields::middle},    {"p", &IdentificationFields::title},
    {"fn", &IdentificationFields::friendly}, {"nk", &IdentificationFields::nickname},
};

const FieldTag<AddressFields> HomeTags[9] = {
    {"a", &AddressFields::street}, {"ci", &AddressFields::city},  {"s", &AddressFields::state},
    {"z", &AddressFields::zip},    {"t", &AddressFields::country}, {"p", &AddressFields::phone},
    {"x", &AddressFields::fax},    {"m", &AddressFields::mobile}, {"w", &AddressFields::web},
};

const FieldTag<AddressFields> BusinessTags[12] = {
    {"cp", &AddressFields::company}, {"j", &AddressFields::job},     {"d", &AddressFields::department},
    {"a", &AddressFields::street},   {"ci", &AddressFields::city},   {"s", &AddressFields::state},
    {"z", &AddressFields::zip},      {"t", &AddressFields::country}, {"p", &AddressFields::phone},
    {"x", &AddressFields::fax},      {"m", &AddressFields::mobile},  {"w", &AddressFields::web},
};

std::string EmailTag(int slot)
{
    return "e" + std::to_string(slot);
}

std::string WebPageToSend(std::string_view field)
{
    return SchemeLength(field) ? LowerSchemeAndHost(field) : "http://" + std::string(field);
}

std::string WebPageReceived(std::string_view value)
{
    return SchemeLength(value) ? std::string(value) : LowerSchemeAndHost("http://" + std::string(value));
}

std::string CombinedName(std::string_view user, std::string_view domain)
{
    return std::string(user) + "@" + std::string(domain);
}

bool IsSafeAccountName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (char c : name) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    }
    if (name.back() == '.' || name.back() == ' ')
        return false;
    return !IsReservedDeviceName(name);
}
