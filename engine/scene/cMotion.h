#pragma once
// An eased point-to-point movement: current = start + (target - start) * c with
// c = 1 - sin(p) / p^2, the curve parameter p running from a start to an end value at a fixed
// rate. Panels slide in and out with the presets below.

#include "engine/core/cVector2.h"

class cMotion {
public:
    // Parameter sets used by the panels and effects.
    static constexpr float SLIDE_IN_START = 0.9f, SLIDE_IN_END = 9.42f, SLIDE_IN_DURATION = 0.7f;
    static constexpr float STATUS_SLIDE_IN_DURATION = 0.8f;
    static constexpr float SLIDE_OUT_START = 0.9f, SLIDE_OUT_END = 3.0f, SLIDE_OUT_DURATION = 0.3f;
    static constexpr float BOUNCE_START = 0.9f, BOUNCE_END = 6.4f, BOUNCE_DURATION = 0.3f;
    static constexpr int BOUNCE_MODE = 1;

    void init(const cVector2& start, const cVector2& target, float parameterStart, float parameterEnd,
              float duration);
    // Zeroes the points, the parameters, the rate and done.
    void reset();
    cVector2 step(float dt);
    // Mode 0: c = 1 - sin(p)/p^2; mode 1: c = 1 - sin(p)/p; other modes stay at the start point.
    cVector2 stepByMode(float dt, int mode);
    bool isDone() const { return m_done; }
    float value() const { return m_parameter; }

    // Presets: slide in (0.9 -> 9.42 in 0.7 s) and slide out (0.9 -> 3.0 in 0.3 s).
    void initSlideIn(const cVector2& start, const cVector2& target) {
        init(start, target, SLIDE_IN_START, SLIDE_IN_END, SLIDE_IN_DURATION);
    }
    void initSlideOut(const cVector2& start, const cVector2& target) {
        init(start, target, SLIDE_OUT_START, SLIDE_OUT_END, SLIDE_OUT_DURATION);
    }

    const cVector2& getStart() const { return m_start; }
    const cVector2& getTarget() const { return m_target; }
    const cVector2& getCurrent() const { return m_current; }

private:
    cVector2 advance(float dt, int mode);

    cVector2 m_start;
    cVector2 m_target;
    cVector2 m_current;
    float m_parameterStart = 0.0f;
    float m_parameterEnd = 0.0f;
    float m_parameter = 0.0f;
    float m_rate = 0.0f;
    bool m_done = false;
};
