#pragma once
// A sparkle of a flying score's text: a white silhouette copy of the text, shifted by up to 4
// units on each axis and drawn just behind it, its alpha falling by rate per second to 0.
// Interface time: it keeps fading while the game is paused, as long as its parent steps it.

#include "engine/scene/cText.h"

class cFxScoreSparkle : public cText {
public:
    cFxScoreSparkle(cSceneNode* parent, const cText* source, float rate, float startAlpha);
    ~cFxScoreSparkle() override;
    void update() override;

private:
    float m_rate;
    float m_alpha;
};
