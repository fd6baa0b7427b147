#include "game/restaurant/cSub.h"

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cHighlight.h"
#include "game/restaurant/cSubStation.h"

cSub::cSub(cSubStation* station, const cVector2& position, const cVector2& controlPoint, int32_t subId)
    : cStation(station), m_station(station) {
    storeState(subId);
    loadConfig();
    setPosition(position);
    setControlPoint(controlPoint);
    finishBuild(m_highlight_alpha);
    setMaking(false);
}

cSub::~cSub() = default;

void cSub::loadConfig() {
    const cIniFile& ini = effectIni(kSubIni);
    cPicture::loadFromIni(ini, L"COMMON");
    for (cAnimation& a : m_animations) loadAnimation(&a, ini, L"COMMON");
    stringToInt(&m_highlight_alpha, ini.getValue(L"COMMON", L"highlight_alpha"));
    loadPointerOffsets(ini, L"COMMON");
    const cLevelLook look = currentLevelLook();
    const int bread = breadOf(getState());
    for (int making = 0; making < 2; ++making)
        m_animations[making].picture =
            cStringA(world_textures::subTexture(look.graphicsSet, bread, look.upgrades.counter, making != 0));
    loadHitPolygon(ini, L"COMMON");
}

bool cSub::setState(int32_t) {
    if (m_station) m_station->queueSub(this);
    return true;
}

void cSub::setMaking(bool making) {
    m_making = making;
    const cAnimation& a = m_animations[making ? 1 : 0];
    setLayer0Animation(a, ORIGIN_START, 0.0f);
    if (m_highlight) m_highlight->setLayer0Animation(a, ORIGIN_START, 0.0f);
}
