#include <gtest/gtest.h>

#include "protocol/Number.h"

namespace {

TEST(ReadNumberTest, ReadsLeadingDecimalIntegersClampedToThirtyTwoBits)
{
    struct Case { const char* text; int value; };
    const Case cases[] = {
        {"201", 201}, {"  -1", -1}, {"+7", 7}, {"\t\n 12abc", 12}, {"", 0}, {"abc", 0}, {"- 5", 0}, {"0x10", 0},
        {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"99999999999999999999999999", 2147483647},
        {"-2147483648", -2147483647 - 1}, {"-99999999999999999999999999", -2147483647 - 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadNumber(c.text), c.value) << '"' << c.text << '"';
}

} // namespace
