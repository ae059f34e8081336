#pragma once

// Windows-1252 <-> UTF-8. The five bytes that Windows-1252 leaves undefined
// stand for the C1 control characters of the same number, as the system's
// own conversion has them, so every byte survives a round trip.

#include <string>
#include <string_view>

std::string Utf8FromCp1252(std::string_view text);

struct Cp1252Text {
    std::string text;
    bool lost = false;  // some character had no Windows-1252 byte and became '?'
};
// Malformed UTF-8 counts as lost characters too.
Cp1252Text Cp1252FromUtf8(std::string_view text);

// Appends the code point in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// Whether text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view text);
