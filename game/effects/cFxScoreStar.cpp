#include "game/effects/cFxScoreStar.h"

#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"

cFxScoreStar::cFxScoreStar(cSceneNode* parent, const cVector2& end) : cFlyingStar(parent, 600.0f) {
    loadFromIni(effectIni(fx_files::kScoreStar), L"COMMON");
    const float fill = getBonusBarFill();
    const cVector2 start = m_start_pos1 + (m_start_pos2 - m_start_pos1) * fill;
    startFlight(start, m_off_end + end, BEND_RIGHT);
    setPosition(start);
    setAlpha(255);
    cEffectRegistry<cFxScoreStar>::registerInstance(this);
}

cFxScoreStar::~cFxScoreStar() {
    hide();
    disable();
    cEffectRegistry<cFxScoreStar>::unregisterInstance(this);
}

void cFxScoreStar::loadFromIni(const cIniFile&, const cStringW&) {
    const cIniFile& ini = effectIni(fx_files::kScoreStar);
    loadStarKeys(ini);
    readVector(ini, L"COMMON", L"off_end_pos", &m_off_end);
    readVector(ini, L"COMMON", L"start_pos1", &m_start_pos1);
    readVector(ini, L"COMMON", L"start_pos2", &m_start_pos2);
}

void cFxScoreStar::update() {
    cPicture::update();
    stepFlight(getDeltaTime());
}
