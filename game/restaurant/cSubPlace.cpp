#include "game/restaurant/cSubPlace.h"

#include "engine/core/cIniFile.h"
#include "game/data/WorldTextures.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/cHighlight.h"

cSubPlace::cSubPlace(cSceneNode* station) : cStation(station) {
    loadConfig();
    // Every record is a still picture; only the empty plate and the three raw subs have one.
    for (cAnimation& a : m_items) {
        a = cAnimation();
        a.frameCount = 1;
        a.length = 0.0f;
        a.looped = false;
    }
    m_items[0].picture = cStringA(world_textures::commonItemTexture("none", false));
    m_items[11].picture = cStringA(world_textures::commonItemTexture("sub01", false));
    m_items[25].picture = cStringA(world_textures::commonItemTexture("sub02", false));
    m_items[39].picture = cStringA(world_textures::commonItemTexture("sub03", false));
    setAlpha(0);
    m_home = getPosition();
    finishBuild(m_highlight_alpha);
}

cSubPlace::~cSubPlace() = default;

void cSubPlace::loadConfig() {
    const cIniFile& ini = effectIni(kSubPlaceIni);
    cPicture::loadFromIni(ini, L"COMMON");
    stringToInt(&m_highlight_alpha, ini.getValue(L"COMMON", L"highlight_alpha"));
    loadPointerOffsets(ini, L"COMMON");
    readFloat(ini, L"COMMON", L"appear_time", &m_appear_time);
    readFloat(ini, L"COMMON", L"move_time", &m_move_time);
    readVector(ini, L"COMMON", L"appear_pos_off", &m_appear_pos_off);
    loadHitPolygon(ini, L"COMMON");
}

bool cSubPlace::setState(int32_t value) {
    if (value < 0 || value >= kItemCount) value = 0;
    setLayer0Animation(m_items[size_t(value)], ORIGIN_START, 0.0f);
    if (m_highlight) m_highlight->setLayer0Animation(m_items[size_t(value)], ORIGIN_START, 0.0f);
    storeState(value);
    return true;
}

void cSubPlace::setPosition(const cVector2& position) {
    m_home = position;
    placeAt(position);
    // The highlight marks the click area, which stays at home.
    if (m_highlight) m_highlight->setPosition(position);
}

void cSubPlace::placeAt(const cVector2& position) {
    cPicture::setPosition(position);
    placePointers(position, getDeep(), 10.0f, 10.1f);
}

void cSubPlace::updateHover(bool testMouse, bool value) {
    if (m_discard || isBlocked()) testMouse = value = false;
    if (!testMouse)
        setHovered(value);
    else
        hitTest(getMousePosition(), m_home, testTransformFlags(TF_CENTERED) ? getLayer0FrameSize() : cVector2());
    if (m_highlight) m_highlight->setVisible(isHovered() && getState() != 0);
}

void cSubPlace::appear(int32_t id) {
    if (id == 0) return;
    setAlpha(0);
    m_alpha = 0.0f;
    // A fade-in time of 0 or less ends the fade at the first step.
    const bool timed = m_appear_time > 0.0f;
    m_alpha_rate = timed ? 256.0f / m_appear_time : 0.0f;
    m_appear_velocity = timed ? -(m_appear_pos_off / m_appear_time) : cVector2();
    m_appear_offset = m_appear_pos_off;
    m_timer = timed ? m_appear_time : 0.0f;
    m_appearing = true;
    setState(id);
}

void cSubPlace::moveIn(int32_t id, const cVector2& from) {
    if (id == 0) return;
    m_alpha_rate = m_appear_time > 0.0f ? 256.0f / m_appear_time : 0.0f;
    setState(id);
    setAlpha(255);
    m_alpha = 255.0f;
    const bool timed = m_move_time > 0.0f;
    m_move_start = from - m_home;
    m_move_velocity = timed ? -(m_move_start / m_move_time) : cVector2();
    m_move_offset = m_move_start;
    m_timer = timed ? m_move_time : 0.0f;
    m_moving = true;
}

void cSubPlace::empty() {
    setAlpha(0);
    setState(0);
}

void cSubPlace::finishMotion() {
    m_timer = 0.0f;
    setAlpha(255);
    placeAt(m_home);
}

bool cSubPlace::stepAppear(float dt) {
    m_alpha += dt * m_alpha_rate;
    if (m_alpha >= 255.0f) m_alpha = 255.0f;
    m_appear_offset += m_appear_velocity * dt;
    setAlpha(toAlpha(m_alpha));
    placeAt(m_home + m_appear_offset);
    m_timer -= dt;
    if (m_timer > 0.0f) return false;
    finishMotion();
    return true;
}

bool cSubPlace::stepMove(float dt) {
    if (m_discard) {
        // Without a fade-in time the discard plate is clear at once.
        m_alpha = m_alpha_rate > 0.0f ? m_alpha - dt * m_alpha_rate : 0.0f;
        if (m_alpha < 0.0f) m_alpha = 0.0f;
        setAlpha(toAlpha(m_alpha));
    }
    m_move_offset += m_move_velocity * dt;
    placeAt(m_home + m_move_offset);
    m_timer -= dt;
    if (m_timer > 0.0f) return false;
    finishMotion();
    return true;
}

void cSubPlace::update() {
    const float dt = getDeltaTime();
    if (m_appearing) {
        if (stepAppear(dt)) m_appearing = false;
    } else if (m_moving) {
        if (stepMove(dt)) {
            m_moving = false;
            if (m_discard) empty();
        }
    }
    cPicture::update();
}
