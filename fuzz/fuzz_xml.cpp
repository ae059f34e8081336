// Any bytes: the read ends without crash, leak or hang. A read that succeeds
// gives a tree whose written text reads back to the same tree.
#include "support/Xml.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool SameTree(const XmlNode& a, const XmlNode& b)
{
    bool same = a.GetName() == b.GetName() && a.GetText() == b.GetText() && a.ChildCount() == b.ChildCount() &&
                a.AttributeCount() == b.AttributeCount();
    for (std::int32_t i = 0; same && i < a.AttributeCount(); ++i)
        same = a.GetAttribute(i)->GetName() == b.GetAttribute(i)->GetName() &&
               a.GetAttribute(i)->GetValue() == b.GetAttribute(i)->GetValue();
    for (std::int32_t i = 0; same && i < a.ChildCount(); ++i)
        same = SameTree(*a.ChildAt(i), *b.ChildAt(i));
    return same;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    XmlDocument doc;
    bool ok = doc.Parse(text);
    std::string written = doc.GetXml(); // a failed read is writable too
    if (!ok)
        return 0;
    XmlDocument back;
    if (!back.Parse(written) || !SameTree(doc.GetRoot(), back.GetRoot()) || back.GetXml() != written)
        std::abort();
    return 0;
}
