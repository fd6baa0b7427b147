#include "engine/core/cVector2.h"

#include <cmath>

float sinFloat(float x) { return static_cast<float>(std::sin(static_cast<double>(x))); }
float floatSqrt(float x) { return static_cast<float>(std::sqrt(static_cast<double>(x))); }

float cVector2::length() const { return floatSqrt(x * x + y * y); }

cVector2& cVector2::normalize() {
    float squared = x * x + y * y;
    if (squared == 0.0f) return *this;
    float k = 1.0f / floatSqrt(squared);
    x *= k;
    y *= k;
    return *this;
}

cVector2& cVector2::rotate(float angle) {
    float b = -angle * 0.017453292f;
    float c = static_cast<float>(std::cos(static_cast<double>(b)));
    float s = sinFloat(b);
    float nx = x * c + y * s;
    float ny = -x * s + y * c;
    x = nx;
    y = ny;
    return *this;
}
