#include "game/effects/cFlyingStar.h"

#include "game/effects/EffectSupport.h"
#include "game/effects/cFxTrail.h"

cFlyingStar::cFlyingStar(cSceneNode* parent, float speed) : cPicture(parent), m_speed(speed) {
    m_glow = new cPicture(this);
}

cFlyingStar::~cFlyingStar() {
    hide();
    disable();
}

void cFlyingStar::setPosition(const cVector2& position) {
    cPicture::setPosition(position);
    if (m_glow) m_glow->setPosition(position);
}

void cFlyingStar::setAlpha(uint32_t alpha) {
    cPicture::setAlpha(alpha);
    const uint32_t a = alpha & 0xFFu;
    if (m_glow) m_glow->setColor((a << 16) | (a << 8) | a);
}

void cFlyingStar::loadStarKeys(const cIniFile& ini) {
    cPicture::loadFromIni(ini, L"COMMON");
    readFloat(ini, L"COMMON", L"angle_per_sec", &m_angle_per_sec);
    m_glow->loadFromIni(ini, L"GLOW");
}

void cFlyingStar::startFlight(const cVector2& from, const cVector2& to, Side side) {
    m_p0 = from;
    m_p2 = to;
    m_direction = m_p2 - m_p0;
    m_length = m_direction.length();
    m_direction.normalize();
    cVector2 sideways = m_direction;
    sideways.rotate(side == BEND_LEFT ? -90.0f : 90.0f);
    m_p1 = m_p0 + m_direction * (m_length / 2.0f) + sideways * (m_length / 3.0f);
}

void cFlyingStar::stepFlight(float dt) {
    // 1. A trail copy of the glow every interval.
    m_trail_timer -= dt;
    if (m_trail_timer <= 0.0f) {
        m_trail_timer = m_trail_interval;
        if (isFullEffectsOn()) new cFxTrail(getParent(), m_glow, 300.0f, 70.0f, true);
    }
    // 2. Distance flown along the path.
    m_travelled += (m_direction * m_speed * dt).length();
    // 3. The place on the curve; a flight of length 0 is at its end at once.
    const float t = m_length > 0.0f ? m_travelled / m_length : 1.0f;
    const float u = 1.0f - t;
    setPosition(m_p0 * (u * u) + m_p1 * (2.0f * t * u) + m_p2 * (t * t));
    // 4. Gone at the end.
    if (!(m_length > m_travelled)) scheduleDelete(this);
    // 5. Spin, wrapped past 360 degrees.
    float angle = getAngle() + m_angle_per_sec * dt;
    if (angle > 360.0f) angle -= 360.0f;
    setAngle(angle);
    m_glow->setAngle(angle);
}
