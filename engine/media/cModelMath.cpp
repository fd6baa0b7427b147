#include "engine/media/cModelMath.h"

#include <cmath>
#include <cstring>

cMatrix4 cMatrix4::fromFloats(const float* values) {
    cMatrix4 r;
    std::memcpy(r.m, values, sizeof(r.m));
    return r;
}

bool cMatrix4::operator==(const cMatrix4& other) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (m[i][j] != other.m[i][j]) return false;
    return true;
}

cMatrix4 multiply(const cMatrix4& a, const cMatrix4& b) {
    cMatrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    return r;
}

cMatrix4 rotationMatrix(const cQuaternion& q) {
    cMatrix4 r;
    const float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    const float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    const float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    r.m[0][0] = 1.0f - 2.0f * (yy + zz);
    r.m[0][1] = 2.0f * (xy + wz);
    r.m[0][2] = 2.0f * (xz - wy);
    r.m[1][0] = 2.0f * (xy - wz);
    r.m[1][1] = 1.0f - 2.0f * (xx + zz);
    r.m[1][2] = 2.0f * (yz + wx);
    r.m[2][0] = 2.0f * (xz + wy);
    r.m[2][1] = 2.0f * (yz - wx);
    r.m[2][2] = 1.0f - 2.0f * (xx + yy);
    return r;
}

cMatrix4 transformation(const cModelVec3& scale, const cQuaternion& rotation, const cModelVec3& translation) {
    cMatrix4 r = rotationMatrix(rotation);
    const float s[3] = {scale.x, scale.y, scale.z};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] *= s[i];
    r.m[3][0] = translation.x;
    r.m[3][1] = translation.y;
    r.m[3][2] = translation.z;
    return r;
}

cMatrix4 lerpMatrix(const cMatrix4& a, const cMatrix4& b, float f) {
    cMatrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = a.m[i][j] * (1.0f - f) + b.m[i][j] * f;
    return r;
}

cQuaternion slerp(const cQuaternion& a, const cQuaternion& b, float f) {
    float dot = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    float sign = 1.0f;
    if (dot < 0.0f) {
        dot = -dot;
        sign = -1.0f;
    }
    float wa, wb;
    if (1.0f - dot > 1e-4f) {
        const float theta = std::acos(dot > 1.0f ? 1.0f : dot);
        const float s = std::sin(theta);
        wa = std::sin((1.0f - f) * theta) / s;
        wb = std::sin(f * theta) / s;
    } else {
        // Nearly equal rotations: the straight blend is exact enough and never divides by 0.
        wa = 1.0f - f;
        wb = f;
    }
    wb *= sign;
    return {a.x * wa + b.x * wb, a.y * wa + b.y * wb, a.z * wa + b.z * wb, a.w * wa + b.w * wb};
}

cModelVec3 lerp(const cModelVec3& a, const cModelVec3& b, float f) {
    return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y), a.z + f * (b.z - a.z)};
}

cModelVec3 transformPoint(const cModelVec3& p, const cMatrix4& m) {
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
            p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
            p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
}

bool nearlyEqual(const cMatrix4& a, const cMatrix4& b, float tolerance) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!(std::fabs(a.m[i][j] - b.m[i][j]) <= tolerance)) return false;
    return true;
}
