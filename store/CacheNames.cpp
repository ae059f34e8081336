#include "store/CacheNames.h"

#include <algorithm>
#include <array>

namespace {

bool IsControl(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F;
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

bool IsDeviceName(std::string_view name)
{
    std::string base = Lower(name.substr(0, name.find('.')));
    base.erase(base.find_last_not_of(' ') + 1);
    static const std::array<std::string_view, 6> named = {"con", "prn", "aux", "nul", "conin$", "conout$"};
    if (std::find(named.begin(), named.end(), base) != named.end())
        return true;
    // COM0-9 and LPT0-9, and with a superscript 1, 2 or 3 (Windows-1252).
    static const std::string_view numbers = "0123456789\xB9\xB2\xB3";
    return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) &&
           numbers.find(base[3]) != std::string_view::npos;
}

void Escape(std::string& out, std::string_view name)
{
    static const char hex[] = "0123456789ABCDEF";
    for (char c : name) {
        auto byte = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || byte > 0x7F || c == '%' || c == '@' || c == '~') {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += c;
        }
    }
}

} // namespace

bool IsSafeKeyName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return c == '\\' || IsControl(static_cast<unsigned char>(c)); });
}

bool IsPlainFileName(std::string_view name)
{
    if (name.empty() || name.back() == '.' || name.back() == ' ')
        return false;
    for (char c : name)
        if (IsControl(static_cast<unsigned char>(c)) || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return false;
    return !IsDeviceName(name);
}

std::string PhotoFileName(std::string_view user, std::string_view domain)
{
    std::string name;
    Escape(name, user);
    name += '@';
    Escape(name, domain);
    return name + ".b64";
}
