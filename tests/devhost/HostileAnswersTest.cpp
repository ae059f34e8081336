// The hostile answers of the scripted session that rely on the client's own
// rules stay hostile under those rules: its reader refuses them, its names
// check refuses them, its decoder cannot take them.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <set>

#include "devhost/server/HostileAnswers.h"
#include "protocol/Card.h"
#include "support/Base64.h"
#include "support/Xml.h"

namespace {

int MaxDepth(const std::string& xml)
{
    int depth = 0, deepest = 0;
    for (std::size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1))
        deepest = std::max(deepest, depth += xml.compare(at, 2, "</") == 0 ? -1 : 1);
    return deepest;
}

TEST(HostileAnswersTest, EachStaysHostileUnderTheClientsRules)
{
    using Check = std::function<bool(const XmlDocument& doc, bool ok, const std::string& xml)>;
    const Check unparsable = [](const XmlDocument&, bool ok, const std::string&) { return !ok; };
    const Check unsafeDomain = [](const XmlDocument& doc, bool, const std::string&) {
        return !IsSafeAccountName(doc.FindChild("ps").ChildText("dom"));
    };
    const std::map<std::string, Check> checks = {
        {"truncated", unparsable},
        {"mismatched-tags", unparsable},
        {"not-xml", unparsable},
        {"nesting-100000", [](const XmlDocument&, bool ok, const std::string& xml) {
             return !ok && MaxDepth(xml) == 100000 && xml.back() == '\n';
         }},
        {"photo-1mb", [](const XmlDocument& doc, bool, const std::string&) {
             std::string bytes = Base64Decode(doc.FindChild("ps").FindChild("typ").ChildText("ph"));
             if (bytes.size() <= 1000000 || bytes.compare(0, 2, "BM") != 0)
                 return false;
             std::uint32_t size = 0;  // a whole picture file: its header holds its size
             std::memcpy(&size, bytes.data() + 2, sizeof size);
             return size == bytes.size();
         }},
        {"photo-garbage", [](const XmlDocument& doc, bool, const std::string&) {
             std::string text = doc.FindChild("ps").FindChild("typ").ChildText("ph");
             return Base64Encode(Base64Decode(text), false) != text;
         }},
        {"domain-dotdot", unsafeDomain},
        {"domain-con", unsafeDomain},
    };

    std::set<std::string> names, checked;
    for (const HostileAnswer& answer : HostileAnswers("u\xe9", "d.org")) {
        SCOPED_TRACE(answer.name);
        EXPECT_TRUE(names.insert(answer.name).second) << "duplicate name";
        XmlDocument doc;
        bool ok = doc.Parse(answer.xml);
        if (answer.name.rfind("name-", 0) == 0) {
            EXPECT_FALSE(IsSafeAccountName(doc.FindChild("ps").ChildText("usr")));
        }
        if (auto check = checks.find(answer.name); check != checks.end()) {
            EXPECT_TRUE(check->second(doc, ok, answer.xml));
            checked.insert(answer.name);
        }
    }
    EXPECT_EQ(checked.size(), checks.size());
}

} // namespace
