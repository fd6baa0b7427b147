#pragma once
// Products of device matrices, shared by the renderer and the OpenGL device.

#include "platform/device/Device.h"

// a then b: the product a * b (row vectors, so a applies first).
inline DeviceMatrix multiplyDeviceMatrices(const DeviceMatrix& a, const DeviceMatrix& b) {
    DeviceMatrix out;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float s = 0.0f;
            for (int k = 0; k < 4; ++k) s += a.m[i][k] * b.m[k][j];
            out.m[i][j] = s;
        }
    return out;
}
