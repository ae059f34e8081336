#pragma once
// The host's lines for a person: the program's texts are Windows-1252, a
// terminal today reads UTF-8.
#include <string>

// text, Windows-1252, as UTF-8.
std::string Utf8FromAnsi(const std::string& text);
// Writes text and a line feed to standard output as UTF-8, at once.
void PrintLine(const std::string& text);
