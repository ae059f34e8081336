#include <gtest/gtest.h>

#include "protocol/Card.h"

namespace {

// Scheme and host are lowered, the path is kept: another case is another page.
TEST(WebPageTest, SentAndReceivedForms)
{
    struct Case { const char* field; const char* sent; const char* received; };
    const Case cases[] = {
        {"", "http://", "http://"},
        {"ABC", "http://ABC", "http://abc"},
        {"HTTP://ABC", "http://abc", "HTTP://ABC"},
        {"http://X.org/Users/Ann", "http://x.org/Users/Ann", "http://X.org/Users/Ann"},
        {"HTTPS://X.ORG?Q=A#B", "https://x.org?Q=A#B", "HTTPS://X.ORG?Q=A#B"},
        {"www.X.org/Users/Ann", "http://www.X.org/Users/Ann", "http://www.x.org/Users/Ann"},
        {"X.org#Top", "http://X.org#Top", "http://x.org#Top"},
        {"Http:/x", "http://Http:/x", "http://http:/x"},
        {"\xC1RBOL.es", "http://\xC1RBOL.es", "http://\xC1rbol.es"},  // only ASCII letters are lowered
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WebPageToSend(c.field), c.sent) << c.field;
        EXPECT_EQ(WebPageReceived(c.field), c.received) << c.field;
    }
}

TEST(AccountNameTest, RefusesWhatIsNoSafePathComponent)
{
    for (const char* name : {"", ".", "..", "a\\b", "a/b", "c:", "*", "?", "\"", "<", ">", "|", "\x01x", "x\x7f",
                             "dot.", "space ", "CON", "prn", "nul.txt", "COM1", "com9.x", "LPT1", "lpt5.tar.gz"})
        EXPECT_FALSE(IsSafeAccountName(name)) << name;
    for (const char* name : {"u1", "ana.ruiz", "CONSOLE", "com0", "COM10", "lpt", "a b", "jos\xe9", "...a", "x@y"})
        EXPECT_TRUE(IsSafeAccountName(name)) << name;
}

} // namespace
