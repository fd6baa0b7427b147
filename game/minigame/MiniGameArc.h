#pragma once
// The arc along which the hint star and the flying objects travel: a quadratic Bezier curve
// from a start to a target whose control point lies half-way along the chord and a third of
// the chord's length to the side, toward the top of the screen. A leg of length 0 (start and
// target on the same point) stands at its target and has ended from the start.

#include <cmath>

#include "engine/core/cVector2.h"

struct cMiniGameArc {
    enum Turn { BY_DIRECTION, LEFT_TURN };

    cVector2 start, control, target, direction;
    float distance = 0.0f;
    float travelled = 0.0f;

    // BY_DIRECTION: the side is +90 degrees when the chord points left, else -90 degrees;
    // LEFT_TURN: always +90 degrees.
    void begin(const cVector2& from, const cVector2& to, Turn turn) {
        start = from;
        target = to;
        travelled = 0.0f;
        const cVector2 d = to - from;
        distance = std::sqrt(d.x * d.x + d.y * d.y);
        if (!(distance > 0.0f) || !std::isfinite(distance)) {
            distance = 0.0f;
            direction = cVector2();
            control = from;
            return;
        }
        direction = d / distance;
        // (x, y) turned by +90 degrees is (-y, x); by -90 degrees (y, -x).
        const bool plus = turn == LEFT_TURN || direction.x < 0.0f;
        const cVector2 side = plus ? cVector2(-direction.y, direction.x) : cVector2(direction.y, -direction.x);
        control = from + direction * (distance / 2.0f) + side * (distance / 3.0f);
    }
    bool hasEnded() const { return travelled >= distance; }
    // The fraction of the chord covered (1 for a leg of length 0).
    float fraction() const { return distance > 0.0f ? travelled / distance : 1.0f; }
    cVector2 point() const {
        const float t = fraction();
        const float u = 1.0f - t;
        return start * (u * u) + control * (2.0f * t * u) + target * (t * t);
    }
};
