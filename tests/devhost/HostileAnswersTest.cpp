#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>

#include "devhost/server/HostileAnswers.h"
#include "protocol/Card.h"
#include "protocol/Number.h"
#include "support/Base64.h"
#include "support/Xml.h"
#include "tests/devhost/TestSupport.h"

namespace {

const std::string kUser = "ana", kDomain = "example.net";

int MaxDepth(const std::string& xml)
{
    int depth = 0, deepest = 0;
    for (std::size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
        depth += xml.compare(at, 2, "</") == 0 ? -1 : 1;
        deepest = std::max(deepest, depth);
    }
    return deepest;
}

// The elements named name under parent, and how many of them the client's
// walk (stopping at the first empty text) reaches.
std::pair<int, int> CountAndWalk(const XmlNode& parent, const std::string& name)
{
    int count = 0, walked = 0;
    for (int i = 0; i < parent.ChildCount(); ++i)
        count += parent.ChildAt(i)->GetName() == name;
    for (const XmlNode* node = &parent.FindChild(name); !node->GetText().empty();
         node = &parent.FindNextChild(name, *node))
        ++walked;
    return {count, walked};
}

using Check = std::function<void(const XmlDocument& doc, bool parsed, const std::string& xml)>;

Check Unparsable()
{
    return [](const XmlDocument&, bool parsed, const std::string&) { EXPECT_FALSE(parsed); };
}

Check Code(int code)
{
    return [code](const XmlDocument& doc, bool parsed, const std::string&) {
        ASSERT_TRUE(parsed);
        EXPECT_EQ(doc.GetRoot().GetName(), "msg");
        EXPECT_EQ(ReadNumber(doc.GetRoot().GetText()), code);
    };
}

Check UnsafeName(const char* tag)
{
    return [tag](const XmlDocument& doc, bool parsed, const std::string&) {
        ASSERT_TRUE(parsed);
        EXPECT_FALSE(IsSafeAccountName(doc.FindChild("ps").FindChild(tag).GetText()));
        EXPECT_EQ(CountAndWalk(doc.FindChild("ps"), "typ").second, 4);
    };
}

const XmlNode& FirstSection(const XmlDocument& doc)
{
    return doc.FindChild("ps").FindChild("typ");
}

TEST(HostileAnswersTest, EachAnswerIsWhatItsNameClaims)
{
    std::map<std::string, Check> checks = {
        {"truncated", Unparsable()},
        {"nesting-100000",
         [](const XmlDocument&, bool parsed, const std::string& xml) {
             EXPECT_FALSE(parsed);
             EXPECT_EQ(MaxDepth(xml), 100000);
             EXPECT_EQ(xml.rfind("</msg>\n"), xml.size() - 7);
         }},
        {"code-7", Code(7)},
        {"code-2", Code(2)},
        {"code-missing",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             EXPECT_EQ(doc.GetRoot().GetText(), "");
             EXPECT_TRUE(doc.HasChild("ps"));
         }},
        {"status-999",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             const XmlNode& ps = doc.FindChild("ps");
             EXPECT_EQ(CountAndWalk(ps, "typ"), std::make_pair(4, 4));
             for (int i = 0; i < ps.ChildCount(); ++i)
                 if (ps.ChildAt(i)->GetName() == "typ") {
                     EXPECT_EQ(ps.ChildAt(i)->FindChild("err").GetText(), "999");
                 }
         }},
        {"status-200-uncached",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             EXPECT_EQ(FirstSection(doc).FindChild("err").GetText(), "200");
             EXPECT_FALSE(FirstSection(doc).HasChild("f"));
         }},
        {"sections-0-and-5",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             const XmlNode& ps = doc.FindChild("ps");
             std::vector<std::string> numbers;
             for (const XmlNode* typ = &ps.FindChild("typ"); !typ->GetText().empty();
                  typ = &ps.FindNextChild("typ", *typ))
                 numbers.push_back(typ->GetText());
             EXPECT_EQ(numbers, (std::vector<std::string>{"0", "5", "1"}));
         }},
        {"photo-1mb",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             std::string bytes = Base64Decode(FirstSection(doc).FindChild("ph").GetText());
             EXPECT_GT(bytes.size(), 1000000u);
             EXPECT_EQ(BmpProblem(bytes), "");
         }},
        {"photo-garbage",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             std::string text = FirstSection(doc).FindChild("ph").GetText();
             EXPECT_NE(Base64Encode(Base64Decode(text), false), text);
         }},
        {"name-dotdot-backslash", UnsafeName("usr")},
        {"name-dotdot-slash", UnsafeName("usr")},
        {"name-con", UnsafeName("usr")},
        {"name-nul-txt", UnsafeName("usr")},
        {"name-com1", UnsafeName("usr")},
        {"name-control-character", UnsafeName("usr")},
        {"name-trailing-dot", UnsafeName("usr")},
        {"name-empty", UnsafeName("usr")},
        {"domain-dotdot", UnsafeName("dom")},
        {"domain-con", UnsafeName("dom")},
        {"search-answer",
         [](const XmlDocument& doc, bool parsed, const std::string& xml) {
             Code(3)(doc, parsed, xml);
             EXPECT_EQ(CountAndWalk(doc.GetRoot(), "ps"), std::make_pair(3, 3));
             EXPECT_EQ(doc.FindChild("ps").FindChild("n").GetText(), "Result One");
         }},
        {"search-answer-empty",
         [](const XmlDocument& doc, bool parsed, const std::string& xml) {
             Code(3)(doc, parsed, xml);
             EXPECT_EQ(doc.GetRoot().ChildCount(), 0);
         }},
        {"ps-empty-in-middle",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             EXPECT_EQ(CountAndWalk(doc.GetRoot(), "ps"), std::make_pair(3, 1));
         }},
        {"typ-empty-in-middle",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             EXPECT_EQ(CountAndWalk(doc.FindChild("ps"), "typ"), std::make_pair(3, 1));
         }},
        {"ps-text-zero",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             EXPECT_EQ(doc.FindChild("ps").GetText(), "0");
             EXPECT_EQ(CountAndWalk(doc.FindChild("ps"), "typ"), std::make_pair(4, 4));
         }},
        {"fields-missing",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             EXPECT_EQ(FirstSection(doc).FindChild("err").GetText(), "201");
             EXPECT_EQ(FirstSection(doc).ChildCount(), 1);
         }},
        {"eleven-emails",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             EXPECT_EQ(FirstSection(doc).FindChild("e0").GetText(), "");
             EXPECT_TRUE(FirstSection(doc).HasChild("e11"));
             EXPECT_EQ(ReadNumber(FirstSection(doc).FindChild("ver").GetText()), 2147483647);
         }},
        {"long-and-markup-fields",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             EXPECT_EQ(FirstSection(doc).FindChild("f").GetText().size(), 100000u);
         }},
        {"mismatched-tags", Unparsable()},
        {"wrong-root",
         [](const XmlDocument& doc, bool parsed, const std::string&) {
             ASSERT_TRUE(parsed);
             EXPECT_EQ(doc.GetRoot().GetName(), "card");
             EXPECT_EQ(FirstSection(doc).FindChild("err").GetText(), "201");
         }},
        {"not-xml", Unparsable()},
        {"empty", [](const XmlDocument&, bool, const std::string& xml) { EXPECT_EQ(xml, ""); }},
    };

    std::set<std::string> names;
    for (const HostileAnswer& answer : HostileAnswers(kUser, kDomain)) {
        SCOPED_TRACE(answer.name);
        EXPECT_TRUE(names.insert(answer.name).second) << "duplicate name";
        EXPECT_FALSE(answer.what.empty());
        auto check = checks.find(answer.name);
        ASSERT_NE(check, checks.end()) << "no check for this answer";
        XmlDocument doc;
        bool parsed = doc.Parse(answer.xml);
        check->second(doc, parsed, answer.xml);
    }
    EXPECT_EQ(names.size(), checks.size());
}

TEST(HostileAnswersTest, CardAnswersAreAimedAtTheGivenAccount)
{
    const std::set<std::string> elsewhere = {"search-answer", "search-answer-empty", "nesting-100000", "empty"};
    for (const HostileAnswer& answer : HostileAnswers("u\xe9", "d.org")) {
        XmlDocument doc;
        if (elsewhere.count(answer.name) || answer.name.rfind("name-", 0) == 0 || !doc.Parse(answer.xml))
            continue;
        const XmlNode& ps = doc.FindChild("ps");
        std::string user = ps.FindChild("usr").GetText(), domain = ps.FindChild("dom").GetText();
        EXPECT_EQ(user, "u\xe9") << answer.name;
        if (answer.name.rfind("domain-", 0) != 0) {
            EXPECT_EQ(domain, "d.org") << answer.name;
        }
    }
}

} // namespace
