#include "game/effects/cFxStar.h"

#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"

cFxStar::cFxStar(cSceneNode* parent) : cFlyingStar(parent, 900.0f) {
    loadFromIni(effectIni(fx_files::kStar), L"COMMON");
    cEffectRegistry<cFxStar>::registerInstance(this);
}

cFxStar::~cFxStar() {
    hide();
    disable();
    cEffectRegistry<cFxStar>::unregisterInstance(this);
    commitBonusPending();
}

void cFxStar::loadFromIni(const cIniFile&, const cStringW&) {
    const cIniFile& ini = effectIni(fx_files::kStar);
    loadStarKeys(ini);
    readVector(ini, L"COMMON", L"end_pos1", &m_end_pos1);
    readVector(ini, L"COMMON", L"end_pos2", &m_end_pos2);
}

void cFxStar::drop() {
    m_flying = true;
    const float fill = getBonusBarFill();
    startFlight(getPosition(), m_end_pos1 + (m_end_pos2 - m_end_pos1) * fill, BEND_LEFT);
}

void cFxStar::update() {
    cPicture::update();
    if (m_flying) stepFlight(getDeltaTime());
}
