#include "game/minigame/cHiddenObject.h"

#include <cmath>

#include "engine/core/LogHooks.h"
#include "engine/core/cIniFile.h"
#include "engine/scene/cGeomPolygon.h"

namespace {

float cross(const cVector2& u, const cVector2& w) { return u.x * w.y - w.x * u.y; }

bool contains(const cTriangle& t, const cVector2& p) {
    return !(cross(t.b - t.a, p - t.a) < 0.0f) && !(cross(t.c - t.b, p - t.b) < 0.0f) &&
           !(cross(t.a - t.c, p - t.c) < 0.0f);
}

bool isFinite(const cVector2& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

// Twice the signed area; positive for points that run clockwise on the screen (y down).
double signedArea(const std::vector<cVector2>& points) {
    double sum = 0.0;
    for (size_t i = 0; i < points.size(); ++i) {
        const cVector2& a = points[i];
        const cVector2& b = points[(i + 1) % points.size()];
        sum += double(a.x) * double(b.y) - double(b.x) * double(a.y);
    }
    return sum;
}

}  // namespace

cHiddenObject::cHiddenObject(cSceneNode* parent) : cPicture(parent) {}

cHiddenObject::~cHiddenObject() {
    m_vertices.clear();
    m_triangles.clear();
    m_name.clear();
}

void cHiddenObject::loadFromIni(const cIniFile& ini, const cStringW& section) {
    // 1. The picture; 2. the name.
    cPicture::loadFromIni(ini, section);
    m_name = ini.getValue(section, L"name");
    // 3. The points, up to the first that stays at the end mark.
    m_vertices.clear();
    m_triangles.clear();
    for (int i = 1;; ++i) {
        float point[2] = {kEndMark, kEndMark};
        parseVector2(point, ini.getValue(section, cStringW(L"v") + intToString(i)));
        const cVector2 v(point[0], point[1]);
        if ((v.x == kEndMark && v.y == kEndMark) || !isFinite(v)) break;
        if (m_vertices.size() == kMaxPoints)
            throw cStringA("The click polygon of " + cStringW(section).toNarrow() + " has more than " +
                           std::to_string(kMaxPoints) + " points.");
        m_vertices.push_back(v);
    }
    // 4.-6. The triangles.
    split(section);
}

void cHiddenObject::split(const cStringW& section) {
    if (m_vertices.size() >= 3 && signedArea(m_vertices) > 0.0) {
        // Inserted last to first: the ring runs counter-clockwise on screen, as the split takes
        // it, and reading a piece backwards gives its points clockwise again.
        cGeomPolygon ring;
        for (size_t i = m_vertices.size(); i-- > 0;) ring.insertVertex(cGeomPoint(m_vertices[i].x, m_vertices[i].y));
        cGeomPolygonList pieces = splitConvex(ring);
        for (const auto& piece : pieces) {
            if (piece->getCount() != 3) continue;
            cVector2 corner[3];
            for (cVector2& v : corner) {
                const cGeomPoint& p = piece->advance(0)->point();
                v = cVector2(float(p.x), float(p.y));
            }
            m_triangles.push_back({corner[0], corner[1], corner[2]});
        }
    }
    if (m_triangles.empty())
        logGameQuietly("The click polygon of " + cStringW(section).toNarrow() + " (" + m_name.toNarrow() +
                       ") gives no triangle: it needs three or more points, listed clockwise on the screen.");
}

void cHiddenObject::updateHover(bool test, bool value) {
    if (!test) {
        m_hovered = value;
        return;
    }
    const bool centred = testTransformFlags(TF_CENTERED);
    hitTest(getMousePosition(), getPosition(), centred ? getLayerFrameSize(0) : cVector2());
}

void cHiddenObject::hitTest(const cVector2& point, const cVector2& position, const cVector2& size) {
    m_hovered = false;
    if (m_vertices.size() < 3) return;
    const cVector2 origin(position.x - size.x / 2.0f, position.y - size.y / 2.0f);
    for (const cTriangle& t : m_triangles) {
        const cTriangle moved{t.a + origin, t.b + origin, t.c + origin};
        if (contains(moved, point)) {
            m_hovered = true;
            return;
        }
    }
}

void cHiddenObject::blink(float t) {
    if (m_hinted) {
        m_blink_hold -= t;
        if (m_blink_hold <= 0.0f) {
            m_blink_hold = 0.0f;
            m_blink_alpha += 2000.0f * m_blink_direction * t;
            if (m_blink_direction > 0.0f && m_blink_alpha >= 255.0f) {
                m_blink_alpha = 255.0f;
                m_blink_direction = -1.0f;
                m_blink_hold = 0.3f;
                --m_blinks_left;
            } else if (m_blink_direction < 0.0f && m_blink_alpha <= 0.0f) {
                m_blink_alpha = 0.0f;
                m_blink_direction = 1.0f;
                m_blink_hold = 0.2f;
            }
        }
    } else {
        m_blink_hold = 0.0f;
        m_blink_direction = -1.0f;
        m_blink_alpha = 255.0f;
    }
    if (m_blinks_left == 0) {
        m_hinted = false;
        m_blinks_left = kBlinkCount;
    }
}

void cHiddenObject::update() {
    // 1. The hint blink on game time; 2. the alpha it gives; 3. the picture.
    blink(getDeltaTime());
    setAlpha(uint32_t(int32_t(m_blink_alpha)));
    cPicture::update();
}
