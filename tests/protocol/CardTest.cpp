#include <gtest/gtest.h>

#include "protocol/Card.h"

namespace {

// Scheme and host are lowered, the path is kept: another case is another page.
TEST(WebPageTest, SentFieldGainsHttpOrKeepsItsSchemeAndPath)
{
    struct Case { const char* field; const char* sent; };
    const Case cases[] = {
        {"", "http://"}, {"ABC", "http://ABC"}, {"HTTP://ABC", "http://abc"},
        {"http://X.org/Users/Ann", "http://x.org/Users/Ann"}, {"https://x.org", "https://x.org"},
        {"HTTPS://X.ORG?Q=A#B", "https://x.org?Q=A#B"}, {"Http:/x", "http://Http:/x"}, {"http:/", "http://http:/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WebPageToSend(c.field), c.sent) << c.field;
}

TEST(WebPageTest, ReceivedValueIsKeptOrGainsHttpWithItsHostLowered)
{
    struct Case { const char* value; const char* shown; };
    const Case cases[] = {
        {"", "http://"}, {"ABC", "http://abc"}, {"Http://ABC", "Http://ABC"}, {"hTTps://X.org/A", "hTTps://X.org/A"},
        {"www.X.org/Users/Ann", "http://www.x.org/Users/Ann"}, {"X.org#Top", "http://x.org#Top"},
        {"\xC1RBOL.es", "http://\xC1rbol.es"},  // only ASCII letters are lowered
    };
    for (const Case& c : cases)
        EXPECT_EQ(WebPageReceived(c.value), c.shown) << c.value;
}

TEST(SectionNamesTest, NamesTheFourSectionsOnly)
{
    EXPECT_STREQ(NamesOf(1).key, "Basic");
    EXPECT_STREQ(NamesOf(2).version, "hver");
    EXPECT_STREQ(NamesOf(3).version, "buver");
    EXPECT_STREQ(NamesOf(4).key, "Photo");
    EXPECT_EQ(NamesOf(0).key, nullptr);
    EXPECT_EQ(NamesOf(5).key, nullptr);
    EXPECT_EQ(NamesOf(-1).version, nullptr);
}

TEST(FieldTagsTest, TravelInTheirOrder)
{
    std::string business;
    for (const auto& entry : BusinessTags)
        business += std::string(entry.tag) + " ";
    EXPECT_EQ(business, "cp j d a ci s z t p x m w ");
    std::string home;
    for (const auto& entry : HomeTags)
        home += std::string(entry.tag) + " ";
    EXPECT_EQ(home, "a ci s z t p x m w ");
    EXPECT_EQ(EmailTag(0), "e0");
    EXPECT_EQ(EmailTag(11), "e11");
}

TEST(AccountNameTest, RefusesWhatIsNoSafePathComponent)
{
    for (const char* name : {"", ".", "..", "a\\b", "a/b", "c:", "*", "?", "\"", "<", ">", "|", "\x01x", "x\x1f",
                             "x\x7f", "dot.", "space ", "CON", "prn", "Aux", "NUL", "nul.txt", "COM1", "com9.x",
                             "LPT1", "lpt5.tar.gz"})
        EXPECT_FALSE(IsSafeAccountName(name)) << name;
    for (const char* name : {"u1", "ana.ruiz", "example.org", "CONSOLE", "com0", "COM10", "lpt", "a b", "jos\xe9",
                             "...a", "x@y"})
        EXPECT_TRUE(IsSafeAccountName(name)) << name;
}

} // namespace
