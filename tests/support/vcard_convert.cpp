// Between vCard files and plain "key=value" lines, for the checks with an
// independent parser: "write" reads lines and writes a card, "read" reads a
// card and writes lines (exit status 1 when the input holds no card). In
// values "\\" stands for a backslash and "\n" for a line feed; photo is hex.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <map>
#include <string>

#include "support/VCard.h"

namespace {

using Field = std::string VCardContact::*;
using PlaceField = std::string VCardPlace::*;

const std::map<std::string, Field> Fields = {{"fn", &VCardContact::formattedName}, {"family", &VCardContact::family},
    {"given", &VCardContact::given}, {"additional", &VCardContact::additional}, {"prefix", &VCardContact::prefix},
    {"nickname", &VCardContact::nickname}, {"org", &VCardContact::organization}, {"unit", &VCardContact::unit},
    {"title", &VCardContact::jobTitle}, {"phototype", &VCardContact::photoType}, {"account", &VCardContact::account}};
const std::map<std::string, PlaceField> PlaceFields = {{"street", &VCardPlace::street}, {"city", &VCardPlace::city},
    {"region", &VCardPlace::region}, {"code", &VCardPlace::postalCode}, {"country", &VCardPlace::country},
    {"voice", &VCardPlace::voice}, {"fax", &VCardPlace::fax}, {"cell", &VCardPlace::cell}, {"url", &VCardPlace::url}};

std::string Escape(const std::string& value)
{
    std::string out;
    for (char c : value)
        out += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : std::string(1, c);
    return out;
}

std::string Unescape(const std::string& value)
{
    std::string out;
    for (std::size_t at = 0; at < value.size(); ++at) {
        if (value[at] == '\\' && at + 1 < value.size())
            out += value[++at] == 'n' ? '\n' : value[at];
        else
            out += value[at];
    }
    return out;
}

std::string Hex(const std::string& bytes, bool encode)
{
    std::string out;
    if (encode) {
        for (unsigned char c : bytes) {
            char pair[3];
            std::snprintf(pair, sizeof pair, "%02x", c);
            out += pair;
        }
    } else {
        for (std::size_t at = 0; at + 1 < bytes.size(); at += 2)
            out += static_cast<char>(std::stoi(bytes.substr(at, 2), nullptr, 16));
    }
    return out;
}

void Print(const std::string& key, const std::string& value)
{
    if (!value.empty())
        std::cout << key << "=" << Escape(value) << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "read") {
        std::string text{std::istreambuf_iterator<char>(std::cin), {}};
        auto contact = ReadVCard(text);
        if (!contact)
            return 1;
        for (const auto& [key, field] : Fields)
            Print(key, (*contact).*field);
        for (const std::string& email : contact->emails)
            Print("email", email);
        for (const auto& [key, field] : PlaceFields) {
            Print("home." + key, contact->home.*field);
            Print("work." + key, contact->work.*field);
        }
        Print("photo", Hex(contact->photo, true));
        return 0;
    }
    if (mode != "write")
        return 2;
    VCardContact contact;
    for (std::string line; std::getline(std::cin, line);) {
        std::size_t equals = line.find('=');
        std::string key = line.substr(0, equals);
        std::string value = equals == std::string::npos ? "" : Unescape(line.substr(equals + 1));
        if (auto field = Fields.find(key); field != Fields.end())
            contact.*field->second = value;
        else if (key == "email")
            contact.emails.push_back(value);
        else if (key == "photo")
            contact.photo = Hex(value, false);
        else if (key.size() > 5 && PlaceFields.count(key.substr(5)))
            (key.starts_with("home.") ? contact.home : contact.work).*PlaceFields.at(key.substr(5)) = value;
    }
    std::cout << WriteVCard(contact);
    return 0;
}
