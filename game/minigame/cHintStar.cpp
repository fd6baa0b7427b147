#include "game/minigame/cHintStar.h"

#include "game/effects/EffectSupport.h"
#include "game/effects/cFxSparkle.h"
#include "game/minigame/MiniGameFiles.h"

void dropMiniGameSparkle(cPicture* effect, float* countdown, float interval, float step) {
    *countdown -= step;
    if (*countdown > 0.0f) return;
    *countdown = interval;
    new cFxSparkle(effect->getParent(), effect, 500.0f, 75.0f, -0.1f, 0xFFFFFFFFu, cStringA());
}

cHintStar::cHintStar(cSceneNode* parent, const cVector2& start, const cVector2& target) : cPicture(parent) {
    cEffectRegistry<cHintStar>::registerInstance(this);
    setAutoFiltering(true);
    setPicture(minigame_files::kHintStarTexture);
    setDeep(kDeep);
    m_arc.begin(start, target, cMiniGameArc::BY_DIRECTION);
    setPosition(start);
    setAlpha(255);
    show();
    enable();
}

cHintStar::~cHintStar() {
    hide();
    disable();
    cEffectRegistry<cHintStar>::unregisterInstance(this);
}

void cHintStar::update() {
    cPicture::update();
    const float step = getDeltaTime();
    // 1. The trail.
    dropMiniGameSparkle(this, &m_sparkle_countdown, m_sparkle_interval, step);
    // 2. Along the arc, faster and faster.
    m_arc.travelled += m_speed * step;
    m_speed += m_speed * 6.0f * step;
    setPosition(m_arc.point());
    // 3. At the target: spin, then go.
    if (m_arc.hasEnded()) {
        m_linger -= step;
        setAngle(getAngle() + m_spin_speed * step);
        if (m_linger <= 0.0f) {
            m_linger = 0.0f;
            setAlpha(0);
            scheduleDelete(this);
        }
        setPosition(m_arc.target);
    }
}

const EffectRegistry& getHintStars() { return cEffectRegistry<cHintStar>::instances(); }
void clearHintStars() { cEffectRegistry<cHintStar>::clear(); }
