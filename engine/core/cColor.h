#pragma once
// A packed colour word 0xAARRGGBB. Operations that take a colour without alpha use 0x00RRGGBB
// and keep the alpha byte of the word they change; alpha is handled on its own as 0..255.

#include <cstdint>

class cColor {
public:
    uint32_t value = 0xFFFFFFFFu;

    cColor() = default;
    explicit cColor(uint32_t argb) : value(argb) {}

    uint32_t getAlpha() const { return value >> 24; }
    uint32_t getRgb() const { return value & 0x00FFFFFFu; }
    // Only the low 8 bits of alpha count.
    void setAlpha(uint32_t alpha) { value = (value & 0x00FFFFFFu) | ((alpha & 0xFFu) << 24); }
    void setRgb(uint32_t rgb) { value = (value & 0xFF000000u) | (rgb & 0x00FFFFFFu); }

    uint32_t red() const { return (value >> 16) & 0xFFu; }
    uint32_t green() const { return (value >> 8) & 0xFFu; }
    uint32_t blue() const { return value & 0xFFu; }

    bool operator==(const cColor& o) const { return value == o.value; }
    bool operator!=(const cColor& o) const { return value != o.value; }
};
