#include "support/CodePage.h"

#include <cstdint>

namespace {

// Code points of the bytes 0x80 to 0x9F.
constexpr char32_t High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152,
    0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {

constexpr char32_t Malformed = 0xFFFFFFFF;

// The code point at text[at], advancing at; Malformed for a bad sequence,
// of which one byte is consumed.
char32_t Next(std::string_view text, std::size_t& at)
{
    auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    std::uint8_t lead = byte(at);
    int extra = lead < 0x80 ? 0 : lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2
        : lead >= 0xF0 && lead <= 0xF4 ? 3 : -1;
    if (extra < 0 || at + static_cast<std::size_t>(extra) >= text.size() + (extra == 0 ? 1 : 0)) {
        ++at;
        return Malformed;
    }
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        std::uint8_t next = byte(at + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++at;
            return Malformed;
        }
        c = (c << 6) | (next & 0x3F);
    }
    bool overlong = (extra == 2 && c < 0x800) || (extra == 3 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++at;
        return Malformed;
    }
    at += static_cast<std::size_t>(extra) + 1;
    return c;
}

} // namespace

std::string Utf8FromCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char b : text) {
        auto byte = static_cast<std::uint8_t>(b);
        AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? High[byte - 0x80] : byte);
    }
    return out;
}

Cp1252Text Cp1252FromUtf8(std::string_view text)
{
    Cp1252Text result;
    result.text.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = Next(text, at);
        char byte = '?';
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            byte = static_cast<char>(c);
        } else {
            bool found = false;
            for (int i = 0; i < 32 && !found; ++i)
                if (High[i] == c) {
                    byte = static_cast<char>(0x80 + i);
                    found = true;
                }
            result.lost = result.lost || !found;
        }
        result.text += byte;
    }
    return result;
}

bool IsUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();)
        if (Next(text, at) == Malformed)
            return false;
    return true;
}
