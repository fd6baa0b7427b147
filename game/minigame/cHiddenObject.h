#pragma once
// One object of the hidden-object picture: a picture with a display name, a click polygon and
// a hint blink. The polygon comes from the keys v1, v2, ... of the object's section (pixels
// from the picture's top-left corner when it is centred, else from its position), listed
// clockwise on the screen; it is split into triangles once, when the object is configured.
// A polygon that gives no triangle (fewer than three points, counter-clockwise, degenerate)
// is logged and the object can never be hovered.

#include <vector>

#include "engine/core/cVector2.h"
#include "engine/scene/cPicture.h"

struct cTriangle {
    cVector2 a, b, c;
};

class cHiddenObject : public cPicture {
public:
    // A longer polygon is refused (thrown): the split recurses once per point.
    static constexpr size_t kMaxPoints = 256;
    // The value that ends the list of points (and the start of each point before its key is read).
    static constexpr float kEndMark = -100000.0f;
    static constexpr uint32_t kBlinkCount = 40;

    explicit cHiddenObject(cSceneNode* parent);
    ~cHiddenObject() override;

    // The hint blink on game time, then the picture.
    void update() override;
    // The picture's keys, name, points and the split into triangles.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;

    const cStringW& getName() const { return m_name; }
    bool isHovered() const { return m_hovered; }
    bool isHinted() const { return m_hinted; }
    // Starts (true) or ends the blink; ending it keeps the full 40 blinks for the next hint.
    void setHinted(bool hinted) { m_hinted = hinted; }
    // test true: the hover test against the cursor; false: the flag becomes value untested.
    void updateHover(bool test, bool value);
    // Sets the hovered flag: point inside a triangle moved to position - size / 2; edges count
    // as inside; triangles whose points run counter-clockwise on screen contain nothing.
    virtual void hitTest(const cVector2& point, const cVector2& position, const cVector2& size);

    const std::vector<cVector2>& getVertices() const { return m_vertices; }
    const std::vector<cTriangle>& getTriangles() const { return m_triangles; }
    float getBlinkAlpha() const { return m_blink_alpha; }
    uint32_t getBlinksLeft() const { return m_blinks_left; }

private:
    void split(const cStringW& section);
    void blink(float t);

    cStringW m_name;
    bool m_hovered = false;
    std::vector<cVector2> m_vertices;
    std::vector<cTriangle> m_triangles;
    bool m_hinted = false;
    float m_blink_alpha = 255.0f;
    float m_blink_direction = -1.0f;
    float m_blink_hold = 0.0f;
    uint32_t m_blinks_left = kBlinkCount;
};
