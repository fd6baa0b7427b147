#pragma once
// A rectangle as two corners: (left, top) and (right, bottom). Texture rects in image pixels
// and UV rects in 0..1 use it.

class cRect {
public:
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;

    cRect() = default;
    cRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}

    void copyFrom(const cRect& o) { *this = o; }
    cRect& assign(const cRect& o) { *this = o; return *this; }
    void set(float l, float t, float r, float b) { left = l; top = t; right = r; bottom = b; }
    void offset(float dx, float dy) { left += dx; right += dx; top += dy; bottom += dy; }
    float width() const { return right - left; }
    float height() const { return bottom - top; }

    bool operator==(const cRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
