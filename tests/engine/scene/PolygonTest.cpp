#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/scene/cGeomPolygon.h"

namespace {

cGeomPolygon makePolygon(std::initializer_list<cGeomPoint> points) {
    cGeomPolygon p;
    for (const cGeomPoint& q : points) p.insertVertex(q);
    return p;
}

double area(const cGeomPolygon& p) {
    std::vector<cGeomPoint> pts = p.points();
    double sum = 0.0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const cGeomPoint& a = pts[i];
        const cGeomPoint& b = pts[(i + 1) % pts.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return std::fabs(sum) / 2.0;
}

double totalArea(const cGeomPolygonList& list) {
    double sum = 0.0;
    for (auto& t : list) sum += area(*t);
    return sum;
}

}  // namespace

TEST(GeomPoint, SideOfEveryCase) {
    cGeomPoint a(0, 0), b(10, 0);
    struct Case { cGeomPoint p; PointSide side; };
    const Case cases[] = {
        {{5, 1}, PS_LEFT},           // below on screen: cross > 0
        {{5, -1}, PS_RIGHT},
        {{-3, 0}, PS_BEFORE_START},
        {{12, 0}, PS_PAST_END},
        {{0, 0}, PS_AT_START},
        {{10, 0}, PS_AT_END},
        {{4, 0}, PS_BETWEEN},
    };
    for (const Case& c : cases) EXPECT_EQ(c.p.sideOf(a, b), c.side) << c.p.x << "," << c.p.y;
}

TEST(GeomPoint, AnglesSlopesAndDistances) {
    EXPECT_EQ(cGeomPoint(0, -1).polarAngle(), 270.0);
    EXPECT_DOUBLE_EQ(cGeomPoint(-1, 0).polarAngle(), 180.0);
    EXPECT_EQ(cGeomPoint(0, 0).polarAngle(), -1.0);
    EXPECT_NEAR(cGeomPoint(1, -1).polarAngle(), 315.0, 1e-6);
    EXPECT_EQ(cGeomEdge(cGeomPoint(2, 0), cGeomPoint(2, 5)).slope(), 1.7976931348623157e308);
    EXPECT_DOUBLE_EQ(cGeomEdge(cGeomPoint(0, 1), cGeomPoint(2, 5)).yAt(1), 3.0);

    cGeomEdge e(cGeomPoint(0, 0), cGeomPoint(10, 0));
    EXPECT_NEAR(cGeomPoint(3, -4).signedDistance(e), 4.0, 1e-12);   // right of the edge
    EXPECT_NEAR(cGeomPoint(3, 2).signedDistance(e), -2.0, 1e-12);    // left of the edge
    EXPECT_EQ(cGeomPoint(3, 2).signedDistance(cGeomEdge(cGeomPoint(1, 1), cGeomPoint(1, 1))), 0.0);

    cGeomEdge r = e;
    r.rotateQuarter().rotateQuarter();
    EXPECT_EQ(r.origin, cGeomPoint(10, 0));
    EXPECT_EQ(r.destination, cGeomPoint(0, 0));
    EXPECT_EQ(turnSign(cGeomPoint(0, 0), cGeomPoint(1, 0), cGeomPoint(1, 1)), 1);
}

TEST(GeomEdge, Crossings) {
    cGeomEdge a(cGeomPoint(0, 0), cGeomPoint(10, 0));
    double t = -1;
    EXPECT_EQ(a.segmentCrossing(cGeomEdge(cGeomPoint(5, -5), cGeomPoint(5, 5)), &t), LC_SEGMENTS_CROSS);
    EXPECT_DOUBLE_EQ(t, 0.5);
    EXPECT_EQ(a.segmentCrossing(cGeomEdge(cGeomPoint(5, 1), cGeomPoint(5, 5)), &t), LC_SEGMENTS_MISS);
    EXPECT_EQ(a.segmentCrossing(cGeomEdge(cGeomPoint(20, -5), cGeomPoint(20, 5)), &t), LC_SEGMENTS_MISS);
    EXPECT_EQ(a.lineParameter(cGeomEdge(cGeomPoint(0, 3), cGeomPoint(4, 3)), &t), LC_PARALLEL);
    EXPECT_EQ(a.lineParameter(cGeomEdge(cGeomPoint(20, 0), cGeomPoint(30, 0)), &t), LC_COLLINEAR);
}

TEST(GeomPolygon, RingOperations) {
    cGeomPolygon p = makePolygon({{1, 1}, {2, 2}, {3, 3}});
    EXPECT_EQ(p.getCount(), 3);
    EXPECT_EQ(p.point(), cGeomPoint(3, 3));
    EXPECT_EQ(p.next()->point(), cGeomPoint(1, 1));
    EXPECT_EQ(p.next()->next()->point(), cGeomPoint(2, 2));

    cGeomPolygon copy(p);
    EXPECT_EQ(copy.points(), p.points());
    EXPECT_NE(copy.current(), p.current());

    p.removeCurrent();
    EXPECT_EQ(p.getCount(), 2);
    EXPECT_EQ(p.point(), cGeomPoint(2, 2));
    p.removeCurrent();
    p.removeCurrent();
    EXPECT_EQ(p.getCount(), 0);
    EXPECT_EQ(p.current(), nullptr);
    p.removeCurrent();  // empty: nothing

    cGeomPolygon q = makePolygon({{5, 0}, {1, 9}, {1, 2}, {7, 7}});
    q.leastVertex([](const cGeomPoint& a, const cGeomPoint& b) { return a < b ? -1 : (b < a ? 1 : 0); });
    EXPECT_EQ(q.point(), cGeomPoint(1, 2));
}

TEST(GeomPolygon, PointInPolygon) {
    // Counter-clockwise on the screen (y down): right turns.
    cGeomPolygon square = makePolygon({{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    EXPECT_TRUE(pointInPolygon(cGeomPoint(5, 5), square));
    EXPECT_TRUE(pointInPolygon(cGeomPoint(0, 5), square));  // on the border
    EXPECT_FALSE(pointInPolygon(cGeomPoint(15, 5), square));
    EXPECT_TRUE(pointInPolygon(cGeomPoint(1, 1), makePolygon({{1, 1}})));
    EXPECT_TRUE(pointInPolygon(cGeomPoint(2, 2), makePolygon({{0, 0}, {4, 4}})));
    EXPECT_FALSE(pointInPolygon(cGeomPoint(2, 3), makePolygon({{0, 0}, {4, 4}})));
    EXPECT_FALSE(pointInPolygon(cGeomPoint(0, 0), cGeomPolygon()));
}

TEST(GeomPolygon, SplitConvexShapes) {
    struct Case {
        const char* name;
        std::vector<cGeomPoint> points;
        size_t triangles;
        double area;
    };
    const std::vector<Case> cases = {
        {"triangle", {{0, 0}, {0, 10}, {10, 0}}, 1, 50},
        {"square", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 2, 100},
        {"pentagon", {{0, 0}, {-5, 5}, {0, 10}, {10, 10}, {10, 0}}, 3, 125},
        // An arrow head with a reflex vertex at (5, 5).
        {"concave", {{0, 0}, {0, 10}, {10, 10}, {5, 5}, {10, 0}}, 3, 75},
    };
    for (const Case& c : cases) {
        cGeomPolygon p;
        for (const cGeomPoint& q : c.points) p.insertVertex(q);
        cGeomPolygonList list = splitConvex(p);
        EXPECT_EQ(list.size(), c.triangles) << c.name;
        for (auto& t : list) EXPECT_EQ(t->getCount(), 3) << c.name;
        EXPECT_NEAR(totalArea(list), c.area, 1e-9) << c.name;
    }
}

TEST(GeomPolygon, SplitOfUnusableShapesEnds) {
    // Clockwise on the screen, all points on one line, repeated points, too few points:
    // the splitting stops with what it found instead of searching forever.
    const std::vector<std::vector<cGeomPoint>> shapes = {
        {{0, 0}, {10, 0}, {10, 10}, {0, 10}},
        {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}},
        {{2, 2}, {2, 2}, {2, 2}, {2, 2}},
        {{0, 0}, {5, 5}},
        {},
    };
    for (const auto& shape : shapes) {
        cGeomPolygon p;
        for (const cGeomPoint& q : shape) p.insertVertex(q);
        cGeomPolygonList list = splitConvex(p);
        EXPECT_DOUBLE_EQ(totalArea(list), 0.0);
    }
    // A clockwise square yields nothing; the same square counter-clockwise yields two.
    cGeomPolygon cw = makePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_TRUE(splitConvex(cw).empty());
}

TEST(GeomPolygon, SplitAlongDiagonal) {
    cGeomPolygon p = makePolygon({{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    // current is (10, 0); split to (0, 10)
    cGeomVertex* target = p.next()->next();
    ASSERT_EQ(target->point(), cGeomPoint(0, 10));
    std::unique_ptr<cGeomPolygon> q(p.split(target));
    EXPECT_EQ(p.getCount(), 3);
    EXPECT_EQ(q->getCount(), 3);
    EXPECT_NEAR(area(p) + area(*q), 100.0, 1e-9);
}
