#pragma once
// The "excellent" picture of a mini game won: it pops in shrinking from 1.5, bounces up past
// 1.3, settles at 1, rests 0.7 s, then swells and fades out and deletes itself. Game time.

#include "engine/scene/cPicture.h"
#include "game/effects/EffectRegistry.h"

class cExcellentPopup : public cPicture {
public:
    static constexpr float kDeep = 8470.0f;

    // keepPicture false: the "excellent" texture; true: no texture is set.
    cExcellentPopup(cSceneNode* parent, bool keepPicture, const cVector2& position);
    ~cExcellentPopup() override;
    void update() override;

    int getPhase() const { return int(m_phase); }
    float getScaleValue() const { return m_scale; }
    float getAlphaValue() const { return m_alpha; }

private:
    float m_alpha = 0.0f;
    float m_scale = 1.5f;
    float m_scale_speed = -4.0f;
    float m_phase = 0.0f;
    float m_hold = 0.7f;
};

const EffectRegistry& getExcellentPopups();
void clearExcellentPopups();
