#include "game/effects/cFxMoney.h"

#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"

cFxMoney::cFxMoney(cSceneNode* parent, const cVector2& position, const cVector2& direction, float deep)
    : cPicture(parent), m_direction(direction), m_position(position) {
    loadFromIni(effectIni(fx_files::kMoney), L"COMMON");
    setPicture(fx_files::kMoneyTexture);
    setLayer0Frame(getLayer0FrameCount());
    m_direction.normalize();
    setDeep(deep);
    setPosition(position);
    setAlpha(255);
    // Entered last: a constructor that throws leaves nothing behind in the registry.
    cEffectRegistry<cFxMoney>::registerInstance(this);
}

cFxMoney::~cFxMoney() {
    hide();
    disable();
    cEffectRegistry<cFxMoney>::unregisterInstance(this);
}

void cFxMoney::update() {
    const float dt = getDeltaTime();
    m_position += m_direction * 500.0f * dt;
    m_alpha = endAtZero(this, m_alpha - 5000.0f * dt);
    setAlpha(toAlpha(m_alpha));
    setPosition(m_position);
}
