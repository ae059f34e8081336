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

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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

void WriteTyped(std::string& out, const char* name, const std::vector<std::string>& types, int pref,
    std::string_view value)
{
    std::string head = name;
    for (std::size_t i = 0; i < types.size(); ++i)
        head += (i == 0 ? ";TYPE=" : ",") + types[i];
    if (pref > 0)
        head += ";PREF=" + std::to_string(pref);
    Line(out, head, value);
}

// ---- reading ----

struct Property {
    std::string name;  // upper case, group removed
    std::vector<std::string> types;  // upper case, from TYPE and 2.1's bare parameters
    std::string encoding, charset;
    int pref = 0;  // 1 to 100; 0 without one
    bool uri = false;
    bool cut = false;  // the line was cut at MaxVCardLine
    std::string value;
};

void Prefer(Property& property, int pref)
{
    if (pref >= 1)
        property.pref = std::min(property.pref == 0 ? 100 : property.pref, std::min(pref, 100));
}

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
                Prefer(property, 1);
            else if (!word.empty())
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
        Prefer(property, ReadNumber(value));
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

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// ASCII kept, any other byte as U+FFFD.
std::string Replaced(std::string_view bytes)
{
    std::string out;
    for (char c : bytes)
        out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : std::string("\xEF\xBF\xBD");
    return out;
}

std::string Utf8(const std::string& bytes, const std::string& charset, const CharsetDecoder& decode)
{
    if (IsAscii(bytes))
        return bytes;
    bool windows1252 = charset == "WINDOWS-1252" || charset == "CP1252" || charset == "ISO-8859-1"
        || charset == "LATIN1" || charset == "US-ASCII" || charset == "ASCII";
    if (charset.empty() || charset == "UTF-8" || windows1252)
        return windows1252 || !IsUtf8(bytes) ? Utf8FromCp1252(bytes) : bytes;
    std::optional<std::string> decoded = decode ? decode(charset, bytes) : std::nullopt;
    return decoded && IsUtf8(*decoded) ? *decoded : Replaced(bytes);
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
std::vector<std::string> Components(const Property& property, bool v21, bool compound, const CharsetDecoder& decode)
{
    std::string text = Utf8(Bytes(property), property.charset, decode);
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

std::string MediaTypeOfWord(const std::string& word)
{
    if (word.find('/') != std::string::npos)
        return MediaType(word);
    if (word == "JPEG" || word == "JPG")
        return "image/jpeg";
    return MediaType("image/" + word);
}

// A data URI (its comma escaped too), a Base64 value, or an address.
void ReadPhoto(const Property& property, VCardContact& contact, VCardNotes& notes)
{
    std::string bytes, type;
    std::string_view value = Trim(property.value);
    if (value.size() >= 5 && SameWord(value.substr(0, 5), "data:")) {
        std::size_t comma = value.find(',');
        std::string_view header = value.substr(5, comma == std::string_view::npos ? 0 : comma - 5);
        if (!header.empty() && header.back() == '\\')
            header.remove_suffix(1);
        const std::string_view marker = ";base64";
        if (comma != std::string_view::npos && header.size() >= marker.size()
            && SameWord(header.substr(header.size() - marker.size()), marker)) {
            type = MediaType(header.substr(0, header.size() - marker.size()));
            bytes = Base64Decode(value.substr(comma + 1));
        }
    } else if (property.encoding == "B" || property.encoding == "BASE64") {
        bytes = Base64Decode(value);
        for (const std::string& word : property.types)
            if (type.empty())
                type = MediaTypeOfWord(word);
    } else {
        contact.photoAddress = value;
        return;
    }
    if (bytes.empty() || property.cut) {
        notes.photoUnreadable = true;
        return;
    }
    contact.photo = std::move(bytes);
    contact.photoType = std::move(type);
}

// Lower-case words of letters, digits and "-" only, so that they write back
// as they read.
std::vector<std::string> TypeWords(const Property& property)
{
    std::vector<std::string> words;
    for (const std::string& type : property.types)
        if (std::all_of(type.begin(), type.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; }))
            words.push_back(Lower(type));
    return words;
}

bool AllEmpty(const std::vector<std::string>& parts)
{
    return std::all_of(parts.begin(), parts.end(), [](const std::string& part) { return part.empty(); });
}

struct Reader {
    const CharsetDecoder& decode;
    VCardNotes& notes;
    bool v21 = false;
    VCardContact contact = {};
    std::vector<std::pair<int, std::string>> emails = {};
    bool named = false, organized = false, pictured = false;

    std::string Text(const Property& property) { return Components(property, v21, false, decode)[0]; }
    // The components of a compound value, at least count of them.
    std::vector<std::string> Parts(const Property& property, std::size_t count)
    {
        auto parts = Components(property, v21, true, decode);
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
        if (p.name == "FN") {
            SetOnce(contact.formattedName, Text(p));
        } else if (p.name == "N" && !named) {
            named = true;
            auto parts = Parts(p, 5);
            contact.family = parts[0];
            contact.given = parts[1];
            contact.additional = parts[2];
            contact.prefix = parts[3];
            contact.suffix = parts[4];
        } else if (p.name == "NICKNAME") {
            SetOnce(contact.nickname, Text(p));
        } else if (p.name == "EMAIL") {
            if (std::string address = Text(p); !address.empty())
                emails.emplace_back(p.pref == 0 ? 101 : p.pref, std::move(address));
        } else if (p.name == "ADR") {
            auto parts = Parts(p, 7);
            parts.resize(7);
            if (!AllEmpty(parts))
                contact.addresses.push_back(
                    {TypeWords(p), p.pref, parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], parts[6]});
        } else if (p.name == "TEL") {
            std::string number = Text(p);
            if (p.uri && number.size() >= 4 && SameWord(number.substr(0, 4), "tel:"))
                number.erase(0, 4);
            if (!number.empty())
                contact.phones.push_back({TypeWords(p), p.pref, std::move(number)});
        } else if (p.name == "URL") {
            if (std::string address = Text(p); !address.empty())
                contact.urls.push_back({TypeWords(p), p.pref, std::move(address)});
        } else if (p.name == "ORG" && !organized) {
            organized = true;
            if (auto parts = Parts(p, 1); !AllEmpty(parts))
                contact.organization = std::move(parts);
        } else if (p.name == "TITLE") {
            SetOnce(contact.jobTitle, Text(p));
        } else if (p.name == "PHOTO" && !pictured) {
            pictured = true;
            ReadPhoto(p, contact, notes);
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

// A logical line as 2.1 joins it, blanks of the folds kept; where they are,
// for the later versions, which drop them.
struct JoinedLine {
    std::string text;
    std::vector<std::size_t> foldBlanks;
    bool cut = false;  // longer than MaxVCardLine
    int depth = 0;  // of the card it belongs to; 1 for the first card's own

    std::string Unfolded(bool v21) const
    {
        if (v21 || foldBlanks.empty())
            return text;
        std::string out;
        out.reserve(text.size());
        std::size_t at = 0;
        for (std::size_t blank : foldBlanks) {
            out.append(text, at, blank - at);
            at = blank + 1;
        }
        return out.append(text, at, std::string::npos);
    }
};

bool IsBase64Line(std::string_view line)
{
    return !line.empty() && std::all_of(line.begin(), line.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/' || c == '=';
    });
}

bool IsMarker(const Property& property, const char* name)
{
    return property.name == name && SameWord(Trim(property.value), "VCARD");
}

// Joins physical lines into logical ones, in one pass, and keeps those from
// the first BEGIN:VCARD to its END. A line that begins with a blank continues
// the one before; so does the next line after a quoted-printable line ending
// in "=", and a line of Base64 characters after a Base64 value (some phones
// leave out the blank).
class CardLines {
public:
    void Add(std::string_view line)
    {
        bool folded = !line.empty() && (line[0] == ' ' || line[0] == '\t');
        if (open && (softBreak || folded || (base64 && IsBase64Line(line)))) {
            if (folded && !softBreak && current.text.size() < MaxVCardLine)
                current.foldBlanks.push_back(current.text.size());
            Append(line);
        } else {
            Close();
            current = {};
            Property head;
            ParseProperty(line, head);
            open = true;
            base64 = head.encoding == "B" || head.encoding == "BASE64";
            quotedPrintable = head.encoding == "QUOTED-PRINTABLE";
            Append(line);
        }
        softBreak = quotedPrintable && !current.text.empty() && current.text.back() == '=';
        if (softBreak)
            current.text.pop_back();
    }

    // Takes the last line; the lines of the first card.
    std::vector<JoinedLine>& Finish()
    {
        Close();
        open = false;
        return lines;
    }
    bool Ended() const { return ended; }

private:
    void Append(std::string_view line)
    {
        std::size_t room = MaxVCardLine - std::min(MaxVCardLine, current.text.size());
        current.cut = current.cut || line.size() > room;
        current.text.append(line.substr(0, room));
    }

    void Close()
    {
        if (!open || ended)
            return;
        Property property;
        ParseProperty(current.text, property);
        if (IsMarker(property, "BEGIN")) {
            current.depth = ++depth;
        } else if (depth > 0 && IsMarker(property, "END")) {
            ended = --depth == 0;
            return;
        } else {
            current.depth = depth;
        }
        if (depth > 0)
            lines.push_back(std::move(current));
    }

    std::vector<JoinedLine> lines;
    JoinedLine current;
    bool open = false, softBreak = false, base64 = false, quotedPrintable = false, ended = false;
    int depth = 0;
};

// Text in UTF-16 with a byte-order mark as UTF-8; a lone surrogate as U+FFFD.
std::string Utf8FromUtf16(std::string_view bytes, bool little)
{
    std::string out;
    auto unit = [&](std::size_t at) {
        auto a = static_cast<unsigned char>(bytes[at]), b = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<char32_t>(little ? b << 8 | a : a << 8 | b);
    };
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
        char32_t c = unit(at);
        if (c >= 0xD800 && c < 0xDC00 && at + 3 < bytes.size() && unit(at + 2) >= 0xDC00 && unit(at + 2) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
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

int CodePageOfCharset(std::string_view charset)
{
    std::string name;
    for (char c : charset)
        if (c != '-' && c != '_')
            name += c;
    for (int page = 1250; page <= 1258; ++page)
        if (name == "WINDOWS" + std::to_string(page) || name == "CP" + std::to_string(page))
            return page;
    for (int part : {1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 15})
        if (name == "ISO8859" + std::to_string(part))
            return 28590 + part;
    return name == "KOI8R" ? 20866 : name == "KOI8U" ? 21866 : 0;
}

std::string WriteVCard(const VCardContact& contact)
{
    std::string out;
    Line(out, "BEGIN", "VCARD");
    Line(out, "VERSION", "4.0");
    Line(out, "FN", Escape(contact.formattedName));
    std::string name;
    Component(name, contact.family, true);
    for (const std::string* part : {&contact.given, &contact.additional, &contact.prefix, &contact.suffix})
        Component(name, *part);
    Line(out, "N", name);
    if (!contact.nickname.empty())
        Line(out, "NICKNAME", Escape(contact.nickname));
    bool first = true;
    for (const std::string& email : contact.emails) {
        if (email.empty())
            continue;
        Line(out, first ? "EMAIL;PREF=1" : "EMAIL", Escape(email));
        first = false;
    }
    for (const VCardAddress& address : contact.addresses) {
        std::string value;
        Component(value, address.poBox, true);
        for (const std::string* part : {&address.extended, &address.street, &address.city, &address.region,
                 &address.postalCode, &address.country})
            Component(value, *part);
        WriteTyped(out, "ADR", address.types, address.pref, value);
    }
    for (const VCardPhone& phone : contact.phones)
        WriteTyped(out, "TEL", phone.types, phone.pref, Escape(phone.number));
    for (const VCardUrl& url : contact.urls)
        WriteTyped(out, "URL", url.types, url.pref, Escape(url.address));
    if (!contact.organization.empty()) {
        std::string org;
        for (std::size_t i = 0; i < contact.organization.size(); ++i)
            Component(org, contact.organization[i], i == 0);
        Line(out, "ORG", org);
    }
    if (!contact.jobTitle.empty())
        Line(out, "TITLE", Escape(contact.jobTitle));
    if (!contact.photo.empty())
        Line(out, "PHOTO", "data:" + MediaType(contact.photoType) + ";base64," + Base64Encode(contact.photo, false));
    else if (!contact.photoAddress.empty())
        Line(out, "PHOTO", contact.photoAddress);
    if (!contact.account.empty())
        Line(out, AccountProperty, Escape(contact.account));
    Line(out, "END", "VCARD");
    return out;
}

std::optional<VCardContact> ReadVCard(std::string_view text, const CharsetDecoder& decode, VCardNotes* notes)
{
    std::string wide;
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
        wide = Utf8FromUtf16(text, text[0] == '\xFF');
        text = wide;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    CardLines card;
    for (std::size_t start = 0; start < text.size() && !card.Ended();) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        card.Add(line);
        start = end + 1;
    }
    std::vector<JoinedLine>& lines = card.Finish();
    VCardNotes found;
    found.ended = card.Ended();
    if (notes)
        *notes = found;
    if (lines.empty())
        return std::nullopt;
    Reader reader{decode, notes ? *notes : found};
    for (const JoinedLine& line : lines) {
        Property property;
        if (line.depth == 1 && ParseProperty(line.Unfolded(false), property) && property.name == "VERSION")
            reader.v21 = reader.v21 || Trim(property.value) == "2.1";
    }
    for (const JoinedLine& line : lines) {
        Property property;
        property.cut = line.cut;
        if (line.depth == 1 && ParseProperty(line.Unfolded(reader.v21), property))
            reader.Take(property);
    }
    return reader.Finish();
}
