#pragma once
// World 3's room: a balloon drifts along "curve_1" or "curve_2" of
// "Config/Game/world3_balloon.crv" (rand even: curve 1), rightward or leftward (a second rand),
// after a pause, at a speed and a scale drawn from "min_max_delay", "min_max_speed" and
// "min_max_scale" of "BALLOON" (x minimum, y maximum, in steps of 0.0001 over a width of
// max - min + 1, for the scale + 0.1; a width below one step draws the minimum). Scale below
// 0.6 draws it at alpha 150, below 0.9 at 200, else 255. Layer 2 scrolls at its start speed.
// "LIGHT" takes the time of day's picture and, at night, the depth "night_deep"; the light
// and the lamps blend by texture alpha.

#include "game/restaurant/cRoom.h"

class cCurve;

class cRoom3 : public cRoom {
public:
    explicit cRoom3(cSceneNode* level);
    ~cRoom3() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;

    void launchBalloon();
    void stepBalloon(float dt);

    cPicture* getBalloon() const { return m_balloon; }
    cPicture* getLight() const { return m_light; }
    cCurve* getBalloonCurve() const { return m_balloon_curve; }
    float getBalloonSpeed() const { return m_balloon_speed; }
    float getBalloonDelay() const { return m_delay; }
    float getBalloonDirection() const { return m_direction; }

private:
    cPicture* m_liberty;
    cPicture* m_balloon;
    cPicture* m_light;
    float m_base_y = 0.0f;
    cCurve* m_balloon_curve = nullptr;
    cVector2 m_speed_range, m_delay_range, m_scale_range;
    float m_balloon_speed = 0.0f;
    float m_delay = 0.0f;
    float m_direction = 1.0f;
};

inline constexpr const char* kBalloonCurves = "Config/Game/world3_balloon.crv";
