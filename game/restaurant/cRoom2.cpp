#include "game/restaurant/cRoom2.h"

#include <cmath>

#include "engine/core/Random.h"
#include "engine/core/cCurveSet.h"
#include "engine/core/cIniFile.h"
#include "engine/scene/cPicture.h"
#include "game/effects/EffectSupport.h"

namespace wt = world_textures;

namespace {
std::string riderTexture(int r) { return wt::roomFile(2, ("character0" + std::to_string(r + 1)).c_str()); }
}  // namespace

cRoom2::cRoom2(cSceneNode* level) : cRoom(level, 2) {
    for (int k = 0; k < 3; ++k) m_horses[k] = addPicture(), m_riders[k] = addPicture();
    m_horse_curve = effectCurve(kHorseCurves, "horse");
    loadFromIni(roomIni(), cStringW());
    const float xs[3] = {233.0f, 566.0f, 900.0f};
    for (int k = 0; k < 3; ++k) {
        m_horses[k]->setPosition(cVector2(xs[k], m_horse_curve->getValue(xs[k]) + m_base_y));
        m_riders[k]->setPicture(cStringA(riderTexture(0)));
        m_riders[k]->setAlpha(0);
    }
    for (cPicture* light : m_lights) light->setBeginDrawCallback(&cRoom::setTextureAlphaBlend);
    show();
    enable();
}

cRoom2::~cRoom2() = default;

void cRoom2::loadFromIni(const cIniFile&, const cStringW&) {
    const cIniFile& ini = roomIni();
    loadCommon(ini);
    for (int k = 0; k < 3; ++k) loadPart(ini, m_horses[k], "HORSE", wt::roomTexture(2, "horse", m_upgrades.interior2));
    m_base_y = m_horses[0]->getPosition().y;
    for (int r = 0; r < 4; ++r) readVector(ini, L"HORSE", (L"off_c" + std::to_wstring(r + 1)).c_str(), &m_rider_offsets[r]);
    m_run.load(ini, L"HORSE");
    for (int k = 0; k < 3; ++k) loadPart(ini, m_riders[k], "HORSEMAN", std::string());
    applyTimeOfDay();
    if (m_time == wt::TimeOfDay::None) return;
    const bool night = m_time == wt::TimeOfDay::Night;
    m_lights = loadNumbered(ini, night ? L"LIGHT_NIGHT" : L"LIGHT_DAY_EVENINIG", night ? 8 : 4);
    for (cPicture* light : m_lights) light->setPicture(cStringA(wt::lightTexture(2, m_time, false)));
}

void cRoom2::update() {
    const float dt = getDeltaTime();
    m_layers[0].scroll(dt);
    const float left = timeLeft();
    m_run.speedStep(dt);
    for (int pass = 0; pass < 3; ++pass) {
        m_run.rampStep(dt, left);
        if (m_run.currentSpeed == 0.0f) continue;
        for (int k = 0; k < 3; ++k) {
            const float x = m_horses[k]->getPosition().x + dt * m_run.currentSpeed;
            const float y = std::trunc(m_horse_curve->getValue(x)) + m_base_y;
            m_horses[k]->setPosition(cVector2(x, y));
            m_riders[k]->setPosition(cVector2(x, y) + m_rider_offsets[m_rider_character[k]]);
            if (m_horse_curve->getMaxX() <= x) {
                m_horses[k]->setPosition(cVector2(m_horse_curve->getMinX(), m_base_y));
                const int r = rwRand() % 6;
                if (r < 4) {
                    m_riders[k]->setPicture(cStringA(riderTexture(r)));
                    m_riders[k]->setAlpha(255);
                    m_rider_character[k] = r;
                } else {
                    m_riders[k]->setAlpha(0);
                }
            }
        }
    }
    cSceneNode::update();
}
