#include "support/Xml.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

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

void AppendEscaped(std::string& out, std::string_view text)
{
    const char* s = text.data();
    std::size_t n = text.size();
    std::size_t runStart = 0;
    auto plain = [s](std::size_t i) { return !kEscape.replacement[static_cast<unsigned char>(s[i])]; };
    for (std::size_t i = 0; i < n; ++i) {
        // Long texts such as a photo hold none of the five: four at a time.
        while (i + 4 <= n && plain(i) && plain(i + 1) && plain(i + 2) && plain(i + 3))
            i += 4;
        if (i == n)
            break;
        const char* r = kEscape.replacement[static_cast<unsigned char>(s[i])];
        if (r) {
            out.append(s + runStart, i - runStart);
            out.append(r);
            runStart = i + 1;
        }
    }
    out.append(s + runStart, n - runStart);
}

// The first c in [p, end), or nullptr. Most texts and names are short, and
// there a plain loop beats the library's setup.
const char* Find(const char* p, const char* end, char c)
{
    for (const char* shortEnd = end - p > 16 ? p + 16 : end; p < shortEnd; ++p)
        if (*p == c)
            return p;
    return p < end ? static_cast<const char*>(std::memchr(p, c, static_cast<std::size_t>(end - p))) : nullptr;
}

// Nonzero when one of the eight bytes of word equals c.
constexpr std::uint64_t kOnes = 0x0101010101010101u;
std::uint64_t HasByte(std::uint64_t word, unsigned char c)
{
    std::uint64_t x = word ^ (kOnes * c);
    return (x - kOnes) & ~x & (kOnes << 7);
}

// The first '<' in [p, end), or nullptr; amp is set when a '&' lies before
// it. Texts are read eight bytes at a time; a long one goes to the library.
const char* FindTagStart(const char* p, const char* end, bool& amp)
{
    for (const char* shortEnd = end - p > 64 ? p + 64 : end; p < shortEnd;) {
        if (shortEnd - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            std::uint64_t hits = HasByte(word, '<') | HasByte(word, '&');
            if (!hits) {
                p += 8;
                continue;
            }
            // The lowest marked byte is a true match.
            if constexpr (std::endian::native == std::endian::little)
                p += std::countr_zero(hits) / 8;
        }
        if (*p == '<')
            return p;
        amp |= *p == '&';
        ++p;
    }
    if (p >= end)
        return nullptr;
    const char* lt = static_cast<const char*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)));
    amp |= Find(p, lt ? lt : end, '&') != nullptr;
    return lt;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// Decodes the five entities of s[0, n) in place, in one pass; returns the new
// length. Text without '&' is left untouched.
std::size_t UnescapeInPlace(char* s, std::size_t n)
{
    const char* amp = Find(s, s + n, '&');
    if (!amp)
        return n;
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&quot;", '"'}, {"&apos;", '\''}, {"&gt;", '>'}, {"&lt;", '<'}, {"&amp;", '&'}};
    std::size_t out = static_cast<std::size_t>(amp - s);
    std::size_t i = out;
    while (i < n) {
        std::string_view rest(s + i, n - i);
        bool matched = false;
        for (const auto& [entity, c] : kEntities) {
            if (rest.starts_with(entity)) {
                s[out++] = c;
                i += entity.size();
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        const char* nextAmp = Find(s + i + 1, s + n, '&');
        std::size_t next = nextAmp ? static_cast<std::size_t>(nextAmp - s) : n;
        std::memmove(s + out, s + i, next - i);
        out += next - i;
        i = next;
    }
    return out;
}

inline std::string_view TrimmedEnd(std::string_view text)
{
    std::size_t last = text.size();
    while (last > 0 && IsBlank(text[last - 1]))
        --last;
    return text.substr(0, last);
}

inline std::string_view Trimmed(std::string_view text)
{
    text = TrimmedEnd(text);
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    return text.substr(first);
}

enum class TagKind { Start, End, Empty };

// One tag as read; its attributes come from the arena.
struct Tag {
    std::string_view name;
    TagKind kind = TagKind::Start;
    XmlAttribute* attributes = nullptr;
};

} // namespace

void* XmlArena::Allocate(std::size_t size, std::size_t align)
{
    std::size_t skip = (align - reinterpret_cast<std::uintptr_t>(next) % align) % align;
    if (skip + size > left) {
        // Blocks grow with the document, so a large read takes few of them.
        std::size_t grown = blocks.empty() ? firstBlock
            : blocks.size() < 8             ? std::size_t{4096} << blocks.size()
                                            : std::size_t{1} << 20;
        std::size_t block = std::max(size + align, grown);
        blocks.emplace_back(new char[block]);
        next = blocks.back().get();
        left = block;
        skip = (align - reinterpret_cast<std::uintptr_t>(next) % align) % align;
    }
    char* at = next + skip;
    next = at + size;
    left -= skip + size;
    return at;
}

std::string_view XmlArena::Copy(std::string_view text)
{
    if (text.empty())
        return {};
    char* copy = static_cast<char*>(Allocate(text.size(), 1));
    std::memcpy(copy, text.data(), text.size());
    return {copy, text.size()};
}

void XmlArena::Release(std::size_t first)
{
    blocks.clear();
    next = nullptr;
    left = 0;
    firstBlock = first;
}

// Reads from a document's own copy of the text, with positions as in the
// former public readers: each leaves the position on the last character it
// took. Entities are decoded in place in that copy.
struct XmlReader {
    char* s;
    std::int32_t end;
    XmlArena& arena;
    // The text of an element whose text is split by children, per depth.
    std::vector<std::string> joined;

    std::string_view Name(std::int32_t& pos) const
    {
        std::int32_t start = pos;
        while (pos < end && !kStop.stop[static_cast<unsigned char>(s[pos])])
            ++pos;
        return {s + start, static_cast<std::size_t>(pos - start)};
    }

    bool Attribute(XmlAttribute& attribute, std::int32_t& pos) const
    {
        std::int32_t start = pos;
        attribute.name = Name(pos);
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
        attribute.value = {open, static_cast<std::size_t>(closeChar - open)};
        pos = static_cast<std::int32_t>(closeChar - s);
        return true;
    }

    // Reads one tag with pos on its '<'; true when its '>' was reached, with
    // pos on it. An attribute that is cut short is kept as far as it was read.
    bool ReadTag(Tag& tag, std::int32_t& pos)
    {
        tag = Tag{};
        XmlAttribute** link = &tag.attributes;
        if (++pos >= end)
            return false;
        // The common tags first: a name, perhaps after '/', then '>'.
        if (s[pos] == '/') {
            tag.kind = TagKind::End;
            if (++pos >= end)
                return false;
        }
        if (!kStop.stop[static_cast<unsigned char>(s[pos])]) {
            tag.name = Name(pos);
            if (pos >= end)
                return false;
            if (s[pos] == '>')
                return true;
        }
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
                        tag.name = name;
                        --pos;
                    }
                } else {
                    XmlAttribute* attribute = arena.Make<XmlAttribute>();
                    Attribute(*attribute, pos);
                    *link = attribute;
                    link = &attribute->next;
                }
                break;
            }
            if (++pos >= end)
                return false;
        }
    }

    // The text is trimmed before each tag: a first piece is trimmed, and a
    // later one, after a text that begins and ends with no blank, keeps its
    // leading blanks. A text split by children is joined in this depth's
    // string.
    void AddText(XmlNode& node, std::size_t slot, bool& inJoin, std::string_view piece)
    {
        if (node.text.empty() && !inJoin)
            node.text = Trimmed(piece);
        else if (!(piece = TrimmedEnd(piece)).empty())
            Join(node, slot, inJoin, piece);
    }

    void Join(XmlNode& node, std::size_t slot, bool& inJoin, std::string_view piece)
    {
        if (joined.size() <= slot)
            joined.resize(slot + 1);
        std::string& join = joined[slot];
        if (!inJoin) {
            join.assign(node.text);
            inJoin = true;
        }
        join += piece;
    }

    // Decodes the entities of a complete text: one split by children in its
    // joined string, any other in place in the document's copy.
    void DecodeText(XmlNode& node, std::size_t slot, bool inJoin)
    {
        if (inJoin) {
            std::string& join = joined[slot];
            join.resize(UnescapeInPlace(join.data(), join.size()));
        } else if (!node.text.empty()) {
            char* at = const_cast<char*>(node.text.data());
            node.text = {at, UnescapeInPlace(at, node.text.size())};
        }
    }

    // The rest of an element that holds only a text, read without a call of
    // its own: pos lies on its start tag's '>', and the text runs to the
    // element's own end tag, written "</name>". Any other element is left
    // to Node, with pos unchanged.
    bool Leaf(XmlNode& node, std::int32_t& pos) const
    {
        bool amp = false;
        const char* lt = FindTagStart(s + pos + 1, s + end, amp);
        std::size_t length = node.name.size();
        if (!lt || static_cast<std::size_t>(s + end - lt) < length + 3 || lt[1] != '/' || lt[length + 2] != '>'
            || !SameName({lt + 2, length}, node.name))
            return false;
        node.text = Trimmed({s + pos + 1, static_cast<std::size_t>(lt - s - pos - 1)});
        if (amp && !node.text.empty()) {
            char* at = const_cast<char*>(node.text.data());
            node.text = {at, UnescapeInPlace(at, node.text.size())};
        }
        pos = static_cast<std::int32_t>(lt - s) + static_cast<std::int32_t>(length) + 2;
        return true;
    }

    // Reads one element. When first is given, the caller has already read
    // the element's first tag into it and pos lies on that tag's last
    // character: reading it again would give the same tag.
    bool Node(XmlNode& node, std::int32_t& pos, int depth, const Tag* first)
    {
        auto slot = static_cast<std::size_t>(depth - 1);
        bool inJoin = false;
        bool complete = Body(node, pos, depth, first, slot, inJoin);
        if (inJoin)
            node.text = arena.Copy(joined[slot]);
        return complete;
    }

    bool Body(XmlNode& node, std::int32_t& pos, int depth, const Tag* first, std::size_t slot, bool& inJoin)
    {
        if (pos >= end)
            return false;
        bool awaitingStartTag = true;
        Tag tag;
        if (first) {
            node.name = first->name;
            node.attributes = first->attributes;
            if (first->kind != TagKind::Start)
                return false;
            awaitingStartTag = false;
            if (++pos >= end)
                return false;
        }
        bool amp = false;
        for (;;) {
            // Blanks alone before a tag, as between the children of a
            // written document, add nothing to the text.
            std::int32_t blank = pos;
            while (blank < end && IsBlank(s[blank]))
                ++blank;
            const char* lt = blank < end && s[blank] == '<' ? s + blank : FindTagStart(s + blank, s + end, amp);
            if (!lt)
                return false;
            auto ltPos = static_cast<std::int32_t>(lt - s);
            if (ltPos != blank && !awaitingStartTag)
                AddText(node, slot, inJoin, {s + pos, static_cast<std::size_t>(ltPos - pos)});
            pos = ltPos;
            ReadTag(tag, pos);
            if (awaitingStartTag) {
                node.name = tag.name;
                node.attributes = tag.attributes;
                if (tag.kind != TagKind::Start)
                    return false;
                awaitingStartTag = false;
            } else if (tag.kind == TagKind::End) {
                if (!SameName(tag.name, node.name))
                    return false;
                if (amp)
                    DecodeText(node, slot, inJoin);
                return true;
            } else {
                if (depth >= XmlNode::kMaxDepth)
                    return false;
                XmlNode* child = arena.Make<XmlNode>();
                child->arena = &arena;
                child->name = tag.name;
                child->attributes = tag.attributes;
                if (!(tag.kind == TagKind::Start && Leaf(*child, pos)) && !Node(*child, pos, depth + 1, &tag))
                    return false;
                node.Append(child);
            }
            if (++pos >= end)
                return false;
        }
    }
};

void XmlNode::SetName(std::string_view newName)
{
    name = arena->Copy(newName);
}

void XmlNode::SetText(std::string_view newText)
{
    text = arena->Copy(newText);
}

void XmlNode::SetInt(int number)
{
    SetText(std::to_string(number));
}

void XmlNode::Append(XmlNode* child)
{
    child->index = nextIndex++;
    child->parent = this;
    if (lastChild)
        lastChild->next = child;
    else
        firstChild = child;
    lastChild = child;
    ++childCount;
}

XmlNode& XmlNode::AddChild(std::string_view childName, std::string_view childText)
{
    XmlNode* child = arena->Make<XmlNode>();
    child->arena = arena;
    Append(child);
    child->SetName(childName);
    child->SetText(childText);
    return *child;
}

XmlNode& XmlNode::AddChild(std::string_view childName, int number)
{
    return AddChild(childName, std::to_string(number));
}

const XmlNode* XmlNode::ChildAt(std::int32_t i) const
{
    if (i < 0 || i >= childCount)
        return nullptr;
    if (!cursor || i < cursorIndex) {
        cursor = firstChild;
        cursorIndex = 0;
    }
    while (cursorIndex < i) {
        cursor = cursor->next;
        ++cursorIndex;
    }
    return cursor;
}

std::int32_t XmlNode::AttributeCount() const
{
    std::int32_t count = 0;
    for (const XmlAttribute* a = attributes; a; a = a->next)
        ++count;
    return count;
}

const XmlAttribute* XmlNode::GetAttribute(std::int32_t i) const
{
    const XmlAttribute* a = i < 0 ? nullptr : attributes;
    for (; a && i > 0; --i)
        a = a->next;
    return a;
}

const XmlNode& XmlNode::FindChild(std::string_view wanted) const
{
    if (name == wanted)
        return *this;
    for (const XmlNode* child = firstChild; child; child = child->next)
        if (child->name == wanted)
            return *child;
    return EmptyNode();
}

const XmlNode& XmlNode::FindNextChild(std::string_view wanted, const XmlNode& after) const
{
    // after is found by its sequence number; among this node's own children
    // that is after itself, and the walk goes on from there.
    const XmlNode* child = after.parent == this ? &after : firstChild;
    while (child && child->index < after.index)
        child = child->next;
    if (!child || child->index != after.index || child->name != wanted)
        return EmptyNode();
    for (child = child->next; child; child = child->next)
        if (child->name == wanted)
            return *child;
    return EmptyNode();
}

bool XmlNode::HasChild(std::string_view wanted) const
{
    return &FindChild(wanted) != &EmptyNode();
}

template <typename Open, typename Close>
void XmlNode::Walk(Open open, Close close) const
{
    // By the links instead of recursion: a tree built in code may be deeper
    // than the reader allows.
    const XmlNode* node = this;
    open(*node);
    for (;;) {
        if (node->firstChild) {
            node = node->firstChild;
            open(*node);
            continue;
        }
        while (node != this && !node->next) {
            close(*node);
            node = node->parent;
        }
        close(*node);
        if (node == this)
            return;
        node = node->next;
        open(*node);
    }
}

std::string XmlNode::ToXml() const
{
    // The size without escapes first, so that the text is written into one
    // buffer.
    std::size_t size = 0;
    Walk(
        [&size](const XmlNode& node) {
            size += 2 * node.name.size() + node.text.size() + 6;
            for (const XmlAttribute* a = node.attributes; a; a = a->next)
                size += a->name.size() + a->value.size() + 4;
        },
        [](const XmlNode&) {});
    std::string out;
    out.reserve(size);
    Walk(
        [&out](const XmlNode& node) {
            out += '<';
            out += node.name;
            for (const XmlAttribute* a = node.attributes; a; a = a->next) {
                out += ' ';
                out += a->name;
                out += "=\"";
                out += a->value;
                out += '"';
            }
            out += '>';
            AppendEscaped(out, node.text);
            if (node.firstChild)
                out += '\n';
        },
        [&out](const XmlNode& node) {
            out += "</";
            out += node.name;
            out += ">\n";
        });
    return out;
}

void XmlNode::Clear()
{
    name = {};
    text = {};
    attributes = nullptr;
    firstChild = lastChild = nullptr;
    childCount = 0;
    cursor = nullptr;
    cursorIndex = -1;
}

XmlDocument::XmlDocument()
{
    root.arena = &arena;
    root.SetName("Root");
}

XmlDocument::XmlDocument(std::string_view name, int number)
{
    root.arena = &arena;
    root.SetName(name);
    root.SetInt(number);
}

bool XmlDocument::Parse(std::string_view text)
{
    root.Clear();
    // The tree in one block, sized from the text (an element takes some 16
    // bytes of it): one allocation a read, where growing block by block let
    // the C library map fresh pages for each large block of every read.
    constexpr std::size_t kMaxFirstBlock = 16 << 20;
    arena.Release(std::clamp(text.size() / 16 * sizeof(XmlNode), std::size_t{4096}, kMaxFirstBlock));
    constexpr std::size_t kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    std::size_t size = text.size() < kMax ? text.size() : kMax;
    source.reset(new char[size]);
    std::memcpy(source.get(), text.data(), size);
    XmlReader reader{source.get(), static_cast<std::int32_t>(size), arena, {}};
    std::int32_t position = 0;
    return reader.Node(root, position, 1, nullptr);
}

std::string XmlDocument::GetXml()
{
    if (root.name.empty())
        root.SetName("Root");
    return root.ToXml();
}

const XmlNode& EmptyNode()
{
    static const XmlNode empty;
    return empty;
}

std::string Escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text);
    return out;
}

std::string Unescape(std::string_view text)
{
    std::string out(text);
    out.resize(UnescapeInPlace(out.data(), out.size()));
    return out;
}
