// A walk through the front end of the built game, headless at 60 frames a second, with clicks
// injected as a player would make them: the logo (page 2 cut short), the main screen, Exit
// then No, Play to the play screen, Start into comic 2, NEXT through it into the game. A frame
// of each screen at rest is saved to the test output and must not be black; at the end the
// first-run frame-rate check is over.
#include <gtest/gtest.h>

#include "engine/core/cSettingsManager.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cCompositePicture.h"
#include "engine/media/cSound.h"
#include "game/data/cGameData.h"
#include "game/flow/cMusicManager.h"
#include "game/menus/cComics.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/menus/cLogo.h"
#include "game/menus/cMenuPanel.h"
#include "game/menus/cOptionsPanel.h"
#include "game/menus/cScreenExit.h"
#include "game/menus/cScreenMain.h"
#include "game/menus/cScreenOptions.h"
#include "game/menus/cScreenPlay.h"
#include "game/menus/cScreenPlayerSetup.h"
#include "game/menus/cScreenPlayerSetupStart.h"
#include "platform/audio/Audio.h"
#include "platform/input/Input.h"
#include "tests/game/menus/test_walk_support.h"

using game_test::WalkFixture;

namespace {

// 50 ms every three frames: 60 frames a second.
void advance60() {
    static int n = 0;
    platform::advanceTestClock(++n % 3 == 0 ? 16 : 17);
}

class MenuWalk : public WalkFixture {
protected:
    cMainMenu* menu() { return game->getMainMenu(); }
    bool atRest(cMenuScreen* screen) { return screen && screen->isActive() && screen->isVisible() && menu()->isComplete(); }
};

}  // namespace

TEST_F(MenuWalk, LogoMenuExitPlayComicAndGame) {
    // A save with one easy player who has reached level 21 and plays it.
    makeGame();
    getGameData()->addProfile(L"Walker");
    getGameData()->setDifficulty(0);
    for (int level = 1; level <= 20; ++level) {
        getGameData()->setLevel(level);
        getGameData()->recordLevelResult(true);
    }
    getGameData()->setLevel(21);
    getGameData()->saveNow();
    dropGame();
    getSettingsManager()->setBool(L"Performance", L"perform_performance_test", true);
    getLogic()->setFrameHook(advance60);
    ASSERT_TRUE(tryMakeGame());
    ASSERT_EQ(getGameData()->getReachedLevel(), 21);

    // The logo: page 1 plays in full, page 2 is cut short by a click.
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    ASSERT_TRUE(genv->framesUntil([&] { return game->getLogo()->getCurrentPage() == 2u; }, 600));
    genv->frames(40);
    shoot("menus_logo_page2.png");
    click(cVector2(400, 300));
    ASSERT_TRUE(genv->framesUntil([&] { return game->getLogo() == nullptr; }, 20));

    // The main screen at rest.
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU, 600));
    ASSERT_TRUE(genv->framesUntil([&] { return atRest(menu()->getScreen(cMainMenu::kMainScreen)); }, 300));
    shoot("menus_main.png");
    auto* main = static_cast<cScreenMain*>(menu()->getScreen(cMainMenu::kMainScreen));

    // Exit, then No.
    click(main->getButton(cScreenMain::RESULT_EXIT));
    ASSERT_TRUE(genv->framesUntil([&] { return menu()->getScreenId() == cMainMenu::kExitScreen; }, 60));
    auto* exit = static_cast<cScreenExit*>(menu()->getScreen(cMainMenu::kExitScreen));
    ASSERT_TRUE(genv->framesUntil([&] { return exit->getPanel()->isComplete() && exit->getPanel()->isActive(); }, 120));
    shoot("menus_exit.png");
    click(exit->getNoButton());
    ASSERT_TRUE(genv->framesUntil([&] { return atRest(menu()->getScreen(cMainMenu::kMainScreen)); }, 300));
    EXPECT_EQ(menu()->getScreen(cMainMenu::kExitScreen), nullptr);

    // Play leads to the play screen (the player has gone beyond level 1), Start into comic 2.
    main = static_cast<cScreenMain*>(menu()->getScreen(cMainMenu::kMainScreen));
    click(main->getButton(cScreenMain::RESULT_PLAY));
    ASSERT_TRUE(genv->framesUntil([&] { return menu()->getScreenId() == cMainMenu::kPlayScreen; }, 60));
    auto* play = static_cast<cScreenPlay*>(menu()->getScreen(cMainMenu::kPlayScreen));
    ASSERT_TRUE(genv->framesUntil([&] { return play->isComplete() && play->getFrame()->isActive(); }, 120));
    shoot("menus_play.png");
    click(play->getStartButton());
    ASSERT_TRUE(reach(APP_STATE_COMICS, 600));
    EXPECT_EQ(getGameData()->getComicsNumber(), 2);
    ASSERT_TRUE(genv->framesUntil([&] { return game->getComics()->isComplete(); }, 120));
    shoot("menus_comic2.png");
    for (uint32_t page = 0; page < game->getComics()->getPageCount(); ++page) click(game->getComics()->getNextButton());
    ASSERT_TRUE(reach(APP_STATE_GAME, 600));
    EXPECT_EQ(getGameData()->getLevel(), 21);

    // The main screen's button ended the first-run check.
    bool check = true;
    getSettingsManager()->getBool(L"Performance", L"perform_performance_test", check);
    EXPECT_FALSE(check);
}

TEST_F(MenuWalk, MusicStartsPausedWhileTheWindowIsInactive) {
    makeGame();
    getGameData()->addProfile(L"Walker");
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_INACTIVE);
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU, 600));
    EXPECT_TRUE(getMusicManager()->isMainMenuPlaying());
    EXPECT_EQ(platform::audio::state(getSound()->musicChannel()), platform::audio::State::Paused);
    // The comics share the mini game's track, paused the same way.
    ASSERT_TRUE(genv->framesUntil([&] { return game->getMainMenu()->isComplete(); }));
    finishState(MENU_RESULT_PLAY);
    ASSERT_TRUE(reach(APP_STATE_COMICS, 600));
    EXPECT_FALSE(getMusicManager()->isMainMenuPlaying());
    EXPECT_EQ(platform::audio::state(getSound()->musicChannel()), platform::audio::State::Paused);
    // The focus comes back: the music plays.
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_ACTIVE);
    EXPECT_EQ(platform::audio::state(getSound()->musicChannel()), platform::audio::State::Playing);
}

// From no save: the first player's name typed on the first start, the options screen, the
// player screen with each of its dialogs, the quit question on a close request and the
// options dialog over the main screen; a frame of each at rest.
TEST_F(MenuWalk, FirstStartOptionsPlayersAndDialogs) {
    getSettingsManager()->setBool(L"Performance", L"perform_performance_test", false);
    getLogic()->setFrameHook(advance60);
    makeGame();
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU, 600));
    auto type = [&](const std::wstring& text) {
        for (wchar_t c : text) getInput()->pushChar(c);
        genv->frame();
    };
    auto key = [&](uint8_t code) {
        platform::input::injectKey(code, true);
        genv->frame();
        platform::input::injectKey(code, false);
        genv->frame();
    };
    auto panelAtRest = [&](cMenuPanel* panel) {
        return genv->framesUntil([&] { return panel->isVisible() && panel->isActive() && !panel->isSliding(); }, 300);
    };

    // The first start asks for a name.
    ASSERT_EQ(menu()->getScreenId(), cMainMenu::kPlayerSetupStartScreen);
    auto* first = static_cast<cScreenPlayerSetupStart*>(menu()->getScreen(cMainMenu::kPlayerSetupStartScreen));
    ASSERT_TRUE(panelAtRest(first->getPanel()));
    type(L"  Walker ");
    shoot("options_first_start.png");
    key(KEY_ENTER);
    ASSERT_TRUE(genv->framesUntil([&] { return atRest(menu()->getScreen(cMainMenu::kMainScreen)); }, 300));
    EXPECT_EQ(getGameData()->getProfileName().str(), L"Walker");

    // The options screen; Escape returns.
    auto* main = static_cast<cScreenMain*>(menu()->getScreen(cMainMenu::kMainScreen));
    click(main->getButton(cScreenMain::RESULT_OPTIONS));
    ASSERT_TRUE(genv->framesUntil([&] { return menu()->getScreenId() == cMainMenu::kOptionsScreen; }, 60));
    auto* options = static_cast<cScreenOptions*>(menu()->getScreen(cMainMenu::kOptionsScreen));
    ASSERT_TRUE(panelAtRest(options->getPanel()));
    shoot("options_screen.png");
    key(KEY_ESCAPE);
    ASSERT_TRUE(genv->framesUntil([&] { return atRest(menu()->getScreen(cMainMenu::kMainScreen)); }, 300));

    // The players: a new name, a taken one, the delete question, then OK.
    main = static_cast<cScreenMain*>(menu()->getScreen(cMainMenu::kMainScreen));
    click(main->getButton(cScreenMain::RESULT_PLAYER_SETUP));
    ASSERT_TRUE(genv->framesUntil([&] { return menu()->getScreenId() == cMainMenu::kPlayerSetupScreen; }, 60));
    auto* players = static_cast<cScreenPlayerSetup*>(menu()->getScreen(cMainMenu::kPlayerSetupScreen));
    ASSERT_TRUE(panelAtRest(players->getPanel()));
    click(players->getNewButton());
    ASSERT_TRUE(panelAtRest(players->getNewPanel()));
    type(L"Ann");
    shoot("options_player_new.png");
    key(KEY_ENTER);
    ASSERT_TRUE(panelAtRest(players->getPanel()));
    click(players->getNewButton());
    ASSERT_TRUE(panelAtRest(players->getNewPanel()));
    type(L"walker");
    click(players->getNewOkButton());
    ASSERT_TRUE(panelAtRest(players->getExistPanel()));
    shoot("options_player_exists.png");
    click(players->getExistOkButton());
    ASSERT_TRUE(panelAtRest(players->getPanel()));
    shoot("options_player_list.png");
    click(players->getDeleteButton());
    ASSERT_TRUE(panelAtRest(players->getDeletePanel()));
    shoot("options_player_delete.png");
    key(KEY_ESCAPE);
    ASSERT_TRUE(panelAtRest(players->getPanel()));
    EXPECT_EQ(getGameData()->getProfileCount(), 2);
    EXPECT_EQ(getGameData()->getProfileName().str(), L"Ann");
    click(players->getOkButton());
    ASSERT_TRUE(genv->framesUntil([&] { return atRest(menu()->getScreen(cMainMenu::kMainScreen)); }, 300));

    // A close request brings the quit question; Escape answers No.
    EXPECT_FALSE(hook(platform::MSG_CLOSE));
    cConfirmExitPanel* confirm = getConfirmExitPanel();
    ASSERT_TRUE(genv->framesUntil([&] { return confirm->isActive() && confirm->isComplete(); }, 200));
    shoot("options_confirm_exit.png");
    key(KEY_ESCAPE);
    ASSERT_TRUE(genv->framesUntil([&] { return !confirm->isVisible(); }, 200));
    EXPECT_FALSE(getLogic()->isPaused());

    // The options dialog over the main screen, as the pause panels open it.
    getOptionsPanel()->show(true);
    ASSERT_TRUE(genv->framesUntil([&] { return getOptionsPanel()->isActive() && getOptionsPanel()->isComplete() &&
                                               getOptionsPanel()->isVisible(); }, 200));
    EXPECT_FALSE(menu()->isActive());
    shoot("options_panel_over_main.png");
    key(KEY_ESCAPE);
    ASSERT_TRUE(genv->framesUntil([&] { return !getOptionsPanel()->isVisible(); }, 200));
    genv->frame();
    EXPECT_TRUE(menu()->isActive());
    getLogic()->setPaused(false);  // the opener's part
}
