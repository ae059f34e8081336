#pragma once

// A small XML model for the card messages: elements with a name, a text,
// attributes and ordered children. No prolog, comments, CDATA or character
// references; the five predefined entities are understood in element text.
// Texts are 8-bit and names compare byte for byte.
//
// A document owns its nodes, attributes and texts: a read keeps its own copy
// of the text and names and texts point into it; the rest lives in the
// document's arena and is freed with it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Memory handed out in blocks and freed all at once.
class XmlArena {
public:
    XmlArena() = default;
    XmlArena(const XmlArena&) = delete;
    XmlArena& operator=(const XmlArena&) = delete;

    template <typename T>
    T* Make()
    {
        static_assert((alignof(T) & (alignof(T) - 1)) == 0);
        std::size_t skip = (0 - reinterpret_cast<std::uintptr_t>(next)) & (alignof(T) - 1);
        if (skip + sizeof(T) > left)
            return new (Allocate(sizeof(T), alignof(T))) T;
        char* at = next + skip;
        next = at + sizeof(T);
        left -= skip + sizeof(T);
        return new (at) T;
    }
    std::string_view Copy(std::string_view text);
    // Frees every block; the next one taken holds at least firstBlock bytes.
    void Release(std::size_t firstBlock);

private:
    void* Allocate(std::size_t size, std::size_t align);

    std::vector<std::unique_ptr<char[]>> blocks;
    char* next = nullptr;
    std::size_t left = 0;
    std::size_t firstBlock = 4096;
};

class XmlAttribute {
public:
    std::string_view GetName() const { return name; }
    std::string_view GetValue() const { return value; }

private:
    friend struct XmlReader;
    friend class XmlNode;
    std::string_view name;
    std::string_view value;
    XmlAttribute* next = nullptr;
};

class XmlNode {
public:
    XmlNode(const XmlNode&) = delete;
    XmlNode& operator=(const XmlNode&) = delete;

    std::string GetName() const { return std::string(name); }
    void SetName(std::string_view newName);
    std::string GetText() const { return std::string(text); }
    void SetText(std::string_view newText);
    void SetInt(int number);
    // Sequence number under the parent; 0 for a node that is no child.
    std::int32_t GetIndex() const { return index; }

    // Appends a child with the next sequence number.
    XmlNode& AddChild(std::string_view childName, std::string_view childText);
    XmlNode& AddChild(std::string_view childName, int number);

    std::int32_t ChildCount() const { return childCount; }
    // nullptr outside 0 to ChildCount() - 1. An ascending walk takes one step
    // per child.
    const XmlNode* ChildAt(std::int32_t i) const;

    // Attributes as read, in their order; nullptr outside 0 to AttributeCount() - 1.
    std::int32_t AttributeCount() const;
    const XmlAttribute* GetAttribute(std::int32_t i) const;

    // This node when it bears the name, else its first child of that name,
    // else EmptyNode().
    const XmlNode& FindChild(std::string_view wanted) const;
    // The child of that name after the one whose name and sequence number
    // equal after's; EmptyNode() when there is none.
    const XmlNode& FindNextChild(std::string_view wanted, const XmlNode& after) const;
    // True when this node or one of its children bears the name.
    bool HasChild(std::string_view wanted) const;
    // The text of FindChild(name): "" when there is no such child.
    std::string ChildText(std::string_view wanted) const { return FindChild(wanted).GetText(); }

    std::string ToXml() const;
    // Empties name, text, attributes and children; keeps the sequence numbers.
    void Clear();

    static constexpr int kMaxDepth = 256;

private:
    friend struct XmlReader;
    friend class XmlArena;
    friend class XmlDocument;
    friend const XmlNode& EmptyNode();
    XmlNode() = default;
    void Append(XmlNode* child);
    // Calls open on entering each node of the subtree, close on leaving it.
    template <typename Open, typename Close>
    void Walk(Open open, Close close) const;

    // What a lookup reads first, kept together at the front.
    std::string_view name;
    XmlNode* next = nullptr;
    std::int32_t index = 0;
    std::int32_t nextIndex = 1;
    std::string_view text;
    XmlNode* firstChild = nullptr;
    XmlNode* lastChild = nullptr;
    const XmlNode* parent = nullptr;
    XmlAttribute* attributes = nullptr;
    XmlArena* arena = nullptr;
    std::int32_t childCount = 0;
    mutable std::int32_t cursorIndex = -1;
    mutable const XmlNode* cursor = nullptr;
};

class XmlDocument {
public:
    // Root "Root" with an empty text.
    XmlDocument();
    // Root named name with number in decimal as its text.
    XmlDocument(std::string_view name, int number);
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;
    virtual ~XmlDocument() = default;

    // Reads the root element from the start of text; true when it was read
    // whole. After a failure the root keeps what was read. Nodes of an
    // earlier read or built before are gone.
    bool Parse(std::string_view text);
    // The root as text; a root named "" is renamed "Root" first.
    std::string GetXml();

    XmlNode& AddChild(std::string_view name, std::string_view text) { return root.AddChild(name, text); }
    XmlNode& AddChild(std::string_view name, int number) { return root.AddChild(name, number); }
    const XmlNode& FindChild(std::string_view name) const { return root.FindChild(name); }
    const XmlNode& FindNextChild(std::string_view name, const XmlNode& after) const
    {
        return root.FindNextChild(name, after);
    }
    bool HasChild(std::string_view name) const { return root.HasChild(name); }

    XmlNode& GetRoot() { return root; }
    const XmlNode& GetRoot() const { return root; }

private:
    XmlArena arena;
    std::unique_ptr<char[]> source;
    XmlNode root;
};

// The one shared node that lookups return when they find nothing: name and
// text "", no children. Never modified.
const XmlNode& EmptyNode();

// & < > ' " to their entity references.
std::string Escape(std::string_view text);
// The five entity references back to their characters, in one pass: "&amp;lt;"
// gives "&lt;".
std::string Unescape(std::string_view text);
