#pragma once

// A contact as vCard files carry it, in UTF-8: a writer of vCard 4.0 and a
// reader of the first card of a file in vCard 2.1, 3.0 or 4.0. Addresses,
// phones and web pages keep their types and preference; choosing among
// them is the card's business.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Types are lower-case words; pref 1 to 100 (1 the most preferred), 0 none.
struct VCardAddress {
    std::vector<std::string> types;
    int pref = 0;
    std::string poBox, extended, street, city, region, postalCode, country;

    bool operator==(const VCardAddress&) const = default;
};

struct VCardPhone {
    std::vector<std::string> types;
    int pref = 0;
    std::string number;

    bool operator==(const VCardPhone&) const = default;
};

struct VCardUrl {
    std::vector<std::string> types;
    int pref = 0;
    std::string address;

    bool operator==(const VCardUrl&) const = default;
};

struct VCardContact {
    std::string formattedName;
    std::string family, given, additional, prefix, suffix;
    std::string nickname;
    std::vector<std::string> emails;  // the first is the preferred one
    std::vector<VCardAddress> addresses;
    std::vector<VCardPhone> phones;
    std::vector<VCardUrl> urls;
    std::vector<std::string> organization;  // the name, then its units
    std::string jobTitle;
    std::string photo;      // the picture file's bytes
    std::string photoType;  // its media type, "image/jpeg" say
    std::string photoAddress;  // a PHOTO that names a picture elsewhere
    std::string account;    // user name, "@", domain

    bool operator==(const VCardContact&) const = default;
};

// The property that carries the account.
inline constexpr const char* AccountProperty = "X-VCARD-PC-ACCOUNT";

// A logical line longer than this is cut there.
inline constexpr std::size_t MaxVCardLine = 2 << 20;

// The media type of a picture file from its first bytes (JPEG, PNG, GIF,
// BMP, icon); "application/octet-stream" for anything else.
std::string PictureMediaType(std::string_view bytes);

// vCard 4.0: CRLF line ends, lines folded at 75 octets, text escaped; empty
// values are left out, but FN and N are always there.
std::string WriteVCard(const VCardContact& contact);

// Bytes in a character set (its name in upper case) as UTF-8; empty when the
// set is unknown.
using CharsetDecoder = std::function<std::optional<std::string>(const std::string& charset, std::string_view bytes)>;

// The Windows code page of a character set name in upper case (the
// Windows-125x and ISO-8859 families, KOI8-R and KOI8-U); 0 for others.
int CodePageOfCharset(std::string_view charset);

// What a reading found besides the contact.
struct VCardNotes {
    bool ended = false;            // the card's END line was there
    bool photoUnreadable = false;  // a PHOTO whose picture could not be read
};

// The first card of text, read by the VERSION among its own lines; empty
// when text holds no BEGIN:VCARD line. Texts come out as well-formed UTF-8,
// line breaks as a single line feed. UTF-8, Windows-1252, ISO-8859-1 and
// ASCII are read here (bytes that are not UTF-8 where no set is named as
// Windows-1252), other character sets through decode; where nobody reads a
// set, its bytes beyond ASCII become U+FFFD. Text in UTF-16 with a byte-order
// mark is read too. The preferred e-mail address comes first.
std::optional<VCardContact> ReadVCard(std::string_view text, const CharsetDecoder& decode = {},
    VCardNotes* notes = nullptr);
