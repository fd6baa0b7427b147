#include "game/effects/cFxSparkle.h"

#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"

cFxSparkle::cFxSparkle(cSceneNode* parent, const cPicture* source, float rate, float startAlpha, float deepOffset,
                       uint32_t color, const cStringA& texture)
    : cPicture(parent), m_rate(rate), m_alpha(startAlpha) {
    assign(*source);
    setAutoFiltering(true);
    setDeep(getDeep() + deepOffset);
    setAlpha(toAlpha(startAlpha));
    setColor(color & 0xFFFFFFu);
    setRenderFlags(RF_OVERLAY, true);
    if (!texture.isEmpty()) setPicture(texture);
    moveBy(randomShift(7));
    setBeginDrawCallback(drawSilhouette);
    show();
    cEffectRegistry<cFxSparkle>::registerInstance(this);
}

cFxSparkle::~cFxSparkle() {
    hide();
    cEffectRegistry<cFxSparkle>::unregisterInstance(this);
}

void cFxSparkle::update() {
    cPicture::update();
    m_alpha = endAtZero(this, m_alpha - m_rate * getDeltaTime2());
    setAlpha(toAlpha(m_alpha));
}
