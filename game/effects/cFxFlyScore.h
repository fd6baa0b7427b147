#pragma once
// A flying score: a line of text that rises and fades where points were earned or lost, with an
// optional combo icon. Its alpha and vertical offset follow the curves "alpha" and "off_y" of
// "Config/Game/fly_score_text.crv" (lost points: "Config/Game/fly_score_lost.crv"); it is gone
// in the first frame its alpha is 0 or less. In bonus mode, won points (never lost ones)
// sparkle while full effects are on. Game time.
//
// "Config/Game/fx_fly_score.ini": `icon_off` of "COMMON"; the text keys of "COMMON", or of
// "LOST" for lost points.

#include "engine/scene/cText.h"

class cCurve;
class cPicture;

class cFxFlyScore : public cText {
public:
    // kind: 0 no icon, 2 delivery, 3 tip, any other the order icon. The colour's red, green and
    // blue go to every glyph.
    cFxFlyScore(cSceneNode* parent, const cStringW& text, const cVector2& start, int kind, uint32_t color, bool lost);
    ~cFxFlyScore() override;
    void update() override;

    cPicture* getIcon() const { return m_icon; }
    // The icon texture of a kind (empty for kind 0).
    static cStringA iconOf(int kind);

private:
    cPicture* m_icon = nullptr;  // child, owned
    cVector2 m_icon_offset;
    cVector2 m_start;
    float m_time = 0.0f;
    cCurve* m_alpha_curve = nullptr;
    cCurve* m_offset_curve = nullptr;
    bool m_lost;
    // A timer is reset to its interval when it runs out, not advanced by it.
    float m_sparkle_timer = 0.02f;
    float m_sparkle_interval = 0.02f;
    float m_icon_sparkle_timer = 0.02f;
    float m_icon_sparkle_interval = 0.002f;
};
