#pragma once
// Numbers in element texts: leading blanks skipped, an optional sign, then
// the digits up to the first other character. A text that does not begin
// with a number reads as 0; a number beyond 32 bits is clamped to the range.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>

inline int ReadNumber(std::string_view text)
{
    std::size_t at = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
    while (at < text.size() && blank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        magnitude = std::min<int64_t>(magnitude * 10 + (text[at] - '0'), limit);
    int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                std::numeric_limits<int32_t>::max()));
}
