#pragma once
// A star the running waitress leaves behind: placed up to 14 units off the given position
// (depth = that position's y - 1), it flies along the direction at the given speed and shrinks
// by its rate per second until its scale is 0.1. A star placed 10 units or more off shrinks by
// up to 2 per second more than the given rate, a nearer one by up to 0.5 more.
// "Config/Game/fx_waiter_star.ini" section "COMMON": picture keys and an animation that is set
// at its start and never advanced. Game time.

#include "engine/scene/cPicture.h"

class cFxWaiterStar : public cPicture {
public:
    cFxWaiterStar(cSceneNode* parent, const cVector2& position, const cVector2& direction, float speed,
                  float shrinkRate);
    ~cFxWaiterStar() override;
    void update() override;

    float getShrinkRate() const { return m_shrink_rate; }

private:
    cVector2 m_direction;
    float m_speed;
    float m_shrink_rate;
};
