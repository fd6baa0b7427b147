#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/core/cColor.h"
#include "engine/scene/cMotion.h"
#include "engine/core/cRect.h"
#include "engine/core/cVector2.h"

TEST(Vector2, ArithmeticAndComparisons) {
    cVector2 a(3, 4), b(1, -2);
    EXPECT_EQ(a.plus(b), cVector2(4, 2));
    EXPECT_EQ(a.minus(b), cVector2(2, 6));
    EXPECT_EQ(a.times(2), cVector2(6, 8));
    EXPECT_EQ(a.negated(), cVector2(-3, -4));
    EXPECT_FLOAT_EQ(a.length(), 5.0f);
    EXPECT_TRUE(cVector2(1, 5).lessThan(cVector2(2, 0)));
    EXPECT_TRUE(cVector2(1, 1).lessThan(cVector2(1, 2)));
    EXPECT_FALSE(cVector2(1, 2).lessThan(cVector2(1, 2)));

    float nan = std::numeric_limits<float>::quiet_NaN();
    cVector2 n(nan, 0);
    EXPECT_TRUE(n.notEquals(n));
    EXPECT_FALSE(n.equals(n));
}

TEST(Vector2, RotateTurnsClockwiseOnScreen) {
    cVector2 v(1, 0);
    v.rotate(90);
    EXPECT_NEAR(v.x, 0.0f, 1e-6);
    EXPECT_NEAR(v.y, 1.0f, 1e-6);  // pointing down on screen
}

TEST(Vector2, NormalizeOfZeroStaysZero) {
    cVector2 z;
    z.normalize();
    EXPECT_EQ(z, cVector2(0, 0));
    cVector2 v(0, -3);
    v.normalize();
    EXPECT_FLOAT_EQ(v.y, -1.0f);
}

TEST(RectAndColor, CornersAndBytes) {
    cRect r(1, 2, 5, 8);
    r.offset(10, -2);
    EXPECT_EQ(r, cRect(11, 0, 15, 6));
    EXPECT_FLOAT_EQ(r.width(), 4.0f);

    cColor c(0x80112233u);
    c.setRgb(0xFFAABBCCu);
    EXPECT_EQ(c.value, 0x80AABBCCu);
    c.setAlpha(256);  // only the low byte counts
    EXPECT_EQ(c.value, 0x00AABBCCu);
}

TEST(Motion, SlideInStepsAndCompletes) {
    cMotion m;
    m.init(cVector2(0, 0), cVector2(100, 0), 0.9f, 9.42f, 0.7f);
    cVector2 p = m.step(0.35f);
    EXPECT_NEAR(m.value(), 5.16f, 0.01f);
    EXPECT_NEAR(p.x, 103.39f, 0.05f);  // overshoot before settling
    EXPECT_FALSE(m.isDone());

    cMotion whole;
    whole.init(cVector2(0, 0), cVector2(100, 0), 0.9f, 9.42f, 0.7f);
    cVector2 end = whole.step(1.0f);
    EXPECT_TRUE(whole.isDone());
    EXPECT_EQ(end, cVector2(100, 0));  // exactly the target
    EXPECT_EQ(whole.step(0.5f), cVector2(100, 0));
    EXPECT_GT(whole.value(), 9.42f);
    float done = whole.value();
    whole.step(1.0f);
    EXPECT_EQ(whole.value(), done);  // a finished motion changes nothing
}

TEST(Motion, FallingParameterCompletesAtOrBelowEnd) {
    cMotion m;
    m.init(cVector2(0, 0), cVector2(0, 10), -1.0f, -5.0f, 1.0f);
    m.step(0.5f);
    EXPECT_FALSE(m.isDone());
    EXPECT_EQ(m.step(0.5f), cVector2(0, 10));
    EXPECT_TRUE(m.isDone());
}

TEST(Motion, ModesResetAndDegenerateParameters) {
    cMotion m;
    m.init(cVector2(0, 0), cVector2(100, 0), 0.9f, 6.4f, 0.3f);
    cVector2 p = m.stepByMode(0.15f, 1);
    float param = m.value();
    EXPECT_NEAR(p.x, 100.0f * (1.0f - std::sin(param) / param), 0.01f);

    cMotion other;
    other.init(cVector2(5, 5), cVector2(100, 0), 0.9f, 6.4f, 0.3f);
    EXPECT_EQ(other.stepByMode(0.1f, 7), cVector2(5, 5));  // unknown mode stays at the start

    m.reset();
    EXPECT_FALSE(m.isDone());
    EXPECT_EQ(m.value(), 0.0f);

    // A curve parameter passing through 0 and a zero duration never give NaN positions.
    cMotion zero;
    zero.init(cVector2(0, 0), cVector2(10, 0), 0.0f, 1.0f, 1.0f);
    cVector2 z = zero.step(0.0f);
    EXPECT_FALSE(std::isnan(z.x));
    cMotion instant;
    instant.init(cVector2(0, 0), cVector2(10, 0), 0.9f, 3.0f, 0.0f);
    EXPECT_EQ(instant.step(0.0f), cVector2(10, 0));
    EXPECT_TRUE(instant.isDone());
}
