#include "game/restaurant/cRoom1.h"

#include "engine/core/cCurveSet.h"
#include "engine/core/cIniFile.h"
#include "engine/scene/cPicture.h"
#include "game/characters/CharacterSupport.h"
#include "game/effects/EffectSupport.h"

namespace wt = world_textures;

cRoom1::cRoom1(cSceneNode* level) : cRoom(level, 1) {
    m_broken_door = addPicture();
    m_light_door = addPicture();
    for (cPicture*& light : m_light_windows) light = addPicture();
    m_door_curve = effectCurve(kBrokenDoorCurves, "door");
    loadFromIni(roomIni(), cStringW());
    rollTrainSound();
    m_light_door->setBeginDrawCallback(&cRoom::setTextureAlphaBlend);
    for (cPicture* light : m_light_windows) light->setBeginDrawCallback(&cRoom::setTextureAlphaBlend);
    show();
    enable();
}

cRoom1::~cRoom1() = default;

void cRoom1::loadAfterDoors(const cIniFile& ini) {
    loadPart(ini, m_broken_door, "BROKEN_DOOR", std::string());
    m_door_base = m_broken_door->getPosition();
    if (m_upgrades.interior1 >= 2) m_broken_door->hide();
}

void cRoom1::loadFromIni(const cIniFile&, const cStringW&) {
    const cIniFile& ini = roomIni();
    loadCommon(ini);
    loadPart(ini, m_light_door, "LIGHT_DOOR", std::string());
    for (int i = 0; i < 3; ++i) {
        loadPart(ini, m_light_windows[i], "LIGHT_WINDOW", std::string());
        cVector2 position = m_light_windows[i]->getPosition();
        readVector(ini, L"LIGHT_WINDOW", (L"position" + std::to_wstring(i + 1)).c_str(), &position);
        m_light_windows[i]->setPosition(position);
    }
    applyTimeOfDay();
    if (m_time == wt::TimeOfDay::Night) {
        m_light_door->hide();
        for (cPicture* light : m_light_windows) light->hide();
    } else if (m_time != wt::TimeOfDay::None) {
        m_light_door->setPicture(cStringA(wt::lightTexture(1, m_time, true)));
        for (cPicture* light : m_light_windows) light->setPicture(cStringA(wt::lightTexture(1, m_time, false)));
    }
    readVector(ini, L"TRAIN_SOUND", L"delay_min_max", &m_train_delay_range);
    readVector(ini, L"TRAIN_SOUND", L"cycles_min_max", &m_train_cycles_range);
    readFloat(ini, L"TRAIN_SOUND", L"between_cycles_delay", &m_train_cycle_gap);
}

void cRoom1::rollTrainSound() {
    using characters::randomInt;
    using characters::toIntClamped;
    m_train_delay = float(randomInt(toIntClamped(m_train_delay_range.x * 10000.0f),
                                    toIntClamped(m_train_delay_range.y * 10000.0f))) / 10000.0f;
    m_train_cycles_left = randomInt(toIntClamped(m_train_cycles_range.x), toIntClamped(m_train_cycles_range.y));
    m_train_cycle_timer = 0.0f;
}

void cRoom1::stepTrainSound(float dt) {
    m_train_delay -= dt;
    if (m_train_delay > 0.0f) return;
    m_train_delay = 0.0f;
    m_train_cycle_timer -= dt;
    if (m_train_cycle_timer > 0.0f) return;
    m_train_cycle_timer = m_train_cycle_gap;
    characters::playSound("sounds/game/train_move.ogg");
    if (--m_train_cycles_left <= 0) rollTrainSound();
}

void cRoom1::update() {
    const float dt = getDeltaTime();
    const float left = timeLeft();
    for (cScrollLayer& l : m_layers) {
        l.run.speedStep(dt);
        l.run.rampStep(dt, left);
        l.scroll(dt);
    }
    m_door_time += dt;
    if (m_door_curve->getMaxX() < m_door_time) m_door_time = 0.0f;
    m_broken_door->setPosition(m_door_base + cVector2(m_door_curve->getValue(m_door_time), 0.0f));
    const cRun& run = m_layers[0].run;
    if (run.direction > 0.0f && run.rampTime >= 0.5f && !m_start_sound_played) {
        characters::playSound("sounds/game/train_start.ogg");
        m_start_sound_played = true;
    }
    if (run.direction < 0.0f && left <= 10.0f && !m_stop_sound_played) {
        characters::playSound("sounds/game/train_stop.ogg");
        m_stop_sound_played = true;
    }
    if (left > 40.0f) stepTrainSound(dt);
    cSceneNode::update();
}
