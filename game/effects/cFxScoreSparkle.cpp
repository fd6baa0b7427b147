#include "game/effects/cFxScoreSparkle.h"

#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"

cFxScoreSparkle::cFxScoreSparkle(cSceneNode* parent, const cText* source, float rate, float startAlpha)
    : cText(parent), m_rate(rate), m_alpha(startAlpha) {
    assign(*source);
    rebuildIfDirty();
    setDeep(getDeep() - 0.1f);
    setAlpha(toAlpha(startAlpha));
    setColor(0xFFFFFF);
    setRenderFlags(RF_OVERLAY, true);
    moveBy(randomShift(5));
    // After the glyphs are built: the callback is set on every glyph.
    setBeginDrawCallback(drawSilhouette);
    show();
    cEffectRegistry<cFxScoreSparkle>::registerInstance(this);
}

cFxScoreSparkle::~cFxScoreSparkle() {
    hide();
    cEffectRegistry<cFxScoreSparkle>::unregisterInstance(this);
}

void cFxScoreSparkle::update() {
    cText::update();
    m_alpha = endAtZero(this, m_alpha - m_rate * getDeltaTime2());
    setAlpha(toAlpha(m_alpha));
}
