#pragma once
// The 2D float vector of positions, offsets, sizes and scales. Screen coordinates are pixels
// with y growing downwards.

// Sine and square root of a float through the double-precision functions, rounded to float.
float sinFloat(float x);
float floatSqrt(float x);

class cVector2 {
public:
    float x = 0.0f;
    float y = 0.0f;

    cVector2() = default;
    cVector2(float x_, float y_) : x(x_), y(y_) {}

    void clear() { x = 0.0f; y = 0.0f; }
    cVector2& assign(const cVector2& other) { x = other.x; y = other.y; return *this; }

    cVector2 plus(const cVector2& o) const { return cVector2(x + o.x, y + o.y); }
    cVector2 minus(const cVector2& o) const { return cVector2(x - o.x, y - o.y); }
    cVector2 times(float s) const { return cVector2(x * s, y * s); }
    // r = 1 / s once as a float, then both components multiplied by r.
    cVector2 dividedBy(float s) const { float r = 1.0f / s; return cVector2(x * r, y * r); }
    cVector2 negated() const { return cVector2(-x, -y); }
    cVector2& add(const cVector2& o) { x += o.x; y += o.y; return *this; }
    cVector2& subtract(const cVector2& o) { x -= o.x; y -= o.y; return *this; }

    float length() const;
    // In place; a zero vector stays (0, 0) instead of becoming NaN.
    cVector2& normalize();

    bool equals(const cVector2& o) const { return x == o.x && y == o.y; }
    // An unordered comparison (a NaN component) counts as different.
    bool notEquals(const cVector2& o) const { return !(x == o.x) || !(y == o.y); }
    // Strict ordering for ordered containers: x first, then y.
    bool lessThan(const cVector2& o) const { return x < o.x || (x == o.x && y < o.y); }

    // In place, angle in degrees; a positive angle turns clockwise on screen (y down).
    cVector2& rotate(float angle);

    cVector2 operator+(const cVector2& o) const { return plus(o); }
    cVector2 operator-(const cVector2& o) const { return minus(o); }
    cVector2 operator-() const { return negated(); }
    cVector2 operator*(float s) const { return times(s); }
    cVector2 operator/(float s) const { return dividedBy(s); }
    cVector2& operator+=(const cVector2& o) { return add(o); }
    cVector2& operator-=(const cVector2& o) { return subtract(o); }
    bool operator==(const cVector2& o) const { return equals(o); }
    bool operator!=(const cVector2& o) const { return notEquals(o); }
    bool operator<(const cVector2& o) const { return lessThan(o); }
};
