#include "support/Xml.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string Nest(int levels)
{
    std::string text;
    for (int i = 0; i < levels; ++i)
        text += "<a>";
    for (int i = 0; i < levels; ++i)
        text += "</a>";
    return text;
}

void BuildCardRequest(XmlDocument& doc, const std::string& user, const std::string& domain,
                      const int (&versions)[4])
{
    XmlNode& ps = doc.AddChild("ps", 1);
    ps.AddChild("usr", user);
    ps.AddChild("dom", domain);
    for (int section = 1; section <= 4; ++section)
        ps.AddChild("typ", section).AddChild("ver", versions[section - 1]);
}

TEST(XmlWriter, NewDocumentAndEmptyReadWriteAnEmptyRoot)
{
    XmlDocument doc;
    EXPECT_EQ(doc.GetXml(), "<Root></Root>\n");
    EXPECT_FALSE(doc.Parse(""));
    EXPECT_EQ(doc.GetXml(), "<Root></Root>\n");
}

TEST(XmlWriter, NestedElementsOneLineEachWithEscapedText)
{
    XmlDocument doc("msg", 2);
    doc.AddChild("typ", 1).AddChild("f", "Ann & Bo");
    EXPECT_EQ(doc.GetXml(), "<msg>2\n"
                            "<typ>1\n"
                            "<f>Ann &amp; Bo</f>\n"
                            "</typ>\n"
                            "</msg>\n");
}

TEST(XmlWriter, CardRequestWithNothingCached)
{
    XmlDocument doc("msg", 1);
    BuildCardRequest(doc, "u1", "d1", {-1, -1, -1, -1});
    EXPECT_EQ(doc.GetXml(), "<msg>1\n"
                            "<ps>1\n"
                            "<usr>u1</usr>\n"
                            "<dom>d1</dom>\n"
                            "<typ>1\n"
                            "<ver>-1</ver>\n"
                            "</typ>\n"
                            "<typ>2\n"
                            "<ver>-1</ver>\n"
                            "</typ>\n"
                            "<typ>3\n"
                            "<ver>-1</ver>\n"
                            "</typ>\n"
                            "<typ>4\n"
                            "<ver>-1</ver>\n"
                            "</typ>\n"
                            "</ps>\n"
                            "</msg>\n");
}

TEST(XmlRoundTrip, WrittenExampleReadsBackToTheSameTree)
{
    XmlDocument doc("msg", 2);
    doc.AddChild("typ", 1).AddChild("f", "Ann & Bo");
    XmlDocument back;
    ASSERT_TRUE(back.Parse(doc.GetXml()));
    EXPECT_EQ(back.GetRoot().GetText(), "2");
    const XmlNode& typ = back.FindChild("typ");
    EXPECT_EQ(typ.GetText(), "1");
    EXPECT_EQ(typ.GetIndex(), 1);
    EXPECT_EQ(typ.FindChild("f").GetText(), "Ann & Bo");
    EXPECT_EQ(back.GetXml(), doc.GetXml());
}

TEST(XmlReader, Attributes)
{
    struct Case {
        const char* text;
        const char* attributes; // name=value pairs, each followed by ';'
    };
    const Case cases[] = {
        {"<a k=\"v\">1</a>", "k=v;"},
        {"<a k = \"<v w>\" l=\"\">1</a>", "k=<v w>;l=;"},
        // A name without a quoted value keeps an empty value; the next attribute is still read.
        {"<a k v=\"x\">1</a>", "k=;v=x;"},
        {"<a k= v=\"x\">1</a>", "k=;v=x;"},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        ASSERT_TRUE(doc.Parse(c.text)) << c.text;
        const XmlTag& tag = doc.GetRoot().GetTag();
        std::string seen;
        for (std::int32_t i = 0; i < tag.AttributeCount(); ++i)
            seen += tag.GetAttribute(i)->GetName() + "=" + tag.GetAttribute(i)->GetValue() + ";";
        EXPECT_EQ(seen, c.attributes) << c.text;
        EXPECT_EQ(doc.GetRoot().GetText(), "1");
        XmlDocument back;
        ASSERT_TRUE(back.Parse(doc.GetXml()));
        EXPECT_EQ(back.GetXml(), doc.GetXml());
    }
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<a k=\"v\">1</a>"));
    EXPECT_EQ(doc.GetRoot().GetTag().Write(0), "<a k=\"v\">");
    EXPECT_EQ(doc.GetRoot().GetTag().Write(2), "<a k=\"v\"/>");
    EXPECT_EQ(doc.GetRoot().GetTag().Write(1), "</a>");
}

TEST(XmlReader, TagKinds)
{
    struct Case {
        const char* text;
        TagKind kind;
        const char* name;
        bool closed;
    };
    const Case cases[] = {
        {"<a>", TagKind::Start, "a", true},   {"</a>", TagKind::End, "a", true},
        {"<a/>", TagKind::Empty, "a", true},  {"< /a>", TagKind::Start, "a", true},
        {"<a/b>", TagKind::Start, "a", true}, {"</a", TagKind::End, "a", false},
        {"<", TagKind::Start, "", false},     {"<a k=\"v>", TagKind::Start, "a", false},
    };
    for (const Case& c : cases) {
        XmlTag tag;
        std::int32_t position = 0;
        std::string text = c.text;
        EXPECT_EQ(tag.Parse(text, position, static_cast<std::int32_t>(text.size())), c.closed) << c.text;
        EXPECT_EQ(tag.GetKind(), c.kind) << c.text;
        EXPECT_EQ(tag.GetName(), c.name) << c.text;
    }
}

struct ReadCase {
    const char* text;
    bool ok;
    const char* rootName;
    const char* rootText;
    std::vector<std::string> childTexts;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class XmlReadCases : public ::testing::TestWithParam<ReadCase> {};

TEST_P(XmlReadCases, ResultAndWhatIsKept)
{
    const ReadCase& c = GetParam();
    XmlDocument doc;
    EXPECT_EQ(doc.Parse(c.text), c.ok);
    const XmlNode& root = doc.GetRoot();
    EXPECT_EQ(root.GetName(), c.rootName);
    EXPECT_EQ(root.GetText(), c.rootText);
    ASSERT_EQ(root.ChildCount(), static_cast<std::int32_t>(c.childTexts.size()));
    for (std::int32_t i = 0; i < root.ChildCount(); ++i)
        EXPECT_EQ(root.ChildAt(i)->GetText(), c.childTexts[static_cast<std::size_t>(i)]);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, XmlReadCases,
    ::testing::Values(
        ReadCase{"<a> x <b>1</b> y </a>", true, "a", "x y", {"1"}},
        ReadCase{"abc<a>1</a>", true, "a", "1", {}},
        ReadCase{"<a>1</a>trailing <junk", true, "a", "1", {}},
        ReadCase{"<a>\t&lt;b&gt; &amp;amp;\r\n</a>", true, "a", "<b> &amp;", {}},
        ReadCase{"<a>1</a", true, "a", "1", {}},
        ReadCase{"<a><b></a>", false, "a", "", {}},
        ReadCase{"<a><b/></a>", false, "a", "", {}},
        ReadCase{"<a/>", false, "a", "", {}},
        ReadCase{"</a>", false, "a", "", {}},
        ReadCase{"<a>1", false, "a", "", {}},
        ReadCase{"<a>1</A>", false, "a", "1", {}},
        ReadCase{"<a> p &amp; q <b>1</b><c>2</c><d>3</a>", false, "a", "p &amp; q", {"1", "2"}},
        ReadCase{"<a><b>1</b", false, "a", "", {"1"}},
        ReadCase{"<a>< /a>", false, "a", "", {}},
        ReadCase{"", false, "", "", {}},
        ReadCase{"no tag at all", false, "", "", {}}),
    [](const ::testing::TestParamInfo<ReadCase>& param) { return "Case" + std::to_string(param.index); });

// Regression: the reader recursed once per level without a bound and
// overflowed the stack on deep input.
TEST(XmlReader, UnboundedNestingOverflowedTheStack)
{
    for (int levels : {XmlNode::kMaxDepth, XmlNode::kMaxDepth + 1, 100000}) {
        XmlDocument doc;
        EXPECT_EQ(doc.Parse(Nest(levels)), levels <= XmlNode::kMaxDepth) << levels;
        EXPECT_EQ(doc.GetRoot().GetName(), "a");
        int depth = 1;
        for (const XmlNode* node = &doc.GetRoot(); node->ChildCount() == 1; node = node->ChildAt(0))
            ++depth;
        EXPECT_EQ(depth, levels <= XmlNode::kMaxDepth ? levels : 1) << levels;
    }
    XmlDocument doc;
    EXPECT_FALSE(doc.Parse("<r><ok>1</ok>" + Nest(XmlNode::kMaxDepth) + "</r>"));
    ASSERT_EQ(doc.GetRoot().ChildCount(), 1);
    EXPECT_EQ(doc.GetRoot().ChildAt(0)->GetName(), "ok");
}

TEST(XmlModel, TreeBuiltInCodeMayBeDeeperThanTheReaderAllows)
{
    constexpr int kLevels = 100000;
    auto doc = std::make_unique<XmlDocument>("a", 0);
    XmlNode* node = &doc->GetRoot();
    for (int i = 0; i < kLevels; ++i)
        node = &node->AddChild("a", "");
    std::string text = doc->GetXml();
    // "<a>0\n" for the root, "<a>\n" and "</a>\n" around each inner level.
    EXPECT_EQ(text.size(), std::size_t(kLevels) * 9 + 8 + 1);
    EXPECT_EQ(text.substr(0, 9), "<a>0\n<a>\n");
    EXPECT_EQ(text.find("<a></a>\n"), std::size_t(kLevels) * 4 + 1);
    doc.reset(); // destruction must not recurse per level
}

TEST(XmlEscaping, EscapeAndUnescape)
{
    EXPECT_EQ(Escape("a&b<c>d'e\"f"), "a&amp;b&lt;c&gt;d&apos;e&quot;f");
    EXPECT_EQ(Escape("&amp;"), "&amp;amp;");
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"&amp;lt;", "&lt;"},
        {"&quot;&apos;&gt;&lt;&amp;", "\"'><&"},
        {"&&lt;;", "&<;"},
        {"&amp;quot;", "&quot;"},
        {"&unknown; &amp &LT;", "&unknown; &amp &LT;"},
        {"tail &", "tail &"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Unescape(c.in), c.out) << c.in;
    for (const char* s : {"", "plain", "&amp;lt;&<>'\"", "&&&;;"})
        EXPECT_EQ(Unescape(Escape(s)), s);
}

TEST(XmlLookup, FindChildOnTheRootAndBelow)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.Parse("<msg>1<ps>1</ps></msg>"));
    EXPECT_EQ(&doc.FindChild("msg"), &doc.GetRoot());
    EXPECT_EQ(doc.FindChild("ps").GetText(), "1");
    const XmlNode& missing = doc.FindChild("typ");
    EXPECT_EQ(&missing, &EmptyNode());
    EXPECT_EQ(missing.GetText(), "");
    EXPECT_EQ(&missing.FindChild("x").FindChild("y"), &EmptyNode());
    EXPECT_EQ(&EmptyNode().FindNextChild("x", missing), &EmptyNode());
    EXPECT_TRUE(doc.HasChild("msg"));
    EXPECT_TRUE(doc.HasChild("ps"));
    EXPECT_FALSE(doc.HasChild("PS"));
}

TEST(XmlLookup, WalkOverRepeatedNames)
{
    XmlDocument doc;
    for (const char* name : {"e", "f", "e", "e"})
        doc.AddChild(name, std::string(name) + std::to_string(doc.GetRoot().ChildCount()));
    const XmlNode& first = doc.FindChild("e");
    EXPECT_EQ(first.GetText(), "e0");
    const XmlNode& third = doc.FindNextChild("e", first);
    EXPECT_EQ(third.GetText(), "e2");
    const XmlNode& fourth = doc.FindNextChild("e", third);
    EXPECT_EQ(fourth.GetText(), "e3");
    EXPECT_EQ(&doc.FindNextChild("e", fourth), &EmptyNode());
    // From an earlier node again, after the cursor has moved past it.
    EXPECT_EQ(&doc.FindNextChild("e", first), &third);
    // A node of another name with the same sequence number ends the walk.
    EXPECT_EQ(&doc.FindNextChild("f", first), &EmptyNode());
    // Recognised by name and sequence number, not by address.
    XmlDocument other;
    other.AddChild("e", "");
    EXPECT_EQ(&doc.FindNextChild("e", other.FindChild("e")), &third);
}

TEST(XmlLookup, WalkSkipsOtherNamesAndSurvivesInterleavedLookups)
{
    XmlDocument doc("msg", 3);
    for (int i = 0; i < 50; ++i) {
        doc.AddChild("ps", i);
        doc.AddChild("x", i);
    }
    int seen = 0;
    for (const XmlNode* ps = &doc.FindChild("ps"); ps != &EmptyNode(); ps = &doc.FindNextChild("ps", *ps)) {
        EXPECT_EQ(ps->GetText(), std::to_string(seen));
        ++seen;
        EXPECT_TRUE(doc.GetRoot().FindChild("x").GetText() == "0"); // moves the cursor back
    }
    EXPECT_EQ(seen, 50);
}

TEST(XmlModel, SequenceNumbersAreNeverReused)
{
    XmlNode node;
    node.AddChild("a", "");
    node.AddChild("a", "");
    node.Clear();
    EXPECT_EQ(node.AddChild("a", "").GetIndex(), 3);
}

TEST(XmlModel, TagAssignmentCopiesAttributesDeeply)
{
    XmlTag tag;
    tag.SetName("t");
    tag.AddAttribute("k", "v");
    XmlTag copy;
    copy.AddAttribute("old", "x");
    copy = tag;
    tag.Clear();
    const XmlTag& self = copy;
    copy = self;
    EXPECT_EQ(copy.Write(0), "<t k=\"v\">");
    EXPECT_EQ(tag.Write(0), "<>");
}

} // namespace
