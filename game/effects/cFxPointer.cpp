#include "game/effects/cFxPointer.h"

#include "engine/core/cIniFile.h"
#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"

cFxPointer::cFxPointer(cSceneNode* parent, const cVector2& position, float deep) : cPicture(parent) {
    const cIniFile& ini = effectIni(fx_files::kPointer);
    loadFromIni(ini, L"COMMON");
    readFloat(ini, L"COMMON", L"delay_before_disappear", &m_delay);
    readFloat(ini, L"COMMON", L"time_disappear", &m_time_disappear);
    setDeep(deep);
    setPosition(position);
    setAlpha(255);
    if (m_time_disappear > 0.0f) m_rate = 255.0f / m_time_disappear;
    cEffectRegistry<cFxPointer>::registerInstance(this);
}

cFxPointer::~cFxPointer() {
    hide();
    disable();
    cEffectRegistry<cFxPointer>::unregisterInstance(this);
}

void cFxPointer::update() {
    const float dt = getDeltaTime();
    m_delay -= dt;
    if (m_delay <= 0.0f) {
        m_delay = 0.0f;
        // Without a fade time the fade is instant (an infinite rate times a paused step would
        // be no number, and the copy would never go).
        m_alpha = endAtZero(this, m_time_disappear > 0.0f ? m_alpha - m_rate * dt : 0.0f);
    }
    setAlpha(toAlpha(m_alpha));
}
