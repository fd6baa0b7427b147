#include "engine/core/cXmlNode.h"

#include <expat.h>

#include <locale>
#include <sstream>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cStream.h"

static_assert(sizeof(XML_Char) == 2, "the XML reader needs Expat's UTF-16 build (XML_UNICODE)");

namespace {

const XML_Char kUtf16[] = {'U', 'T', 'F', '-', '1', '6', 0};

std::wstring fromXml(const XML_Char* text, size_t length) {
    std::wstring out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) out.push_back(static_cast<wchar_t>(text[i]));
    return out;
}

std::wstring fromXml(const XML_Char* text) {
    size_t length = 0;
    while (text[length]) ++length;
    return fromXml(text, length);
}

// Reads one value as a wide input stream does; target keeps its value on failure.
template <class T>
void readText(const std::wstring& text, T& target) {
    std::wistringstream in(text);
    in.imbue(std::locale::classic());
    T value{};
    if (in >> value) target = value;
}

}  // namespace

// The parse in progress: the node receiving elements and the stack of open nodes.
struct cXmlNode::ParseState {
    cXmlNode* document = nullptr;
    cXmlNode* current = nullptr;
    std::vector<cXmlNode*> open;

    static void XMLCALL startElement(void* user, const XML_Char* name, const XML_Char** attributes) {
        auto* state = static_cast<ParseState*>(user);
        bool root = state->open.empty();
        state->open.push_back(state->current);
        if (!root) {
            auto* child = new cXmlNode(state->current->getGroup(), cStringA());
            state->current->m_children.emplace(cStringW(fromXml(name)).toNarrow(), child);
            state->current = child;
        }
        for (size_t i = 0; attributes[i] && attributes[i + 1]; i += 2)
            state->current->m_attributes[cStringW(fromXml(attributes[i]))] = cStringW(fromXml(attributes[i + 1]));
    }

    static void XMLCALL endElement(void* user, const XML_Char*) {
        auto* state = static_cast<ParseState*>(user);
        if (state->open.empty()) return;
        state->current = state->open.back();
        state->open.pop_back();
    }

    static void XMLCALL characters(void* user, const XML_Char* text, int length) {
        auto* state = static_cast<ParseState*>(user);
        if (length > 0) state->current->m_text.append(fromXml(text, static_cast<size_t>(length)));
    }
};

cXmlNode::cXmlNode(int group, const cStringA& name) : cResource(RESOURCE_XML, name, group) {}

cXmlNode::cXmlNode(const cStringA& name, int group) : cResource(RESOURCE_XML, name, group) {
    std::unique_ptr<cStream> stream(getFileManager()->openRead(name));
    std::vector<uint8_t> bytes = readWholeStream(*stream);
    stream.reset();
    parse(bytes.data(), bytes.size());
}

std::unique_ptr<cXmlNode> cXmlNode::fromBytes(const void* data, size_t size, const cStringA& name, int group) {
    std::unique_ptr<cXmlNode> document(new cXmlNode(group, name));
    document->parse(data, size);
    return document;
}

cXmlNode::~cXmlNode() {
    // Deep documents are freed without recursion.
    std::vector<cXmlNode*> pending;
    for (auto& entry : m_children) pending.push_back(entry.second);
    m_children.clear();
    while (!pending.empty()) {
        cXmlNode* node = pending.back();
        pending.pop_back();
        for (auto& entry : node->m_children) pending.push_back(entry.second);
        node->m_children.clear();
        delete node;
    }
}

void cXmlNode::registerResourceFactory() {
    cResourceManager::registerFactory(RESOURCE_XML, [](const cStringA& name, int group) -> cResource* {
        return new cXmlNode(name, group);
    });
}

void cXmlNode::parse(const void* data, size_t size) {
    XML_Parser parser = XML_ParserCreate(kUtf16);
    if (!parser) throw cStringA("Out of memory while creating the XML parser.");
    ParseState state;
    state.document = this;
    state.current = this;
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(parser, &ParseState::startElement, &ParseState::endElement);
    XML_SetCharacterDataHandler(parser, &ParseState::characters);

    // Expat takes the length as an int: hand over large buffers in pieces.
    const char* bytes = static_cast<const char*>(data);
    bool ok = true;
    const size_t piece = 1u << 30;
    do {
        size_t n = size < piece ? size : piece;
        bool last = n == size;
        ok = XML_Parse(parser, bytes, static_cast<int>(n), last ? 1 : 0) != XML_STATUS_ERROR;
        bytes += n;
        size -= n;
    } while (ok && size > 0);

    if (!ok) {
        const XML_LChar* message = XML_ErrorString(XML_GetErrorCode(parser));
        cStringA text = cStringA(message ? message : "unknown XML error") + " line " +
                        std::to_string(XML_GetCurrentLineNumber(parser)) + " char " +
                        std::to_string(XML_GetCurrentColumnNumber(parser));
        XML_ParserFree(parser);
        // Whatever was built before the error goes; the document stays empty.
        for (auto& entry : m_children) delete entry.second;
        m_children.clear();
        m_attributes.clear();
        m_text.clear();
        getErrorCallStack() = text;
        throw text;
    }
    XML_ParserFree(parser);
}

const cXmlNode* cXmlNode::firstChild(const cStringA& name) const {
    auto it = m_children.find(name);
    return it == m_children.end() ? nullptr : it->second;
}

int cXmlNode::getChildrenWith(const cStringA& name, const Attributes& filter, NodeList& out) const {
    auto range = m_children.equal_range(name);
    for (auto it = range.first; it != range.second; ++it) {
        bool match = true;
        for (const auto& [key, value] : filter) {
            auto found = it->second->m_attributes.find(key);
            if (found == it->second->m_attributes.end() || !found->second.equals(value)) {
                match = false;
                break;
            }
        }
        if (match) out.push_back(it->second);
    }
    return 0;
}

int cXmlNode::getChildren(const cStringA& name, NodeList& out) const {
    int count = 0;
    auto range = m_children.equal_range(name);
    for (auto it = range.first; it != range.second; ++it, ++count) out.push_back(it->second);
    return count;
}

bool cXmlNode::getChild(const cStringA& name, const cXmlNode*& out) const {
    const cXmlNode* child = firstChild(name);
    if (!child) return false;
    out = child;
    return true;
}

bool cXmlNode::getChildAt(size_t index, const cXmlNode*& out, cStringA* elementName) const {
    if (index >= m_children.size()) return false;
    auto it = m_children.begin();
    std::advance(it, static_cast<std::ptrdiff_t>(index));
    out = it->second;
    if (elementName) *elementName = it->first;
    return true;
}

#define RW_XML_CHILD_GETTER(Name, Type, Conversion)                         \
    bool cXmlNode::Name(const cStringA& name, Type& out) const {            \
        const cXmlNode* child = firstChild(name);                           \
        if (!child) return false;                                           \
        out = child->Conversion();                                          \
        return true;                                                        \
    }
RW_XML_CHILD_GETTER(getChildBool, bool, getTextBool)
RW_XML_CHILD_GETTER(getChildColor, cXmlColor, getTextColor)
RW_XML_CHILD_GETTER(getChildVector, cVector2, getTextVector)
RW_XML_CHILD_GETTER(getChildInt64, int64_t, getTextInt64)
RW_XML_CHILD_GETTER(getChildDouble, double, getTextDouble)
RW_XML_CHILD_GETTER(getChildFloat, float, getTextFloat)
RW_XML_CHILD_GETTER(getChildULong, uint32_t, getTextULong)
RW_XML_CHILD_GETTER(getChildLong, int32_t, getTextLong)
RW_XML_CHILD_GETTER(getChildInt, int, getTextInt)
RW_XML_CHILD_GETTER(getChildText, cStringW, getText)
RW_XML_CHILD_GETTER(getChildString, cStringA, getTextString)
#undef RW_XML_CHILD_GETTER

int cXmlNode::countChildren(const cStringA& name) const { return static_cast<int>(m_children.count(name)); }

float cXmlNode::getTextFloat() const {
    float v = 0;
    stringToFloat(&v, m_text);
    return v;
}

double cXmlNode::getTextDouble() const {
    double v = 0;
    stringToDouble(&v, m_text);
    return v;
}

int cXmlNode::getTextInt() const {
    int32_t v = 0;
    stringToInt(&v, m_text);
    return v;
}

int32_t cXmlNode::getTextLong() const {
    int32_t v = 0;
    stringToLong(&v, m_text);
    return v;
}

uint32_t cXmlNode::getTextULong() const {
    uint32_t v = 0;
    stringToULong(&v, m_text);
    return v;
}

int64_t cXmlNode::getTextInt64() const {
    int64_t v = 0;
    stringToInt64(&v, m_text);
    return v;
}

cVector2 cXmlNode::getTextVector() const {
    float v[2] = {0.0f, 0.0f};
    parseVector2(v, m_text);
    return cVector2(v[0], v[1]);
}

cXmlColor cXmlNode::getTextColor() const {
    uint32_t argb = 0;
    std::wistringstream in(m_text);
    in.imbue(std::locale::classic());
    uint32_t value = 0;
    if (in >> std::hex >> value) argb = value;
    cXmlColor c;
    c.r = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
    c.g = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
    c.b = static_cast<float>(argb & 0xFF) / 255.0f;
    c.a = static_cast<float>((argb >> 24) & 0xFF) / 255.0f;
    return c;
}

bool cXmlNode::getTextBool() const {
    bool v = false;
    stringToBool(&v, m_text);
    return v;
}

const cXmlNode::Attributes::value_type* cXmlNode::getAttributeAt(size_t index) const {
    if (index >= m_attributes.size()) return nullptr;
    auto it = m_attributes.begin();
    std::advance(it, static_cast<std::ptrdiff_t>(index));
    return &*it;
}

cStringW cXmlNode::getAttribute(const wchar_t* name) const { return getAttribute(cStringW(name)); }

cStringW cXmlNode::getAttribute(const cStringW& name) const {
    auto it = m_attributes.find(name);
    return it == m_attributes.end() ? cStringW() : it->second;
}
