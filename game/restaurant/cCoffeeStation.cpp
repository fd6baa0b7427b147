#include "game/restaurant/cCoffeeStation.h"

#include <string>

#include "engine/core/cIniFile.h"
#include "game/data/StationTextures.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/LevelLook.h"
#include "game/restaurant/cHighlight.h"

namespace {
const float kGlowRate = 1000.0f;
const float kGlowHold = 0.2f;
const float kSteamLead = 0.15f;   // the steam rises this long before the brew ends
const float kSingleSteamDeep = 1015.0f;
}  // namespace

cStringW worldKey(const wchar_t* stem, int graphicsSet) {
    const int set = graphicsSet == 2 || graphicsSet == 3 ? graphicsSet : 1;
    return cStringW(std::wstring(stem) + L"_world_" + std::to_wstring(set));
}

cCoffeeStation::cCoffeeStation(cSceneNode* parent) : cStation(parent) {
    m_glow = new cPicture(this);
    loadConfig();
    placeFromPaths("COFFEE_STATION");
    finishBuild(m_highlight_alpha);
    m_glow->setPosition(getPosition());
    m_glow->setAlpha(0);
    m_glow->setDeep(getDeep() + 2.0f);
    setAnimation(0);
}

cCoffeeStation::~cCoffeeStation() = default;

void cCoffeeStation::loadFromIni(const cIniFile&, const cStringW&) { loadConfig(); }

void cCoffeeStation::loadFromNode(const cXmlNode&) { placeFromPaths("COFFEE_STATION"); }

void cCoffeeStation::loadConfig() {
    const cIniFile& ini = effectIni(kCoffeeIni);
    const cLevelLook look = currentLevelLook();
    const int set = world_textures::worldOfGraphicsSet(look.graphicsSet);
    const int upgrade = look.upgrades.coffee;
    cPicture::loadFromIni(ini, L"COMMON");
    readFloat(ini, L"COMMON", worldKey(L"generation_time", set).c_str(), &m_generation_time);
    stringToInt(&m_highlight_alpha, ini.getValue(L"COMMON", L"highlight_alpha"));
    readFloat(ini, L"COMMON", L"dec_generation_time", &m_dec_generation_time);
    readFloat(ini, L"COMMON", L"temp_multiplier", &m_temp_multiplier);
    loadPointerOffsets(ini, L"COMMON");
    float delay = 0.0f;
    readFloat(ini, L"COMMON", L"sound_delay", &delay);
    m_sound.setDelay(delay);
    m_glow->loadFromIni(ini, L"GLOW");
    loadAnimation(&m_animations[0], ini, L"STAND");
    loadAnimation(&m_animations[1], ini, L"WORK");
    cVector2 steamScale(1.0f, 1.0f);
    readVector(ini, L"COMMON", L"steam_scale", &steamScale);

    const station_textures::Names names =
        station_textures::names(set, lookWorld(look), [&] {
            world_textures::Upgrades u = look.upgrades;
            if (u.coffee == 0) u.coffee = 1;
            return u;
        }());
    m_batch = set == 1 && upgrade <= 1 ? 1 : 2;
    for (int i = 0; i < m_batch; ++i) {
        cPicture* steam = new cPicture(this);
        steam->loadFromIni(ini, L"STEAM");
        cVector2 offset;
        readVector(ini, L"COMMON", m_batch == 1 ? L"steam_offset" : i == 0 ? L"steam_offset_1" : L"steam_offset_2",
                   &offset);
        steam->setPosition(getPosition() + offset);
        steam->setDeep(m_batch == 1 ? kSingleSteamDeep : getDeep() + 5.0f + float(i));
        steam->setScale(steamScale);
        steam->setAlpha(0);
        m_steam[i] = steam;
    }
    m_animations[0].picture = names.coffeeStand.c_str();
    m_animations[1].picture = names.coffeeWork.c_str();
    m_glow->setPicture(names.coffeeGlow.c_str());
    if (set != 1 && upgrade >= 2) m_generation_time -= m_dec_generation_time;
    m_animations[0].frameCount = uint32_t(m_batch + 1);
    loadHitPolygon(ini, L"COMMON");
}

bool cCoffeeStation::setState(int32_t value) {
    if (value != 0) {
        storeState(value);
        return true;
    }
    if (m_brewing) return false;
    if (m_cups > 0) {
        --m_cups;
        m_sound.add();
        setAnimation(0);
        storeState(m_cups > 0 ? ITEM_COFFEE : 0);
        return true;
    }
    m_cups = 0;
    setAnimation(1);
    m_brewing = true;
    playSound("sounds/game/coffee_mashine.ogg");
    storeState(0);
    return true;
}

void cCoffeeStation::setAnimation(int index) {
    setLayer0Animation(m_animations[index], ORIGIN_START, 0.0f);
    if (m_highlight) m_highlight->setLayer0Animation(m_animations[index], ORIGIN_START, 0.0f);
    if (index == 0) {
        // Each cup taken lets its steam fade: of two, the first cup the first steam.
        if (m_batch == 2) {
            if (m_cups == 1) m_steam_fade[0] = -1;
            else if (m_cups == 0) m_steam_fade[1] = -1;
        } else if (m_cups == 0) {
            m_steam_fade[0] = -1;
        }
        station_run::showFrame(this, uint32_t(m_cups + 1));
        if (m_highlight) station_run::showFrame(m_highlight, uint32_t(m_cups + 1));
    }
    m_animation = index;
}

void cCoffeeStation::stepSteam(float dt) {
    // The second steam starts its run a second in, so the two do not move in step.
    for (int i = 0; i < 2; ++i)
        if (m_steam[i]) ::stepSteam(m_steam[i], m_steam_fade[i], m_steam_alpha[i], dt, float(i));
}

void cCoffeeStation::stepGlow(float dt) {
    if (m_animation == 1 || m_cups <= 0) {
        if (m_glow->isOwnVisible()) m_glow->hide(), m_glow->disable();
        m_glow_direction = 1;
        m_glow_alpha = 0.0f;
        m_glow_pause = 0.0f;
    } else {
        if (!m_glow->isOwnVisible()) m_glow->show(), m_glow->enable();
        m_glow_pause -= dt;
        if (m_glow_pause < 0.0f) m_glow_pause = 0.0f;
        if (m_glow_pause == 0.0f) m_glow_alpha += dt * float(m_glow_direction) * kGlowRate;
        if (m_glow_direction == -1 && m_glow_alpha <= 0.0f) {
            m_glow_direction = 1, m_glow_alpha = 0.0f, m_glow_pause = kGlowHold;
        } else if (m_glow_direction == 1 && m_glow_alpha >= 255.0f) {
            m_glow_direction = -1, m_glow_alpha = 255.0f, m_glow_pause = kGlowHold;
        }
    }
    m_glow->setAlpha(toAlpha(m_glow_alpha));
}

void cCoffeeStation::stepBrew(float dt) {
    if (!m_brewing) return;
    const float step = isBonusModeOn() ? dt * m_temp_multiplier : dt;
    m_elapsed += step;
    if (m_generation_time - m_elapsed <= kSteamLead) m_steam_fade[0] = m_steam_fade[1] = 1;
    if (m_elapsed >= m_generation_time) {
        m_cups = m_batch;
        setAnimation(0);
        m_brewing = false;
        m_elapsed = 0.0f;
        setState(ITEM_COFFEE);
    } else {
        advanceAnimation(step);
        if (m_highlight) m_highlight->advanceAnimation(step);
    }
}

void cCoffeeStation::update() {
    const float dt = getDeltaTime();
    // 1. Steam; 2. glow; 3. brew; 4. the take sound; 5. controllers and children.
    stepSteam(dt);
    stepGlow(dt);
    stepBrew(dt);
    m_sound.step(dt);
    cPicture::update();
}
