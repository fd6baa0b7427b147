#include "game/characters/PathGraph.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <string>

#include "engine/core/cString.h"
#include "engine/core/cXmlNode.h"

namespace {

// A vector attribute over a (0,0) preset: absent or unreadable reads (0,0), and so does a
// value that is not finite.
cVector2 readPosition(const cXmlNode& node, const std::wstring& name) {
    float xy[2] = {0.0f, 0.0f};
    parseVector2(xy, node.getAttribute(cStringW(name)));
    if (!std::isfinite(xy[0]) || !std::isfinite(xy[1])) return cVector2();
    return cVector2(xy[0], xy[1]);
}

struct Record {
    cVector2 position;
    float distance = 0.0f;
    cVector2 previous;
};

constexpr float kUnreached = 1000000.0f;

}  // namespace

const std::vector<cVector2>& cPathGraph::neighboursOf(const cVector2& position) const {
    static const std::vector<cVector2> none;
    auto it = nodes.find(position);
    return it == nodes.end() ? none : it->second;
}

cPathGraph readPathGraph(const cXmlNode& root) {
    cPathGraph graph;
    const cXmlNode* points = nullptr;
    if (!root.getChild("PathPoints", points)) return graph;
    for (int n = 1; n <= kMaxPathPoint; ++n) {
        const cXmlNode* point = nullptr;
        if (!points->getChild(cStringA("POINT_" + std::to_string(n)), point)) continue;
        // Every point starts from (0,0): one whose position cannot be read is skipped rather
        // than filed under the position of the point before it.
        const cVector2 position = readPosition(*point, L"position");
        if (position.equals(cVector2())) continue;
        std::vector<cVector2> neighbours;
        for (int k = 1;; ++k) {
            const cVector2 next = readPosition(*point, L"point_" + std::to_wstring(k));
            if (next.equals(cVector2())) break;
            neighbours.push_back(next);
        }
        if (!neighbours.empty()) graph.nodes[position] = std::move(neighbours);
    }
    return graph;
}

std::vector<cVector2> findPath(const cPathGraph& graph, const cVector2& start, const cVector2& destination,
                               bool* found) {
    std::deque<cVector2> route;
    if (found) *found = true;
    if (start.equals(destination)) return {};

    // The node table is rebuilt for every search; positions outside it read as the all-zero
    // record and are never entered.
    std::map<cVector2, Record> table;
    for (const auto& [position, neighbours] : graph.nodes) table[position] = Record{position, kUnreached, cVector2()};
    auto recordOf = [&](const cVector2& position) -> Record {
        auto it = table.find(position);
        return it == table.end() ? Record{} : it->second;
    };

    std::vector<Record> open{Record{start, 0.0f, cVector2()}};
    while (!open.empty()) {
        std::stable_sort(open.begin(), open.end(),
                         [](const Record& a, const Record& b) { return a.distance < b.distance; });
        Record s = open.front();
        open.erase(open.begin());
        if (s.position.equals(destination)) {
            route.push_front(s.position);
            // Back along the previous nodes to the start; a position outside the table ends
            // the chain as (0,0). The chain visits no node twice; the bound only makes sure.
            for (size_t steps = 0; s.previous.notEquals(start) && steps <= table.size(); ++steps) {
                s = recordOf(s.previous);
                if (s.position.equals(cVector2())) break;
                route.push_front(s.position);
            }
            return {route.begin(), route.end()};
        }
        for (const cVector2& n : graph.neighboursOf(s.position)) {
            if (n.equals(s.previous)) continue;
            const float h = s.distance + s.position.minus(n).length();
            auto queued = std::find_if(open.begin(), open.end(), [&](const Record& r) { return r.position.equals(n); });
            if (queued != open.end()) {
                if (queued->distance > h) {
                    queued->previous = s.position;
                    queued->distance = h;
                    if (auto it = table.find(n); it != table.end()) it->second = *queued;
                }
            } else if (auto it = table.find(n); it != table.end() && it->second.distance > h) {
                it->second = Record{n, h, s.position};
                open.push_back(it->second);
            }
        }
    }
    if (found) *found = false;
    return {};
}
