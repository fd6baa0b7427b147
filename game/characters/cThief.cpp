#include "game/characters/cThief.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/core/cIniFile.h"
#include "game/characters/CharacterSupport.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/cTable.h"

namespace {
constexpr const char* kAppearSound = "sounds/game/thief_appear.ogg";
constexpr const char* kStealSound = "sounds/game/thief_steal.ogg";
constexpr const char* kDisappearSound = "sounds/game/thief_disappear.ogg";
}  // namespace

const EffectRegistry& getThieves() { return cEffectRegistry<cThief>::instances(); }

cThief::cThief(cSceneNode* parent, cTable* table, float pauseTime, int32_t steps)
    : cPicture(parent), m_table(table), m_count_pnt(std::max(steps, 1)) {
    cEffectRegistry<cThief>::registerInstance(this);
    m_step_pause = pauseTime / float(m_count_pnt);
    m_step_timer = m_step_pause;
    m_table_index = std::clamp(table->getIndex() - 1, 0, kTables - 1);
    loadConfig();
    setDeep(table->getDeep() + (2.5f - float(table->getIndex())) * 5.0f);
    const cVector2& start = m_start_positions[m_table_index];
    setPosition(cVector2(start.x - m_appear_distance, start.y));
    setState(THIEF_FADE_IN);
}

cThief::~cThief() {
    hide();
    disable();
    cEffectRegistry<cThief>::unregisterInstance(this);
}

void cThief::loadConfig() {
    const cIniFile& ini = characters::characterIni("thief");
    const wchar_t* common = L"COMMON";
    cPicture::loadFromIni(ini, common);
    float appearTime = 0.0f;
    readFloat(ini, common, L"speed_move", &m_speed_move);
    readFloat(ini, common, L"appear_time", &appearTime);
    readFloat(ini, common, L"appear_distance", &m_appear_distance);
    readFloat(ini, common, L"appear_distance_time", &m_appear_distance_time);
    // A missing or non-positive time fades or slides at once.
    m_alpha_rate = appearTime > 0.0f ? 256.0f / appearTime : 0.0f;
    m_appear_speed = m_appear_distance_time > 0.0f ? m_appear_distance / m_appear_distance_time : 0.0f;
    for (int n = 0; n < kTables; ++n) {
        readVector(ini, common, (L"position_" + std::to_wstring(n + 1)).c_str(), &m_positions[n]);
        readVector(ini, common, (L"start_position_" + std::to_wstring(n + 1)).c_str(), &m_start_positions[n]);
    }
    for (cAnimation& animation : m_animations) loadAnimation(&animation, ini, L"THIEF");
    for (int n = 0; n < kTables; ++n) {
        const cVector2 step = m_positions[n].minus(m_start_positions[n]).dividedBy(float(m_count_pnt));
        for (int j = 1; j <= m_count_pnt; ++j) m_paths[n].push_back(m_start_positions[n].plus(step.times(float(j))));
        m_paths[n].back() = m_positions[n];
    }
}

void cThief::setState(int32_t state) {
    setLayer0Animation(m_animations[std::clamp(state, 0, 3)], ORIGIN_START, 0.0f);
    m_state = state;
    m_animating = false;
    if (state == THIEF_FADE_IN && !m_appear_sound_played) {
        m_appear_sound_played = true;
        characters::playSound(kAppearSound);
    } else if (state == THIEF_STEAL && !m_steal_sound_played) {
        m_steal_sound_played = true;
        characters::playSound(kStealSound);
    }
}

void cThief::update() {
    const float dt = getDeltaTime();
    // 1. The money is gone: he gives up.
    if (m_table->getState() != ITEM_MONEY && m_state != THIEF_RUN_OFF) {
        characters::playSound(kDisappearSound);
        setState(THIEF_RUN_OFF);
    }
    // 2. The state's action.
    switch (m_state) {
    case THIEF_FADE_IN: fadeIn(dt); break;
    case THIEF_WALK: walk(dt); break;
    case THIEF_STEAL:
        m_table->clearMoney();
        setState(THIEF_RUN_OFF);
        break;
    case THIEF_RUN_OFF: runOff(dt); break;
    default: break;
    }
    // 3. The walk animation.
    if (m_animating) advanceAnimation(dt);
    cPicture::update();
}

void cThief::fadeIn(float dt) {
    const cVector2& start = m_start_positions[m_table_index];
    m_alpha = m_alpha_rate > 0.0f ? std::min(m_alpha + dt * m_alpha_rate, 255.0f) : 255.0f;
    cVector2 position = getPosition();
    position.x = m_appear_speed > 0.0f ? std::min(position.x + dt * m_appear_speed, start.x) : start.x;
    setAlpha(toAlpha(m_alpha));
    setPosition(position);
    if (m_alpha == 255.0f) {
        setPosition(start);
        setState(THIEF_WALK);
    }
}

void cThief::walk(float dt) {
    m_step_timer -= dt;
    if (m_step_timer > 0.0f) return;
    m_step_timer = 0.0f;
    m_animating = true;
    stepToPoint(dt);
    if (m_paths[m_table_index].empty()) {
        m_step_timer = m_step_pause;
        setState(THIEF_STEAL);
    }
}

void cThief::stepToPoint(float dt) {
    std::deque<cVector2>& path = m_paths[m_table_index];
    cVector2 position = getPosition().plus(cVector2(m_speed_move * dt, 0.0f));
    if (!path.empty() && position.x >= path.front().x) {
        position = path.front();
        path.pop_front();
        m_step_timer = m_step_pause;
        m_animating = false;
        setState(THIEF_WALK);
    }
    setPosition(position);
}

void cThief::runOff(float dt) {
    cVector2 position = getPosition();
    position.x -= kRunOffSpeed * dt;
    setPosition(position);
    if (position.x <= m_start_positions[m_table_index].x && !m_deletion_scheduled) {
        m_deletion_scheduled = true;
        scheduleDelete(this);
    }
}
