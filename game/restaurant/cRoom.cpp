#include "game/restaurant/cRoom.h"

#include <cstring>
#include <string>

#include "engine/core/cIniFile.h"
#include "engine/scene/cPicture.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cRestaurantHost.h"
#include "game/restaurant/cRoom1.h"
#include "game/restaurant/cRoom2.h"
#include "game/restaurant/cRoom3.h"
#include "platform/device/Device.h"

namespace wt = world_textures;

std::string roomIniName(int world) { return "Config/Game/o_room_" + std::to_string(wt::worldOfGraphicsSet(world)) + ".ini"; }

cRoom* buildRoom(cSceneNode* level) {
    switch (wt::worldOfGraphicsSet(currentLevelLook().graphicsSet)) {
    case 2: return new cRoom2(level);
    case 3: return new cRoom3(level);
    default: return new cRoom1(level);
    }
}

void cRoom::setTextureAlphaBlend(cDevice* device) { device->setStageState(0, StageState::ColorOp, TOP_BLENDTEXTUREALPHA); }

cRoom::cRoom(cSceneNode* parent, int world) : cSceneNode(parent), m_world(world) {
    const cLevelLook look = currentLevelLook();
    m_upgrades = look.upgrades;
    m_level = look.level;
    m_floor = addPicture(), m_wall = addPicture(), m_doors_windows = addPicture(), m_hand_rail = addPicture();
    m_table_upper = addPicture(), m_subs_counter = addPicture(), m_table_lower = addPicture();
    m_sub_table = addPicture(), m_souse_table = addPicture();
    m_table_cotton_lower = addPicture(), m_table_cotton_upper = addPicture();
    for (cScrollLayer& l : m_layers) l.picture = addPicture();
}

cRoom::~cRoom() {
    for (cPicture* p : m_pictures) delete p;
    m_pictures.clear();
}

cPicture* cRoom::addPicture() {
    cPicture* p = new cPicture(this);
    m_pictures.push_back(p);
    m_part_names.push_back(nullptr);
    return p;
}

cPicture* cRoom::getPart(const char* section) const {
    for (size_t i = 0; i < m_pictures.size(); ++i)
        if (m_part_names[i] && std::strcmp(m_part_names[i], section) == 0) return m_pictures[i];
    return nullptr;
}

const cIniFile& cRoom::roomIni() const { return effectIni(roomIniName(m_world).c_str()); }

float cRoom::timeLeft() const {
    const cRestaurantHost* level = getRestaurantHost();
    return level ? level->getTimeLeft() : 0.0f;
}

std::vector<cPicture*> cRoom::loadNumbered(const cIniFile& ini, const wchar_t* section, int count) {
    std::vector<cPicture*> out;
    for (int k = 1; k <= count; ++k) {
        cPicture* p = addPicture();
        p->loadFromIni(ini, section);
        cVector2 position = p->getPosition();
        readVector(ini, section, (L"position" + std::to_wstring(k)).c_str(), &position);
        p->setPosition(position);
        out.push_back(p);
    }
    return out;
}

void cRoom::loadPart(const cIniFile& ini, cPicture* p, const char* section, const std::string& texture) {
    const std::string name(section);
    p->loadFromIni(ini, cStringW(std::wstring(name.begin(), name.end())));
    if (!texture.empty()) p->setPicture(cStringA(texture));
    for (size_t i = 0; i < m_pictures.size(); ++i)
        if (m_pictures[i] == p) m_part_names[i] = section;
}

void cRoom::loadCommon(const cIniFile& ini) {
    const wt::Upgrades& u = m_upgrades;
    loadPart(ini, m_floor, "FLOOR", wt::roomTexture(m_world, "floor", u.floor));
    loadPart(ini, m_wall, "WALL", wt::roomTexture(m_world, "wall", u.wall));
    loadPart(ini, m_doors_windows, "DOORS_WINDOWS", wt::roomTexture(m_world, "doors_windows", u.interior1));
    loadAfterDoors(ini);
    loadPart(ini, m_hand_rail, "HAND_RAIL", wt::roomTexture(m_world, "hand_rail", u.interior2));
    if (m_world != 2) {
        const bool upgraded = u.interior2 >= 2;
        m_lamps = loadNumbered(ini, upgraded ? L"HAND_RAIL_ADD_2" : L"HAND_RAIL_ADD_1",
                               m_world == 1 ? (upgraded ? 5 : 4) : (upgraded ? 7 : 3));
    }
    loadPart(ini, m_table_upper, "TABLE_UPPER", wt::roomTexture(m_world, "table_upper", u.tables));
    loadPart(ini, m_subs_counter, "SUBS_COUNTER", wt::roomTexture(m_world, "subs_counter", u.counter));
    loadPart(ini, m_table_lower, "TABLE_LOWER", wt::roomTexture(m_world, "table_lower", u.tables));
    static const char* const kSubTables[3] = {"SUBS_TABLE_1", "SUBS_TABLE_2", "SUBS_TABLE_3"};
    static const char* const kSouseTables[3] = {"SOUSE_TABLE_1", "SOUSE_TABLE_2", "SOUSE_TABLE_3"};
    const int places = (u.subPlace1 != 0) + (u.subPlace2 != 0) + (u.subPlace3 != 0);
    const int subTable = wt::subTableNumber(m_world, places);
    loadPart(ini, m_sub_table, kSubTables[subTable - 1], wt::subTableTexture(m_world, subTable, u.tables));
    const int sauces = (u.sauce1 != 0) + (u.sauce2 != 0) + (u.sauce3 != 0);
    const int souseTable = wt::souseTableNumber(m_world, sauces);
    if (souseTable > 0) {
        loadPart(ini, m_souse_table, kSouseTables[souseTable - 1], wt::souseTableTexture(m_world, souseTable, u.tables));
    } else {
        // Hidden; named by the tables' band, the one the world list loads.
        m_souse_table->setPicture(cStringA(wt::souseTableTexture(1, 1, u.tables)));
        m_souse_table->hide();
    }
    loadPart(ini, m_table_cotton_lower, "TABLE_COTTON_LOWER", wt::roomTexture(m_world, "table_cotton_lower", u.tables));
    loadPart(ini, m_table_cotton_upper, "TABLE_COTTON_UPPER", wt::roomTexture(m_world, "table_cotton_upper", u.tables));
    loadPart(ini, m_layers[0].picture, "BACK_SCROLL_1", std::string());
    m_layers[0].load(ini, L"BACK_SCROLL_1");
    loadPart(ini, m_layers[1].picture, "BACK_SCROLL_2", std::string());
    m_layers[1].load(ini, L"BACK_SCROLL_2");
}

void cRoom::applyTimeOfDay() {
    m_time = wt::timeOfDay(m_world, m_level);
    if (m_time == wt::TimeOfDay::None) return;
    for (int i = 0; i < 2; ++i) m_layers[i].picture->setPicture(cStringA(wt::backScrollTexture(m_world, i + 1, m_time)));
    const uint32_t alpha = m_time == wt::TimeOfDay::Day ? 0 : m_time == wt::TimeOfDay::Evening ? 110 : 255;
    for (cPicture* lamp : m_lamps) lamp->setAlpha(alpha);
}
