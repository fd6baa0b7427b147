#pragma once
// Curve sets (resource type 6, files with the extension "crv"): named curves evaluated as
// y(x), used to animate effects and decor. A set is an XML document (UTF-16) whose root has
// the attribute count and the children Curve1 .. CurveN; each curve has a name, a
// point_count and the children Point1 .. PointP with position, left_anchor and right_anchor
// ("x y" pairs, the anchors relative to the position). Each curve is a chain of cubic Bezier
// segments, tessellated at load into samples ordered by x and evaluated by binary search and
// linear interpolation, clamped at both ends.

#include <map>
#include <memory>
#include <vector>

#include "engine/core/cResource.h"
#include "engine/core/cString.h"
#include "engine/core/cVector2.h"

class cXmlNode;

class cCurve {
public:
    virtual ~cCurve() = default;
    virtual float getMinX() const = 0;
    virtual float getMaxX() const = 0;
    // y at x: the first y at or below the first x, the last y at or above the last x, else
    // linear between the two samples around x. No allocation.
    virtual float getValue(float x) const = 0;
};

// The tessellated curve.
class cBezierCurve : public cCurve {
public:
    struct Point {
        cVector2 position;
        cVector2 leftAnchor;   // control vector into the point, relative to position
        cVector2 rightAnchor;  // control vector out of the point, relative to position
    };
    struct Sample {
        float x;
        float y;
    };
    // Samples per unit of x along each segment.
    static constexpr double STEPS_PER_UNIT = 50.0;

    // Tessellates the points: none gives the single sample (0, 0), one gives its position;
    // otherwise each segment contributes ceil((x1 - x0) * 50) samples (none when that is not
    // positive), samples that would move back in x are dropped, and the last position ends
    // the table.
    explicit cBezierCurve(const std::vector<Point>& points);
    // Reads point_count and Point1 .. PointP of a curve element; a missing point throws
    // "Cant't load the curve points.".
    static std::unique_ptr<cBezierCurve> fromNode(const cXmlNode& curveElement);
    static std::vector<Point> readPoints(const cXmlNode& curveElement);
    // The number of table entries the points give (every segment's samples plus the end),
    // counted without building anything.
    static double countEntries(const std::vector<Point>& points);

    float getMinX() const override { return m_table.front().x; }
    float getMaxX() const override { return m_table.back().x; }
    float getValue(float x) const override;
    const std::vector<Sample>& getTable() const { return m_table; }

private:
    std::vector<Sample> m_table;  // never empty
};

class cCurveSet : public cResource {
public:
    // The most table entries the curves of one set may hold together (32 MB of samples): a
    // file whose curves would need more is refused with a text naming it, before anything of
    // that size is allocated.
    static constexpr double MAX_SET_ENTRIES = 4194304.0;

    // Loads the file through the file manager (XML failures and the curve texts propagate).
    cCurveSet(const cStringA& name, int group);
    // A set parsed from the bytes of a curve file in memory.
    static std::unique_ptr<cCurveSet> fromBytes(const void* data, size_t size, const cStringA& name = cStringA(),
                                                int group = 0);
    ~cCurveSet() override;

    cCurveSet* asCurveSet() override { return this; }
    cCurve* findCurve(const cStringA& curveName) override { return getCurve(curveName); }
    // Registers the factory of type 6 with the resource manager (repeating it does no harm).
    static void registerResourceFactory();

    // The curve of that name (any case), or null.
    cCurve* getCurve(const cStringA& name) const;
    size_t getCurveCount() const { return m_curves.size(); }

private:
    cCurveSet(const cStringA& name, int group, bool);
    void build(const cXmlNode& root);

    std::map<cStringA, std::unique_ptr<cCurve>> m_curves;  // by lower-cased name
};
