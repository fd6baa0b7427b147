#pragma once
// What the combo star and the score star share: a glow (a child picture that follows the
// star's position, angle and alpha as grey colour), a flight along a quadratic Bezier curve
// from a start to an end point with the control point pushed sideways by a third of the
// distance, trail copies of the glow every 0.02 s while full effects are on, and the spin.
// A flight of length 0 ends at once at its end point. Game time.

#include "engine/scene/cPicture.h"

class cFlyingStar : public cPicture {
public:
    // Which way the curve bends, seen along the flight.
    enum Side { BEND_LEFT, BEND_RIGHT };

    cFlyingStar(cSceneNode* parent, float speed);
    ~cFlyingStar() override;

    // The star and then its glow are placed at the point.
    void setPosition(const cVector2& position) override;
    // The star's alpha a; the glow's colour (a, a, a), its alpha unchanged.
    void setAlpha(uint32_t alpha) override;

    cPicture* getGlow() const { return m_glow; }
    const cVector2& getStart() const { return m_p0; }
    const cVector2& getControl() const { return m_p1; }
    const cVector2& getEnd() const { return m_p2; }
    float getLength() const { return m_length; }

protected:
    // Start, end and control point of the flight. BEND_LEFT pushes the control point to
    // (dir.y, -dir.x), BEND_RIGHT to (-dir.y, dir.x).
    void startFlight(const cVector2& from, const cVector2& to, Side side);
    // One frame of flight: trail, distance, place on the curve, deletion at the end, spin.
    void stepFlight(float dt);
    // Reads the picture keys and `angle_per_sec` of "COMMON" and the glow's picture keys of
    // "GLOW".
    void loadStarKeys(const cIniFile& ini);

    cPicture* m_glow = nullptr;  // child, owned
    float m_speed;
    float m_angle_per_sec = 0.0f;
    float m_trail_interval = 0.02f;
    float m_trail_timer = 0.02f;
    float m_length = 0.0f;
    float m_travelled = 0.0f;
    cVector2 m_direction;
    cVector2 m_p0, m_p1, m_p2;
};
