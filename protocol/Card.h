#pragma once
// The card: its sections, the tags under which their fields travel and are
// cached, the numbers of the card messages, and the rules that bring fields
// to and from their travelling form.
#include <string>
#include <string_view>
#include <vector>

enum CardSection { IdentificationSection = 1, HomeSection = 2, BusinessSection = 3, PhotoSection = 4 };

enum MessageCode { CardMessage = 1, PublishMessage = 2, SearchMessage = 3 };

enum SectionStatus { StatusCurrent = 200, StatusData = 201 };

inline constexpr const char* NotPublishedTag = "c";
inline constexpr const char* VersionTag = "ver";
inline constexpr int NotCached = -1;
inline constexpr int MaxEmailSlots = 10;  // readers take "e0" to "e9"

// The names under which the cache keeps a section and its version.
struct SectionNames {
    const char* key;
    const char* version;
};
// Names of sections 1 to 4; null key for any other number.
SectionNames NamesOf(int section);

struct IdentificationFields {
    std::string first, last, middle, title, friendly, nickname;
    std::vector<std::string> emails;

    bool operator==(const IdentificationFields&) const = default;
};

// Home and business share their tags and fields; home leaves company, job
// and department unused.
struct AddressFields {
    std::string company, job, department, street, city, state, zip, country, phone, fax, mobile, web;

    bool operator==(const AddressFields&) const = default;
};

struct PhotoFields {
    std::string picture;  // Base64 text of the picture file; empty: no picture
};

template <class Fields>
struct FieldTag {
    const char* tag;
    std::string Fields::*field;
};

// The identification fields but the e-mail list, in travelling order.
extern const FieldTag<IdentificationFields> IdentificationTags[6];
// The home fields, in travelling order.
extern const FieldTag<AddressFields> HomeTags[9];
// The business fields, in travelling order.
extern const FieldTag<AddressFields> BusinessTags[12];

// "e" followed by the slot number.
std::string EmailTag(int slot);

// The addresses of slots "e0" to "e9" in slot order, empty slots skipped;
// read gives the text of one tag.
template <class Read>
std::vector<std::string> ReadEmailSlots(Read read)
{
    std::vector<std::string> emails;
    for (int slot = 0; slot < MaxEmailSlots; ++slot)
        if (std::string email = read(EmailTag(slot)); !email.empty())
            emails.push_back(email);
    return emails;
}

// The web page as it is sent: "http://" before a field that begins with
// neither "http://" nor "https://" (in any case); a field that does keeps its
// scheme, with scheme and host name in lower case.
std::string WebPageToSend(std::string_view field);
// The web page as it is shown after a card answer or a cache load: kept when
// it begins with "http://" or "https://" in any case, else "http://" and the
// value with its host name in lower case.
std::string WebPageReceived(std::string_view value);

// The identification fields, e-mail slots included, from read(tag).
template <class Read>
void ReadIdentification(IdentificationFields& fields, Read read)
{
    for (const auto& entry : IdentificationTags)
        fields.*entry.field = read(entry.tag);
    fields.emails = ReadEmailSlots(read);
}

// The fields of a home or business table from read(tag), the web page in the
// form in which it is shown.
template <std::size_t N, class Read>
void ReadAddress(AddressFields& fields, const FieldTag<AddressFields> (&tags)[N], Read read)
{
    for (const auto& entry : tags)
        fields.*entry.field = read(entry.tag);
    fields.web = WebPageReceived(fields.web);
}

// User name, "@", domain.
std::string CombinedName(std::string_view user, std::string_view domain);

// Whether a user name or domain from the server is a safe single path
// component (for a file name and a registry key): not empty, not "." or
// "..", no \ / : * ? " < > | or control character, not ending in a dot or a
// space, and no reserved device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9),
// with or without an extension.
bool IsSafeAccountName(std::string_view name);
