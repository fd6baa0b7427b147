#pragma once
// The front end on a running headless core over the built Data folder (test_game_env.h): the
// resource groups with the start-up files, the music manager and the game data, without a
// root game object, so that a test builds the logo, the comics or the main menu itself as a
// top-level node and steps its frames (16 ms of the test clock each).

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "game/data/cGameData.h"
#include "game/flow/cMusicManager.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/menus/cMainMenu.h"
#include "platform/input/Input.h"
#include "tests/game/flow/test_game_env.h"

namespace menus_test {

inline constexpr float kFrame = 0.016f;

class MenuFixture : public ::testing::Test {
protected:
    void SetUp() override {
        cMainMenu::setFirstVisit(true);
        genv.reset(new game_test::GameEnvironment);
        genv->startCore();
        groups.reset(new cResourceGroupManager);
        groups->loadStartup();
        music.reset(new cMusicManager);
        data.reset(new cGameData(true, cStringA()));
    }
    void TearDown() override {
        data.reset();
        music.reset();
        if (groups) groups->unloadStartup();
        groups.reset();
        genv.reset();
    }
    // Replaces a configuration file of the Data folder and loads it again.
    void useIni(const std::string& name, const std::string& text) {
        genv->data.writeIni(name, text);
        getResourceManager()->unload(cStringA(name));
        getResourceManager()->load(cStringA(name), GROUP_CONFIG);
    }
    void setPerformanceTest(bool on) { getSettingsManager()->setBool(L"Performance", L"perform_performance_test", on); }
    bool setting(const wchar_t* key) {
        bool value = false;
        getSettingsManager()->getBool(L"Performance", key, value);
        return value;
    }
    // Steps of the core; a thrown text fails the test with its words and is thrown on.
    template <class Fn>
    auto guarded(Fn&& fn) {
        try {
            return fn();
        } catch (...) {
            std::string text;
            failureText(std::current_exception(), &text);
            ADD_FAILURE() << "thrown: " << text;
            throw;
        }
    }
    void frame() { guarded([&] { genv->frame(); }); }
    void frames(int n) { guarded([&] { genv->frames(n); }); }
    template <class Cond>
    bool framesUntil(Cond&& cond, int limit = 400) {
        return guarded([&] { return genv->framesUntil(cond, limit); });
    }
    // A left click at a screen point: move, press (one frame), release (one frame).
    void clickAt(const cVector2& point) {
        platform::input::injectCursor(point.x, point.y);
        frame();
        platform::input::injectButton(0, true);
        frame();
        platform::input::injectButton(0, false);
        frame();
    }
    void pressKey(uint8_t key) {
        platform::input::injectKey(key, true);
        frame();
        platform::input::injectKey(key, false);
        frame();
    }
    float brightness() { return getGraphics()->getFade(); }

    std::unique_ptr<game_test::GameEnvironment> genv;
    std::unique_ptr<cResourceGroupManager> groups;
    std::unique_ptr<cMusicManager> music;
    std::unique_ptr<cGameData> data;
};

}  // namespace menus_test
