#include "game/restaurant/cRoom3.h"

#include <cmath>

#include "engine/core/Random.h"
#include "engine/core/cCurveSet.h"
#include "engine/core/cIniFile.h"
#include "engine/scene/cPicture.h"
#include "game/characters/CharacterSupport.h"
#include "game/effects/EffectSupport.h"

namespace wt = world_textures;

namespace {

// min + (rand % width) / 10000 with width = trunc((max - min + extra) x 10000), at least 1.
float drawRange(const cVector2& range, float extra) {
    int32_t width = characters::toIntClamped((range.y - range.x + extra) * 10000.0f);
    if (width < 1) width = 1;
    return range.x + float(rwRand() % width) / 10000.0f;
}

}  // namespace

cRoom3::cRoom3(cSceneNode* level) : cRoom(level, 3) {
    m_liberty = addPicture();
    m_balloon = addPicture();
    m_light = addPicture();
    loadFromIni(roomIni(), cStringW());
    m_light->setBeginDrawCallback(&cRoom::setTextureAlphaBlend);
    for (cPicture* lamp : m_lamps) lamp->setBeginDrawCallback(&cRoom::setTextureAlphaBlend);
    launchBalloon();
    show();
    enable();
}

cRoom3::~cRoom3() = default;

void cRoom3::loadFromIni(const cIniFile&, const cStringW&) {
    const cIniFile& ini = roomIni();
    loadCommon(ini);
    loadPart(ini, m_liberty, "LIBERTY", wt::roomFile(3, "liberty01"));
    loadPart(ini, m_balloon, "BALLOON", wt::roomFile(3, "balloon01"));
    m_base_y = m_balloon->getPosition().y;
    readVector(ini, L"BALLOON", L"min_max_speed", &m_speed_range);
    readVector(ini, L"BALLOON", L"min_max_delay", &m_delay_range);
    readVector(ini, L"BALLOON", L"min_max_scale", &m_scale_range);
    loadPart(ini, m_light, "LIGHT", std::string());
    float nightDeep = m_light->getDeep();
    readFloat(ini, L"LIGHT", L"night_deep", &nightDeep);
    applyTimeOfDay();
    if (m_time == wt::TimeOfDay::None) return;
    m_light->setPicture(cStringA(wt::lightTexture(3, m_time, false)));
    if (m_time == wt::TimeOfDay::Night) m_light->setDeep(nightDeep);
}

void cRoom3::launchBalloon() {
    m_balloon_curve = effectCurve(kBalloonCurves, rwRand() % 2 == 0 ? "curve_1" : "curve_2");
    if (rwRand() % 2 == 0) {
        m_direction = 1.0f;
        const float x = m_balloon_curve->getMinX();
        m_balloon->setPosition(cVector2(x, m_balloon_curve->getValue(x)));
    } else {
        m_direction = -1.0f;
        const float x = m_balloon_curve->getMaxX();
        m_balloon->setPosition(cVector2(x, m_balloon_curve->getValue(x)));
    }
    m_delay = drawRange(m_delay_range, 1.0f);
    m_balloon_speed = drawRange(m_speed_range, 1.0f);
    const float s = drawRange(m_scale_range, 0.1f);
    m_balloon->setScale(cVector2(s, s));
    m_balloon->setAlpha(s < 0.6f ? 150 : s < 0.9f ? 200 : 255);
}

void cRoom3::stepBalloon(float dt) {
    m_delay -= dt;
    if (m_delay > 0.0f) return;
    m_delay = 0.0f;
    const float x = m_balloon->getPosition().x + m_direction * m_balloon_speed * dt;
    const float y = std::trunc(m_balloon_curve->getValue(x)) + m_base_y;
    m_balloon->setPosition(cVector2(x, y));
    if ((m_direction < 0.0f && m_balloon_curve->getMinX() >= x) || (m_direction > 0.0f && m_balloon_curve->getMaxX() <= x))
        launchBalloon();
}

void cRoom3::update() {
    m_layers[1].scroll(getDeltaTime());
    stepBalloon(getDeltaTime());
    cSceneNode::update();
}
