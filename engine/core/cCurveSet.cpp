#include "engine/core/cCurveSet.h"

#include <cmath>

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cXmlNode.h"

namespace {

cVector2 readPair(const cXmlNode& node, const wchar_t* attribute) {
    float v[2] = {0.0f, 0.0f};
    parseVector2(v, node.getAttribute(attribute));
    return cVector2(v[0], v[1]);
}

uint32_t readCount(const cXmlNode& node, const wchar_t* attribute) {
    uint32_t n = 0;
    stringToULong(&n, node.getAttribute(attribute));
    return n;
}

// ceil((x1 - x0) * 50) in double precision: the samples of one segment (none when not positive).
double segmentSteps(float x0, float x1) {
    double n = std::ceil((static_cast<double>(x1) - static_cast<double>(x0)) * cBezierCurve::STEPS_PER_UNIT);
    return n > 0.0 ? n : 0.0;
}

}  // namespace

double cBezierCurve::countEntries(const std::vector<Point>& points) {
    if (points.size() < 2) return 1.0;
    double entries = 1.0;
    for (size_t i = 0; i + 1 < points.size(); ++i) entries += segmentSteps(points[i].position.x, points[i + 1].position.x);
    return entries;
}

cBezierCurve::cBezierCurve(const std::vector<Point>& points) {
    if (points.empty()) {
        m_table.push_back({0.0f, 0.0f});
        return;
    }
    if (points.size() == 1) {
        m_table.push_back({points[0].position.x, points[0].position.y});
        return;
    }
    std::vector<int64_t> steps(points.size() - 1, 0);
    size_t reserve = 2;
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        double n = segmentSteps(points[i].position.x, points[i + 1].position.x);
        // A span beyond any sensible drawing is treated as empty rather than exhausting memory.
        steps[i] = (n > 0.0 && n < 1.0e7) ? static_cast<int64_t>(n) : 0;
        reserve += static_cast<size_t>(steps[i]);
    }
    m_table.reserve(reserve);
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        if (steps[i] <= 0) continue;
        const cVector2& p0 = points[i].position;
        cVector2 p1(p0.x + points[i].rightAnchor.x, p0.y + points[i].rightAnchor.y);
        const cVector2& p3 = points[i + 1].position;
        cVector2 p2(p3.x + points[i + 1].leftAnchor.x, p3.y + points[i + 1].leftAnchor.y);
        for (int64_t j = 0; j < steps[i]; ++j) {
            float t = static_cast<float>(j) / static_cast<float>(steps[i]);
            float u = 1.0f - t;
            float b0 = u * u * u, b1 = 3.0f * t * u * u, b2 = 3.0f * t * t * u, b3 = t * t * t;
            float x = b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x;
            float y = b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y;
            if (m_table.empty() || !(x < m_table.back().x)) m_table.push_back({x, y});
        }
    }
    m_table.push_back({points.back().position.x, points.back().position.y});
    m_table.shrink_to_fit();
}

std::vector<cBezierCurve::Point> cBezierCurve::readPoints(const cXmlNode& curveElement) {
    uint32_t count = readCount(curveElement, L"point_count");
    std::vector<Point> points;
    for (uint32_t i = 1; i <= count; ++i) {
        const cXmlNode* point = nullptr;
        if (!curveElement.getChild(cStringA("Point") + std::to_string(i), point)) throw "Cant't load the curve points.";
        points.push_back({readPair(*point, L"position"), readPair(*point, L"left_anchor"),
                          readPair(*point, L"right_anchor")});
    }
    return points;
}

std::unique_ptr<cBezierCurve> cBezierCurve::fromNode(const cXmlNode& curveElement) {
    return std::make_unique<cBezierCurve>(readPoints(curveElement));
}

float cBezierCurve::getValue(float x) const {
    const Sample& first = m_table.front();
    const Sample& last = m_table.back();
    if (x <= first.x) return first.y;
    if (x >= last.x) return last.y;
    // Here first.x < x < last.x, so the table has two entries or more and lo < hi.
    size_t lo = 0, hi = m_table.size();
    while (lo + 1 < hi) {
        size_t mid = (lo + hi) / 2;
        if (x >= m_table[mid].x) lo = mid;
        else hi = mid;
    }
    if (hi >= m_table.size()) return last.y;
    const Sample& a = m_table[lo];
    const Sample& b = m_table[hi];
    if (!(b.x > a.x)) return a.y;
    return a.y + (x - a.x) / (b.x - a.x) * (b.y - a.y);
}

cCurveSet::cCurveSet(const cStringA& name, int group, bool) : cResource(RESOURCE_CURVES, name, group) {}

cCurveSet::cCurveSet(const cStringA& name, int group) : cResource(RESOURCE_CURVES, name, group) {
    cXmlNode document(name, 0);
    build(document);
}

std::unique_ptr<cCurveSet> cCurveSet::fromBytes(const void* data, size_t size, const cStringA& name, int group) {
    std::unique_ptr<cCurveSet> set(new cCurveSet(name, group, true));
    std::unique_ptr<cXmlNode> document = cXmlNode::fromBytes(data, size, name, 0);
    set->build(*document);
    return set;
}

cCurveSet::~cCurveSet() = default;

void cCurveSet::registerResourceFactory() {
    cResourceManager::registerFactory(RESOURCE_CURVES, [](const cStringA& name, int group) -> cResource* {
        return new cCurveSet(name, group);
    });
}

void cCurveSet::build(const cXmlNode& root) {
    uint32_t count = readCount(root, L"count");
    // The curves are Curve1 .. CurveN in ascending number; only children can be curves, so
    // they are found by walking the children rather than by trying every number up to N.
    std::map<uint32_t, const cXmlNode*> elements;
    for (auto it = root.childrenBegin(); it != root.childrenEnd(); ++it) {
        const cStringA& element = it->first;
        if (element.size() <= 5 || element.compare(0, 5, "Curve") != 0) continue;
        cStringA digits = element.substr(5);
        if (digits.size() > 10 || digits[0] == '0' || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        uint64_t k = std::stoull(digits);
        if (k >= 1 && k <= count) elements.emplace(static_cast<uint32_t>(k), it->second);  // the first of a name
    }
    double entries = 0.0;
    for (const auto& [k, element] : elements) {
        cStringA curveName = element->getAttribute(L"name").toNarrow();
        if (curveName.isEmpty()) continue;
        curveName.makeLower();
        std::vector<cBezierCurve::Point> points = cBezierCurve::readPoints(*element);
        entries += cBezierCurve::countEntries(points);
        if (entries > MAX_SET_ENTRIES)
            throw cStringA("The curve set \"" + getName() + "\" is too large: its curves would need more than " +
                           std::to_string(static_cast<uint64_t>(MAX_SET_ENTRIES)) + " samples.");
        m_curves.emplace(curveName, std::make_unique<cBezierCurve>(points));  // the first of a name stays
    }
}

cCurve* cCurveSet::getCurve(const cStringA& name) const {
    cStringA key(name);
    key.makeLower();
    auto it = m_curves.find(key);
    return it == m_curves.end() ? nullptr : it->second.get();
}
