// The path graph: what the reader makes of a paths document (one-way edges, list ends, gaps,
// duplicates, the highest point number, unreadable positions) and the routes found over it
// (shortest, first found among equals, unreachable, a start that is no node).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/cXmlNode.h"
#include "game/characters/PathGraph.h"
#include "tests/engine/core/test_file_env.h"

namespace {

using Points = std::vector<cVector2>;

std::unique_ptr<cXmlNode> parse(const std::string& body) {
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><paths>" + body + "</paths>";
    const std::string bytes = file_test::utf16(std::wstring(text.begin(), text.end()));
    return cXmlNode::fromBytes(bytes.data(), bytes.size(), cStringA("paths.xml"));
}

cPathGraph graphOf(const std::string& points) {
    auto root = parse("<PathPoints>" + points + "</PathPoints>");
    EXPECT_TRUE(root);
    return root ? readPathGraph(*root) : cPathGraph();
}

std::string point(int n, const std::string& position, const std::vector<std::string>& neighbours) {
    std::string t = "<POINT_" + std::to_string(n);
    if (!position.empty()) t += " position=\"" + position + "\"";
    for (size_t k = 0; k < neighbours.size(); ++k)
        t += " point_" + std::to_string(k + 1) + "=\"" + neighbours[k] + "\"";
    return t + "/>";
}

struct ReaderCase {
    const char* name;
    std::string points;
    std::vector<std::pair<cVector2, Points>> nodes;   // the whole graph expected
};

TEST(PathGraph, ReaderKeepsOnlyListedNodesWithTheirNeighboursInOrder) {
    const std::vector<ReaderCase> cases = {
        {"edges go one way", point(1, "10,10", {"20,10"}) + point(2, "20,10", {"30,10", "10,10"}),
         {{{10, 10}, {{20, 10}}}, {{20, 10}, {{30, 10}, {10, 10}}}}},
        {"a missing number is skipped", point(1, "10,10", {"20,10"}) + point(7, "20,10", {"10,10"}),
         {{{10, 10}, {{20, 10}}}, {{20, 10}, {{10, 10}}}}},
        {"the list ends at a missing key",
         "<POINT_1 position=\"10,10\" point_1=\"20,10\" point_3=\"30,10\"/>", {{{10, 10}, {{20, 10}}}}},
        {"the list ends at (0,0)", point(1, "10,10", {"20,10", "0,0", "30,10"}), {{{10, 10}, {{20, 10}}}}},
        {"no neighbours, no node", point(1, "10,10", {}) + point(2, "20,10", {"10,10"}), {{{20, 10}, {{10, 10}}}}},
        {"a later point replaces an earlier one's list",
         point(1, "10,10", {"20,10", "30,10"}) + point(2, "10,10", {"40,10"}), {{{10, 10}, {{40, 10}}}}},
        {"POINT_199 is read, POINT_200 is not",
         point(199, "10,10", {"20,10"}) + point(200, "20,10", {"10,10"}), {{{10, 10}, {{20, 10}}}}},
        // A point without a readable position neither joins the point before it nor makes a
        // node at (0,0).
        {"a point without position is skipped",
         point(1, "10,10", {"20,10"}) + point(2, "", {"30,10"}) + point(3, "x", {"40,10"}),
         {{{10, 10}, {{20, 10}}}}},
        {"fractions and negative positions", point(1, "-5.5,2.25", {"7,-3"}), {{{-5.5f, 2.25f}, {{7, -3}}}}},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const cPathGraph graph = graphOf(c.points);
        ASSERT_EQ(graph.nodes.size(), c.nodes.size());
        for (const auto& [position, neighbours] : c.nodes) {
            ASSERT_TRUE(graph.isNode(position)) << position.x << "," << position.y;
            EXPECT_EQ(graph.neighboursOf(position), neighbours);
        }
    }
}

TEST(PathGraph, DocumentWithoutPathPointsGivesAnEmptyGraph) {
    auto root = parse("<Objects><TRASH control_point=\"10,10\"/></Objects>");
    ASSERT_TRUE(root);
    EXPECT_TRUE(readPathGraph(*root).nodes.empty());
}

// A(100,200) with two equally long ways up and down to T(300,200), a longer way round through
// L, and a one-way spur A -> S.
std::string diamond(bool upFirst) {
    const std::string up = "200,100", down = "200,300";
    return point(1, "100,200", upFirst ? std::vector<std::string>{up, down, "100,400", "100,50"}
                                       : std::vector<std::string>{down, up, "100,400", "100,50"}) +
           point(2, up, {"100,200", "300,200"}) + point(3, down, {"100,200", "300,200"}) +
           point(4, "300,200", {"200,100", "200,300", "300,400"}) + point(5, "100,400", {"100,200", "300,400"}) +
           point(6, "300,400", {"100,400", "300,200"}) + point(7, "100,50", {"9,9"});
}

struct RouteCase {
    const char* name;
    bool upFirst;
    cVector2 start, destination;
    bool found;
    Points route;
};

TEST(PathGraph, RoutesAreShortestFirstFoundAndEndAtTheDestination) {
    const std::vector<RouteCase> cases = {
        {"shortest of three, every node after the start", true, {100, 200}, {300, 200}, true, {{200, 100}, {300, 200}}},
        {"equal lengths: the first neighbour's way", false, {100, 200}, {300, 200}, true, {{200, 300}, {300, 200}}},
        {"a longer chain", true, {100, 400}, {200, 100}, true, {{100, 200}, {200, 100}}},
        {"a neighbour next door", true, {300, 200}, {300, 400}, true, {{300, 400}}},
        {"already there", true, {300, 200}, {300, 200}, true, {}},
        {"already there, off the graph", true, {7, 7}, {7, 7}, true, {}},
        {"one-way spur: no way back", true, {100, 50}, {100, 200}, false, {}},
        {"a listed neighbour that is no node", true, {100, 50}, {9, 9}, false, {}},
        {"a destination that is no node", true, {100, 200}, {250, 200}, false, {}},
        {"a start that is no node", true, {101, 200}, {300, 200}, false, {}},
    };
    for (const RouteCase& c : cases) {
        SCOPED_TRACE(c.name);
        const cPathGraph graph = graphOf(diamond(c.upFirst));
        bool found = !c.found;
        EXPECT_EQ(findPath(graph, c.start, c.destination, &found), c.route);
        EXPECT_EQ(found, c.found);
    }
}

TEST(PathGraph, AShorterWayFoundLaterUpdatesTheQueuedRecord) {
    // X is taken first (50 away) and queues C at 161.8; Y (60 away) then reaches C in 100.
    const cPathGraph graph = graphOf(point(1, "100,100", {"100,150", "160,100"}) + point(2, "100,150", {"200,100"}) +
                                     point(3, "160,100", {"200,100"}) + point(4, "200,100", {"100,100"}));
    bool found = false;
    EXPECT_EQ(findPath(graph, {100, 100}, {200, 100}, &found), (Points{{160, 100}, {200, 100}}));
    EXPECT_TRUE(found);
}

TEST(PathGraph, NodesBeyondAMillionAreNeverReached) {
    const cPathGraph graph = graphOf(point(1, "1,1", {"2000001,1"}) + point(2, "2000001,1", {"1,1"}));
    bool found = true;
    EXPECT_TRUE(findPath(graph, {1, 1}, {2000001, 1}, &found).empty());
    EXPECT_FALSE(found);
}

}  // namespace
