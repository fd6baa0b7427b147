#pragma once
// The star of a hint used: it flies on an arc from the hint button to the hinted object,
// speeding up and dropping sparkles, spins there for half a second and deletes itself.
// Game time.

#include "engine/scene/cPicture.h"
#include "game/effects/EffectRegistry.h"
#include "game/minigame/MiniGameArc.h"

class cHintStar : public cPicture {
public:
    static constexpr float kDeep = 8200.0f;

    cHintStar(cSceneNode* parent, const cVector2& start, const cVector2& target);
    ~cHintStar() override;
    void update() override;

    const cMiniGameArc& getArc() const { return m_arc; }

private:
    float m_speed = 600.0f;
    float m_spin_speed = 500.0f;
    float m_sparkle_interval = 0.003f;
    float m_sparkle_countdown = 0.003f;
    float m_linger = 0.5f;
    cMiniGameArc m_arc;
};

const EffectRegistry& getHintStars();
void clearHintStars();

// The sparkle trail of the star and the flying objects: one white sparkle under the effect,
// at most one a frame, each countdown of the interval.
void dropMiniGameSparkle(cPicture* effect, float* countdown, float interval, float step);
