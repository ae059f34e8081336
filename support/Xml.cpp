#include "support/Xml.h"

#include <cstring>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

struct StopTable {
    bool stop[256] = {};
    constexpr StopTable()
    {
        for (char c : std::string_view("\t\n\r \"'/<=>"))
            stop[static_cast<unsigned char>(c)] = true;
    }
};
constexpr StopTable kStop;

struct EscapeTable {
    const char* replacement[256] = {};
    constexpr EscapeTable()
    {
        replacement[static_cast<unsigned char>('&')] = "&amp;";
        replacement[static_cast<unsigned char>('<')] = "&lt;";
        replacement[static_cast<unsigned char>('>')] = "&gt;";
        replacement[static_cast<unsigned char>('\'')] = "&apos;";
        replacement[static_cast<unsigned char>('"')] = "&quot;";
    }
};
constexpr EscapeTable kEscape;

void AppendEscaped(std::string& out, const std::string& text)
{
    const char* s = text.data();
    std::size_t n = text.size();
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char* r = kEscape.replacement[static_cast<unsigned char>(s[i])];
        if (r) {
            out.append(s + runStart, i - runStart);
            out.append(r);
            runStart = i + 1;
        }
    }
    out.append(s + runStart, n - runStart);
}

// Decodes the five entities in place; the common text without '&' is untouched.
void UnescapeInPlace(std::string& text)
{
    std::size_t amp = text.find('&');
    if (amp == std::string::npos)
        return;
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&quot;", '"'}, {"&apos;", '\''}, {"&gt;", '>'}, {"&lt;", '<'}, {"&amp;", '&'}};
    std::string_view in(text);
    std::string out(in.substr(0, amp));
    std::size_t i = amp;
    while (i < in.size()) {
        if (in[i] == '&') {
            bool matched = false;
            for (const auto& [entity, c] : kEntities) {
                if (in.compare(i, entity.size(), entity) == 0) {
                    out += c;
                    i += entity.size();
                    matched = true;
                    break;
                }
            }
            if (matched)
                continue;
        }
        std::size_t next = in.find('&', i + 1);
        if (next == std::string_view::npos)
            next = in.size();
        out.append(in.substr(i, next - i));
        i = next;
    }
    text = std::move(out);
}

std::int32_t ClampEnd(const std::string& text, std::int32_t end)
{
    constexpr std::size_t kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    std::int32_t size = static_cast<std::int32_t>(text.size() < kMax ? text.size() : kMax);
    return end < size ? end : size;
}

} // namespace

// The reader works on a raw buffer with positions as in the public Parse
// operations: each reader leaves the position on the last character it took.
struct XmlReader {
    const char* s;
    std::int32_t end;
    XmlTag scratch;

    std::string_view Name(std::int32_t& pos) const
    {
        std::int32_t start = pos;
        while (pos < end && !kStop.stop[static_cast<unsigned char>(s[pos])])
            ++pos;
        return {s + start, static_cast<std::size_t>(pos - start)};
    }

    bool Attribute(XmlAttribute& attribute, std::int32_t& pos) const
    {
        attribute.Clear();
        std::int32_t start = pos;
        attribute.name.assign(Name(pos));
        while (pos < end && (IsBlank(s[pos]) || s[pos] == '='))
            ++pos;
        if (pos >= end) {
            pos = end - 1;
            return false;
        }
        if (s[pos] != '"') {
            // Leave the offending character to the tag reader, unless nothing
            // was taken, so that the tag reader always moves on.
            pos = pos - 1 > start ? pos - 1 : start;
            return false;
        }
        const char* open = s + pos + 1;
        const void* close = std::memchr(open, '"', static_cast<std::size_t>(end - pos - 1));
        if (!close) {
            pos = end - 1;
            return false;
        }
        const char* closeChar = static_cast<const char*>(close);
        attribute.value.assign(open, static_cast<std::size_t>(closeChar - open));
        pos = static_cast<std::int32_t>(closeChar - s);
        return true;
    }

    bool Tag(XmlTag& tag, std::int32_t& pos) const
    {
        tag.Clear();
        if (++pos >= end)
            return false;
        for (;;) {
            char c = s[pos];
            switch (c) {
            case '\t':
            case '\n':
            case '\r':
            case ' ':
                break;
            case '/':
                if (s[pos - 1] == '<')
                    tag.kind = TagKind::End;
                else if (pos + 1 < end && s[pos + 1] == '>')
                    tag.kind = TagKind::Empty;
                break;
            case '>':
                return true;
            default:
                if (tag.name.empty()) {
                    std::string_view name = Name(pos);
                    if (!name.empty()) {
                        tag.name.assign(name);
                        --pos;
                    }
                } else {
                    auto* attribute = new XmlAttribute;
                    Attribute(*attribute, pos);
                    tag.attributes.Append(attribute);
                }
                break;
            }
            if (++pos >= end)
                return false;
        }
    }

    // Moves the tag read into the scratch into node's own tag.
    void TakeScratch(XmlTag& into)
    {
        into.kind = scratch.kind;
        into.name.swap(scratch.name);
        into.attributes.AppendAll(scratch.attributes);
    }

    // Reads one element. When startTagRead is set, the caller has already
    // read the element's first tag into the scratch and pos lies on that
    // tag's last character: reading it again would give the same tag.
    bool Node(XmlNode& node, std::int32_t& pos, int depth, bool startTagRead)
    {
        if (pos < 0)
            return false;
        node.Clear();
        if (pos >= end)
            return false;
        if (startTagRead) {
            TakeScratch(node.tag);
            if (node.tag.kind != TagKind::Start)
                return false;
            node.awaitingStartTag = false;
            if (++pos >= end)
                return false;
        }
        for (;;) {
            const char* lt = static_cast<const char*>(
                std::memchr(s + pos, '<', static_cast<std::size_t>(end - pos)));
            if (lt == s + pos) {
                if (node.awaitingStartTag) {
                    Tag(node.tag, pos);
                    if (node.tag.kind != TagKind::Start)
                        return false;
                    node.awaitingStartTag = false;
                } else {
                    node.value.Trim();
                    Tag(scratch, pos);
                    if (scratch.kind == TagKind::End) {
                        if (scratch.name != node.tag.name)
                            return false;
                        UnescapeInPlace(node.value.text);
                        return true;
                    }
                    if (depth >= XmlNode::kMaxDepth)
                        return false;
                    // Linked before its read (and unlinked if the read fails),
                    // so that link and node lie together in memory.
                    XmlNode* child = node.children.AppendNew();
                    if (!Node(*child, pos, depth + 1, true)) {
                        node.children.RemoveAt(node.children.Count() - 1);
                        delete child;
                        return false;
                    }
                    child->index = node.nextIndex++;
                }
            } else if (!lt) {
                return false;
            } else {
                std::int32_t ltPos = static_cast<std::int32_t>(lt - s);
                if (!node.awaitingStartTag)
                    node.value.text.append(s + pos, static_cast<std::size_t>(ltPos - pos));
                pos = ltPos - 1;
            }
            if (++pos >= end)
                return false;
        }
    }
};

XmlAttribute::XmlAttribute(std::string attributeName, std::string attributeValue)
    : name(std::move(attributeName)), value(std::move(attributeValue))
{
}

bool XmlAttribute::Parse(const std::string& text, std::int32_t& position, std::int32_t end)
{
    XmlReader reader{text.data(), ClampEnd(text, end), {}};
    if (position < 0 || position >= reader.end) {
        Clear();
        return false;
    }
    return reader.Attribute(*this, position);
}

std::string XmlAttribute::ToXml() const
{
    std::string out;
    out.reserve(name.size() + value.size() + 3);
    out += name;
    out += "=\"";
    out += value;
    out += '"';
    return out;
}

void XmlAttribute::Clear()
{
    name.clear();
    value.clear();
}

XmlTag::XmlTag(const XmlTag& other) : XmlObject(), name(other.name), kind(other.kind)
{
    for (std::int32_t i = 0; i < other.attributes.Count(); ++i)
        attributes.Append(new XmlAttribute(*other.attributes.GetAt(i)));
}

XmlTag& XmlTag::operator=(const XmlTag& other)
{
    if (this == &other)
        return *this;
    attributes.DeleteAll();
    for (std::int32_t i = 0; i < other.attributes.Count(); ++i)
        attributes.Append(new XmlAttribute(*other.attributes.GetAt(i)));
    kind = other.kind;
    name = other.name;
    return *this;
}

XmlTag::~XmlTag()
{
    attributes.DeleteAll();
}

bool XmlTag::Parse(const std::string& text, std::int32_t& position, std::int32_t end)
{
    XmlReader reader{text.data(), ClampEnd(text, end), {}};
    if (position < 0 || position >= reader.end) {
        Clear();
        return false;
    }
    return reader.Tag(*this, position);
}

void XmlTag::AppendStart(std::string& out) const
{
    out += '<';
    out += name;
    for (std::int32_t i = 0; i < attributes.Count(); ++i) {
        const XmlAttribute* attribute = attributes.GetAt(i);
        out += ' ';
        out += attribute->GetName();
        out += "=\"";
        out += attribute->GetValue();
        out += '"';
    }
}

std::string XmlTag::Write(std::int32_t form) const
{
    std::string out;
    if (form == 0 || form == 2) {
        AppendStart(out);
        out += form == 0 ? ">" : "/>";
    } else {
        out += "</";
        out += name;
        out += '>';
    }
    return out;
}

void XmlTag::Clear()
{
    kind = TagKind::Start;
    name.clear();
    attributes.DeleteAll();
}

void XmlTag::AddAttribute(std::string attributeName, std::string attributeValue)
{
    attributes.Append(new XmlAttribute(std::move(attributeName), std::move(attributeValue)));
}

void XmlValue::SetInt(int number)
{
    text = std::to_string(number);
}

void XmlValue::Trim()
{
    std::size_t last = text.size();
    while (last > 0 && IsBlank(text[last - 1]))
        --last;
    std::size_t first = 0;
    while (first < last && IsBlank(text[first]))
        ++first;
    if (first == 0) {
        text.resize(last);
    } else {
        text.erase(last);
        text.erase(0, first);
    }
}

XmlNode::~XmlNode()
{
    // The subtree is freed node by node in document order (the order in
    // which a read allocated it), without recursion and without allocating.
    if (children.Count() == 0)
        return;
    IndexedList<XmlNode> pending;
    pending.AppendAll(children);
    while (XmlNode* node = pending.TakeFirst()) {
        pending.PrependAll(node->children);
        delete node;
    }
}

XmlNode& XmlNode::AddChild(const std::string& name, const std::string& text)
{
    XmlNode* child = children.AppendNew();
    child->tag.name = name;
    child->value.text = text;
    child->index = nextIndex++;
    return *child;
}

XmlNode& XmlNode::AddChild(const std::string& name, int number)
{
    return AddChild(name, std::to_string(number));
}

const XmlNode& XmlNode::FindChild(const std::string& name) const
{
    if (tag.name == name)
        return *this;
    for (std::int32_t i = 0; i < children.Count(); ++i) {
        const XmlNode* child = children.GetAt(i);
        if (child->tag.name == name)
            return *child;
    }
    return EmptyNode();
}

const XmlNode& XmlNode::FindNextChild(const std::string& name, const XmlNode& after) const
{
    // Sequence numbers rise along the list, so the search for after may start
    // at the cursor when the cursor stands at or before it; a walk by
    // FindChild and FindNextChild thus takes one step per child.
    std::int32_t count = children.Count();
    std::int32_t i = children.CursorIndex();
    if (i < 0 || i >= count || children.GetAt(i)->index > after.index)
        i = 0;
    for (; i < count; ++i) {
        const XmlNode* child = children.GetAt(i);
        if (child->index > after.index)
            return EmptyNode();
        if (child->index == after.index) {
            if (child->tag.name != name)
                return EmptyNode();
            break;
        }
    }
    for (++i; i < count; ++i) {
        const XmlNode* child = children.GetAt(i);
        if (child->tag.name == name)
            return *child;
    }
    return EmptyNode();
}

bool XmlNode::HasChild(const std::string& name) const
{
    return &FindChild(name) != &EmptyNode();
}

bool XmlNode::Parse(const std::string& text, std::int32_t& position, std::int32_t end)
{
    XmlReader reader{text.data(), ClampEnd(text, end), {}};
    return reader.Node(*this, position, 1, false);
}

void XmlNode::AppendXml(std::string& out) const
{
    // An explicit stack instead of recursion: a tree built in code may be
    // deeper than the reader allows.
    struct Frame {
        const XmlNode* node;
        std::int32_t next;
    };
    std::vector<Frame> stack;
    auto open = [&out](const XmlNode& node) {
        node.tag.AppendStart(out);
        out += '>';
        AppendEscaped(out, node.value.text);
        if (node.children.Count() > 0)
            out += '\n';
    };
    open(*this);
    stack.push_back({this, 0});
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next < top.node->children.Count()) {
            const XmlNode* child = top.node->children.GetAt(top.next++);
            open(*child);
            stack.push_back({child, 0});
        } else {
            out += "</";
            out += top.node->tag.name;
            out += ">\n";
            stack.pop_back();
        }
    }
}

std::string XmlNode::ToXml() const
{
    std::string out;
    AppendXml(out);
    return out;
}

void XmlNode::Clear()
{
    tag.Clear();
    value.text.clear();
    children.DeleteAll();
    awaitingStartTag = true;
}

XmlDocument::XmlDocument()
{
    root.SetName("Root");
}

XmlDocument::XmlDocument(const std::string& name, int number)
{
    root.SetName(name);
    root.SetInt(number);
}

bool XmlDocument::Parse(const std::string& text)
{
    std::int32_t position = 0;
    return root.Parse(text, position, std::numeric_limits<std::int32_t>::max());
}

std::string XmlDocument::GetXml()
{
    if (root.GetTag().GetName().empty())
        root.SetName("Root");
    return root.ToXml();
}

const XmlNode& EmptyNode()
{
    static const XmlNode empty;
    return empty;
}

std::string ReadName(const std::string& text, std::int32_t& position, std::int32_t end)
{
    XmlReader reader{text.data(), ClampEnd(text, end), {}};
    if (position < 0 || position >= reader.end)
        return {};
    return std::string(reader.Name(position));
}

std::string Escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text);
    return out;
}

std::string Unescape(const std::string& text)
{
    std::string out = text;
    UnescapeInPlace(out);
    return out;
}
