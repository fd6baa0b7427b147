#pragma once
// The waitress's path graph: the nodes where she may stand and the one-way edges between
// them, read from the "PathPoints" element of the level's paths document, and the shortest
// route over it.
//
// The document: "POINT_1" to "POINT_199" (gaps allowed, higher numbers are never read), each
// with a "position" and its neighbours "point_1", "point_2", ... read until one is missing or
// reads (0,0). A point without neighbours (or without a readable position) is no node; a later
// point at the same position replaces the earlier one's neighbours. Nodes and neighbours are
// matched by exact position: the data writes them as whole numbers.

#include <map>
#include <vector>

#include "engine/core/cVector2.h"

class cXmlNode;

struct cPathGraph {
    // Node position -> its neighbours in document order.
    std::map<cVector2, std::vector<cVector2>> nodes;

    bool isNode(const cVector2& position) const { return nodes.count(position) != 0; }
    // The neighbours of a node; none for a position that is not a node.
    const std::vector<cVector2>& neighboursOf(const cVector2& position) const;
};

// The highest point number read.
inline constexpr int kMaxPathPoint = 199;

// The graph of a paths document's root element; empty without a "PathPoints" child.
cPathGraph readPathGraph(const cXmlNode& root);

// The shortest route from start to destination: every node after the start, the destination
// last. Empty when start equals destination (found, nothing to walk) and when no route exists
// (not found). Routes of equal length: the one the search meets first wins (the node waiting
// longest in the open list first, then neighbour order). Nodes farther than 1000000 along the
// graph are never reached.
std::vector<cVector2> findPath(const cPathGraph& graph, const cVector2& start, const cVector2& destination,
                               bool* found = nullptr);
