#include "game/restaurant/cSouseStation.h"

#include <string>

#include "engine/core/cIniFile.h"
#include "game/data/StationTextures.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/LevelLook.h"

namespace {
const char* const kSounds[3] = {"sounds/game/souse1.ogg", "sounds/game/souse2.ogg", "sounds/game/souse3.ogg"};

int sauceNumber(int32_t id) { return id >= ITEM_SAUCE_1 && id <= ITEM_SAUCE_3 ? id - ITEM_SAUCE_1 + 1 : 1; }
}  // namespace

cSouseStation::cSouseStation(cSceneNode* parent, int positionIndex, int32_t sauce)
    : cStation(parent), m_position_index(positionIndex), m_sound(kSounds[sauceNumber(sauce) - 1]) {
    storeState(sauce);
    loadConfig();
    placeFromPaths("SOUSE_STATION");
    finishBuild(m_highlight_alpha);
}

cSouseStation::~cSouseStation() = default;

void cSouseStation::loadFromIni(const cIniFile&, const cStringW&) { loadConfig(); }

void cSouseStation::loadFromNode(const cXmlNode&) { placeFromPaths("SOUSE_STATION"); }

void cSouseStation::loadConfig() {
    const cIniFile& ini = effectIni(kSouseIni);
    cPicture::loadFromIni(ini, L"COMMON");
    const cLevelLook look = currentLevelLook();
    const int n = station_textures::sauceUpgradeCount(look.upgrades);
    cVector2 position;
    readVector(ini, (L"COUNT_SOUSE_" + std::to_wstring(n)).c_str(),
               (L"position" + std::to_wstring(m_position_index)).c_str(), &position);
    setPosition(position);
    // Its picture by its own upgrade; a station built for a level that has no such sauce
    // shows the basic one.
    const int k = sauceNumber(getState());
    world_textures::Upgrades u = look.upgrades;
    int* own = k == 1 ? &u.sauce1 : k == 2 ? &u.sauce2 : &u.sauce3;
    if (*own == 0) *own = 1;
    setPicture(station_textures::names(look.graphicsSet, 3, u).sauce[k - 1].c_str());
    stringToInt(&m_highlight_alpha, ini.getValue(L"COMMON", L"highlight_alpha"));
    loadPointerOffsets(ini, L"COMMON");
    float delay = 0.0f;
    readFloat(ini, L"COMMON", L"sound_delay", &delay);
    m_sound.setDelay(delay);
    loadHitPolygon(ini, L"COMMON");
}

std::vector<cSouseStation*> cSouseStation::buildAll(cSceneNode* level) {
    const cLevelLook look = currentLevelLook();
    std::vector<cSouseStation*> built;
    for (int k = 1; k <= 3; ++k)
        if (station_textures::isSauceBuilt(k, lookWorld(look), look.upgrades))
            built.push_back(new cSouseStation(level, int(built.size()) + 1, ITEM_SAUCE_1 + k - 1));
    return built;
}

bool cSouseStation::setState(int32_t) {
    startUse();
    m_sound.add();
    return true;
}

void cSouseStation::update() {
    const float dt = getDeltaTime();
    // 1. The use run; 2. the sound queue; 3. controllers and children.
    stepUse(dt);
    m_sound.step(dt);
    cPicture::update();
}
