#include "game/effects/cFxTrail.h"

#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"

cFxTrail::cFxTrail(cSceneNode* parent, const cPicture* source, float rate, float start, bool fadeByColor)
    : cPicture(parent), m_rate(rate), m_value(start), m_fade_by_color(fadeByColor) {
    assign(*source);
    setAutoFiltering(true);
    setDeep(getDeep() - 0.1f);
    if (m_fade_by_color)
        setColor(greyOf(start));
    else
        setAlpha(toAlpha(start));
    show();
    cEffectRegistry<cFxTrail>::registerInstance(this);
}

cFxTrail::~cFxTrail() {
    hide();
    cEffectRegistry<cFxTrail>::unregisterInstance(this);
}

void cFxTrail::update() {
    cPicture::update();
    m_value = endAtZero(this, m_value - m_rate * getDeltaTime());
    setAlpha(toAlpha(m_value));
}
