#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "devhost/server/HostileAnswers.h"
#include "protocol/Card.h"
#include "protocol/Number.h"
#include "support/Base64.h"
#include "support/Xml.h"
#include "tests/devhost/TestSupport.h"

namespace {

int MaxDepth(const std::string& xml)
{
    int depth = 0, deepest = 0;
    for (std::size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1))
        deepest = std::max(deepest, depth += xml.compare(at, 2, "</") == 0 ? -1 : 1);
    return deepest;
}

using Pair = std::pair<int, int>;

// How many elements named name parent has, and how many of them the client's
// walk (which stops at the first empty text) reaches.
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

struct Parsed {
    const XmlDocument& doc;
    bool ok;
    const std::string& xml;
    const XmlNode& Person() const { return doc.FindChild("ps"); }
    const XmlNode& Section() const { return Person().FindChild("typ"); }
    std::string Status() const { return Section().FindChild("err").GetText(); }
    int Code() const { return ok ? ReadNumber(doc.GetRoot().GetText()) : -1; }
};

using Check = std::function<bool(const Parsed&)>;

TEST(HostileAnswersTest, EachAnswerIsWhatItsNameClaims)
{
    const Check unparsable = [](const Parsed& p) { return !p.ok; };
    const Check unsafeUser = [](const Parsed& p) {
        return !IsSafeAccountName(p.Person().FindChild("usr").GetText());
    };
    const Check unsafeDomain = [](const Parsed& p) {
        return !IsSafeAccountName(p.Person().FindChild("dom").GetText());
    };
    const Check fullCard = [](const Parsed& p) { return CountAndWalk(p.Person(), "typ") == Pair(4, 4); };
    const std::map<std::string, Check> checks = {
        {"truncated", unparsable},
        {"nesting-100000", [](const Parsed& p) { return !p.ok && MaxDepth(p.xml) == 100000 && p.xml.back() == '\n'; }},
        {"code-7", [](const Parsed& p) { return p.Code() == 7; }},
        {"code-2", [](const Parsed& p) { return p.Code() == 2; }},
        {"code-missing",
         [](const Parsed& p) { return p.ok && p.doc.GetRoot().GetText().empty() && p.doc.HasChild("ps"); }},
        {"status-999", [](const Parsed& p) { return p.Status() == "999" && p.xml.find("<err>2") > p.xml.size(); }},
        {"status-200-uncached", [](const Parsed& p) { return p.Status() == "200" && !p.Section().HasChild("f"); }},
        {"sections-0-and-5",
         [](const Parsed& p) {
             return p.Section().GetText() == "0" && p.xml.find("<typ>5\n") < p.xml.find("<typ>1\n");
         }},
        {"photo-1mb", [](const Parsed& p) {
             std::string bytes = Base64Decode(p.Section().FindChild("ph").GetText());
             return bytes.size() > 1000000 && BmpProblem(bytes).empty();
         }},
        {"photo-garbage",
         [](const Parsed& p) {
             std::string text = p.Section().FindChild("ph").GetText();
             return Base64Encode(Base64Decode(text), false) != text;
         }},
        {"domain-dotdot", unsafeDomain},
        {"domain-con", unsafeDomain},
        {"search-answer",
         [](const Parsed& p) { return p.Code() == 3 && CountAndWalk(p.doc.GetRoot(), "ps") == Pair(3, 3); }},
        {"search-answer-empty", [](const Parsed& p) { return p.Code() == 3 && p.doc.GetRoot().ChildCount() == 0; }},
        {"ps-empty-in-middle", [](const Parsed& p) { return CountAndWalk(p.doc.GetRoot(), "ps") == Pair(3, 1); }},
        {"typ-empty-in-middle", [](const Parsed& p) { return CountAndWalk(p.Person(), "typ") == Pair(3, 1); }},
        {"ps-text-zero", [&](const Parsed& p) { return p.Person().GetText() == "0" && fullCard(p); }},
        {"fields-missing", [](const Parsed& p) { return p.Status() == "201" && p.Section().ChildCount() == 1; }},
        {"eleven-emails",
         [](const Parsed& p) { return p.Section().HasChild("e11") && p.Section().FindChild("e0").GetText().empty(); }},
        {"long-and-markup-fields", [](const Parsed& p) { return p.Section().FindChild("f").GetText().size() > 99999; }},
        {"mismatched-tags", unparsable},
        {"wrong-root", [&](const Parsed& p) { return p.doc.GetRoot().GetName() == "card" && fullCard(p); }},
        {"not-xml", unparsable},
        {"empty", [](const Parsed& p) { return p.xml.empty(); }},
    };

    std::set<std::string> names;
    for (const HostileAnswer& answer : HostileAnswers("u\xe9", "d.org")) {
        SCOPED_TRACE(answer.name);
        EXPECT_TRUE(names.insert(answer.name).second) << "duplicate name";
        XmlDocument doc;
        Parsed parsed{doc, doc.Parse(answer.xml), answer.xml};
        if (answer.name.rfind("name-", 0) == 0) {
            EXPECT_TRUE(unsafeUser(parsed) && fullCard(parsed));
            continue;
        }
        auto check = checks.find(answer.name);
        ASSERT_NE(check, checks.end()) << "no check for this answer";
        EXPECT_TRUE(check->second(parsed));
        if (parsed.ok && parsed.doc.HasChild("ps") && parsed.Code() != 3) {
            EXPECT_EQ(parsed.Person().FindChild("usr").GetText(), "u\xe9");
        }
    }
    EXPECT_EQ(names.size(), checks.size() + HostileAccountNames().size());
}

} // namespace
