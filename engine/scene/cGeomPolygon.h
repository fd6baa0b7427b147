#pragma once
// A small double-precision 2D geometry toolkit: points, directed segments, polygons stored as
// a ring of vertices with a movable current vertex, and the splitting of a simple polygon into
// triangles. cross(u, v) = u.x*v.y - u.y*v.x; p lies left of a->b when cross(b-a, p-a) > 0.
// With screen coordinates (y down) a polygon running counter-clockwise on the screen turns
// right at its convex vertices.

#include <memory>
#include <vector>

enum PointSide : int {
    PS_LEFT = 0,
    PS_RIGHT = 1,
    PS_PAST_END = 2,
    PS_BEFORE_START = 3,
    PS_BETWEEN = 4,
    PS_AT_START = 5,
    PS_AT_END = 6,
};

enum LineCrossing : int {
    LC_COLLINEAR = 0,
    LC_PARALLEL = 1,
    LC_SKEW = 2,
    LC_SEGMENTS_CROSS = 3,
    LC_SEGMENTS_MISS = 4,
};

class cGeomEdge;

class cGeomPoint {
public:
    double x = 0.0;
    double y = 0.0;

    cGeomPoint() = default;
    cGeomPoint(double x_, double y_) : x(x_), y(y_) {}

    cGeomPoint operator+(const cGeomPoint& o) const { return cGeomPoint(x + o.x, y + o.y); }
    cGeomPoint operator-(const cGeomPoint& o) const { return cGeomPoint(x - o.x, y - o.y); }
    cGeomPoint operator*(double s) const { return cGeomPoint(x * s, y * s); }
    double operator[](int i) const { return i == 0 ? x : y; }
    bool operator==(const cGeomPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const cGeomPoint& o) const { return !(*this == o); }
    bool operator<(const cGeomPoint& o) const { return x < o.x || (x == o.x && y < o.y); }
    bool operator>(const cGeomPoint& o) const { return x > o.x || (x == o.x && y > o.y); }

    double dot(const cGeomPoint& o) const { return x * o.x + y * o.y; }
    double length() const;
    // Degrees: -1 for (0, 0); 90 / 270 on the y axis; otherwise 0..360.
    double polarAngle() const;
    PointSide sideOf(const cGeomPoint& a, const cGeomPoint& b) const;
    PointSide sideOf(const cGeomEdge& edge) const;
    // Distance to the edge's line: positive right of the edge, negative left.
    double signedDistance(const cGeomEdge& edge) const;
};

// 1, -1 or 0 as cross(b - a, c - a) is positive, negative or zero.
int turnSign(const cGeomPoint& a, const cGeomPoint& b, const cGeomPoint& c);

class cGeomEdge {
public:
    cGeomPoint origin{0.0, 0.0};
    cGeomPoint destination{1.0, 0.0};

    cGeomEdge() = default;
    cGeomEdge(const cGeomPoint& a, const cGeomPoint& b) : origin(a), destination(b) {}

    // A quarter turn about the midpoint.
    cGeomEdge& rotateQuarter();
    cGeomPoint pointAt(double t) const { return origin + (destination - origin) * t; }
    bool isVertical() const { return origin.x == destination.x; }
    // The largest double for a vertical edge.
    double slope() const;
    double yAt(double x) const;
    // The parameter t of this line where it meets the other line (LC_SKEW), or
    // LC_PARALLEL / LC_COLLINEAR.
    LineCrossing lineParameter(const cGeomEdge& other, double* t) const;
    LineCrossing segmentCrossing(const cGeomEdge& other, double* t) const;
};

class cGeomVertex {
public:
    explicit cGeomVertex(double x, double y) : m_point(x, y) {}
    explicit cGeomVertex(const cGeomPoint& p) : m_point(p) {}
    virtual ~cGeomVertex() = default;
    cGeomVertex(const cGeomVertex&) = delete;
    cGeomVertex& operator=(const cGeomVertex&) = delete;

    cGeomVertex* next() const { return m_next; }
    cGeomVertex* prev() const { return m_prev; }
    cGeomVertex* neighbor(int direction) const { return direction == 1 ? m_next : m_prev; }
    const cGeomPoint& point() const { return m_point; }
    cGeomPoint& point() { return m_point; }
    // Inserts v after this vertex; returns v.
    cGeomVertex* insertAfter(cGeomVertex* v);
    // Takes this vertex out of its ring (it becomes a ring of one); returns it.
    cGeomVertex* unlink();
    // Exchanges the next pointers of the two vertices: splits one ring or joins two.
    void splice(cGeomVertex* b);
    // Splits the ring along the diagonal to b; returns b's copy, which lies in the second ring.
    cGeomVertex* split(cGeomVertex* b);

private:
    cGeomVertex* m_next = this;
    cGeomVertex* m_prev = this;
    cGeomPoint m_point;
};

class cGeomPolygon {
public:
    cGeomPolygon() = default;
    explicit cGeomPolygon(cGeomVertex* ring);  // takes the ring
    cGeomPolygon(const cGeomPolygon& other);
    // Takes the other polygon's ring; the other becomes empty.
    cGeomPolygon(cGeomPolygon&& other) noexcept;
    cGeomPolygon& operator=(const cGeomPolygon&) = delete;
    ~cGeomPolygon();

    int getCount() const { return m_count; }
    cGeomVertex* current() const { return m_current; }
    void setCurrent(cGeomVertex* v) { m_current = v; }
    const cGeomPoint& point() const { return m_current->point(); }
    cGeomEdge edge() const { return cGeomEdge(m_current->point(), m_current->next()->point()); }
    cGeomVertex* next() const { return m_current->next(); }
    cGeomVertex* prev() const { return m_current->prev(); }
    cGeomVertex* neighbor(int direction) const { return m_current->neighbor(direction); }
    cGeomVertex* advance(int direction);
    // After the current vertex; the new vertex becomes current.
    cGeomVertex* insertVertex(const cGeomPoint& p);
    void removeCurrent();
    // Splits along the diagonal from the current vertex to v; returns the other part.
    cGeomPolygon* split(cGeomVertex* v);
    // The vertex least by compare (negative when the first is less); it becomes current.
    cGeomVertex* leastVertex(int (*compare)(const cGeomPoint&, const cGeomPoint&));
    // The points from the current vertex along next.
    std::vector<cGeomPoint> points() const;

private:
    void recount();

    cGeomVertex* m_current = nullptr;
    int m_count = 0;
};

bool pointInPolygon(const cGeomPoint& p, const cGeomPolygon& polygon);

// The triangles of a polygon, in splitting order; each owns its polygon.
using cGeomPolygonList = std::vector<std::unique_ptr<cGeomPolygon>>;

// Splits a simple polygon given counter-clockwise on the screen into triangles. The polygon
// is consumed (it is left empty or holding what could not be split). A polygon without a convex vertex
// (clockwise, collinear, degenerate) ends the splitting: the result holds the triangles found
// so far (possibly none).
cGeomPolygonList splitConvex(cGeomPolygon& polygon);
