#pragma once
// The small space the fireworks move in (x to the right, y into the picture, z up), its
// projection onto the screen, and the random and blend helpers of the fireworks.

#include "engine/core/Random.h"
#include "engine/core/cVector2.h"

struct cVector3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    cVector3() = default;
    cVector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}
    cVector3& operator+=(const cVector3& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    cVector3 operator*(float s) const { return cVector3(x * s, y * s, z * s); }
};

// Screen x = x, screen y = 0.87 y - 0.5 z: what rises moves up the screen.
inline cVector2 projectToScreen(const cVector3& v) { return cVector2(v.x, 0.87f * v.y - 0.5f * v.z); }

// a + r (b - a) / 32767 with r the next random number: both ends can come out.
inline float randomFloat(float a, float b) {
    return a + static_cast<float>(rwRand()) * (b - a) / static_cast<float>(RW_RAND_MAX);
}
inline float random01() { return static_cast<float>(rwRand()) / static_cast<float>(RW_RAND_MAX); }
inline float lerp(float a, float b, float t) { return a + (b - a) * t; }
