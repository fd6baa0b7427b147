#pragma once
// A sparkle of a picture: a silhouette copy of the source in the given colour (low 24 bits),
// optionally with another texture, shifted by up to 6 units on each axis, its alpha falling
// by rate per second to 0. Interface time: it keeps fading while the game is paused, as long
// as its parent steps it.

#include "engine/scene/cPicture.h"

class cFxSparkle : public cPicture {
public:
    // An empty texture name keeps the source's texture.
    cFxSparkle(cSceneNode* parent, const cPicture* source, float rate, float startAlpha, float deepOffset,
               uint32_t color, const cStringA& texture);
    ~cFxSparkle() override;
    void update() override;

private:
    float m_rate;
    float m_alpha;
};
