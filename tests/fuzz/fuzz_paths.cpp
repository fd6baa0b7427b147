// Reads the input as a paths document (UTF-16 with its byte-order mark, or else single-byte
// text widened) and routes between its nodes and to its control points: any input must read
// and route without a crash or a hang, and every route found must follow the graph's edges
// from the start to the destination.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/core/cString.h"
#include "engine/core/cXmlNode.h"
#include "game/characters/PathGraph.h"

namespace {

bool isEdge(const cPathGraph& graph, const cVector2& from, const cVector2& to) {
    for (const cVector2& n : graph.neighboursOf(from))
        if (n.equals(to)) return true;
    return false;
}

void route(const cPathGraph& graph, const cVector2& start, const cVector2& destination) {
    bool found = false;
    const std::vector<cVector2> path = findPath(graph, start, destination, &found);
    if (!found) {
        if (!path.empty()) std::abort();
        return;
    }
    if (path.empty()) {
        if (start.notEquals(destination)) std::abort();
        return;
    }
    if (path.back().notEquals(destination)) std::abort();
    cVector2 at = start;
    for (const cVector2& next : path) {
        if (!isEdge(graph, at, next)) std::abort();
        at = next;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return 0;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size < 2 || !(data[0] == 0xFF && data[1] == 0xFE)) {
        std::string wide = "\xFF\xFE";
        for (char c : bytes) {
            wide += c;
            wide += '\0';
        }
        bytes = wide;
    }
    std::unique_ptr<cXmlNode> root;
    try {
        root = cXmlNode::fromBytes(bytes.data(), bytes.size(), cStringA("fuzz.xml"));
    } catch (...) {
        return 0;
    }
    if (!root) return 0;
    const cPathGraph graph = readPathGraph(*root);

    std::vector<cVector2> places;
    for (const auto& [position, neighbours] : graph.nodes) {
        if (places.size() >= 8) break;
        places.push_back(position);
        if (!neighbours.empty()) places.push_back(neighbours.back());   // perhaps no node
    }
    const cXmlNode* objects = nullptr;
    if (root->getChild("Objects", objects))
        for (auto it = objects->childrenBegin(); it != objects->childrenEnd() && places.size() < 12; ++it) {
            float xy[2] = {0.0f, 0.0f};
            parseVector2(xy, it->second->getAttribute(L"control_point"));
            places.push_back(cVector2(xy[0], xy[1]));
        }
    for (const cVector2& from : places)
        for (const cVector2& to : places) route(graph, from, to);
    return 0;
}
