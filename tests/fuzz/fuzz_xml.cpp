// Parses the input as an XML document and walks every node with every accessor: any input
// must give a text failure or a document, never a crash.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/cCurveSet.h"
#include "engine/core/cXmlNode.h"

namespace {

void walk(const cXmlNode* root) {
    std::vector<const cXmlNode*> pending{root};
    while (!pending.empty()) {
        const cXmlNode* node = pending.back();
        pending.pop_back();
        node->getTextFloat();
        node->getTextInt64();
        node->getTextULong();
        node->getTextVector();
        node->getTextColor();
        node->getTextBool();
        node->getTextString();
        for (int i = 0; i < node->getAttributeCount(); ++i) {
            const auto* attribute = node->getAttributeAt(static_cast<size_t>(i));
            if (attribute) node->getAttribute(attribute->first);
        }
        for (auto it = node->childrenBegin(); it != node->childrenEnd(); ++it) {
            cXmlNode::NodeList list;
            node->getChildren(it->first, list);
            int value = 0;
            node->getChildInt(it->first, value);
            pending.push_back(it->second);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        auto doc = cXmlNode::fromBytes(data, size, cStringA("fuzz.xml"));
        walk(doc.get());
    } catch (const cStringA&) {
    }
    // The same bytes as a curve set.
    try {
        auto set = cCurveSet::fromBytes(data, size, cStringA("fuzz.crv"));
        for (float x = -2.0f; x <= 2.0f; x += 0.5f)
            if (cCurve* curve = set->getCurve("a")) curve->getValue(x);
    } catch (const cStringA&) {
    } catch (const char*) {
    }
    return 0;
}
