#include "engine/scene/cGeomPolygon.h"

#include <cmath>
#include <limits>

// ---- Points ----

double cGeomPoint::length() const { return std::sqrt(x * x + y * y); }

double cGeomPoint::polarAngle() const {
    if (x == 0.0 && y == 0.0) return -1.0;
    if (x == 0.0) return y > 0.0 ? 90.0 : 270.0;
    double t = std::atan(y / x) * 57.295780490442965;
    if (x > 0.0) return y >= 0.0 ? t : t + 360.0;
    return t + 180.0;
}

PointSide cGeomPoint::sideOf(const cGeomPoint& a, const cGeomPoint& b) const {
    cGeomPoint d = b - a;
    cGeomPoint e = *this - a;
    double cross = d.x * e.y - d.y * e.x;
    if (cross > 0.0) return PS_LEFT;
    if (cross < 0.0) return PS_RIGHT;
    if (d.x * e.x < 0.0 || d.y * e.y < 0.0) return PS_BEFORE_START;
    if (e.length() > d.length()) return PS_PAST_END;
    if (*this == a) return PS_AT_START;
    if (*this == b) return PS_AT_END;
    return PS_BETWEEN;
}

PointSide cGeomPoint::sideOf(const cGeomEdge& edge) const { return sideOf(edge.origin, edge.destination); }

double cGeomPoint::signedDistance(const cGeomEdge& edge) const {
    cGeomEdge turned = edge;
    turned.rotateQuarter().rotateQuarter().rotateQuarter();
    cGeomPoint v = edge.destination - edge.origin;
    double len = v.length();
    if (len == 0.0) return 0.0;  // no line to measure against
    cGeomPoint u(-v.y / len, v.x / len);
    cGeomEdge probe(*this, *this + u);
    double t = 0.0;
    probe.lineParameter(edge, &t);
    return t;
}

int turnSign(const cGeomPoint& a, const cGeomPoint& b, const cGeomPoint& c) {
    cGeomPoint u = b - a, v = c - a;
    double cross = u.x * v.y - u.y * v.x;
    return cross > 0.0 ? 1 : (cross < 0.0 ? -1 : 0);
}

// ---- Edges ----

cGeomEdge& cGeomEdge::rotateQuarter() {
    cGeomPoint m = (origin + destination) * 0.5;
    cGeomPoint v = destination - origin;
    cGeomPoint n(v.y, -v.x);
    origin = m - n * 0.5;
    destination = m + n * 0.5;
    return *this;
}

double cGeomEdge::slope() const {
    if (isVertical()) return std::numeric_limits<double>::max();
    return (destination.y - origin.y) / (destination.x - origin.x);
}

double cGeomEdge::yAt(double x) const { return slope() * (x - origin.x) + origin.y; }

LineCrossing cGeomEdge::lineParameter(const cGeomEdge& other, double* t) const {
    cGeomPoint od = other.destination - other.origin;
    cGeomPoint n(od.y, -od.x);
    double denominator = n.dot(destination - origin);
    if (denominator == 0.0) {
        PointSide side = origin.sideOf(other);
        return side == PS_LEFT || side == PS_RIGHT ? LC_PARALLEL : LC_COLLINEAR;
    }
    if (t) *t = -n.dot(origin - other.origin) / denominator;
    return LC_SKEW;
}

LineCrossing cGeomEdge::segmentCrossing(const cGeomEdge& other, double* t) const {
    double s = 0.0;
    LineCrossing kind = other.lineParameter(*this, &s);
    if (kind == LC_COLLINEAR || kind == LC_PARALLEL) return kind;
    if (s < 0.0 || s > 1.0) return LC_SEGMENTS_MISS;
    double own = 0.0;
    lineParameter(other, &own);
    if (t) *t = own;
    return own >= 0.0 && own <= 1.0 ? LC_SEGMENTS_CROSS : LC_SEGMENTS_MISS;
}

// ---- Vertices ----

cGeomVertex* cGeomVertex::insertAfter(cGeomVertex* v) {
    cGeomVertex* after = m_next;
    v->m_next = after;
    v->m_prev = this;
    m_next = v;
    after->m_prev = v;
    return v;
}

cGeomVertex* cGeomVertex::unlink() {
    m_prev->m_next = m_next;
    m_next->m_prev = m_prev;
    m_next = m_prev = this;
    return this;
}

void cGeomVertex::splice(cGeomVertex* b) {
    cGeomVertex* a = this;
    cGeomVertex* an = a->m_next;
    cGeomVertex* bn = b->m_next;
    a->m_next = bn;
    b->m_next = an;
    an->m_prev = b;
    bn->m_prev = a;
}

cGeomVertex* cGeomVertex::split(cGeomVertex* b) {
    cGeomVertex* bCopy = b->m_prev->insertAfter(new cGeomVertex(b->m_point));
    insertAfter(new cGeomVertex(m_point));
    splice(bCopy);
    return bCopy;
}

// ---- Polygons ----

cGeomPolygon::cGeomPolygon(cGeomVertex* ring) : m_current(ring) { recount(); }

cGeomPolygon::cGeomPolygon(const cGeomPolygon& other) {
    if (!other.m_current) return;
    cGeomVertex* v = other.m_current;
    do {
        insertVertex(v->point());
        v = v->next();
    } while (v != other.m_current);
    m_current = m_current->next();  // the copy of other's current vertex
}

cGeomPolygon::cGeomPolygon(cGeomPolygon&& other) noexcept : m_current(other.m_current), m_count(other.m_count) {
    other.m_current = nullptr;
    other.m_count = 0;
}

cGeomPolygon::~cGeomPolygon() {
    if (!m_current) return;
    cGeomVertex* v = m_current->next();
    while (v != m_current) {
        cGeomVertex* next = v->next();
        delete v;
        v = next;
    }
    delete m_current;
}

void cGeomPolygon::recount() {
    m_count = 0;
    if (!m_current) return;
    cGeomVertex* v = m_current;
    do {
        ++m_count;
        v = v->next();
    } while (v != m_current);
}

cGeomVertex* cGeomPolygon::advance(int direction) {
    if (m_current) m_current = m_current->neighbor(direction);
    return m_current;
}

cGeomVertex* cGeomPolygon::insertVertex(const cGeomPoint& p) {
    cGeomVertex* v = new cGeomVertex(p);
    if (m_current) m_current->insertAfter(v);
    m_current = v;
    ++m_count;
    return v;
}

void cGeomPolygon::removeCurrent() {
    if (!m_current) return;
    cGeomVertex* old = m_current;
    m_current = m_count == 1 ? nullptr : old->prev();
    delete old->unlink();
    --m_count;
}

cGeomPolygon* cGeomPolygon::split(cGeomVertex* v) {
    cGeomVertex* copy = m_current->split(v);
    recount();
    return new cGeomPolygon(copy);
}

cGeomVertex* cGeomPolygon::leastVertex(int (*compare)(const cGeomPoint&, const cGeomPoint&)) {
    if (!m_current || !compare) return m_current;
    cGeomVertex* best = m_current;
    for (cGeomVertex* v = m_current->next(); v != m_current; v = v->next())
        if (compare(v->point(), best->point()) < 0) best = v;
    m_current = best;
    return best;
}

std::vector<cGeomPoint> cGeomPolygon::points() const {
    std::vector<cGeomPoint> result;
    if (!m_current) return result;
    cGeomVertex* v = m_current;
    do {
        result.push_back(v->point());
        v = v->next();
    } while (v != m_current);
    return result;
}

bool pointInPolygon(const cGeomPoint& p, const cGeomPolygon& polygon) {
    int count = polygon.getCount();
    if (count == 0) return false;
    if (count == 1) return p == polygon.point();
    if (count == 2) {
        PointSide side = p.sideOf(polygon.edge());
        return side == PS_BETWEEN || side == PS_AT_START || side == PS_AT_END;
    }
    cGeomVertex* start = polygon.current();
    cGeomVertex* v = start;
    do {
        if (p.sideOf(v->point(), v->next()->point()) == PS_LEFT) return false;
        v = v->next();
    } while (v != start);
    return true;
}

// ---- Splitting into triangles ----

namespace {

// Makes current a vertex whose next vertex lies right of previous -> current; false when the
// polygon has none (clockwise, collinear or degenerate).
bool findConvexVertex(cGeomPolygon& p) {
    for (int i = 0; i < p.getCount(); ++i) {
        const cGeomPoint& a = p.prev()->point();
        const cGeomPoint& b = p.point();
        const cGeomPoint& c = p.next()->point();
        if (c.sideOf(a, b) == PS_RIGHT) return true;
        p.advance(1);
    }
    return false;
}

cGeomVertex* findIntrudingVertex(cGeomPolygon& p) {
    cGeomVertex* b = p.current();
    cGeomVertex* a = b->prev();
    cGeomVertex* c = b->next();
    cGeomEdge diagonal(c->point(), a->point());
    cGeomVertex* best = nullptr;
    double bestDistance = -1.0;
    for (cGeomVertex* v = c->next(); v != a; v = v->next()) {
        const cGeomPoint& q = v->point();
        if (q.sideOf(a->point(), b->point()) != PS_LEFT && q.sideOf(b->point(), c->point()) != PS_LEFT &&
            q.sideOf(c->point(), a->point()) != PS_LEFT) {
            double distance = q.signedDistance(diagonal);
            if (distance > bestDistance) {
                bestDistance = distance;
                best = v;
            }
        }
    }
    p.setCurrent(b);
    return best;
}

void splitInto(cGeomPolygon& p, cGeomPolygonList& out) {
    if (p.getCount() < 3) return;
    if (p.getCount() == 3) {
        out.push_back(std::make_unique<cGeomPolygon>(std::move(p)));
        return;
    }
    if (!findConvexVertex(p)) return;
    if (cGeomVertex* d = findIntrudingVertex(p)) {
        std::unique_ptr<cGeomPolygon> q(p.split(d));
        splitInto(*q, out);
        splitInto(p, out);
    } else {
        cGeomVertex* c = p.next();
        p.setCurrent(p.prev());
        std::unique_ptr<cGeomPolygon> q(p.split(c));
        splitInto(p, out);
        splitInto(*q, out);
    }
}

}  // namespace

cGeomPolygonList splitConvex(cGeomPolygon& polygon) {
    cGeomPolygonList result;
    splitInto(polygon, result);
    return result;
}
