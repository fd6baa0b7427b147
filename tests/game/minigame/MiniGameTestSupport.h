#pragma once
// The mini game on a running headless core over the built Data folder: a profile that has won
// level 7 (so the game data stands at level 8 and mini game 1 follows), started with
// "MINIGAME1" or a level file of the test's own, and helpers that play it as a player would:
// the cursor moved and the left button pressed through the input layer, keys typed, frames
// stepped on the test clock (16 ms each).

#include <gtest/gtest.h>

#include <cmath>

#include "engine/app/cLogic.h"
#include "engine/scene/cButton.h"
#include "game/data/cGameData.h"
#include "game/minigame/cHiddenObject.h"
#include "game/minigame/cMiniGame.h"
#include "game/minigame/cMiniGameContinuePanel.h"
#include "game/minigame/cMiniGameNoticePanels.h"
#include "game/minigame/cMiniGamePausePanel.h"
#include "game/minigame/cMiniGameScene.h"
#include "game/minigame/cMiniGameStatusPanel.h"
#include "platform/input/Input.h"
#include "platform/input/KeyCodes.h"
#include "tests/game/flow/test_game_fixture.h"

namespace minigame_test {

class MiniGameTest : public game_test::GameFixture {
protected:
    // A saved profile at level 8 (level 7 won), then the game made with the word.
    void startAtLevel8(const char* word = "MINIGAME1") {
        makeGame("");
        ASSERT_TRUE(reach(APP_STATE_LOGO));
        getGameData()->addProfile(L"Tester");
        getGameData()->selectProfile(getGameData()->getProfileCount() - 1);
        getGameData()->setLevel(7);
        getGameData()->recordLevelResult(true);
        getGameData()->setLevel(8);
        getGameData()->saveNow();
        ASSERT_EQ(getGameData()->getLevel(), 8);
        dropGame();
        makeGame(word);
        ASSERT_TRUE(reach(APP_STATE_MINI_GAME));
        scene = game->getMiniGame();
        ASSERT_NE(scene, nullptr);
    }
    cMiniGame* mini() const { return scene->getMiniGameObject(); }
    void frames(int n) { genv->frames(n); }
    template <class Cond>
    bool until(Cond&& cond, int limit = 400) {
        return genv->framesUntil(std::forward<Cond>(cond), limit);
    }
    void key(uint8_t code) {
        platform::input::injectKey(code, true);
        genv->frame();
        platform::input::injectKey(code, false);
        genv->frame();
    }
    void moveTo(const cVector2& p) {
        platform::input::injectCursor(p.x, p.y);
        genv->frame();
    }
    // The cursor to the point (one frame, so the game picks what is under it), then a press
    // and a release.
    void clickAt(const cVector2& p) {
        moveTo(p);
        platform::input::injectButton(MOUSE_LEFT, true);
        genv->frame();
        platform::input::injectButton(MOUSE_LEFT, false);
        genv->frame();
    }
    // Through the fade-in and the start panel (Enter) until the clock runs.
    void play() {
        ASSERT_TRUE(until([&] { return scene->getStartPanel()->isVisible() && scene->getStartPanel()->isComplete(); }));
        key(KEY_ENTER);
        ASSERT_TRUE(until([&] { return !scene->getStartPanel()->isVisible() && !getLogic()->isPaused(); }));
        ASSERT_TRUE(until([&] { return scene->getStatus()->isVisible() && scene->getStatus()->isComplete(); }));
    }
    // The middle of the object's click polygon on the screen (area centroid of its triangles).
    static cVector2 centreOf(const cHiddenObject* object) {
        cVector2 origin = object->getPosition();
        if (object->testTransformFlags(4)) origin = origin - object->getLayerFrameSize(0) / 2.0f;
        float area = 0.0f;
        cVector2 sum;
        for (const cTriangle& t : object->getTriangles()) {
            const cVector2 u = t.b - t.a, w = t.c - t.a;
            const float a = std::fabs(u.x * w.y - w.x * u.y) / 2.0f;
            sum = sum + (t.a + t.b + t.c) * (a / 3.0f);
            area += a;
        }
        return origin + sum / area;
    }
    // Waits out the click delay, so the next click counts.
    void waitClickDelay() { ASSERT_TRUE(until([&] { return mini()->getClickTimer() <= 0.0f; }, 100)); }

    cMiniGameScene* scene = nullptr;
};

}  // namespace minigame_test
