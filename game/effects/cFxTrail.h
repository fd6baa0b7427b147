#pragma once
// A fading copy of a moving picture, drawn just behind it (depth - 0.1): its value falls by
// rate per second from the start value to 0. The start value is applied once, as the alpha,
// or with fade-by-colour as the grey colour (v, v, v) while the copied alpha stays; from the
// first frame on the value is the alpha in both modes. Game time.

#include "engine/scene/cPicture.h"

class cFxTrail : public cPicture {
public:
    cFxTrail(cSceneNode* parent, const cPicture* source, float rate, float start, bool fadeByColor);
    ~cFxTrail() override;
    void update() override;

private:
    float m_rate;
    float m_value;
    bool m_fade_by_color;
};
