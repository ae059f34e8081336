#include "devhost/Console.h"

#include <windows.h>

#include <cstdio>

std::string Utf8FromAnsi(const std::string& text)
{
    if (text.empty())
        return text;
    int length = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(1252, 0, text.data(), length, nullptr, 0)), L'\0');
    MultiByteToWideChar(1252, 0, text.data(), length, wide.data(), static_cast<int>(wide.size()));
    int wideLength = static_cast<int>(wide.size());
    std::string utf8(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}

void PrintLine(const std::string& text)
{
    std::string line = Utf8FromAnsi(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}
