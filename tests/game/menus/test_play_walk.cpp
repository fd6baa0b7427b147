// The play, game-mode, help and highscore screens in the running game, headless, reached with
// injected clicks and keys from a save with a highscore table and two players: Ann (level 23
// reached, expert on 3 and 12, easy mode) and Bob (no game mode yet). A frame of each screen
// at rest goes to the test output. On the way: a press under the confirm-exit panel and
// under the play screen's game-mode panel chooses no level.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/core/cSettingsManager.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cCompositePicture.h"
#include "game/data/cGameData.h"
#include "game/data/cProfile.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/menus/cLevelButton.h"
#include "game/menus/cPanelGameMode.h"
#include "game/menus/cPreviewPanel.h"
#include "game/menus/cScreenGameMode.h"
#include "game/menus/cScreenHelp.h"
#include "game/menus/cScreenHighscore.h"
#include "game/menus/cScreenMain.h"
#include "game/menus/cScreenPlay.h"
#include "platform/input/Input.h"
#include "tests/game/menus/test_play_fixture.h"
#include "tests/game/menus/test_walk_support.h"

using game_test::WalkFixture;

namespace {

class PlayWalk : public WalkFixture {
protected:
    cMainMenu* menu() { return game->getMainMenu(); }
    template <class Screen>
    Screen* at(int32_t id) {
        return menu() ? static_cast<Screen*>(menu()->getScreen(id)) : nullptr;
    }
    // The menu shows screen id, built and listening, the fade over.
    bool reachScreen(int32_t id, int limit = 300) {
        return genv->framesUntil(
            [&] {
                cMenuScreen* s = menu() ? menu()->getScreen(id) : nullptr;
                return s && menu()->getScreenId() == id && s->isVisible() && menu()->isComplete();
            },
            limit);
    }
    bool playAtRest(cScreenPlay* play) {
        return play->isComplete() && play->getFrame()->isActive() && play->getPage(play->getShownPage())->isComplete() &&
               play->getPage(play->getShownPage())->isActive();
    }
    template <class Screen>
    bool panelAtRest(Screen* s) {
        return s->getPanel()->isComplete() && s->getPanel()->isActive();
    }
    static cVector2 levelAt(cScreenPlay* play, int32_t level) {
        return play->getPage((level - 1) / 10)->getButton((level - 1) % 10 + 1)->getPosition();
    }
};

}  // namespace

TEST_F(PlayWalk, PlayGameModeHelpAndHighscoresThroughTheMenu) {
    // The save: Ann current, Bob without a mode; four highscores.
    SaveImage image;
    image.currentProfile = 0;
    image.profiles = {menus_test::makeProfile(L"Ann", 23, 23, 0, {3, 12}), menus_test::makeProfile(L"Bob", 3, 1, -1)};
    image.highscores = {menus_test::makeHighscore(L"Ann", 12000), menus_test::makeHighscore(L"Bob", 3400),
                        menus_test::makeHighscore(L"Cy", 800), menus_test::makeHighscore(L"Dee", 800)};
    const std::vector<uint8_t> bytes = encodeSaveFile(image);
    std::filesystem::create_directories(std::filesystem::path(menus_test::saveFilePath()).parent_path());
    std::ofstream(menus_test::saveFilePath(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    getSettingsManager()->setBool(L"Performance", L"perform_performance_test", false);
    ASSERT_TRUE(tryMakeGame());
    ASSERT_EQ(getGameData()->getProfileName(), L"Ann");
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU, 600));
    ASSERT_TRUE(reachScreen(cMainMenu::kMainScreen));
    ASSERT_TRUE(genv->framesUntil([&] { return at<cScreenMain>(cMainMenu::kMainScreen)->isActive(); }));

    // Play: the page of level 23 (page 3), then PREV twice to page 1 and a level there.
    click(at<cScreenMain>(cMainMenu::kMainScreen)->getButton(cScreenMain::RESULT_PLAY));
    ASSERT_TRUE(reachScreen(cMainMenu::kPlayScreen));
    auto* play = at<cScreenPlay>(cMainMenu::kPlayScreen);
    ASSERT_TRUE(genv->framesUntil([&] { return playAtRest(play); }));
    EXPECT_EQ(play->getShownPage(), 2);
    shoot("menus_play_page3.png");
    click(play->getPrevButton());
    ASSERT_TRUE(genv->framesUntil([&] { return playAtRest(play); }));
    click(play->getPrevButton());
    ASSERT_TRUE(genv->framesUntil([&] { return playAtRest(play); }));
    EXPECT_EQ(play->getShownPage(), 0);
    EXPECT_FALSE(play->getPrevButton()->isOwnEnabled());
    // Level 3 shows its expert star until it is chosen.
    platform::input::injectCursor(20, 590);
    genv->frame();
    EXPECT_TRUE(play->getPage(0)->getButton(3)->getStarPicture()->isOwnVisible());
    shoot("menus_play_page1.png");
    click(levelAt(play, 3));
    EXPECT_EQ(getGameData()->getLevel(), 3);
    genv->frame();
    EXPECT_EQ(play->getPage(0)->getButton(3)->getState(), cLevelButton::STATE_SELECTED);
    EXPECT_FALSE(play->getPage(0)->getButton(3)->getStarPicture()->isOwnVisible());

    // A press under the confirm-exit panel chooses nothing, though a level was under the mouse
    // when the panel came; after No, the same press chooses it.
    platform::input::injectCursor(levelAt(play, 5).x, levelAt(play, 5).y);
    genv->frame();
    EXPECT_EQ(play->getPage(0)->getHovered(), play->getPage(0)->getButton(5));
    EXPECT_FALSE(hook(platform::MSG_CLOSE));
    ASSERT_TRUE(genv->framesUntil([&] { return getConfirmExitPanel()->isVisible(); }));
    genv->frames(3);
    platform::input::injectButton(0, true);
    genv->frame();
    platform::input::injectButton(0, false);
    genv->frame();
    EXPECT_EQ(getGameData()->getLevel(), 3);
    cConfirmExitPanel::onButtonClick(getConfirmExitPanel()->getNoButton());
    ASSERT_TRUE(genv->framesUntil([&] { return !getConfirmExitPanel()->isVisible(); }));
    ASSERT_TRUE(genv->framesUntil([&] { return playAtRest(play); }));
    click(levelAt(play, 5));
    EXPECT_EQ(getGameData()->getLevel(), 5);

    // Escape goes back; Highscores, then Enter.
    key(KEY_ESCAPE);
    ASSERT_TRUE(reachScreen(cMainMenu::kMainScreen));
    ASSERT_TRUE(genv->framesUntil([&] { return at<cScreenMain>(cMainMenu::kMainScreen)->isActive(); }));
    click(at<cScreenMain>(cMainMenu::kMainScreen)->getButton(cScreenMain::RESULT_HIGHSCORES));
    ASSERT_TRUE(reachScreen(cMainMenu::kHighscoreScreen));
    auto* highscores = at<cScreenHighscore>(cMainMenu::kHighscoreScreen);
    ASSERT_TRUE(genv->framesUntil([&] { return panelAtRest(highscores); }));
    EXPECT_EQ(highscores->getNameTexts().size(), 4u);
    shoot("menus_highscores.png");
    key(KEY_ENTER);
    ASSERT_TRUE(reachScreen(cMainMenu::kMainScreen));

    // Help: a page forward, then OK.
    ASSERT_TRUE(genv->framesUntil([&] { return at<cScreenMain>(cMainMenu::kMainScreen)->isActive(); }));
    click(at<cScreenMain>(cMainMenu::kMainScreen)->getButton(cScreenMain::RESULT_HELP));
    ASSERT_TRUE(reachScreen(cMainMenu::kHelpScreen));
    auto* help = at<cScreenHelp>(cMainMenu::kHelpScreen);
    ASSERT_TRUE(genv->framesUntil([&] { return panelAtRest(help); }));
    click(help->getForwardButton());
    EXPECT_EQ(help->getCurrentPage(), 1u);
    shoot("menus_help.png");
    click(help->getOkButton());
    ASSERT_TRUE(reachScreen(cMainMenu::kMainScreen));

    // Bob has no game mode: Play asks for it on the game-mode screen; BACK returns.
    getGameData()->selectProfile(1);
    ASSERT_EQ(getGameData()->getDifficulty(), -1);
    ASSERT_TRUE(genv->framesUntil([&] { return at<cScreenMain>(cMainMenu::kMainScreen)->isActive(); }));
    click(at<cScreenMain>(cMainMenu::kMainScreen)->getButton(cScreenMain::RESULT_PLAY));
    ASSERT_TRUE(reachScreen(cMainMenu::kGameModeScreen));
    auto* mode = at<cScreenGameMode>(cMainMenu::kGameModeScreen);
    ASSERT_TRUE(genv->framesUntil([&] { return panelAtRest(mode); }));
    shoot("menus_game_mode.png");
    click(mode->getChoice().back);
    ASSERT_TRUE(reachScreen(cMainMenu::kMainScreen));
    EXPECT_EQ(getGameData()->getDifficulty(), -1);

    // The menu opened at the play screen (as after leaving a level for it): START brings the
    // game-mode panel, under which a press on a level chooses nothing; its BACK returns.
    ASSERT_TRUE(genv->framesUntil([&] { return menu()->isComplete(); }));
    finishState(MENU_RESULT_PLAY);
    ASSERT_TRUE(genv->framesUntil(
        [&] { return !game->isSwitching() && (game->getComics() || game->getGameScreen()); }, 600));
    if (game->getComics()) {
        finishState(0);
        ASSERT_TRUE(reach(APP_STATE_GAME, 600));
    }
    finishState(GAME_RESULT_MENU_PLAY_SCREEN);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU, 600));
    ASSERT_TRUE(reachScreen(cMainMenu::kPlayScreen));
    play = at<cScreenPlay>(cMainMenu::kPlayScreen);
    ASSERT_TRUE(genv->framesUntil([&] { return playAtRest(play); }));
    EXPECT_EQ(play->getShownPage(), 0);
    key(KEY_ENTER);
    cPanelGameMode* panel = play->getGameModePanel();
    ASSERT_TRUE(genv->framesUntil([&] { return panel->isComplete() && panel->isActive(); }));
    shoot("menus_game_mode_panel.png");
    click(levelAt(play, 3));
    EXPECT_EQ(getGameData()->getLevel(), 1);
    click(panel->getChoice().back);
    ASSERT_TRUE(genv->framesUntil([&] { return !panel->isVisible(); }));
    ASSERT_TRUE(genv->framesUntil([&] { return playAtRest(play); }));
    click(levelAt(play, 3));
    EXPECT_EQ(getGameData()->getLevel(), 3);
    EXPECT_EQ(getGameData()->getDifficulty(), -1);
}
