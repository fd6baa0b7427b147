#include "game/restaurant/cTrash.h"

#include "engine/core/cIniFile.h"
#include "game/data/StationTextures.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/LevelLook.h"

cTrash::cTrash(cSceneNode* parent) : cStation(parent) {
    loadConfig();
    placeFromPaths("TRASH");
    setDeep(getPosition().y);
    finishBuild(m_highlight_alpha);
}

cTrash::~cTrash() = default;

void cTrash::loadFromIni(const cIniFile&, const cStringW&) { loadConfig(); }

void cTrash::loadFromNode(const cXmlNode&) { placeFromPaths("TRASH"); }

void cTrash::loadConfig() {
    const cIniFile& ini = effectIni(kTrashIni);
    cPicture::loadFromIni(ini, L"COMMON");
    const cLevelLook look = currentLevelLook();
    setPicture(station_textures::names(look.graphicsSet, lookWorld(look), look.upgrades).trash.c_str());
    stringToInt(&m_highlight_alpha, ini.getValue(L"COMMON", L"highlight_alpha"));
    loadPointerOffsets(ini, L"COMMON");
    loadHitPolygon(ini, L"COMMON");
}

bool cTrash::setState(int32_t) {
    startUse();
    playSound("sounds/game/trash.ogg");
    return true;
}

void cTrash::update() {
    // 1. The use run; 2. controllers and children.
    stepUse(getDeltaTime());
    cPicture::update();
}

cTrash* getTrash() { return cSingleton<cTrash>::instance(); }
