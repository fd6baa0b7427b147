#include "game/flow/LevelPack.h"

#include <string>

#if __has_include("engine/core/cXmlNode.h")
#include "engine/core/cXmlNode.h"
#define RW_HAVE_XML 1
#endif

namespace levelpack {

#ifdef RW_HAVE_XML
cStringW attribute(const cXmlNode* node, const wchar_t* name) {
    if (!node) return cStringW();
    return node->getAttribute(cStringW(name));
}

const cXmlNode* child(const cXmlNode* node, const char* name) {
    if (!node) return nullptr;
    const cXmlNode* found = nullptr;
    if (!node->getChild(cStringA(name), found)) return nullptr;
    return found;
}
#else
cStringW attribute(const cXmlNode*, const wchar_t*) { throw "XML documents are not available."; }
const cXmlNode* child(const cXmlNode*, const char*) { throw "XML documents are not available."; }
#endif

uint32_t countLevels(const cXmlNode* pack) {
    uint32_t count = 0;
    readUnsigned(pack, L"count_levels", &count);
    return count;
}

const cXmlNode* findLevel(const cXmlNode* pack, uint32_t n) {
    return child(pack, ("Level_" + std::to_string(n)).c_str());
}

const cXmlNode* requireLevel(const cXmlNode* pack, uint32_t n, const cStringA& packName) {
    const cXmlNode* level = findLevel(pack, n);
    if (!level)
        throw cStringA("Level pack '" + packName + "' has no element Level_" + std::to_string(n) + ".");
    return level;
}

void readUnsigned(const cXmlNode* node, const wchar_t* name, uint32_t* target) {
    cStringW text = attribute(node, name);
    if (!text.empty()) stringToUnsigned(target, text);
}

void readInt(const cXmlNode* node, const wchar_t* name, int32_t* target) {
    cStringW text = attribute(node, name);
    if (!text.empty()) stringToInt(target, text);
}

void readFloat(const cXmlNode* node, const wchar_t* name, float* target) {
    cStringW text = attribute(node, name);
    if (!text.empty()) stringToFloat(target, text);
}

}  // namespace levelpack
