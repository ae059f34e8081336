#pragma once

// A contact as vCard files carry it, in UTF-8: a writer of vCard 4.0 and a
// reader of the first card of a file in vCard 2.1, 3.0 or 4.0.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct VCardPlace {
    std::string street, city, region, postalCode, country;
    std::string voice, fax, cell, url;

    bool operator==(const VCardPlace&) const = default;
};

struct VCardContact {
    std::string formattedName;
    std::string family, given, additional, prefix;
    std::string nickname;
    std::vector<std::string> emails;  // the first is the preferred one
    VCardPlace home, work;
    std::string organization, unit, jobTitle;
    std::string photo;      // the picture file's bytes
    std::string photoType;  // its media type, "image/jpeg" say
    std::string account;    // user name, "@", domain

    bool operator==(const VCardContact&) const = default;
};

// The property that carries the account.
inline constexpr const char* AccountProperty = "X-VCARD-PC-ACCOUNT";

// The media type of a picture file from its first bytes (JPEG, PNG, GIF,
// BMP, icon); "application/octet-stream" for anything else.
std::string PictureMediaType(std::string_view bytes);

// vCard 4.0: CRLF line ends, lines folded at 75 octets, text escaped; empty
// values are left out, but FN and N are always there.
std::string WriteVCard(const VCardContact& contact);

// The first card of text; empty when text holds no BEGIN:VCARD line. Texts
// come out as well-formed UTF-8 (bytes that are not are read as
// Windows-1252), line breaks as a single line feed; the preferred e-mail
// address comes first. A property without WORK among its types belongs to
// home; of each kind of place the first one counts.
std::optional<VCardContact> ReadVCard(std::string_view text);
