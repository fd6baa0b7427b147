#include "game/restaurant/cCottonStation.h"

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cCottonCandy.h"
#include "game/restaurant/cCottonItem.h"
#include "game/restaurant/cCottonLights.h"
#include "game/restaurant/cHighlight.h"

namespace {

const char* const kWorkSound = "sounds/game/cotton_candy.ogg";

void showPart(cSceneNode* node, bool on) {
    if (!node) return;
    if (on) {
        node->show();
        node->enable();
    } else {
        node->hide();
        node->disable();
    }
}

}  // namespace

station_textures::Cotton cottonTextures() {
    const cLevelLook look = currentLevelLook();
    return station_textures::names(look.graphicsSet, lookWorld(look), look.upgrades).cotton;
}

cCottonStation* getCottonStation() { return cSingleton<cCottonStation>::instance(); }

cCottonStation::cCottonStation(cSceneNode* parent) : cStation(parent) {
    const station_textures::Cotton names = cottonTextures();
    m_cotton1_level = currentLevelLook().upgrades.cotton1;
    m_with_item_parts = names.itemParts;
    m_light = new cCottonLights(this, m_with_item_parts ? 2 : 1);
    m_lid = new cPicture(this);
    for (cPicture*& p : m_item_picture) p = new cPicture(this);
    placeFromPaths("COTTON_STATION");
    for (int k = 0; k < 2; ++k)
        if (names.installed[k]) m_machine_kinds[m_machine_count++] = ITEM_COTTON_CANDY_1 + k;
    loadConfig();
    for (int p = 0; p < m_machine_count; ++p) {
        const int kind = m_machine_kinds[p];
        m_candies[p] = new cCottonCandy(this, m_cotton_positions[m_machine_count - 1][p], getControlPoint(), kind);
        if (m_with_item_parts) m_items[p] = new cCottonItem(this, m_item_positions[p], getControlPoint(), kind);
    }
    finishBuild(int32_t(m_stand_highlight_alpha));
    setPhase(m_items[0] ? 4 : 0);
}

cCottonStation::~cCottonStation() { m_requests.clear(); }

void cCottonStation::loadFromIni(const cIniFile&, const cStringW&) { loadConfig(); }

void cCottonStation::loadFromNode(const cXmlNode&) { placeFromPaths("COTTON_STATION"); }

void cCottonStation::loadConfig() {
    const cIniFile& ini = effectIni(kCottonStandIni);
    const int set = world_textures::worldOfGraphicsSet(currentLevelLook().graphicsSet);
    const std::wstring w = L"_world_" + std::to_wstring(set);
    cPicture::loadFromIni(ini, L"COMMON");
    readFloat(ini, L"COMMON", (L"generation_time_1" + w).c_str(), &m_generation_time[0]);
    readFloat(ini, L"COMMON", (L"generation_time_2" + w).c_str(), &m_generation_time[1]);
    readFloat(ini, L"COMMON", L"highlight_alpha", &m_stand_highlight_alpha);
    loadPointerOffsets(ini, L"COMMON");
    readFloat(ini, L"COMMON", L"temp_multiplier", &m_temp_multiplier);
    readFloat(ini, L"COMMON", L"dec_generation_time", &m_dec_generation_time);

    m_lid->loadFromIni(ini, L"LID");
    for (cPicture* p : m_item_picture) p->loadFromIni(ini, L"ITEM");
    const wchar_t* sections[5] = {L"STAND", L"WORK", L"STAND", L"STAND", L"STAND"};
    for (int p = 0; p < 5; ++p) loadAnimation(&m_phase_animations[p], ini, sections[p]);

    const station_textures::Cotton names = cottonTextures();
    for (int p : {0, 2, 3, 4}) m_phase_animations[p].picture = names.stand.c_str();
    for (int k = 0; k < 2; ++k) {
        m_work_picture[k] = names.work[k].c_str();
        if (!names.item[k].empty()) m_item_picture[k]->setPicture(names.item[k].c_str());
    }
    m_lid->setPicture(names.lid.c_str());
    if (names.reduced)
        for (float& t : m_generation_time) t -= m_dec_generation_time;

    if (m_machine_count == 1) {
        readVector(ini, L"COUNT_COTTONS_1", L"cotton_position_1", &m_cotton_positions[0][0]);
    } else if (m_machine_count == 2) {
        readVector(ini, L"COUNT_COTTONS_2", L"cotton_position_1", &m_cotton_positions[1][0]);
        readVector(ini, L"COUNT_COTTONS_2", L"cotton_position_2", &m_cotton_positions[1][1]);
    }
    readVector(ini, L"COUNT_COTTONS_2", L"item_position_1", &m_item_positions[0]);
    readVector(ini, L"COUNT_COTTONS_2", L"item_position_2", &m_item_positions[1]);
    loadHitPolygon(ini, L"COMMON");
}

void cCottonStation::setDeep(float deep) {
    cStation::setDeep(deep);
    for (int i = 0; i < 2; ++i)
        if (m_candies[i]) m_candies[i]->setDeep(deep + 0.1f + 0.1f * float(i));
}

bool cCottonStation::setState(int32_t value) {
    if (value == 0 && getState() != 0) setPhase(0);
    storeState(value);
    return true;
}

bool cCottonStation::requestCotton(int kind) {
    if (!m_requests.empty()) return false;
    m_requests.push_back(kind);
    return true;
}

bool cCottonStation::takeItem(int kind) {
    for (int p = 0; p < 2; ++p)
        if (m_items[p] && m_items[p]->getState() == kind) {
            m_item_ready[p] = false;
            setPhase(4);
            break;
        }
    return true;
}

void cCottonStation::setPhase(int phase) {
    const bool full = isFullEffectsOn();
    m_phase = phase;
    setLayer0Animation(m_phase_animations[phase], ORIGIN_START, 0.0f);
    if (m_highlight) m_highlight->setLayer0Animation(m_phase_animations[phase], ORIGIN_START, 0.0f);
    switch (phase) {
    case 0:
        showPart(m_lid, true);
        for (cCottonCandy* c : m_candies) showPart(c, true);
        for (cPicture* p : m_item_picture) showPart(p, false);
        showPart(m_light, false);
        break;
    case 1:
        showPart(m_lid, false);
        for (int p = 0; p < 2; ++p) {
            for (cCottonPart* part : {static_cast<cCottonPart*>(m_candies[p]), static_cast<cCottonPart*>(m_items[p])})
                if (part) {
                    showPart(part, false);
                    part->hidePointers();
                }
            showPart(m_item_picture[p], false);
        }
        showPart(m_light, false);
        playSound(kWorkSound);
        break;
    case 2:
    case 3:
        showPart(m_item_picture[0], phase == 2);
        showPart(m_item_picture[1], phase == 3);
        showPart(m_light, full);
        break;
    case 4: {
        showPart(m_lid, true);
        bool anyReady = false;
        for (int p = 0; p < 2; ++p) {
            const bool ready = m_item_ready[p];
            anyReady = anyReady || ready;
            showPart(m_items[p], ready);
            showPart(m_candies[p], !ready);
            cCottonPart* gone = ready ? static_cast<cCottonPart*>(m_candies[p]) : static_cast<cCottonPart*>(m_items[p]);
            if (gone) gone->hidePointers();
            showPart(m_item_picture[p], false);
        }
        if (anyReady && full && !m_light->isOwnVisible()) showPart(m_light, true);
        if (!anyReady) showPart(m_light, false);
        break;
    }
    default: break;
    }
}

void cCottonStation::update() {
    const float dt = getDeltaTime();
    const float f = isBonusModeOn() ? m_temp_multiplier : 1.0f;
    // 1. The timer runs down in every frame.
    m_timer -= dt * f;
    // 2. A finished job offers its portion.
    if (m_timer <= 0.0f && m_busy) {
        m_busy = false;
        m_timer = 0.0f;
        const int kind = m_requests.front();
        m_requests.pop_front();
        storeState(kind);
        if (!m_with_item_parts) {
            setPhase(kind == ITEM_COTTON_CANDY_1 ? 2 : 3);
        } else {
            for (int p = 0; p < 2; ++p)
                if (m_items[p] && m_items[p]->getCottonKind() == kind) {
                    m_item_ready[p] = true;
                    break;
                }
            setPhase(4);
        }
    }
    // 3. A queued order starts a job from the full time of its machine.
    if (!m_requests.empty() && !m_busy) {
        m_busy = true;
        const int machine = m_requests.front() == ITEM_COTTON_CANDY_1 ? 0 : 1;
        m_timer = m_generation_time[machine];
        m_phase_animations[1].picture = m_work_picture[machine];
        setPhase(1);
    }
    // 4. The work run, f times as fast in bonus mode.
    if (m_phase == 1) {
        advanceAnimation(dt * f);
        if (m_highlight) m_highlight->advanceAnimation(dt * f);
    }
    // 5. Controllers and children.
    cPicture::update();
}

void cCottonStation::updateHover(bool testMouse, bool value) {
    m_hovered_part = nullptr;
    if (isBlocked() || m_cotton1_level == 0) testMouse = value = false;
    cCottonPart* parts[4] = {m_candies[0], m_items[0], m_candies[1], m_items[1]};
    if (testMouse) {
        for (cCottonPart* part : parts) {
            if (!part) continue;
            // While working every part is hidden and never hovered.
            if (m_hovered_part || m_phase == 1) {
                part->updateHover(false, false);
            } else {
                part->updateHover(true, false);
                if (part->isHovered()) m_hovered_part = part;
            }
        }
        if (!m_hovered_part && m_phase >= 1 && m_phase <= 3) {
            hoverOwner(*this, true, false);
            if (isHovered()) m_hovered_part = this;
        }
    } else {
        for (cCottonPart* part : parts)
            if (part) part->updateHover(false, value);
    }
    setHovered(m_hovered_part != nullptr);
    m_highlight->setVisible(isHovered() && m_phase != 1);
}
