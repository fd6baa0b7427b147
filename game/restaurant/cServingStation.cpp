#include "game/restaurant/cServingStation.h"

#include "engine/core/cIniFile.h"
#include "game/data/StationTextures.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cClickEffect.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cHighlight.h"

// What tells the four stations apart.
struct cServingKind {
    TargetKind kind;
    const char* ini;
    const wchar_t* section;        // the station's picture, highlight, pointers and polygon
    const wchar_t* tableSection;   // the cake's table part, else null
    const wchar_t* soundSection;   // where "sound_delay" is read
    const char* element;           // under "Objects" of the paths document
    const char* sound;
    std::string station_textures::Names::*texture;
};

namespace {

const cServingKind kDrink{KIND_DRINK_STATION, station_files::kDrink, L"COMMON", nullptr, L"COMMON",
                          "DRINK_STATION", "sounds/game/drink_station.ogg", &station_textures::Names::drink};
const cServingKind kCake{KIND_CAKE_STATION, station_files::kCake, L"COVER", L"TABLE", L"COMMON",
                         "CAKE_STATION", "sounds/game/cake_station.ogg", &station_textures::Names::cakeCover};
const cServingKind kSnack{KIND_SNACK_STATION, station_files::kSnack, L"COMMON", nullptr, L"COMMON",
                          "SNACK_STATION", "sounds/game/snack_station.ogg", &station_textures::Names::snack};
const cServingKind kCream{KIND_CREAM_STATION, station_files::kCream, L"COMMON", nullptr, L"CUP_STATION",
                          "CREAM_STATION", "sounds/game/cream_station.ogg", &station_textures::Names::cream};

// The level's names, a station built at upgrade 0 taken as the basic one (the level builds
// none such, but a picture is never left unnamed).
station_textures::Names builtNames() {
    const cLevelLook look = currentLevelLook();
    world_textures::Upgrades u = look.upgrades;
    for (int* v : {&u.drink, &u.cake, &u.snack, &u.cream})
        if (*v == 0) *v = 1;
    return station_textures::names(look.graphicsSet, lookWorld(look), u);
}

}  // namespace

cServingStation::cServingStation(cSceneNode* parent, const cServingKind& kind)
    : cStation(parent), m_kind(kind), m_sound(kind.sound) {
    if (kind.tableSection) m_table = new cPicture(this);
    loadConfig();
    placeFromPaths(kind.element);
    finishBuild(m_highlight_alpha);
    if (m_table) {
        m_table_highlight = new cHighlight(false, m_table, 255);
        m_table_highlight->setAlpha(uint32_t(m_highlight_alpha) & 0xFF);
    }
}

cServingStation::~cServingStation() = default;

void cServingStation::loadFromIni(const cIniFile&, const cStringW&) { loadConfig(); }

void cServingStation::loadFromNode(const cXmlNode&) { placeFromPaths(m_kind.element); }

void cServingStation::loadConfig() {
    const cIniFile& ini = effectIni(m_kind.ini);
    cPicture::loadFromIni(ini, m_kind.section);
    if (m_table) m_table->loadFromIni(ini, m_kind.tableSection);
    const station_textures::Names names = builtNames();
    setPicture((names.*m_kind.texture).c_str());
    if (m_table) m_table->setPicture(names.cakeTable.c_str());
    stringToInt(&m_highlight_alpha, ini.getValue(m_kind.section, L"highlight_alpha"));
    loadPointerOffsets(ini, m_kind.section);
    float delay = 0.0f;
    readFloat(ini, m_kind.soundSection, L"sound_delay", &delay);
    m_sound.setDelay(delay);
    loadHitPolygon(ini, m_kind.section);
}

int32_t cServingStation::getKind() const { return m_kind.kind; }

bool cServingStation::setState(int32_t) {
    startUse();
    m_sound.add();
    return true;
}

void cServingStation::updateHover(bool testMouse, bool value) {
    cStation::updateHover(testMouse, value);
    if (m_table_highlight) m_table_highlight->setVisible(isHovered());
}

void cServingStation::showClickEffect() {
    if (!m_table) {
        cStation::showClickEffect();
        return;
    }
    new cClickEffect(getParent(), this, -1.2f);
    new cClickEffect(getParent(), m_table, -0.1f);
}

void cServingStation::update() {
    const float dt = getDeltaTime();
    // 1. The use run (the cake's table is not animated).
    stepUse(dt);
    // 2. The use sound queue.
    m_sound.step(dt);
    // 3. Controllers and children.
    cPicture::update();
}

cDrinkStation::cDrinkStation(cSceneNode* parent) : cServingStation(parent, kDrink) {}
cCakeStation::cCakeStation(cSceneNode* parent) : cServingStation(parent, kCake) {}
cSnackStation::cSnackStation(cSceneNode* parent) : cServingStation(parent, kSnack) {}
cCreamStation::cCreamStation(cSceneNode* parent) : cServingStation(parent, kCream) {}
