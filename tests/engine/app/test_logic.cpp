// The logic manager: pausing game time, the order of one frame and the quit request.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/app/cLogic.h"
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

// ---- One frame of the running core, observed from each stage ------------------------------

#include "engine/app/cRenderWren.h"
#include "engine/media/cInput.h"
#include "engine/scene/cSceneServices.h"
#include "engine/scene/cPicture.h"
#include "platform/input/Input.h"

namespace {

std::vector<std::string> g_order;

struct RecordingServices : cSceneServices {
    void drawSprite(const cDrawRecord&) override { g_order.push_back("draw"); }
};

void onKey(void*) { g_order.push_back("input"); }
void onNodeUpdate(cSceneNode*) { g_order.push_back("node"); }
void onHook() { g_order.push_back("hook"); }

TEST(LogicFrame, InputThenNodesThenHookThenDrawing) {
    TempEnvironment env;
    auto core = std::make_unique<cRenderWren>(builtDataFolder(), nullptr, nullptr);
    ASSERT_TRUE(core->isStarted()) << getErrorCallStack();
    RecordingServices services;
    cSceneServices* previous = setSceneServices(&services);

    g_order.clear();
    getInput()->acquire();
    getInput()->addBinding(keyPressedCode(30), onKey, nullptr);
    cSceneNode node;
    node.setUpdateCallback(onNodeUpdate);
    node.show();
    node.enable();
    cPicture sprite;
    sprite.show();
    getLogic()->setFrameHook(onHook);

    platform::input::injectKey(30, true);
    getLogic()->frame();
    EXPECT_EQ(g_order, (std::vector<std::string>{"input", "node", "hook", "draw"}));

    getInput()->removeBinding(keyPressedCode(30), onKey, nullptr);
    setSceneServices(previous);
}

}  // namespace
