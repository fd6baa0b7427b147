// The logic manager: pausing game time, the order of one frame and the quit request.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/cLogic.h"
#include "engine/core/cTimer.h"
#include "tests/engine/core/test_core_env.h"

namespace {

class LogicTest : public ::testing::Test {
protected:
    TempEnvironment env;
    std::unique_ptr<cTimer> timer{new cTimer};
    std::unique_ptr<cLogic> logic{new cLogic};
};

TEST_F(LogicTest, PauseStopsGameTimeAndResumeRestoresItsSpeed) {
    timer->setGameSpeed(2.0f);
    logic->setPaused(true);
    EXPECT_TRUE(logic->isPaused());
    platform::advanceTestClock(30);
    logic->frame();
    EXPECT_EQ(timer->getGameDelta(), 0.0f);
    EXPECT_NEAR(timer->getRealDelta(), 0.03f, 1e-6f);  // interface time keeps running
    logic->setPaused(false);
    EXPECT_EQ(timer->getGameSpeed(), 2.0f);
    platform::advanceTestClock(30);
    logic->frame();
    EXPECT_NEAR(timer->getGameDelta(), 0.06f, 1e-6f);
}

TEST_F(LogicTest, PausingTwiceResumesAtNormalSpeed) {
    struct Case {
        float speed;
        int pauses;
        float afterResume;
    } cases[] = {{2.0f, 1, 2.0f}, {2.0f, 2, 1.0f}, {0.5f, 0, 1.0f}};
    for (const auto& c : cases) {
        logic.reset();
        logic.reset(new cLogic);
        timer->setGameSpeed(c.speed);
        for (int i = 0; i < c.pauses; ++i) logic->setPaused(true);
        logic->setPaused(false);
        EXPECT_EQ(timer->getGameSpeed(), c.afterResume) << c.speed << " paused " << c.pauses << "x";
    }
}

std::vector<std::string> g_steps;
void hookStep() {
    // The timer has already produced this frame's step when the hook runs.
    g_steps.push_back("hook dt=" + std::to_string(static_cast<int>(getTimer()->getGameDelta() * 1000.0f + 0.5f)));
}

TEST_F(LogicTest, FrameUpdatesTheTimerBeforeTheHook) {
    g_steps.clear();
    logic->setFrameHook(hookStep);
    platform::advanceTestClock(40);
    logic->frame();
    platform::advanceTestClock(25);
    logic->frame();
    EXPECT_EQ(g_steps, (std::vector<std::string>{"hook dt=40", "hook dt=25"}));
}

TEST_F(LogicTest, QuitSendsTheDestroyMessage) {
    logic->quit();
    platform::Message m;
    ASSERT_TRUE(platform::peekMessage(&m));
    EXPECT_EQ(m.message, platform::MSG_DESTROY);
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_EQ(m.lParam, 0);
    EXPECT_FALSE(platform::peekMessage(&m));
}

}  // namespace
