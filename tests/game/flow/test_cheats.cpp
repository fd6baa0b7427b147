// The debug cheats typed in each state and the service keys' speeds.
#include <gtest/gtest.h>

#include "engine/core/cTimer.h"
#include "engine/media/cInput.h"
#include "game/data/cGameData.h"
#include "game/flow/cGameScreen.h"
#include "game/flow/cLevel.h"
#include "game/menus/cMainMenu.h"
#include "game/menus/cLevelButton.h"
#include "game/menus/cPreviewPanel.h"
#include "game/menus/cScreenPlay.h"
#include "game/minigame/cHiddenObject.h"
#include "game/minigame/cMiniGame.h"
#include "game/minigame/cMiniGameScene.h"
#include "game/shop/cShop.h"
#include "tests/game/flow/test_game_fixture.h"

using game_test::GameFixture;

namespace {

class Cheats : public GameFixture {
protected:
    void type(const char* keys) {
        for (const char* k = keys; *k; ++k) hook(platform::MSG_KEYDOWN, static_cast<uintptr_t>(*k));
    }
    void startWith(bool cheats, bool serviceKeys) {
        genv->setGameSetting(L"debug_cheats", cheats);
        genv->setGameSetting(L"service_debug_cheats", serviceKeys);
        makeGame();
    }
    void pressKey(uint8_t key) {
        platform::input::injectKey(key, true);
        genv->frame();
        platform::input::injectKey(key, false);
        genv->frame();
    }
    // The menu at its play screen, whose levels the "OP" word opens.
    cScreenPlay* openPlayScreen() {
        game->getMainMenu()->switchTo(cMainMenu::kPlayScreen);
        genv->frame();
        return static_cast<cScreenPlay*>(game->getMainMenu()->getScreen(cMainMenu::kPlayScreen));
    }
};

const cStringA kZeros(30, '0');

// No level button of the play screen is locked.
bool allLevelsOpen(const cScreenPlay* play) {
    for (int page = 0; page < cScreenPlay::kPageCount; ++page)
        for (int i = 1; i <= cPreviewPanel::kButtonCount; ++i)
            if (play->getPage(page)->getButton(i)->getState() == cLevelButton::STATE_DISABLED) return false;
    return true;
}

}  // namespace

TEST_F(Cheats, WordsActOnTheMainMenuAndClearTheBuffer) {
    startWith(true, false);
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    cScreenPlay* play = openPlayScreen();
    ASSERT_NE(play, nullptr);
    type("XO");
    EXPECT_EQ(getCheatBuffer().substr(28), "XO");
    type("P");
    EXPECT_TRUE(allLevelsOpen(play));
    EXPECT_EQ(getCheatBuffer(), kZeros);
    type("P");  // the "O" is gone: nothing fires
    EXPECT_EQ(getCheatBuffer(), kZeros.substr(1) + "P");
}

TEST_F(Cheats, WithoutTheSettingKeysRollThroughTheBufferOnly) {
    startWith(false, false);
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    cScreenPlay* play = openPlayScreen();
    ASSERT_NE(play, nullptr);
    type("OP");
    EXPECT_FALSE(allLevelsOpen(play));
    EXPECT_EQ(getCheatBuffer(), kZeros.substr(2) + "OP");
    // The buffer keeps its last thirty keys.
    type("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    EXPECT_EQ(getCheatBuffer(), "GHIJKLMNOPQRSTUVWXYZ0123456789");
}

TEST_F(Cheats, TheGameStatesWords) {
    startWith(true, false);
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    getGameData()->setLevel(2);
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    finishState(MENU_RESULT_PLAY);
    ASSERT_TRUE(reach(APP_STATE_GAME));
    cGameScreen* screen = game->getGameScreen();
    cGameData* data = getGameData();
    // The level is up and no fade runs.
    auto idle = [&] { return genv->framesUntil([&] { return screen->getLevelObject() && screen->isComplete(); }, 400); };
    ASSERT_TRUE(idle());

    // The words that act on the running level.
    type("T");
    EXPECT_EQ(screen->getLevelObject()->getTimeLeft(), 0.0f);
    data->setScore(0);
    type("G");
    EXPECT_EQ(data->getScore(), data->getGoal());
    type("E");
    EXPECT_EQ(data->getScore(), data->getExpertGoal());
    data->setScore(0);
    type("4");
    EXPECT_EQ(data->getScore(), 100);
    type("3");
    EXPECT_EQ(data->getScore(), 0);
    for (const char* word : {"1", "2", "C", "Q"}) {
        type(word);
        EXPECT_EQ(getCheatBuffer(), kZeros) << word;
    }
    EXPECT_EQ(screen->getLevelStarts(), 1);

    // The words that rebuild the level: the level played next and the decor it is built with.
    struct Case {
        const char* word;
        int32_t level;
        int32_t floor;  // the floor upgrade after the word
    };
    data->setFloorLevel(1, 0);
    const Case cases[] = {
        {"R", 2, 1}, {"0", 2, 2}, {"9", 2, 1}, {"N", 3, -1}, {"B", 2, -1}, {"M", 3, -1},
    };
    int32_t starts = screen->getLevelStarts();
    for (const Case& c : cases) {
        type(c.word);
        EXPECT_EQ(getCheatBuffer(), kZeros) << c.word;
        EXPECT_TRUE(screen->isFadingOut()) << c.word;
        ASSERT_TRUE(idle()) << c.word;
        EXPECT_EQ(screen->getLevelStarts(), ++starts) << c.word;
        EXPECT_EQ(data->getLevel(), c.level) << c.word;
        if (c.floor >= 0) {
            EXPECT_EQ(data->getFloorLevel(0), c.floor) << c.word;
        }
    }
    EXPECT_EQ(game->getGameScreen(), screen);
}

TEST_F(Cheats, TheShopsAndTheMiniGamesWords) {
    startWith(true, false);
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    getGameData()->setLevel(5);
    getGameData()->recordLevelResult(true);
    getGameData()->setLevel(6);
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    finishState(MENU_RESULT_PLAY);
    ASSERT_TRUE(reach(APP_STATE_SHOP));
    const int32_t cash = game->getShop()->getCash();
    type("M");
    EXPECT_EQ(game->getShop()->getCash(), cash + 1000);
    finishState(SHOP_RESULT_MINI_GAME);
    ASSERT_TRUE(reach(APP_STATE_MINI_GAME));
    cMiniGameScene* mini = game->getMiniGame();
    getGameData()->setMiniGameScore(0);
    type("4");
    EXPECT_EQ(getGameData()->getMiniGameScore(), 100);
    type("3");
    EXPECT_EQ(getGameData()->getMiniGameScore(), 0);
    // The other words wait for the fade-in.
    ASSERT_TRUE(genv->framesUntil([&] { return mini->isReady(); }, 200));
    type("H");
    EXPECT_TRUE(mini->getMiniGameObject()->getObjectsToFind().front()->isHinted());
    type("T");
    EXPECT_EQ(mini->getMiniGameObject()->getTime(), 0.0f);
    const int32_t number = getGameData()->getMiniGameNumber();
    type("N");  // the next mini game: rebuilt inside the state after the fade-out
    EXPECT_EQ(getGameData()->getMiniGameNumber(), number + 1);
    EXPECT_EQ(mini->getResult(), MINIGAME_RESULT_RESTART);
    ASSERT_TRUE(genv->framesUntil([&] { return !mini->getMiniGameObject(); }, 200));
    genv->frame();
    EXPECT_EQ(game->getMiniGame(), mini);
    EXPECT_FALSE(mini->isFinished());
    ASSERT_NE(mini->getMiniGameObject(), nullptr);
    EXPECT_EQ(mini->getMiniGameObject()->getLevelFile(), "Config/MiniGame1/level" + std::to_string(number + 1) + "01.ini");
}

TEST_F(Cheats, ServiceKeysChangeTheSpeedsAndFreezeTheTree) {
    startWith(false, true);
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    cTimer* timer = getTimer();
    struct Case {
        uint8_t key;
        float game, interface;
    };
    const Case cases[] = {
        {KEY_HOME, 0.05f, 1.0f},  {KEY_HOME, 1.0f, 1.0f},     // twice: back to normal
        {KEY_HOME, 0.05f, 1.0f},  {KEY_END, 20.0f, 1.0f},     // the last key decides
        {KEY_HOME, 1.0f, 1.0f},   {KEY_END, 1.0f, 1.0f},
        {KEY_INSERT, 1.0f, 0.05f}, {KEY_DELETE, 1.0f, 20.0f},
        {KEY_INSERT, 1.0f, 1.0f}, {KEY_DELETE, 1.0f, 1.0f},
    };
    for (const Case& c : cases) {
        pressKey(c.key);
        EXPECT_EQ(timer->getGameSpeed(), c.game) << int(c.key);
        EXPECT_EQ(timer->getRealSpeed(), c.interface) << int(c.key);
    }
    // Frozen: the states are not updated, the switch goes on.
    pressKey(KEY_PAUSE);
    EXPECT_TRUE(game->isFrozen());
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    pressKey(KEY_PAUSE);
    EXPECT_FALSE(game->isFrozen());
}

TEST_F(Cheats, WithoutTheSettingTheServiceKeysAreNotBound) {
    startWith(true, false);
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    for (uint8_t key : {KEY_HOME, KEY_END, KEY_INSERT, KEY_DELETE, KEY_PAUSE})
        EXPECT_EQ(getInput()->bindingCount(keyPressedCode(key)), 0u) << int(key);
    pressKey(KEY_HOME);
    EXPECT_EQ(getTimer()->getGameSpeed(), 1.0f);
}
