// The sdl backend's window events where they really run: the game's core on a window of SDL's
// offscreen driver receives real SDL window events (focus, minimize, restore, close) and reacts
// through its window procedure and the game's hook, as on a desktop.
#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/app/cRenderWren.h"
#include "engine/media/cInput.h"
#include "platform/Platform.h"
#include "platform/input/Input.h"
#include "platform/sdl/SdlTypes.h"
#include "tests/engine/core/test_core_env.h"

namespace {

using namespace platform;

// The window messages the game's hook saw, in order.
std::vector<Message> g_hookSaw;
intptr_t recordingHook(uint32_t message, uintptr_t wParam, intptr_t lParam, bool*) {
    switch (message) {
    case MSG_SIZE:
    case MSG_ACTIVATE:
    case MSG_ACTIVATEAPP:
    case MSG_CLOSE:
    case MSG_DESTROY: g_hookSaw.push_back(Message{message, wParam, lParam}); break;
    default: break;
    }
    return 0;  // passOn stays set: the core's own handling runs
}

class SdlWindowEvents : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);   // named, so the sdl backend takes it
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setBackend(Backend::Sdl);
        g_hookSaw.clear();
        core = std::make_unique<cRenderWren>(builtDataFolder(), nullptr, nullptr);
        ASSERT_TRUE(core->isStarted()) << getErrorCallStack();
        core->setMessageHook(recordingHook);
        drain();
        g_hookSaw.clear();
    }
    void TearDown() override {
        if (core) core->setMessageHook(nullptr);
        core.reset();
    }
    static void pushWindowEvent(SDL_WindowEventID id) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = id;
        e.window.windowID = SDL_GetWindowID(sdl::windowOf(window()));
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    }
    // Dispatches every waiting message as the message loop does; true when the quit came.
    static bool drain() {
        Message m;
        bool quit = false;
        while (peekMessage(&m)) {
            if (m.message == MSG_QUIT)
                quit = true;
            else
                dispatchMessage(m);
        }
        return quit;
    }

    TempEnvironment env;
    std::unique_ptr<cRenderWren> core;
};

TEST_F(SdlWindowEvents, FocusAndMinimizingReachTheHookAndTheCore) {
    struct Step {
        SDL_WindowEventID event;
        std::vector<Message> hookSees;
        bool inputAcquired;
        bool minimized;
    } steps[] = {
        {SDL_WINDOWEVENT_FOCUS_GAINED, {{MSG_ACTIVATEAPP, 1, 0}, {MSG_ACTIVATE, ACTIVATE_ACTIVE, 0}}, true, false},
        // Losing the focus lets the input go.
        {SDL_WINDOWEVENT_FOCUS_LOST, {{MSG_ACTIVATE, ACTIVATE_INACTIVE, 0}, {MSG_ACTIVATEAPP, 0, 0}}, false, false},
        {SDL_WINDOWEVENT_MINIMIZED, {{MSG_SIZE, SIZE_STATE_MINIMIZED, 0}}, false, true},
        {SDL_WINDOWEVENT_RESTORED, {{MSG_SIZE, SIZE_STATE_RESTORED, 0}}, false, false},
        {SDL_WINDOWEVENT_FOCUS_GAINED, {{MSG_ACTIVATEAPP, 1, 0}, {MSG_ACTIVATE, ACTIVATE_ACTIVE, 0}}, true, false},
        {SDL_WINDOWEVENT_MINIMIZED, {{MSG_SIZE, SIZE_STATE_MINIMIZED, 0}}, true, true},
        {SDL_WINDOWEVENT_MAXIMIZED, {{MSG_SIZE, SIZE_STATE_MAXIMIZED, 0}}, true, false},
    };
    int n = 0;
    for (const Step& step : steps) {
        ++n;
        g_hookSaw.clear();
        pushWindowEvent(step.event);
        EXPECT_FALSE(drain()) << "step " << n;
        ASSERT_EQ(g_hookSaw.size(), step.hookSees.size()) << "step " << n;
        for (size_t i = 0; i < g_hookSaw.size(); ++i) {
            EXPECT_EQ(g_hookSaw[i].message, step.hookSees[i].message) << "step " << n;
            EXPECT_EQ(g_hookSaw[i].wParam, step.hookSees[i].wParam) << "step " << n;
        }
        EXPECT_EQ(input::isKeyboardAcquired(), step.inputAcquired) << "step " << n;
        EXPECT_EQ(input::isMouseAcquired(), step.inputAcquired) << "step " << n;
        EXPECT_EQ(windowHasFocus(), step.inputAcquired) << "step " << n;
        EXPECT_EQ(core->isMinimized(), step.minimized) << "step " << n;
    }
}

TEST_F(SdlWindowEvents, AnInactiveWindowShowsTheSystemCursorOverIt) {
    cInput* input = getInput();
    ASSERT_NE(input, nullptr);
    input->showCursor(false);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = SDL_GetWindowID(sdl::windowOf(window()));
    motion.motion.x = 10;
    motion.motion.y = 20;
    SDL_PushEvent(&motion);
    drain();
    EXPECT_TRUE(input->isSystemCursorShown());
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    SDL_PushEvent(&motion);
    drain();
    EXPECT_FALSE(input->isSystemCursorShown());
}

TEST_F(SdlWindowEvents, TheCloseButtonEndsTheMessageLoop) {
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    core->process();   // returns: close -> destroy -> quit
    ASSERT_EQ(g_hookSaw.size(), 2u);
    EXPECT_EQ(g_hookSaw[0].message, MSG_CLOSE);
    EXPECT_EQ(g_hookSaw[1].message, MSG_DESTROY);
    EXPECT_TRUE(getErrorCallStack().isEmpty()) << getErrorCallStack();
}

}  // namespace

namespace {

// The game's answer to a close request: keep the window open and ask the player.
intptr_t vetoingHook(uint32_t message, uintptr_t wParam, intptr_t lParam, bool* passOn) {
    recordingHook(message, wParam, lParam, passOn);
    if (message == MSG_CLOSE) *passOn = false;
    return 0;
}

}  // namespace

TEST_F(SdlWindowEvents, SignalsEndTheLoopAtOnceWhateverTheGameSaysToACloseRequest) {
    core->setMessageHook(vetoingHook);
    // The close button is only a request, which the game may turn down.
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    EXPECT_FALSE(drain());
    ASSERT_EQ(g_hookSaw.size(), 1u);
    EXPECT_EQ(g_hookSaw[0].message, MSG_CLOSE);
    g_hookSaw.clear();
    // SIGINT and SIGTERM (a logout, a kill) destroy the window: the loop ends and the program
    // shuts down as after the player's quit, writing its settings.
    for (int sig : {SIGTERM, SIGINT}) {
        struct sigaction current {};
        sigaction(sig, nullptr, &current);
        if (current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;  // SDL's own handler is not installed here: its event instead
            ASSERT_EQ(SDL_PushEvent(&quit), 1) << SDL_GetError();
        } else {
            raise(sig);
        }
        EXPECT_TRUE(drain()) << sig;
        ASSERT_EQ(g_hookSaw.size(), 1u) << sig;
        EXPECT_EQ(g_hookSaw[0].message, MSG_DESTROY) << sig;
        g_hookSaw.clear();
    }
}
