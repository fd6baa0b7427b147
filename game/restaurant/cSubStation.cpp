#include "game/restaurant/cSubStation.h"

#include <string>

#include "engine/core/LogHooks.h"
#include "engine/core/cIniFile.h"
#include "engine/media/cSound.h"
#include "game/characters/cSandwichMaker.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cSub.h"
#include "game/restaurant/cSubPlace.h"
#include "game/restaurant/cTrash.h"

namespace {

void playSample(const char* name) {
    if (cSound* sound = getSound()) sound->playSample(name, -1);
}

std::wstring wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

bool s_loggedNoPlate = false;

}  // namespace

cSubStation::cSubStation(cSceneNode* level) : cSceneNode(level), cClickTarget(this) {
    m_discard_place = new cSubPlace(this);
    m_discard_place->setDiscard(true);
    if (cTrash* trash = getTrash()) m_discard_place->setPosition(trash->getPosition());
    m_hint = new cPicture(this);
    loadPlacement();
    loadConfig();
    if (m_place_count == 1 || m_place_count == 2)
        setControlPoint(m_control_points[0]);
    else if (m_place_count == 3)
        setControlPoint(m_control_points[1]);
    // A bread needs plate 1 to put its subs on: with no plate the counter offers no bread.
    if (m_place_count == 0 && m_sub_count > 0) {
        if (!s_loggedNoPlate) logGameQuietly(cStringA("Sub counter: breads installed without a plate; no sub is offered."));
        s_loggedNoPlate = true;
    } else {
        for (int i = 0; i < 3; ++i)
            if (m_sub_ids[i] != 0)
                m_subs[i] = new cSub(this, m_sub_positions[m_sub_count - 1][i], getControlPoint(), m_sub_ids[i]);
    }
    for (int i = 0; i < m_place_count; ++i) {
        if (!m_places[i]) m_places[i] = new cSubPlace(this);
        m_places[i]->setPosition(m_place_positions[m_place_count - 1][i]);
        m_places[i]->setControlPoint(m_control_points[i]);
    }
    m_maker = new cSandwichMaker(this);
    if (currentLevelLook().upgrades.sandwichMaker > 1)
        for (float& t : m_generation_times) t -= m_dec_generation_time;
}

cSubStation::~cSubStation() {
    hide();
    disable();
    for (cSub*& sub : m_subs) delete sub, sub = nullptr;
    for (cSubPlace*& place : m_places) delete place, place = nullptr;
    delete m_maker;
    delete m_discard_place;
    delete m_hint;
    m_requests.clear();
}

void cSubStation::loadFromNode(const cXmlNode&) { loadPlacement(); }

void cSubStation::loadFromIni(const cIniFile&, const cStringW&) { loadConfig(); }

void cSubStation::loadPlacement() {
    for (int i = 0; i < 3; ++i) {
        setControlPoint(cVector2());
        placeFromPaths(("SUB_PLACE_" + std::to_string(i + 1)).c_str());
        m_control_points[i] = getControlPoint();
    }
    setControlPoint(cVector2());
    const world_textures::Upgrades u = currentLevelLook().upgrades;
    m_place_count = (u.subPlace1 != 0) + (u.subPlace2 != 0) + (u.subPlace3 != 0);
    m_sub_count = 0;
    for (int32_t& id : m_sub_ids) id = 0;
    const int breads[3] = {u.sub1, u.sub2, u.sub3};
    for (int b = 0; b < 3; ++b)
        if (breads[b] != 0) m_sub_ids[m_sub_count++] = ITEM_FIRST_SUB + 14 * b;
}

void cSubStation::loadConfig() {
    const cIniFile& ini = effectIni(kSubStationIni);
    cSceneNode::loadFromIni(ini, L"COMMON");
    m_hint->loadFromIni(ini, L"HINT_SUB");
    if (m_place_count > 0) {
        const std::wstring section = wide("COUNT_PLATES_" + std::to_string(m_place_count));
        for (int i = 0; i < m_place_count; ++i)
            readVector(ini, section.c_str(), wide("plate_position_" + std::to_string(i + 1)).c_str(),
                       &m_place_positions[m_place_count - 1][i]);
    }
    if (m_sub_count > 0) {
        const std::wstring section = wide("COUNT_SUBS_" + std::to_string(m_sub_count));
        for (int i = 0; i < m_sub_count; ++i)
            readVector(ini, section.c_str(), wide("sub_position_" + std::to_string(i + 1)).c_str(),
                       &m_sub_positions[m_sub_count - 1][i]);
    }
    const int world = world_textures::worldOfGraphicsSet(currentLevelLook().graphicsSet);
    for (int t = 0; t < 3; ++t)
        readFloat(ini, L"COMMON",
                  wide("generation_time_" + std::to_string(t + 1) + "_world_" + std::to_string(world)).c_str(),
                  &m_generation_times[t]);
    readFloat(ini, L"COMMON", L"dec_generation_time", &m_dec_generation_time);
    readFloat(ini, L"COMMON", L"temp_multiplier", &m_temp_multiplier);
}

void cSubStation::queueSub(cSub* sub) {
    if (sub) m_requests.push_back(sub);
}

void cSubStation::update() {
    const float dt = getDeltaTime();
    cook(dt);
    updateHint(dt);
    cSceneNode::update();
}

void cSubStation::cook(float dt) {
    m_cook_timer -= isBonusModeOn() ? dt * m_temp_multiplier : dt;
    if (m_cook_timer <= 0.0f && m_cooking) {
        const bool plate1Full = m_places[0] && m_places[0]->getState() != 0;
        if (!(plate1Full && (m_waitress_coming || m_place_hovered))) finishSub();
    }
    if (!m_requests.empty() && !m_cooking) startSub();
}

void cSubStation::discard(cSubPlace* from) {
    if (cTrash* trash = getTrash()) trash->setState(0);
    m_discard_place->empty();
    m_discard_place->moveIn(from->getState(), from->getPosition());
}

void cSubStation::finishSub() {
    m_cooking = false;
    m_cook_timer = 0.0f;
    cSubPlace* first = m_places[0];
    if (first && first->getState() != 0) {
        const int last = m_place_count - 1;
        for (int k = last; k >= 1; --k) {
            cSubPlace* to = m_places[k];
            cSubPlace* from = m_places[k - 1];
            if (from->getState() == 0) continue;
            if (k == last && to->getState() != 0) discard(to);
            to->empty();
            to->moveIn(from->getState(), from->getPosition());
        }
        if (m_place_count == 1) discard(first);
    }
    cSub* done = m_requests.empty() ? nullptr : m_requests.front();
    if (first) {
        first->empty();
        if (done) first->appear(done->getState());
    }
    playSample("sounds/game/sub_ready.ogg");
    if (done) {
        done->setMaking(false);
        m_requests.pop_front();
    }
    if (m_maker) m_maker->setWorkState(MAKER_STAND);
}

void cSubStation::startSub() {
    m_cooking = true;
    cSub* front = m_requests.front();
    switch (front->getState()) {
    case 11:
        m_cook_timer = m_generation_times[0];
        playSample("sounds/game/cook_cooking.ogg");
        break;
    case 25:
        m_cook_timer = m_generation_times[1];
        playSample("sounds/game/cook_cooking2.ogg");
        break;
    default:
        m_cook_timer = m_generation_times[2];
        playSample("sounds/game/cook_cooking3.ogg");
        break;
    }
    front->setMaking(true);
    if (m_maker) m_maker->setWorkState(MAKER_WORKING);
}

void cSubStation::updateHint(float dt) {
    m_hint_direction = m_cook_timer <= 0.0f && m_cooking && m_place_hovered && !m_waitress_coming ? 1.0f : -1.0f;
    m_hint_alpha += dt * m_hint_direction * 2000.0f;
    if (m_hint_direction > 0.0f && m_hint_alpha > 255.0f) m_hint_alpha = 255.0f;
    if (m_hint_direction < 0.0f && m_hint_alpha < 0.0f) m_hint_alpha = 0.0f;
    if (m_hint_alpha > 0.0f) {
        m_hint->show();
        m_hint->enable();
    } else {
        m_hint->hide();
        m_hint->disable();
    }
    m_hint->setAlpha(toAlpha(m_hint_alpha));
}

void cSubStation::updateHover(bool testMouse, bool value) {
    m_hovered = nullptr;
    if (isBlocked()) testMouse = value = false;
    auto each = [&](cClickTarget* child) {
        if (!child) return;
        if (!testMouse) {
            child->updateHover(false, value);
        } else if (m_hovered) {
            child->updateHover(false, false);
        } else {
            child->updateHover(true, false);
            if (child->isHovered()) m_hovered = child;
        }
    };
    for (cSub* sub : m_subs) each(sub);
    for (int i = 0; i < m_place_count; ++i) each(m_places[i]);
    setHovered(m_hovered != nullptr);
}

void cSubStation::setSubsBlocked(bool blocked, int index) {
    if (index == -1) {
        for (cSub* sub : m_subs)
            if (sub) sub->setBlocked(blocked);
    } else if (index >= 0 && index < 3 && m_subs[index]) {
        m_subs[index]->setBlocked(blocked);
    }
}

void cSubStation::setPlacesBlocked(bool blocked, int index) {
    if (index == -1) {
        for (cSubPlace* place : m_places)
            if (place) place->setBlocked(blocked);
    } else if (index >= 0 && index < 3 && m_places[index]) {
        m_places[index]->setBlocked(blocked);
    }
}

int32_t cSubStation::getPlaceState(int index) const {
    return index >= 0 && index < 3 && m_places[index] ? m_places[index]->getState() : 0;
}

bool cSubStation::isMakerWorking() const { return m_maker && m_maker->getWorkState() == MAKER_WORKING; }

cSubStation* getSubStation() { return cSingleton<cSubStation>::instance(); }
