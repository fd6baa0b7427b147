// The frame clock on the test clock: clamped steps, speeds, skipped frames, frames per second,
// the time since start, and the single-instance guard.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "engine/core/Random.h"
#include "engine/core/cTimer.h"
#include "tests/engine/core/test_core_env.h"

namespace {

class TimerTest : public ::testing::Test {
protected:
    TempEnvironment env;
    std::unique_ptr<cTimer> timer{new cTimer};

    void frame(uint32_t ms) {
        platform::advanceTestClock(ms);
        timer->update();
    }
};

TEST_F(TimerTest, StepsAreClampedToTheMinimumFrameRate) {
    struct Case {
        float minFps;
        uint32_t ms;
        float expected;
    } cases[] = {
        {15.0f, 20, 0.02f}, {15.0f, 500, 1.0f / 15.0f}, {15.0f, 66, 0.066f},
        {30.0f, 500, 1.0f / 30.0f}, {30.0f, 0, 0.0f},
    };
    for (const auto& c : cases) {
        timer->setMinFps(c.minFps);
        EXPECT_FLOAT_EQ(timer->getMinFps(), c.minFps);
        frame(c.ms);
        EXPECT_NEAR(timer->getGameDelta(), c.expected, 1e-6f) << c.ms << " ms at " << c.minFps;
        EXPECT_NEAR(timer->getRealDelta(), c.expected, 1e-6f);
    }
}

TEST_F(TimerTest, SpeedsScaleTheirOwnStep) {
    timer->setGameSpeed(2.0f);
    timer->setRealSpeed(0.5f);
    frame(40);
    EXPECT_NEAR(timer->getGameDelta(), 0.08f, 1e-6f);
    EXPECT_NEAR(timer->getRealDelta(), 0.02f, 1e-6f);
    // The clamp applies before the speeds.
    frame(1000);
    EXPECT_NEAR(timer->getGameDelta(), 2.0f / 15.0f, 1e-6f);
}

TEST_F(TimerTest, ClockWrapStillGivesTheRightStep) {
    timer.reset();
    platform::setTestClock(0xFFFFFFF0u);
    timer.reset(new cTimer);
    frame(32);  // the clock wrapped to 16
    EXPECT_NEAR(timer->getGameDelta(), 0.032f, 1e-6f);
}

TEST_F(TimerTest, SkippedFramesHideALoadingPause) {
    frame(20);
    platform::advanceTestClock(3000);  // loading
    timer->skipFrames(1);
    EXPECT_EQ(timer->getGameDelta(), cTimer::TOKEN_STEP);
    EXPECT_EQ(timer->getRealDelta(), cTimer::TOKEN_STEP);
    frame(20);
    EXPECT_EQ(timer->getGameDelta(), cTimer::TOKEN_STEP);
    frame(20);
    EXPECT_NEAR(timer->getGameDelta(), 0.02f, 1e-6f);  // the 3 s never reach a step
}

TEST_F(TimerTest, FramesPerSecondArePublishedAfterAFullSecond) {
    for (int i = 1; i <= 11; ++i) {
        frame(100);
        EXPECT_EQ(timer->getFps(), 0.0f) << "update " << i;
    }
    frame(100);  // 1100 ms gathered over 11 frames
    EXPECT_EQ(timer->getFps(), 11.0f);

    // A frame longer than a second publishes the frames up to and including it.
    timer.reset();
    timer.reset(new cTimer);
    frame(10);
    frame(1500);
    EXPECT_EQ(timer->getFps(), 0.0f);
    frame(10);
    EXPECT_EQ(timer->getFps(), 2.0f);
}

TEST_F(TimerTest, TimeSinceStartInSeconds) {
    platform::advanceTestClock(2500);
    EXPECT_FLOAT_EQ(timer->getTime(), 2.5f);
    uint64_t out = 0;
    uint64_t counter = timer->readCycleCounter(&out);
    EXPECT_EQ(out, counter);
    EXPECT_NE(counter, 0u);
}

TEST_F(TimerTest, SecondTimerIsRefusedAndTheFirstStays) {
    try {
        cTimer second;
        FAIL() << "a second timer was made";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Object already exist.");
    }
    EXPECT_EQ(getTimer(), timer.get());
    timer.reset();
    EXPECT_EQ(getTimer(), nullptr);
    timer.reset(new cTimer);
    EXPECT_EQ(getTimer(), timer.get());
}

TEST_F(TimerTest, EachTimerSeedsTheGeneratorFromTheCycleCounter) {
    // Headless the cycle counter follows the test clock: a timer made at the same moment draws
    // the same numbers, one made at another moment other numbers.
    auto draw = [] {
        std::array<int, 4> v;
        for (int& x : v) x = rwRand();
        return v;
    };
    auto timerAt = [&](uint32_t ms) {
        timer.reset();
        platform::setTestClock(ms);
        timer.reset(new cTimer);
        return draw();
    };
    const uint32_t start = platform::timeMs();
    const std::array<int, 4> first = timerAt(start);
    EXPECT_EQ(timerAt(start), first);
    EXPECT_NE(timerAt(start + 7), first);
}

}  // namespace
