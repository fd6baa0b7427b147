#include "game/restaurant/cCottonLights.h"

#include <string>

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"
#include "game/effects/cFxTrail.h"
#include "game/restaurant/cCottonStation.h"

namespace {
const float kTrailFade = 400.0f;

cVector2 unit(const cVector2& v) {
    const float l = v.length();
    return l > 0.0f ? v / l : cVector2();
}
}  // namespace

cCottonLights::cCottonLights(cSceneNode* stand, int variant) : cPicture(stand) {
    loadFromIni(effectIni(kCottonStandIni), variant == 1 ? L"LIGHT" : L"LIGHT2");
    if (!m_path.empty()) setPosition(m_path[0]);
}

cCottonLights::~cCottonLights() { hide(); }

void cCottonLights::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    cVector2 frame, centre;
    readVector(ini, L"STAND", L"anim_frame_size", &frame);
    readVector(ini, section.c_str(), L"position", &centre);
    readFloat(ini, section.c_str(), L"speed_move", &m_speed_move);
    m_path.clear();
    const float kEnd = -100000.0f;
    for (int k = 1;; ++k) {
        cVector2 v(kEnd, kEnd);
        readVector(ini, section.c_str(), (L"v" + std::to_wstring(k)).c_str(), &v);
        if (v.x == kEnd && v.y == kEnd) break;
        m_path.push_back(centre - frame / 2.0f + v);
    }
}

void cCottonLights::onShow() {
    m_next_point = 1;
    m_trail_timer = m_trail_period;
    if (!m_path.empty()) setPosition(m_path[0]);
    cPicture::onShow();
}

size_t cCottonLights::nextDistinct(size_t from) const {
    const size_t n = m_path.size();
    size_t i = from % n;
    for (size_t tries = 0; tries < n; ++tries, i = (i + 1) % n)
        if (m_path[i] != m_path[(i + n - 1) % n]) return i;
    return from % n;
}

void cCottonLights::move(float dt) {
    const size_t n = m_path.size();
    if (n < 2) return;
    m_next_point = nextDistinct(m_next_point);
    const cVector2 target = m_path[m_next_point];
    const cVector2 d = unit(target - m_path[(m_next_point + n - 1) % n]);
    if (d == cVector2()) return;   // every point the same
    cVector2 pos = getPosition() + d * (m_speed_move * dt);
    const bool passed = (d.x > 0.0f && pos.x > target.x) || (d.x < 0.0f && pos.x < target.x) ||
                        (d.y > 0.0f && pos.y > target.y) || (d.y < 0.0f && pos.y < target.y);
    if (passed) {
        const float over = (pos - target).length();
        m_next_point = nextDistinct((m_next_point + 1) % n);
        pos = target + unit(m_path[m_next_point] - target) * over;
    }
    setPosition(pos);
}

void cCottonLights::update() {
    if (isVisible()) {
        const float dt = getDeltaTime();
        // 1. A trail every period (the remainder is not carried).
        m_trail_timer -= dt;
        if (m_trail_timer <= 0.0f) {
            m_trail_timer = m_trail_period;
            cSceneNode* stand = getParent();
            cSceneNode* parent = stand && stand->getParent() ? stand->getParent() : stand;
            new cFxTrail(parent, this, kTrailFade, float(getVertexAlpha(0)), false);
        }
        // 2.-6. Along the path at constant speed.
        move(dt);
    }
    cPicture::update();
}
