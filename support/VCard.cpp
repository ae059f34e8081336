#include "support/VCard.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "support/Base64.h"
#include "support/CodePage.h"

namespace {

constexpr std::size_t FoldOctets = 75;

std::string Upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool SameWord(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && Upper(a) == Upper(b);
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Lower case, and only the characters a media type may hold.
std::string MediaType(std::string_view text)
{
    std::string out;
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || std::string_view("!#$&^_.+-/").find(c) != std::string_view::npos)
            out += static_cast<char>(std::tolower(u));
    }
    return out;
}

// ---- writing ----

std::string Escape(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case ',': out += "\\,"; break;
        case ';': out += "\\;"; break;
        case '\n': out += "\\n"; break;
        case '\r': break;
        default: out += c;
        }
    }
    return out;
}

// One content line, folded at 75 octets without cutting a UTF-8 sequence.
void Line(std::string& out, std::string_view name, std::string_view value)
{
    std::string line = std::string(name) + ":" + std::string(value);
    std::size_t at = 0;
    std::size_t room = FoldOctets;
    while (line.size() - at > room) {
        std::size_t cut = at + room;
        while (cut > at && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        if (cut == at)
            cut = at + room;
        out.append(line, at, cut - at).append("\r\n ");
        at = cut;
        room = FoldOctets - 1;
    }
    out.append(line, at, std::string::npos).append("\r\n");
}

void Component(std::string& value, std::string_view text, bool first = false)
{
    if (!first)
        value += ';';
    value += Escape(text);
}

void WritePlace(std::string& out, const VCardPlace& place, const char* type)
{
    std::string typed = std::string(";TYPE=") + type;
    if (!(place.street + place.city + place.region + place.postalCode + place.country).empty()) {
        std::string value = ";";
        for (const std::string* part : {&place.street, &place.city, &place.region, &place.postalCode, &place.country})
            Component(value, *part);
        Line(out, "ADR" + typed, value);
    }
    const std::pair<const std::string*, const char*> phones[] = {
        {&place.voice, ",voice"}, {&place.fax, ",fax"}, {&place.cell, ",cell"}};
    for (const auto& [number, kind] : phones)
        if (!number->empty())
            Line(out, "TEL" + typed + kind, Escape(*number));
    if (!place.url.empty())
        Line(out, "URL" + typed, Escape(place.url));
}

// ---- reading ----

struct Property {
    std::string name;  // upper case, group removed
    std::vector<std::string> types;  // upper case, from TYPE and 2.1's bare parameters
    std::string encoding, charset;
    int pref = 101;
    bool uri = false;
    std::string value;
};

bool IsEncodingWord(std::string_view word)
{
    for (const char* known : {"QUOTED-PRINTABLE", "BASE64", "B", "8BIT", "7BIT"})
        if (word == known)
            return true;
    return false;
}

void AddTypes(Property& property, std::string_view list)
{
    std::size_t start = 0;
    for (std::size_t at = 0; at <= list.size(); ++at)
        if (at == list.size() || list[at] == ',') {
            std::string word = Upper(Trim(list.substr(start, at - start)));
            if (word == "PREF")
                property.pref = std::min(property.pref, 1);
            if (!word.empty())
                property.types.push_back(word);
            start = at + 1;
        }
}

int ReadNumber(std::string_view text)
{
    int number = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || number > 1000)
            break;
        number = number * 10 + (c - '0');
    }
    return number;
}

void AddParameter(Property& property, std::string_view text)
{
    std::string plain;
    for (char c : text)
        if (c != '"')
            plain += c;
    std::size_t equals = plain.find('=');
    if (equals == std::string::npos) {
        std::string word = Upper(Trim(plain));
        if (IsEncodingWord(word))
            property.encoding = word;
        else
            AddTypes(property, word);
        return;
    }
    std::string name = Upper(Trim(std::string_view(plain).substr(0, equals)));
    std::string_view value = Trim(std::string_view(plain).substr(equals + 1));
    if (name == "TYPE") {
        AddTypes(property, value);
    } else if (name == "ENCODING") {
        property.encoding = Upper(value);
    } else if (name == "CHARSET") {
        property.charset = Upper(value);
    } else if (name == "PREF") {
        property.pref = std::min(property.pref, ReadNumber(value));
    } else if (name == "VALUE") {
        property.uri = SameWord(value, "uri");
    }
}

// name[;param...]:value, with quoted parameter values; false without a colon.
bool ParseProperty(std::string_view line, Property& property)
{
    std::size_t at = 0;
    while (at < line.size() && line[at] != ';' && line[at] != ':')
        ++at;
    if (at == line.size())
        return false;
    std::string_view name = line.substr(0, at);
    if (std::size_t dot = name.rfind('.'); dot != std::string_view::npos)
        name.remove_prefix(dot + 1);
    property.name = Upper(Trim(name));
    while (line[at] == ';') {
        std::size_t start = ++at;
        bool quoted = false;
        while (at < line.size() && (quoted || (line[at] != ';' && line[at] != ':'))) {
            if (line[at] == '"')
                quoted = !quoted;
            ++at;
        }
        if (at == line.size())
            return false;
        AddParameter(property, line.substr(start, at - start));
    }
    property.value = line.substr(at + 1);
    return true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string QuotedPrintable(std::string_view text)
{
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        int high = text[at] == '=' && at + 2 < text.size() ? HexDigit(text[at + 1]) : -1;
        int low = high >= 0 ? HexDigit(text[at + 2]) : -1;
        if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            at += 2;
        } else {
            out += text[at];
        }
    }
    return out;
}

// The value's bytes, its transfer encoding undone.
std::string Bytes(const Property& property)
{
    if (property.encoding == "QUOTED-PRINTABLE")
        return QuotedPrintable(property.value);
    if (property.encoding == "B" || property.encoding == "BASE64")
        return Base64Decode(property.value);
    return property.value;
}

std::string Utf8(const std::string& bytes, const std::string& charset)
{
    bool singleByte = charset.find("1252") != std::string::npos || charset.find("8859-1") != std::string::npos
        || charset == "LATIN1" || charset == "US-ASCII" || charset == "ASCII";
    return singleByte || !IsUtf8(bytes) ? Utf8FromCp1252(bytes) : bytes;
}

// Line breaks as a single line feed.
std::string Lines(std::string text)
{
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r') {
            out += '\n';
            if (at + 1 < text.size() && text[at + 1] == '\n')
                ++at;
        } else {
            out += text[at];
        }
    }
    return out;
}

// The components of a value split at its unescaped semicolons, each
// unescaped; 2.1 escapes only the semicolon.
std::vector<std::string> Components(const Property& property, bool v21, bool compound)
{
    std::string text = Utf8(Bytes(property), property.charset);
    std::vector<std::string> parts(1);
    for (std::size_t at = 0; at < text.size(); ++at) {
        char c = text[at];
        if (c == ';' && compound) {
            parts.emplace_back();
        } else if (c == '\\' && at + 1 < text.size()) {
            char next = text[at + 1];
            if (next == ';' && (compound || !v21)) {
                parts.back() += ';';
                ++at;
            } else if (!v21 && (next == '\\' || next == ',')) {
                parts.back() += next;
                ++at;
            } else if (!v21 && (next == 'n' || next == 'N')) {
                parts.back() += '\n';
                ++at;
            } else {
                parts.back() += c;
            }
        } else {
            parts.back() += c;
        }
    }
    for (std::string& part : parts)
        part = Lines(std::move(part));
    return parts;
}

bool HasType(const Property& property, std::string_view type)
{
    return std::find(property.types.begin(), property.types.end(), type) != property.types.end();
}

std::string MediaTypeOfWord(const std::string& word)
{
    if (word.find('/') != std::string::npos)
        return MediaType(word);
    if (word == "JPEG" || word == "JPG")
        return "image/jpeg";
    return MediaType("image/" + word);
}

void ReadPhoto(const Property& property, VCardContact& contact)
{
    std::string bytes, type;
    std::string_view value = property.value;
    if (value.size() >= 5 && SameWord(value.substr(0, 5), "data:")) {
        std::size_t comma = value.find(',');
        std::string_view header = value.substr(5, comma == std::string_view::npos ? 0 : comma - 5);
        const std::string_view marker = ";base64";
        if (comma == std::string_view::npos || header.size() < marker.size()
            || !SameWord(header.substr(header.size() - marker.size()), marker))
            return;
        type = MediaType(header.substr(0, header.size() - marker.size()));
        bytes = Base64Decode(value.substr(comma + 1));
    } else if (property.encoding == "B" || property.encoding == "BASE64") {
        bytes = Base64Decode(value);
        for (const std::string& word : property.types)
            if (word != "PREF" && type.empty())
                type = MediaTypeOfWord(word);
    }
    if (bytes.empty())
        return;
    contact.photo = std::move(bytes);
    contact.photoType = std::move(type);
}

bool PlaceHasAddress(const VCardPlace& place)
{
    return !(place.street + place.city + place.region + place.postalCode + place.country).empty();
}

struct Reader {
    bool v21 = false;
    VCardContact contact;
    std::vector<std::pair<int, std::string>> emails;
    bool named = false;

    std::string Text(const Property& property) { return Components(property, v21, false)[0]; }
    // The components of a compound value, at least count of them.
    std::vector<std::string> Parts(const Property& property, std::size_t count)
    {
        auto parts = Components(property, v21, true);
        parts.resize(std::max(parts.size(), count));
        return parts;
    }

    void SetOnce(std::string& field, std::string value)
    {
        if (field.empty())
            field = std::move(value);
    }

    void Take(const Property& p)
    {
        VCardPlace& place = HasType(p, "WORK") ? contact.work : contact.home;
        if (p.name == "FN") {
            SetOnce(contact.formattedName, Text(p));
        } else if (p.name == "N" && !named) {
            named = true;
            auto parts = Parts(p, 4);
            contact.family = parts[0];
            contact.given = parts[1];
            contact.additional = parts[2];
            contact.prefix = parts[3];
        } else if (p.name == "NICKNAME") {
            SetOnce(contact.nickname, Text(p));
        } else if (p.name == "EMAIL") {
            if (std::string address = Text(p); !address.empty())
                emails.emplace_back(p.pref, std::move(address));
        } else if (p.name == "ADR" && !PlaceHasAddress(place)) {
            auto parts = Parts(p, 7);
            place.street = parts[2];
            place.city = parts[3];
            place.region = parts[4];
            place.postalCode = parts[5];
            place.country = parts[6];
        } else if (p.name == "TEL") {
            std::string number = Text(p);
            if (p.uri && number.size() >= 4 && SameWord(number.substr(0, 4), "tel:"))
                number.erase(0, 4);
            SetOnce(HasType(p, "FAX") ? place.fax : HasType(p, "CELL") ? place.cell : place.voice, number);
        } else if (p.name == "URL") {
            SetOnce(place.url, Text(p));
        } else if (p.name == "ORG" && contact.organization.empty() && contact.unit.empty()) {
            auto parts = Parts(p, 2);
            contact.organization = parts[0];
            contact.unit = parts[1];
        } else if (p.name == "TITLE") {
            SetOnce(contact.jobTitle, Text(p));
        } else if (p.name == "PHOTO" && contact.photo.empty()) {
            ReadPhoto(p, contact);
        } else if (p.name == AccountProperty) {
            SetOnce(contact.account, Text(p));
        }
    }

    VCardContact Finish()
    {
        std::stable_sort(emails.begin(), emails.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& email : emails)
            contact.emails.push_back(std::move(email.second));
        return std::move(contact);
    }
};

// Physical lines without their line ends.
std::vector<std::string_view> PhysicalLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= text.size(); ++at)
        if (at == text.size() || text[at] == '\n') {
            std::string_view line = text.substr(start, at - start);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (at < text.size() || !line.empty())
                lines.push_back(line);
            start = at + 1;
        }
    return lines;
}

bool IsQuotedPrintable(std::string_view line)
{
    return Upper(line.substr(0, line.find(':'))).find("QUOTED-PRINTABLE") != std::string::npos;
}

// Folded lines joined: a line that begins with a blank continues the one
// before (2.1 keeps the blank); a quoted-printable line ending in "=" goes
// on in the next line.
std::vector<std::string> LogicalLines(const std::vector<std::string_view>& physical, bool v21)
{
    std::vector<std::string> lines;
    bool softBreak = false;
    for (std::string_view line : physical) {
        bool folded = !line.empty() && (line[0] == ' ' || line[0] == '\t');
        if (!lines.empty() && (softBreak || folded)) {
            lines.back() += softBreak || v21 ? line : line.substr(1);
        } else {
            lines.emplace_back(line);
        }
        std::string& last = lines.back();
        softBreak = !last.empty() && last.back() == '=' && IsQuotedPrintable(last);
        if (softBreak)
            last.pop_back();
    }
    return lines;
}

bool IsMarker(const Property& property, const char* name)
{
    return property.name == name && SameWord(Trim(property.value), "VCARD");
}

} // namespace

std::string PictureMediaType(std::string_view bytes)
{
    const std::pair<std::string_view, const char*> signatures[] = {{"\xFF\xD8\xFF", "image/jpeg"},
        {"\x89PNG", "image/png"}, {"GIF8", "image/gif"}, {"BM", "image/bmp"},
        {std::string_view("\0\0\1\0", 4), "image/vnd.microsoft.icon"}};
    for (const auto& [signature, type] : signatures)
        if (bytes.substr(0, signature.size()) == signature)
            return type;
    return "application/octet-stream";
}

std::string WriteVCard(const VCardContact& contact)
{
    std::string out;
    Line(out, "BEGIN", "VCARD");
    Line(out, "VERSION", "4.0");
    Line(out, "FN", Escape(contact.formattedName));
    std::string name;
    Component(name, contact.family, true);
    for (const std::string* part : {&contact.given, &contact.additional, &contact.prefix})
        Component(name, *part);
    Line(out, "N", name + ";");
    if (!contact.nickname.empty())
        Line(out, "NICKNAME", Escape(contact.nickname));
    bool first = true;
    for (const std::string& email : contact.emails) {
        if (email.empty())
            continue;
        Line(out, first ? "EMAIL;PREF=1" : "EMAIL", Escape(email));
        first = false;
    }
    WritePlace(out, contact.home, "home");
    WritePlace(out, contact.work, "work");
    if (!contact.organization.empty() || !contact.unit.empty()) {
        std::string org;
        Component(org, contact.organization, true);
        if (!contact.unit.empty())
            Component(org, contact.unit);
        Line(out, "ORG", org);
    }
    if (!contact.jobTitle.empty())
        Line(out, "TITLE", Escape(contact.jobTitle));
    if (!contact.photo.empty())
        Line(out, "PHOTO", "data:" + MediaType(contact.photoType) + ";base64," + Base64Encode(contact.photo, false));
    if (!contact.account.empty())
        Line(out, AccountProperty, Escape(contact.account));
    Line(out, "END", "VCARD");
    return out;
}

std::optional<VCardContact> ReadVCard(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    auto physical = PhysicalLines(text);
    bool v21 = false;
    for (std::string_view line : physical)
        if (Upper(Trim(line)) == "VERSION:2.1")
            v21 = true;
    Reader reader;
    reader.v21 = v21;
    int depth = 0;
    for (const std::string& line : LogicalLines(physical, v21)) {
        Property property;
        if (!ParseProperty(line, property))
            continue;
        if (IsMarker(property, "BEGIN")) {
            ++depth;
        } else if (depth > 0 && IsMarker(property, "END")) {
            if (--depth == 0)
                return reader.Finish();
        } else if (depth == 1) {
            reader.Take(property);
        }
    }
    if (depth == 0)
        return std::nullopt;
    return reader.Finish();
}
