#include "game/minigame/cFlyScoreText.h"

#include <algorithm>

#include "engine/core/cCurveSet.h"
#include "engine/core/cIniFile.h"
#include "engine/scene/cPicture.h"
#include "game/effects/EffectSupport.h"
#include "game/minigame/MiniGameFiles.h"
#include "game/minigame/cMiniGameStatusPanel.h"

cFlyScoreText::cFlyScoreText(cSceneNode* parent, const cText& source) : cText(parent) {
    m_origin = source.getPosition();
    m_alpha_curve = effectCurve(minigame_files::kFlyScoreCurves, "alpha");
    m_offset_curve = effectCurve(minigame_files::kFlyScoreCurves, "off_y");
    assign(source);
    setDeep(kDeep);
    const cIniFile& ini = effectIni(minigame_files::kTextDeleted);
    m_strike = new cPicture(this);
    m_strike->loadFromIni(ini, L"COMMON");
    readFloat(ini, L"COMMON", L"fly_delay", &m_delay);
    setPosition(m_origin);
    show();
    enable();
    // Entered last: a curve or file that is not loaded throws above, and the half-built text
    // must not stay in the set.
    cEffectRegistry<cFlyScoreText>::registerInstance(this);
}

cFlyScoreText::~cFlyScoreText() {
    hide();
    disable();
    delete m_strike;
    m_strike = nullptr;
    cEffectRegistry<cFlyScoreText>::unregisterInstance(this);
}

void cFlyScoreText::setPosition(const cVector2& position) {
    cText::setPosition(position);
    if (m_strike) m_strike->setPosition(position);
}

void cFlyScoreText::setAlpha(uint32_t alpha) {
    cText::setAlpha(alpha);
    if (m_strike) m_strike->setAlpha(alpha);
}

void cFlyScoreText::update() {
    const float step = getDeltaTime();
    // 1. The wait after the strike-through.
    m_delay = m_delay - step > 0.0f ? m_delay - step : 0.0f;   // an unreadable delay is none
    // 2. Struck through and waited: float away.
    if (m_strike->getLayer0Time() >= m_strike->getLayer0Length() && m_delay == 0.0f) {
        if (!m_notified) {
            m_notified = true;
            if (cMiniGameStatusPanel* status = getMiniGameStatusPanel()) status->compactNameLines();
        }
        m_time += step;
        const float alpha = endAtZero(this, m_alpha_curve->getValue(m_time));
        setAlpha(toAlpha(alpha));
        setPosition(m_origin + cVector2(0.0f, m_offset_curve->getValue(m_time)));
    }
    // 3. The strike-through's animation, then the text.
    m_strike->advanceAnimation(step);
    cText::update();
}

const EffectRegistry& getFlyScoreTexts() { return cEffectRegistry<cFlyScoreText>::instances(); }
void clearFlyScoreTexts() { cEffectRegistry<cFlyScoreText>::clear(); }
