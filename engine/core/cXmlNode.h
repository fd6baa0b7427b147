#pragma once
// XML documents and their elements. A document (resource type 2: files with the extension
// "xml", and the level packs "qpk") is a cXmlNode that stands for the root element: it holds
// the root's attributes, children and text; the root's own tag name is not kept.
//
// Files are UTF-16 (parsed by Expat's UTF-16 build told that the encoding is "UTF-16").
// Children are ordered by element name (byte order), children of equal name in document
// order; attributes by name (16-bit code-unit order). The text is all character data directly
// inside the element, untrimmed. Nodes are read-only after loading; every lookup is exact and
// case-sensitive.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "engine/core/cResource.h"
#include "engine/core/cString.h"
#include "engine/core/cVector2.h"

// A colour read from text "AARRGGBB": four components from 0 to 1.
struct cXmlColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

class cXmlNode : public cResource {
public:
    using Attributes = std::map<cStringW, cStringW>;
    using Children = std::multimap<cStringA, cXmlNode*>;  // owned
    using NodeList = std::vector<const cXmlNode*>;

    // Loads the document name (lower-cased by the resource manager) through the file manager.
    // Throws the file manager's text, or for a malformed document the narrow cString
    // "<Expat's error text> line <n> char <n>" (also stored as the error call stack's text).
    cXmlNode(const cStringA& name, int group);
    // A document parsed from bytes in memory (UTF-16, either byte order, with or without a
    // byte-order mark); throws as the loading constructor.
    static std::unique_ptr<cXmlNode> fromBytes(const void* data, size_t size, const cStringA& name = cStringA(),
                                               int group = 0);
    // Deletes the node and all its descendants.
    ~cXmlNode() override;

    cXmlNode* asXml() override { return this; }
    // Registers the factory of type 2 with the resource manager (repeating it does no harm).
    static void registerResourceFactory();

    // ---- children ----
    // Appends every child of that name whose attributes include every (name, value) pair of
    // filter (all children of the name for an empty filter); returns 0.
    int getChildrenWith(const cStringA& name, const Attributes& filter, NodeList& out) const;
    // Appends every child of that name (out is not emptied); returns their number.
    int getChildren(const cStringA& name, NodeList& out) const;
    // The first child of that name: true and out set, or false with out unchanged.
    bool getChild(const cStringA& name, const cXmlNode*& out) const;
    // The child at index in child order and its element name (elementName may be null);
    // false when index is not below the number of children.
    bool getChildAt(size_t index, const cXmlNode*& out, cStringA* elementName = nullptr) const;
    // Typed children: false with out unchanged when there is no such child, else true and out
    // := the child's text conversion.
    bool getChildBool(const cStringA& name, bool& out) const;
    bool getChildColor(const cStringA& name, cXmlColor& out) const;
    bool getChildVector(const cStringA& name, cVector2& out) const;
    bool getChildInt64(const cStringA& name, int64_t& out) const;
    bool getChildDouble(const cStringA& name, double& out) const;
    bool getChildFloat(const cStringA& name, float& out) const;
    bool getChildULong(const cStringA& name, uint32_t& out) const;
    bool getChildLong(const cStringA& name, int32_t& out) const;
    bool getChildInt(const cStringA& name, int& out) const;
    bool getChildText(const cStringA& name, cStringW& out) const;
    bool getChildString(const cStringA& name, cStringA& out) const;
    Children::const_iterator childrenBegin() const { return m_children.begin(); }
    Children::const_iterator childrenEnd() const { return m_children.end(); }
    int countChildren(const cStringA& name) const;
    int getChildCount() const { return static_cast<int>(m_children.size()); }

    // ---- text ----
    // Conversions read the text as a wide input stream does (leading blanks and line breaks
    // skipped, stopping at the first character that does not fit); unreadable text gives 0,
    // false, (0, 0) or a colour of four zeros.
    cStringA getTextString() const { return m_text.toNarrow(); }
    const cStringW& getText() const { return m_text; }
    float getTextFloat() const;
    double getTextDouble() const;
    int getTextInt() const;
    int32_t getTextLong() const;
    uint32_t getTextULong() const;
    int64_t getTextInt64() const;
    cVector2 getTextVector() const;
    // Hexadecimal AARRGGBB (no "0x").
    cXmlColor getTextColor() const;
    // "1" true, "0" false, anything else false.
    bool getTextBool() const;

    // ---- attributes ----
    // The attribute at index in name order, or null when index is not below their number.
    const Attributes::value_type* getAttributeAt(size_t index) const;
    // The value, or the empty string when there is no such attribute.
    cStringW getAttribute(const wchar_t* name) const;
    cStringW getAttribute(const cStringW& name) const;
    Attributes::const_iterator attributesBegin() const { return m_attributes.begin(); }
    Attributes::const_iterator attributesEnd() const { return m_attributes.end(); }
    const Attributes& getAttributes() const { return m_attributes; }
    int getAttributeCount() const { return static_cast<int>(m_attributes.size()); }

private:
    struct ParseState;
    cXmlNode(int group, const cStringA& name);  // an empty node: a child element, or a document to parse
    void parse(const void* data, size_t size);
    const cXmlNode* firstChild(const cStringA& name) const;

    Attributes m_attributes;
    Children m_children;
    cStringW m_text;
};
