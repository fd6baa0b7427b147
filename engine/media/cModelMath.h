#pragma once
// The small vector, quaternion and matrix kit of the model code.
//
// Matrices follow the row-vector convention of the device: a point is a row (x, y, z, 1)
// multiplied from the left, so in a product a * b the transform a applies first. The sixteen
// floats are stored row by row, m[row][column]; the translation lives in row 3.

#include <cstdint>

struct cModelVec2 {
    float x = 0.0f, y = 0.0f;
};

struct cModelVec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

// Rotation quaternion stored x, y, z, w.
struct cQuaternion {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;
};

struct cMatrix4 {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    static cMatrix4 identity() { return cMatrix4(); }
    // The sixteen floats in storage order (row by row).
    static cMatrix4 fromFloats(const float* values);
    const float* data() const { return &m[0][0]; }
    float* data() { return &m[0][0]; }

    bool operator==(const cMatrix4& other) const;
    bool operator!=(const cMatrix4& other) const { return !(*this == other); }
};

// a then b: the product a * b.
cMatrix4 multiply(const cMatrix4& a, const cMatrix4& b);

// Scaling, then rotation, then translation, about the origin (no centres).
cMatrix4 transformation(const cModelVec3& scale, const cQuaternion& rotation, const cModelVec3& translation);

// The matrix that turns row vectors by q (v * M = q v q*): a quarter turn about z,
// (0, 0, sin(pi/4), cos(pi/4)), takes x to y and y to -x. This is the device library's matrix
// of q.
cMatrix4 rotationMatrix(const cQuaternion& q);

// Element by element: a * (1 - f) + b * f.
cMatrix4 lerpMatrix(const cMatrix4& a, const cMatrix4& b, float f);

// Spherical interpolation along the shorter arc; f outside 0..1 extrapolates.
cQuaternion slerp(const cQuaternion& a, const cQuaternion& b, float f);

cModelVec3 lerp(const cModelVec3& a, const cModelVec3& b, float f);

// The point p (w = 1) transformed by m.
cModelVec3 transformPoint(const cModelVec3& p, const cMatrix4& m);

// True when every element differs by at most tolerance.
bool nearlyEqual(const cMatrix4& a, const cMatrix4& b, float tolerance);
