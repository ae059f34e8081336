#pragma once

// A small XML model for the card messages: elements with a name, a text,
// attributes and ordered children. No prolog, comments, CDATA or character
// references; the five predefined entities are understood in element text.
// Texts are 8-bit and names compare byte for byte.

#include "support/IndexedList.h"

#include <cstdint>
#include <string>

class XmlObject {
public:
    virtual ~XmlObject() = default;
};

class XmlAttribute : public XmlObject {
public:
    XmlAttribute() = default;
    XmlAttribute(std::string name, std::string value);

    // Reads name="value" at position and leaves position on the closing quote;
    // false when the value has no closing double quote or is missing.
    bool Parse(const std::string& text, std::int32_t& position, std::int32_t end);
    // name="value", the value written as held.
    std::string ToXml() const;
    void Clear();

    const std::string& GetName() const { return name; }
    const std::string& GetValue() const { return value; }
    void SetName(std::string newName) { name = std::move(newName); }
    void SetValue(std::string newValue) { value = std::move(newValue); }

private:
    friend struct XmlReader;
    std::string name;
    std::string value;
};

enum class TagKind : std::int32_t { Start = 0, End = 1, Empty = 2 };

class XmlTag : public XmlObject {
public:
    XmlTag() = default;
    XmlTag(const XmlTag& other);
    XmlTag& operator=(const XmlTag& other);
    ~XmlTag() override;

    // Reads one tag with position on its '<'; true when its '>' was reached,
    // with position on it.
    bool Parse(const std::string& text, std::int32_t& position, std::int32_t end);
    // Form 0: start tag; form 2: empty-element tag; any other: end tag.
    std::string Write(std::int32_t form) const;
    void Clear();

    TagKind GetKind() const { return kind; }
    const std::string& GetName() const { return name; }
    void SetName(std::string newName) { name = std::move(newName); }

    std::int32_t AttributeCount() const { return attributes.Count(); }
    // nullptr outside 0 to AttributeCount() - 1.
    const XmlAttribute* GetAttribute(std::int32_t i) const { return attributes.GetAt(i); }
    void AddAttribute(std::string attributeName, std::string attributeValue);

private:
    friend struct XmlReader;
    friend class XmlNode;
    void AppendStart(std::string& out) const;

    std::string name;
    TagKind kind = TagKind::Start;
    IndexedList<XmlAttribute> attributes;
};

class XmlValue {
public:
    virtual ~XmlValue() = default;

    void SetText(std::string newText) { text = std::move(newText); }
    void SetInt(int value);
    void Append(const std::string& more) { text += more; }
    // Removes tabs, line feeds, carriage returns and spaces at both ends.
    void Trim();
    std::string GetText() const { return text; }

private:
    friend struct XmlReader;
    friend class XmlNode;
    std::string text;
};

class XmlNode : public XmlObject {
public:
    XmlNode() = default;
    XmlNode(const XmlNode&) = delete;
    XmlNode& operator=(const XmlNode&) = delete;
    // Frees the subtree without recursion, so any depth is safe.
    ~XmlNode() override;

    void SetName(std::string name) { tag.SetName(std::move(name)); }
    std::string GetName() const { return tag.GetName(); }
    void SetText(std::string text) { value.SetText(std::move(text)); }
    std::string GetText() const { return value.GetText(); }
    void SetInt(int number) { value.SetInt(number); }
    XmlValue& GetValue() { return value; }
    const XmlValue& GetValue() const { return value; }
    XmlTag& GetTag() { return tag; }
    const XmlTag& GetTag() const { return tag; }
    // Sequence number under the parent; 0 for a node that is no child.
    std::int32_t GetIndex() const { return index; }

    // Appends a child with the next sequence number; the node owns it.
    XmlNode& AddChild(const std::string& name, const std::string& text);
    XmlNode& AddChild(const std::string& name, int number);

    std::int32_t ChildCount() const { return children.Count(); }
    // nullptr outside 0 to ChildCount() - 1.
    const XmlNode* ChildAt(std::int32_t i) const { return children.GetAt(i); }

    // This node when it bears the name, else its first child of that name,
    // else EmptyNode().
    const XmlNode& FindChild(const std::string& name) const;
    // The child of that name after the one whose name and sequence number
    // equal after's; EmptyNode() when there is none.
    const XmlNode& FindNextChild(const std::string& name, const XmlNode& after) const;
    // True when this node or one of its children bears the name.
    bool HasChild(const std::string& name) const;
    // The text of FindChild(name): "" when there is no such child.
    std::string ChildText(const std::string& name) const { return FindChild(name).GetText(); }

    // Reads one element from position; true when its end tag was reached,
    // with position on that tag's '>'. Elements deeper than kMaxDepth fail.
    bool Parse(const std::string& text, std::int32_t& position, std::int32_t end);
    std::string ToXml() const;
    // Empties name, text, attributes and children; keeps the sequence numbers.
    void Clear();

    static constexpr int kMaxDepth = 256;

private:
    friend struct XmlReader;
    void AppendXml(std::string& out) const;

    // What a lookup reads first, kept together at the front.
    std::int32_t index = 0;
    std::int32_t nextIndex = 1;
    bool awaitingStartTag = false;
    XmlTag tag;
    XmlValue value;
    IndexedList<XmlNode> children;
};

class XmlDocument {
public:
    // Root "Root" with an empty text.
    XmlDocument();
    // Root named name with number in decimal as its text.
    XmlDocument(const std::string& name, int number);
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;
    virtual ~XmlDocument() = default;

    // Reads the root element from the start of text; true when it was read
    // whole. After a failure the root keeps what was read.
    bool Parse(const std::string& text);
    // The root as text; a root named "" is renamed "Root" first.
    std::string GetXml();

    XmlNode& AddChild(const std::string& name, const std::string& text) { return root.AddChild(name, text); }
    XmlNode& AddChild(const std::string& name, int number) { return root.AddChild(name, number); }
    const XmlNode& FindChild(const std::string& name) const { return root.FindChild(name); }
    const XmlNode& FindNextChild(const std::string& name, const XmlNode& after) const
    {
        return root.FindNextChild(name, after);
    }
    bool HasChild(const std::string& name) const { return root.HasChild(name); }

    XmlNode& GetRoot() { return root; }
    const XmlNode& GetRoot() const { return root; }

private:
    XmlNode root;
};

// The one shared node that lookups return when they find nothing: name and
// text "", no children. Never modified.
const XmlNode& EmptyNode();

// Characters from position up to end or a stop character (white space,
// quotes, '/', '<', '=', '>'); position is left on the stop character.
std::string ReadName(const std::string& text, std::int32_t& position, std::int32_t end);
// & < > ' " to their entity references.
std::string Escape(const std::string& text);
// The five entity references back to their characters, in one pass: "&amp;lt;"
// gives "&lt;".
std::string Unescape(const std::string& text);
