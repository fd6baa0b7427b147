#include "game/effects/cFxFlyScore.h"

#include "engine/core/cCurveSet.h"
#include "engine/core/cIniFile.h"
#include "engine/scene/cPicture.h"
#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFxScoreSparkle.h"
#include "game/effects/cFxSparkle.h"

cStringA cFxFlyScore::iconOf(int kind) {
    switch (kind) {
    case 0: return cStringA();
    case 2: return "Game/Effects/combo_score_delivery.dds";
    case 3: return "Game/Effects/combo_score_tip.dds";
    default: return "Game/Effects/combo_score_order.dds";
    }
}

cFxFlyScore::cFxFlyScore(cSceneNode* parent, const cStringW& text, const cVector2& start, int kind, uint32_t color,
                         bool lost)
    : cText(parent), m_start(start), m_lost(lost) {
    const cIniFile& ini = effectIni(fx_files::kFlyScore);
    readVector(ini, L"COMMON", L"icon_off", &m_icon_offset);
    const char* curves = lost ? fx_files::kFlyScoreLostCurves : fx_files::kFlyScoreCurves;
    loadFromIni(ini, lost ? L"LOST" : L"COMMON");
    m_alpha_curve = effectCurve(curves, "alpha");
    m_offset_curve = effectCurve(curves, "off_y");
    setHorizontalAlign(TEXT_ALIGN_CENTER);
    setVerticalAlign(TEXT_ALIGN_BOTTOM);
    setLineSpacing(20);
    setString(text);
    setPosition(m_start);
    setColor(color & 0xFFFFFFu);
    setAlpha(0);
    if (kind != 0) {
        m_icon = new cPicture(this);
        m_icon->setPicture(iconOf(kind));
        m_icon->setAlpha(0);
        m_icon->setPosition(m_start + m_icon_offset);
        m_icon->setDeep(getDeep() - 0.1f);
        m_icon->show();
        m_icon->enable();
    }
    show();
    enable();
    cEffectRegistry<cFxFlyScore>::registerInstance(this);
}

cFxFlyScore::~cFxFlyScore() {
    hide();
    cEffectRegistry<cFxFlyScore>::unregisterInstance(this);
}

void cFxFlyScore::update() {
    cText::update();
    const float dt = getDeltaTime();
    // 1. Sparkles: only in bonus mode, never for lost points, only with full effects.
    if (!m_lost && isBonusModeOn()) {
        m_sparkle_timer -= dt;
        if (m_sparkle_timer <= 0.0f) {
            m_sparkle_timer = m_sparkle_interval;
            if (isFullEffectsOn()) new cFxScoreSparkle(getParent(), this, 200.0f, 55.0f);
        }
        if (m_icon) {
            m_icon_sparkle_timer -= dt;
            if (m_icon_sparkle_timer <= 0.0f) {
                m_icon_sparkle_timer = m_icon_sparkle_interval;
                if (isFullEffectsOn()) new cFxSparkle(getParent(), m_icon, 200.0f, 55.0f, -0.1f, 0xFFFFFF, cStringA());
            }
        }
    }
    // 2. Age, alpha and rise from the curves.
    m_time += dt;
    // 3. Gone once transparent.
    const float a = endAtZero(this, m_alpha_curve->getValue(m_time));
    const cVector2 p = m_start + cVector2(0.0f, m_offset_curve->getValue(m_time));
    // 4. Text and icon.
    setAlpha(toAlpha(a));
    setPosition(p);
    if (m_icon) {
        m_icon->setAlpha(toAlpha(a));
        m_icon->setPosition(p + m_icon_offset);
    }
}
