#pragma once
// The copy of a found object: it flies on an arc to the waypoint (500, 260) at 1000 pixels a
// second, waits 0.8 s, then flies on, speeding up, to its goal on the status panel. There an
// object to find (which shrinks to nothing on the way) pays the object cost into the
// mini-game score; a hint object (which keeps its size) reveals a hint button. Game time.

#include "engine/scene/cPicture.h"
#include "game/effects/EffectRegistry.h"
#include "game/minigame/MiniGameArc.h"

class cFlyingObject : public cPicture {
public:
    static constexpr float kDeep = 8200.0f;
    static inline const cVector2 kWaypoint{500.0f, 260.0f};

    // The scene parent is the source's parent; the texture is the source's.
    cFlyingObject(cPicture* source, const cVector2& start, const cVector2& finalTarget, bool isHint);
    ~cFlyingObject() override;
    void update() override;

    int getLeg() const { return m_leg; }
    bool isHint() const { return m_is_hint; }
    const cMiniGameArc& getArc() const { return m_arc; }

private:
    void arrive();

    bool m_is_hint;
    float m_speed = 1000.0f;
    float m_sparkle_interval = 0.003f;
    float m_sparkle_countdown = 0.003f;
    cVector2 m_final_target;
    int m_leg = 0;
    float m_pause = 0.8f;
    cMiniGameArc m_arc;
    bool m_arrived = false;
};

const EffectRegistry& getFlyingObjects();
void clearFlyingObjects();
