// The mini-game state: Escape and the focus by the panels that are up, the pause panel's Menu
// with the confirm panel's Yes (nothing stored, nothing marked), its Continue and Options
// resuming the sounds after Menu and No, the continue panel's choice of the game when the shop is sold out,
// and the debug restart that builds everything anew inside the state.
#include "tests/game/minigame/MiniGameTestSupport.h"

#include "engine/scene/cText.h"
#include "game/interface/cPanelConfirm.h"
#include "game/menus/cOptionsPanel.h"
#include "platform/Platform.h"

using namespace minigame_test;

namespace {

TEST_F(MiniGameTest, EscapeAndFocusFollowThePanelsThatAreUp) {
    startAtLevel8();
    cMiniGamePausePanel* pause = scene->getMiniGamePausePanel();
    // During the fade: nothing.
    ASSERT_TRUE(scene->isFading());
    key(KEY_ESCAPE);
    EXPECT_FALSE(scene->pause());
    frames(2);
    EXPECT_FALSE(pause->isVisible());
    // Under the start panel: nothing either, and the focus loss opens nothing.
    ASSERT_TRUE(until([&] { return scene->getStartPanel()->isVisible(); }));
    key(KEY_ESCAPE);
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_INACTIVE);
    frames(2);
    EXPECT_FALSE(pause->isVisible());
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_ACTIVE);
    ASSERT_TRUE(until([&] { return scene->getStartPanel()->isComplete(); }));
    key(KEY_ENTER);
    ASSERT_TRUE(until([&] { return !scene->getStartPanel()->isVisible() && !getLogic()->isPaused(); }));
    EXPECT_FALSE(mini()->isPaused());
    // Playing: the focus loss opens the pause panel; Escape while it is up and active closes it.
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_INACTIVE);
    ASSERT_TRUE(until([&] { return pause->isVisible() && pause->isComplete(); }));
    EXPECT_TRUE(mini()->isPaused());
    EXPECT_TRUE(getLogic()->isPaused());
    const float time = mini()->getTime();
    frames(10);
    EXPECT_EQ(mini()->getTime(), time) << "game time stands still";
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_ACTIVE);
    genv->saveFrame("minigame_pause.png");
    key(KEY_ESCAPE);
    ASSERT_TRUE(until([&] { return !pause->isVisible(); }));
    EXPECT_FALSE(mini()->isPaused());
    EXPECT_FALSE(getLogic()->isPaused());
    // Escape opens it again; the status panel goes while it is up and comes back after.
    key(KEY_ESCAPE);
    ASSERT_TRUE(until([&] { return pause->isVisible() && pause->isComplete(); }));
    ASSERT_TRUE(until([&] { return !scene->getStatus()->isVisible(); }));
    key(KEY_ESCAPE);
    ASSERT_TRUE(until([&] { return !pause->isVisible() && scene->getStatus()->isVisible(); }));
}

TEST_F(MiniGameTest, MenuThenYesLeavesWithoutStoringAnything) {
    startAtLevel8();
    play();
    getGameData()->setMiniGameScore(700);
    const int32_t total = getGameData()->getTotalScore(7);
    cMiniGamePausePanel* pause = scene->getMiniGamePausePanel();
    key(KEY_ESCAPE);
    ASSERT_TRUE(until([&] { return pause->isComplete() && pause->isVisible(); }));
    // Menu, then No: back on the pause panel; Continue resumes the sounds again.
    pause->press(pause->getMenuButton());
    EXPECT_FALSE(pause->willResumeSounds());
    cPanelConfirmMenu* confirm = scene->getConfirmPanel();
    ASSERT_TRUE(until([&] { return confirm->isVisible() && confirm->isComplete(); }));
    frames(1);
    EXPECT_FALSE(pause->isActive()) << "covered by the confirm panel";
    key(KEY_ESCAPE);   // No
    ASSERT_TRUE(until([&] { return !confirm->isVisible(); }));
    frames(1);
    EXPECT_TRUE(pause->isActive());
    // Options resumes the sounds again; the pause panel waits inactive under it.
    pause->press(pause->getOptionsButton());
    EXPECT_TRUE(pause->willResumeSounds());
    cOptionsPanel* options = getOptionsPanel();
    ASSERT_TRUE(until([&] { return options->isVisible() && options->isComplete(); }));
    frames(1);
    EXPECT_FALSE(pause->isActive());
    key(KEY_ESCAPE);
    ASSERT_TRUE(until([&] { return !options->isVisible(); }));
    frames(1);
    EXPECT_TRUE(pause->isVisible());
    EXPECT_TRUE(pause->isActive());
    pause->press(pause->getMenuButton());
    ASSERT_TRUE(until([&] { return confirm->isVisible() && confirm->isComplete(); }));
    key(KEY_ESCAPE);   // No
    ASSERT_TRUE(until([&] { return !confirm->isVisible(); }));
    frames(1);
    EXPECT_FALSE(pause->willResumeSounds());
    pause->press(pause->getContinueButton());
    EXPECT_TRUE(pause->willResumeSounds());
    ASSERT_TRUE(until([&] { return !pause->isVisible(); }));
    // Menu, then Yes: the main menu, nothing stored, marked or saved.
    key(KEY_ESCAPE);
    ASSERT_TRUE(until([&] { return pause->isComplete() && pause->isVisible(); }));
    pause->press(pause->getMenuButton());
    ASSERT_TRUE(until([&] { return confirm->isVisible() && confirm->isComplete(); }));
    key(KEY_ENTER);   // Yes
    EXPECT_EQ(scene->getResult(), MINIGAME_RESULT_MENU);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    EXPECT_EQ(getGameData()->getTotalScore(7), total);
    EXPECT_FALSE(getGameData()->isMiniGamePlayed(0));
}

TEST_F(MiniGameTest, TimeUpWithASoldOutShopContinuesWithTheGame) {
    startAtLevel8();
    getGameData()->setShopSoldOut(true, 0);
    play();
    // The time runs out with objects left: the continue panel says so, without a bonus.
    scene->cheatTimeOver();
    ASSERT_TRUE(until([&] { return scene->getContinuePanel()->isVisible() && scene->getContinuePanel()->isComplete(); }));
    EXPECT_EQ(mini()->getTime(), 0.0f);
    EXPECT_EQ(getGameData()->getMiniGameScore(), 0);
    EXPECT_NE(scene->getContinuePanel()->getTitle()->getString().find(L"Time"), std::wstring::npos);
    EXPECT_EQ(scene->getContinuePanel()->getLevelDescription()->getString(), L"Time is up.");
    // Escape and the focus do nothing now.
    key(KEY_ESCAPE);
    EXPECT_FALSE(scene->pause());
    EXPECT_FALSE(scene->getMiniGamePausePanel()->isVisible());
    key(KEY_ENTER);
    EXPECT_EQ(scene->getResult(), MINIGAME_RESULT_CONTINUE);
    ASSERT_TRUE(reach(APP_STATE_GAME));
    EXPECT_TRUE(getGameData()->isMiniGamePlayed(0));
}

TEST_F(MiniGameTest, TheDebugRestartBuildsAnewInsideTheStateWithTheOtherVariant) {
    startAtLevel8();
    play();
    scene->cheatPrevious();   // at mini game 1 the number stays
    EXPECT_EQ(getGameData()->getMiniGameNumber(), 1);
    EXPECT_EQ(scene->getResult(), MINIGAME_RESULT_RESTART);
    ASSERT_TRUE(until([&] { return !mini(); }));
    frames(1);
    ASSERT_NE(mini(), nullptr);
    EXPECT_EQ(game->getMiniGame(), scene);
    EXPECT_FALSE(scene->isFinished());
    EXPECT_EQ(mini()->getLevelFile(), "Config/MiniGame1/level101.ini") << "the variant was forgotten";
    ASSERT_TRUE(scene->isFading());
    const cMiniGame* rebuilt = mini();
    scene->cheatRestart();   // not ready during the fade-in: nothing
    frames(3);
    EXPECT_EQ(mini(), rebuilt);
    ASSERT_TRUE(until([&] { return scene->isReady(); }));
    scene->cheatRestart();
    ASSERT_TRUE(until([&] { return !mini(); }));
    frames(1);
    ASSERT_NE(mini(), nullptr);
    EXPECT_EQ(mini()->getLevelFile(), "Config/MiniGame1/level102.ini");
    play();
}

}  // namespace
