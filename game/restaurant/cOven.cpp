#include "game/restaurant/cOven.h"

#include <string>

#include "engine/core/cIniFile.h"
#include "game/data/StationTextures.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cCoffeeStation.h"
#include "game/restaurant/cHighlight.h"
#include "game/restaurant/cItemHolder.h"
#include "game/restaurant/cOvenProgress.h"

namespace {

bool isRawSub(int32_t id) { return id >= ITEM_FIRST_SUB && id <= ITEM_LAST_SUB && (id & 1) == 1; }
}  // namespace

cOven::cOven(cSceneNode* parent, int index) : cStation(parent), m_index(index) {
    m_steam = new cPicture(this);
    m_item = new cItemHolder(this);
    m_progress = new cOvenProgress(this, index);
    if (index == 2) m_base = new cPicture(this);
    loadConfig();
    placeFromPaths("OVEN");
    m_progress->setDeep(getDeep() - 5.0f);
    finishBuild(m_highlight_alpha);
    setPhase(0);
}

cOven::~cOven() = default;

void cOven::loadFromIni(const cIniFile&, const cStringW&) { loadConfig(); }

void cOven::loadFromNode(const cXmlNode&) { placeFromPaths("OVEN"); }

void cOven::loadConfig() {
    const cIniFile& ini = effectIni(kOvenIni);
    const cStringW section = L"OVEN_" + std::to_wstring(m_index);
    const wchar_t* s = section.c_str();
    const cLevelLook look = currentLevelLook();
    const int set = world_textures::worldOfGraphicsSet(look.graphicsSet);
    cPicture::loadFromIni(ini, section);
    readVector(ini, s, L"item_position", &m_item_position);
    readFloat(ini, s, worldKey(L"generation_time", set).c_str(), &m_generation_time);
    readFloat(ini, s, L"dec_generation_time", &m_dec_generation_time);
    readFloat(ini, s, L"temp_multiplier", &m_temp_multiplier);
    stringToInt(&m_highlight_alpha, ini.getValue(section, L"highlight_alpha"));
    loadPointerOffsets(ini, section);
    m_item->setDeep(getDeep() + 2.0f);
    m_item->setPosition(m_item_position);
    readVector(ini, s, L"item_velocity", &m_item_velocity);
    // A direction of no length stays none: the sub then appears where it rests.
    if (m_item_velocity.length() > 0.0f) m_item_velocity = m_item_velocity / m_item_velocity.length();
    readFloat(ini, s, L"item_speed", &m_item_speed);
    cVector2 steamOffset, steamScale(1.0f, 1.0f);
    readVector(ini, s, L"steam_offset", &steamOffset);
    readVector(ini, s, L"steam_scale", &steamScale);
    loadHitPolygon(ini, section);

    for (int p = 0; p < 5; ++p) loadAnimation(&m_animations[p], ini, L"OPEN");
    loadAnimation(&m_animations[5], ini, L"WORK");
    world_textures::Upgrades u = look.upgrades;
    int& upgrade = m_index == 2 ? u.oven2 : u.oven1;
    if (upgrade == 0) upgrade = 1;   // an oven the level does not install shows the basic one
    const station_textures::Oven names = station_textures::names(set, lookWorld(look), u).oven[m_index == 2 ? 1 : 0];
    for (int p = 0; p < 5; ++p) m_animations[p].picture = names.open.c_str();
    m_animations[5].picture = names.work.c_str();
    if (upgrade >= 2) m_generation_time -= m_dec_generation_time;
    const float half = m_animations[2].length / 2.0f;
    m_item_alpha_rate = half > 0.0f ? 256.0f / half : 0.0f;

    m_steam->loadFromIni(ini, L"STEAM");
    m_steam->setPosition(getPosition() + steamOffset);
    m_steam->setDeep(getDeep() + 10.0f);
    m_steam->setScale(steamScale);
    m_steam->setAutoFiltering(true);
    m_steam->setAlpha(0);
    if (m_base) {
        m_base->loadFromIni(ini, L"BASE");
        m_base->setPicture(names.base.c_str());
    }
    m_progress->setPicture(names.progress.c_str());
}

bool cOven::setState(int32_t id) {
    if (!(m_phase == 0 || m_phase == 3 || (m_phase == 2 && !m_busy))) return false;
    if (id == 0) {
        if (!m_ready) return false;
        setPhase(3);
        storeState(0);
        return true;
    }
    if (isRawSub(id) && getState() == 0) {
        m_product = id + 1;
        setPhase(m_phase == 0 ? 1 : 4);
        return true;
    }
    storeState(id);
    return true;
}

void cOven::setPhase(int phase) {
    m_phase = phase;
    auto run = [this](int p, unsigned origin) {
        setLayer0Animation(m_animations[p], origin, 0.0f);
        if (m_highlight) m_highlight->setLayer0Animation(m_animations[p], origin, 0.0f);
    };
    switch (phase) {
    case 0:
        m_item->setAlpha(0);
        m_item_alpha = 0.0f;
        run(0, ORIGIN_START);
        m_busy = false;
        break;
    case 1:
        run(1, ORIGIN_START);
        m_busy = true;
        break;
    case 2:
        run(2, ORIGIN_START);
        m_item->setState(m_product - 1);
        m_item->setAlpha(0);
        m_item_alpha = 0.0f;
        m_busy = true;
        playSound("sounds/game/oven_ready.ogg");
        break;
    case 3:
        m_ready = false;
        m_item->setState(0);
        m_item->setAlpha(0);
        m_item_alpha = 0.0f;
        run(3, ORIGIN_END);
        m_busy = true;
        break;
    case 4:
        run(4, ORIGIN_END);
        m_item->setState(m_product - 1);
        m_item->setAlpha(255);
        m_item_alpha = 255.0f;
        m_busy = true;
        playSound("sounds/game/oven_cooking.ogg");
        break;
    case 5:
        m_elapsed = 0.0f;
        run(5, ORIGIN_START);
        m_busy = true;
        m_step_timer = stepTime();
        stepProgress();
        break;
    default: break;
    }
}

float cOven::stepTime() const {
    const uint32_t frames = m_progress->getLayer0FrameCount();
    return frames >= 2 ? m_generation_time / float(frames - 1) : 0.0f;
}

void cOven::stepProgress() {
    if (m_progress->getLayer0FrameCount() >= 2) m_progress->step();
}

void cOven::advanceDoor(float dt) {
    station_run::advance(this, dt);
    if (m_highlight) station_run::advance(m_highlight, dt);
}

void cOven::stepSteam(float dt) { ::stepSteam(m_steam, m_steam_fade, m_steam_alpha, dt, 0.0f); }

void cOven::stepPhase(float dt) {
    if (!m_busy) return;
    const float half = getLayer0Length() / 2.0f;
    switch (m_phase) {
    case 1:
        if (station_run::atEnd(this)) {
            m_busy = false;
            setPhase(4);
        } else {
            advanceDoor(dt);
        }
        break;
    case 2:
        if (station_run::atEnd(this)) {
            stepProgress();
            m_item->setPosition(m_item_position);
            m_item->setAlpha(255);
            m_busy = false;
            m_ready = true;
            m_item->setState(m_product);
            storeState(m_product);
        } else {
            advanceDoor(dt);
            if (getLayer0Time() >= half) {
                m_item->setPosition(m_item->getPosition() + m_item_velocity * (m_item_speed * dt));
                m_item_alpha = m_item_alpha_rate > 0.0f ? m_item_alpha + m_item_alpha_rate * dt : 255.0f;
                if (m_item_alpha > 255.0f) m_item_alpha = 255.0f;
                m_item->setAlpha(toAlpha(m_item_alpha));
                m_steam_fade = 1;
            }
        }
        break;
    case 3:
        if (station_run::atStart(this)) {
            m_busy = false;
            setPhase(0);
        } else {
            advanceDoor(-dt);
            m_steam_fade = -1;
        }
        break;
    case 4:
        if (station_run::atStart(this)) {
            m_item->setAlpha(0);
            m_busy = false;
            setPhase(5);
        } else {
            advanceDoor(-dt);
            if (getLayer0Time() >= half) {
                m_item->setPosition(m_item->getPosition() - m_item_velocity * (m_item_speed * dt));
                m_item_alpha = m_item_alpha_rate > 0.0f ? m_item_alpha - m_item_alpha_rate * dt : 0.0f;
                if (m_item_alpha < 0.0f) m_item_alpha = 0.0f;
                m_item->setAlpha(toAlpha(m_item_alpha));
            }
        }
        break;
    case 5: {
        const float step = isBonusModeOn() ? dt * m_temp_multiplier : dt;
        m_elapsed += step;
        const float each = stepTime();
        if (each > 0.0f) {
            m_step_timer -= step;
            if (m_step_timer <= 0.0f) {
                m_step_timer = each;
                stepProgress();
            }
        }
        if (m_elapsed < m_generation_time) {
            advanceAnimation(step);
            if (m_highlight) m_highlight->advanceAnimation(dt);
        } else {
            m_busy = false;
            setPhase(2);
        }
        break;
    }
    default: break;
    }
}

void cOven::update() {
    const float dt = getDeltaTime();
    // 1. The steam; 2. the phase's step; 3. controllers and children.
    stepSteam(dt);
    stepPhase(dt);
    cPicture::update();
}

void cOven::updateHover(bool testMouse, bool value) {
    if (isBlocked()) testMouse = value = false;
    m_progress->updateHover(testMouse, value);
    if (!testMouse) {
        setHovered(value);
    } else {
        hoverOwner(*this, true, false);
        if (!isHovered())
            setHovered(m_progress->isHovered());
        else
            m_progress->updateHover(false, true);
    }
    m_highlight->setVisible(isHovered() && highlightAllowed());
}
