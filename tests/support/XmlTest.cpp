#include "support/Xml.h"

#include <gtest/gtest.h>

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

// Unescaping is one pass: "&amp;lt;" gives "&lt;".
TEST(Xml, WritesOneLinePerTagWithEscapedTextAndReadsItBack)
{
    XmlDocument empty;
    EXPECT_FALSE(empty.Parse(""));
    EXPECT_EQ(empty.GetXml(), "<Root></Root>\n");

    XmlDocument doc("msg", 2);
    doc.AddChild("typ", 1).AddChild("f", "Ann & <Bo>");
    EXPECT_EQ(doc.GetXml(), "<msg>2\n<typ>1\n<f>Ann &amp; &lt;Bo&gt;</f>\n</typ>\n</msg>\n");
    XmlDocument back;
    ASSERT_TRUE(back.Parse(doc.GetXml()));
    EXPECT_EQ(back.GetRoot().GetText(), "2");
    EXPECT_EQ(back.FindChild("typ").GetIndex(), 1);
    EXPECT_EQ(back.FindChild("typ").FindChild("f").GetText(), "Ann & <Bo>");
    EXPECT_EQ(back.GetXml(), doc.GetXml());
    // A second read replaces the first.
    ASSERT_TRUE(back.Parse("<r>&lt;3<s>4</s></r>"));
    EXPECT_EQ(back.GetXml(), "<r>&lt;3\n<s>4</s>\n</r>\n");

    EXPECT_EQ(Escape("a&b<c>d'e\"f"), "a&amp;b&lt;c&gt;d&apos;e&quot;f");
    const std::pair<const char*, const char*> cases[] = {
        {"&amp;lt;", "&lt;"}, {"&quot;&apos;&gt;&lt;&amp;", "\"'><&"},        {"&&lt;;", "&<;"},
        {"tail &", "tail &"}, {"&unknown; &amp &LT;", "&unknown; &amp &LT;"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Unescape(in), out) << in;
}

TEST(Xml, ReadResultAndWhatIsKept)
{
    struct Case { std::string input; bool ok; const char* name; std::string text; std::vector<std::string> children; };
    const std::string longText(70, 'x');
    const Case cases[] = {
        {"<a> x <b>1</b> y </a>", true, "a", "x y", {"1"}},
        // A text split by children is decoded once joined.
        {"<a> &lt;x <b>1</b> &gt; </a>", true, "a", "<x >", {"1"}},
        {"<a>&am<b>1</b>p;</a>", true, "a", "&", {"1"}},
        {"<a>" + longText + "&amp;</a>", true, "a", longText + "&", {}},
        {"abc<a>1</a>trailing <junk", true, "a", "1", {}},
        {"<a>\t&lt;b&gt; &amp;amp;\r\n</a>", true, "a", "<b> &amp;", {}},
        {"<a k=\"v>\">1</a", true, "a", "1", {}},
        {"<a k v=\"x\" l = \"<v w>\" m=>1</a>", true, "a", "1", {}},
        {"<a><b></a>", false, "a", "", {}},
        {"<a/>", false, "a", "", {}},
        {"</a>", false, "a", "", {}},
        {"<a>1", false, "a", "", {}},
        {"<a>1</A>", false, "a", "1", {}},
        {"<a> p &amp; q <b>1</b><c>2</c><d>3</a>", false, "a", "p &amp; q", {"1", "2"}},
        {"<a><b>1</b", false, "a", "", {"1"}},
        {"<a><b> x &amp; y </b><c>2</cd></a>", false, "a", "", {"x & y"}},
        {"<a>< /a>", false, "a", "", {}},
        {"no tag at all", false, "", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        XmlDocument doc;
        EXPECT_EQ(doc.Parse(c.input), c.ok);
        const XmlNode& root = doc.GetRoot();
        EXPECT_EQ(root.GetName(), c.name);
        EXPECT_EQ(root.GetText(), c.text);
        ASSERT_EQ(root.ChildCount(), static_cast<std::int32_t>(c.children.size()));
        for (std::int32_t i = 0; i < root.ChildCount(); ++i)
            EXPECT_EQ(root.ChildAt(i)->GetText(), c.children[static_cast<std::size_t>(i)]);
    }
}

TEST(Xml, ReadingStopsAtTheNestingBound)
{
    for (int levels : {XmlNode::kMaxDepth, XmlNode::kMaxDepth + 1, 100000}) {
        XmlDocument doc;
        EXPECT_EQ(doc.Parse(Nest(levels)), levels <= XmlNode::kMaxDepth) << levels;
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

TEST(Xml, FindChildAndWalksOverRepeatedNames)
{
    XmlDocument doc("msg", 1);
    EXPECT_EQ(&doc.FindChild("msg"), &doc.GetRoot());
    EXPECT_EQ(&doc.FindChild("e").FindChild("x"), &EmptyNode());
    EXPECT_FALSE(doc.HasChild("MSG"));
    for (const char* name : {"e", "f", "e", "e"})
        doc.AddChild(name, std::string(name) + std::to_string(doc.GetRoot().ChildCount()));
    const XmlNode& first = doc.FindChild("e");
    const XmlNode& third = doc.FindNextChild("e", first);
    EXPECT_EQ(third.GetText(), "e2");
    const XmlNode& fourth = doc.FindNextChild("e", third);
    EXPECT_EQ(fourth.GetText(), "e3");
    EXPECT_EQ(&doc.FindNextChild("e", fourth), &EmptyNode());
    // From an earlier node again, after the cursor has moved past it.
    EXPECT_EQ(&doc.FindNextChild("e", first), &third);
    // A node of another name with the same sequence number ends the walk.
    EXPECT_EQ(&doc.FindNextChild("f", first), &EmptyNode());

    // Sequence numbers are not reused after a clear.
    doc.GetRoot().Clear();
    EXPECT_EQ(doc.AddChild("e", "").GetIndex(), 5);
}

} // namespace
