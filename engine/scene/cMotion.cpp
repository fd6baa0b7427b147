#include "engine/scene/cMotion.h"

#include <cmath>

void cMotion::init(const cVector2& start, const cVector2& target, float parameterStart,
                   float parameterEnd, float duration) {
    m_start = start;
    m_target = target;
    m_current = start;
    m_parameterStart = parameterStart;
    m_parameterEnd = parameterEnd;
    m_parameter = parameterStart;
    // A duration of zero or less jumps to the end at the first step.
    if (duration > 0.0f)
        m_rate = (parameterEnd - parameterStart) / duration;
    else
        m_rate = 0.0f;
    m_done = false;
    if (!(duration > 0.0f)) m_parameter = parameterEnd;
}

void cMotion::reset() {
    m_start.clear();
    m_target.clear();
    m_current.clear();
    m_parameterStart = m_parameterEnd = m_parameter = 0.0f;
    m_rate = 0.0f;
    m_done = false;
}

cVector2 cMotion::step(float dt) { return advance(dt, 0); }

cVector2 cMotion::stepByMode(float dt, int mode) { return advance(dt, mode); }

cVector2 cMotion::advance(float dt, int mode) {
    if (m_done) return m_current;
    m_parameter += dt * m_rate;
    float p = m_parameter;
    float c = 0.0f;
    if (p == 0.0f) {
        c = 0.0f;  // the curve has no value at 0: the movement stands at its start point
    } else if (mode == 0) {
        float inverse = 1.0f / (p * p);
        c = 1.0f - sinFloat(p) * inverse;
    } else if (mode == 1) {
        c = 1.0f - sinFloat(p) / p;
    }
    if (!std::isfinite(c)) c = 0.0f;
    m_current = m_start + (m_target - m_start) * c;
    if ((m_parameterEnd >= 0.0f && p >= m_parameterEnd) || (m_parameterEnd < 0.0f && p <= m_parameterEnd)) {
        m_done = true;
        m_current = m_target;
    }
    return m_current;
}
