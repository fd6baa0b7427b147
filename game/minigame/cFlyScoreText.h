#pragma once
// The copy of a found object's name line: a strike-through animation runs over it, then, after
// `fly_delay`, it floats away along the curves `off_y` and `alpha` of the mini game's fly-score
// curve set and deletes itself when the alpha reaches 0. As it starts to float the status
// panel closes the gap the line left. Game time.

#include "engine/scene/cText.h"
#include "game/effects/EffectRegistry.h"

class cCurve;
class cPicture;

class cFlyScoreText : public cText {
public:
    static constexpr float kDeep = 8200.0f;

    cFlyScoreText(cSceneNode* parent, const cText& source);
    ~cFlyScoreText() override;
    void update() override;
    // Text and strike-through together.
    void setPosition(const cVector2& position) override;
    void setAlpha(uint32_t alpha) override;

    cPicture* getStrike() const { return m_strike; }
    bool isFloating() const { return m_notified; }

private:
    cVector2 m_origin;
    float m_time = 0.0f;
    cCurve* m_alpha_curve = nullptr;
    cCurve* m_offset_curve = nullptr;
    cPicture* m_strike = nullptr;
    bool m_notified = false;
    float m_delay = 0.0f;
};

const EffectRegistry& getFlyScoreTexts();
void clearFlyScoreTexts();
