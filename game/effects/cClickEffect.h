#pragma once
// The flash over a station when it is used in bonus mode: a white silhouette of the station's
// picture whose alpha and scale follow the curves "alpha" and "scale" of
// "Config/Game/click_effect.crv", ending in the first frame its age reaches the last x of the
// alpha curve. Game time.

#include "engine/scene/cPicture.h"

class cCurve;

class cClickEffect : public cPicture {
public:
    cClickEffect(cSceneNode* parent, const cPicture* source, float deepOffset);
    ~cClickEffect() override;
    void update() override;

private:
    float m_time = 0.0f;
    float m_alpha = 0.0f;
    float m_scale = 1.0f;
    cCurve* m_alpha_curve = nullptr;
    cCurve* m_scale_curve = nullptr;
};
