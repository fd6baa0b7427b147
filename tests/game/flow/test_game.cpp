// The root game object on a running headless core: the command-line starts, the timing of a
// switch, a walk through every state of the table with a saved frame of each, the close
// request, focus loss and return, Alt+Enter.
#include <gtest/gtest.h>

#include "engine/core/cResourceManager.h"
#include "engine/core/cTimer.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "game/data/cGameData.h"
#include "game/flow/cGameScreen.h"
#include "tests/game/flow/GameScreenSupport.h"
#include "game/flow/cMusicManager.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/menus/cComics.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/menus/cLogo.h"
#include "game/menus/cMainMenu.h"
#include "game/menus/cOptionsPanel.h"
#include "game/minigame/cMiniGameNoticePanels.h"
#include "game/minigame/cMiniGameScene.h"
#include "game/shop/cShop.h"
#include "platform/audio/Audio.h"
#include "tests/game/flow/test_game_fixture.h"

using game_test::GameFixture;
using game_test::closeLevelStart;
using game_test::panelAtRest;
using game_test::pressKeyOnce;

namespace {

platform::audio::State musicState() { return platform::audio::state(getSound()->musicChannel()); }

}  // namespace

TEST_F(GameFixture, CommandLineChoosesTheFirstState) {
    struct Case {
        const char* word;
        AppState first;
        bool normalMode;
        const char* startFile;
    };
    const Case cases[] = {
        {"", APP_STATE_LOGO, true, ""},
        {"MINIGAME1", APP_STATE_MINI_GAME, true, ""},
        {"config/minigame1/level302.ini", APP_STATE_MINI_GAME, true, "config/minigame1/level302.ini"},
        {"Packs/2/pack.qpk", APP_STATE_GAME, false, ""},
    };
    for (const Case& c : cases) {
        makeGame(c.word);
        EXPECT_EQ(game->getCurrentState(), c.first) << c.word;
        EXPECT_EQ(game->getNextState(), c.first) << c.word;
        EXPECT_TRUE(game->isSwitching()) << c.word;
        EXPECT_EQ(getGameData()->isNormalMode(), c.normalMode) << c.word;
        EXPECT_EQ(game->getStartLevelFile(), c.startFile) << c.word;
        ASSERT_TRUE(reach(c.first)) << c.word;
        dropGame();
    }
    // The pack start plays the named pack only; "MINIGAME1" plays mini game 1.
    makeGame("Packs/2/pack.qpk");
    ASSERT_EQ(getGameData()->getPackList().size(), 1u);
    EXPECT_EQ(getGameData()->getPackList()[0], "Packs/2/pack.qpk");
    dropGame();
    makeGame("MINIGAME1");
    ASSERT_TRUE(reach(APP_STATE_MINI_GAME));
    EXPECT_EQ(getGameData()->getMiniGameNumber(), 1);
    dropGame();
    // The word is case-sensitive: in lower case it names a level pack (which is not there).
    try {
        makeGame("minigame1");
        ADD_FAILURE() << "a pack that is not loaded was accepted";
    } catch (...) {
        std::string text;
        failureText(std::current_exception(), &text);
        EXPECT_NE(text.find("minigame1"), std::string::npos) << text;
    }
    EXPECT_EQ(getGame(), nullptr);
    EXPECT_EQ(getResourceGroupManager(), nullptr);  // nothing half-built stays behind
    makeGame("");  // and a game can be made again
}

TEST_F(GameFixture, PackStartLoadsTheCommonGameFilesWithTheWorld) {
    ASSERT_TRUE(tryMakeGame("Packs/1/pack.qpk"));
    ASSERT_TRUE(reach(APP_STATE_GAME));
    // The level's fader and the common files are there without a visit to the main menu.
    EXPECT_TRUE(getResourceGroupManager()->areCommonFilesLoaded());
    EXPECT_TRUE(getResourceManager()->isLoaded("Game/Interface/Hints/hint_sub.dds"));
    EXPECT_TRUE(getResourceManager()->isLoaded("Game/Worlds/1/Interior/Room/floor01.dds"));
    // The first main-menu entry still shows the start loader, without loading them twice.
    EXPECT_TRUE(getResourceGroupManager()->isFirstMenuEntry());
}

TEST_F(GameFixture, ASwitchDeletesTheOldStateAtOnceAndBuildsTheNewOneAfterASecond) {
    makeGame();
    // Nothing is shown for a second of interface time, then the logo: it comes in the frame
    // whose step takes the switch timer to 1.0.
    float before = 0.0f;
    int frames = 0;
    while (!game->getLogo()) {
        ASSERT_LT(++frames, 100);
        before = game->getSwitchTimer();
        EXPECT_EQ(game->getChildCount(), 2u);  // the two panels only
        genv->frame();
    }
    EXPECT_LT(before, 1.0f);
    EXPECT_GE(before + 0.016f, 1.0f - 1e-4f);
    EXPECT_EQ(game->getSwitchTimer(), 0.0f);
    EXPECT_EQ(game->getLoadedState(), APP_STATE_LOGO);

    // The logo finishes: in that very frame it is gone and the switch to the menu runs.
    finishState(0);
    genv->frame();
    EXPECT_EQ(game->getLogo(), nullptr);
    EXPECT_TRUE(game->isSwitching());
    EXPECT_EQ(game->getCurrentState(), APP_STATE_MAIN_MENU);
    EXPECT_EQ(game->getStateNode(), nullptr);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    EXPECT_EQ(game->getLoadedState(), APP_STATE_MAIN_MENU);
    EXPECT_FALSE(getResourceManager()->isLoaded("Menu/Custom/logo_back.dds"));  // the logo's group went
    EXPECT_TRUE(getResourceManager()->isLoaded("Menu/Surfaces/menu_back.dds"));

    // The shop's reload rebuilds it in place: the same state, a new screen, the same
    // resources, no switch.
    getGameData()->setLevel(5);
    getGameData()->recordLevelResult(true);  // level 6 reached
    getGameData()->setLevel(6);
    finishState(MENU_RESULT_PLAY);
    ASSERT_TRUE(reach(APP_STATE_SHOP));
    cShop* first = game->getShop();
    ASSERT_TRUE(genv->framesUntil([&] { return first->isIdle(); }, 200));
    cResource* texture = getResourceManager()->find("Shop/Interface/shop_back.dds");
    ASSERT_NE(texture, nullptr);
    first->cheatReload();
    ASSERT_TRUE(genv->framesUntil([&] { return first->getScreen() == nullptr; }, 200));
    genv->frame();
    EXPECT_EQ(game->getShop(), first);
    EXPECT_FALSE(game->isSwitching());
    EXPECT_NE(first->getScreen(), nullptr);
    EXPECT_FALSE(first->isFinished());
    EXPECT_EQ(getResourceManager()->find("Shop/Interface/shop_back.dds"), texture);
}

TEST_F(GameFixture, EveryStateOfTheTableIsReachedByCompletions) {
    makeGame();
    getGameData()->addProfile(L"Tester");  // the menu opens at the screen it is asked for
    struct Step {
        AppState state;
        const char* shot;
        int32_t result;  // the result the state finishes with, to reach the next step
    };
    // level 1: menu -> comics 1 -> game; won levels; shop; mini game; comics 2; menu (play
    // screen) -> exit.
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    genv->frames(2);
    genv->saveFrame("state_1_logo.png");
    EXPECT_FALSE(static_cast<cLogo*>(game->getStateNode())->getPictures().empty());
    finishState(0);

    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    genv->frames(2);
    genv->saveFrame("state_3_main_menu.png");
    EXPECT_TRUE(getResourceGroupManager()->areCommonFilesLoaded());
    finishState(MENU_RESULT_PLAY);

    ASSERT_TRUE(reach(APP_STATE_COMICS));
    EXPECT_EQ(getGameData()->getComicsNumber(), 1);
    genv->frames(2);
    genv->saveFrame("state_2_comics.png");
    EXPECT_GT(game->getComics()->getPageCount(), 0u);
    finishState(0);

    ASSERT_TRUE(reach(APP_STATE_GAME));
    genv->frames(2);
    genv->saveFrame("state_4_game.png");
    ASSERT_NE(game->getGameScreen()->getLevelObject(), nullptr);
    // Levels won in place until the shop (level 5), each once its fade-in is over.
    for (int level = 1; level < 5; ++level) {
        cGameScreen* screen = game->getGameScreen();
        ASSERT_TRUE(genv->framesUntil([&] { return screen->getLevelObject() && screen->isComplete(); }));
        ASSERT_EQ(getGameData()->getLevel(), level);
        screen->continueAfterWin(true);
    }
    ASSERT_TRUE(reach(APP_STATE_SHOP));
    EXPECT_EQ(getGameData()->getLevel(), 5);
    genv->frames(2);
    genv->saveFrame("state_5_shop.png");
    finishState(SHOP_RESULT_MINI_GAME);

    ASSERT_TRUE(reach(APP_STATE_MINI_GAME));
    genv->frames(2);
    genv->saveFrame("state_6_mini_game.png");
    finishState(MINIGAME_RESULT_SHOP);
    ASSERT_TRUE(reach(APP_STATE_SHOP));
    finishState(SHOP_RESULT_CONTINUE);
    ASSERT_TRUE(reach(APP_STATE_GAME));
    // Winning level 7 leads to mini game 1 (the level is then 8).
    getGameData()->setLevel(7);
    game->getGameScreen()->continueAfterWin(true);
    ASSERT_TRUE(reach(APP_STATE_MINI_GAME));
    EXPECT_EQ(getGameData()->getMiniGameNumber(), 1);
    finishState(MINIGAME_RESULT_CONTINUE);
    ASSERT_TRUE(reach(APP_STATE_GAME));
    finishState(GAME_RESULT_COMICS_2);
    ASSERT_TRUE(reach(APP_STATE_COMICS));
    EXPECT_EQ(getGameData()->getComicsNumber(), 2);
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_GAME));
    finishState(GAME_RESULT_MENU_PLAY_SCREEN);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    EXPECT_EQ(game->getMainMenu()->getScreenId(), cMainMenu::kPlayScreen);
    genv->frames(2);
    genv->saveFrame("state_3_main_menu_play.png");
    // The last comics lead to the menu; a mini game entered from the menu at level 15 is number 2.
    finishState(MENU_RESULT_PLAY);  // level 8 now: mini game played already? not yet recorded
    ASSERT_TRUE(reach(APP_STATE_MINI_GAME));
    finishState(MINIGAME_RESULT_MENU);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    getGameData()->setLevel(15);
    finishState(MENU_RESULT_PLAY);
    ASSERT_TRUE(reach(APP_STATE_MINI_GAME));
    EXPECT_EQ(getGameData()->getMiniGameNumber(), 2);
    finishState(MINIGAME_RESULT_CONTINUE);
    ASSERT_TRUE(reach(APP_STATE_GAME));
    finishState(GAME_RESULT_COMICS_4);
    ASSERT_TRUE(reach(APP_STATE_COMICS));
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    EXPECT_EQ(game->getMainMenu()->getScreenId(), cMainMenu::kMainScreen);

    // The menu's quit asks the logic to quit and leaves the state as it is (once the menu's
    // fade-in is over).
    ASSERT_TRUE(genv->framesUntil([&] { return game->getMainMenu()->isComplete(); }));
    finishState(MENU_RESULT_QUIT);
    genv->frame();
    EXPECT_FALSE(game->isSwitching());
    EXPECT_NE(game->getMainMenu(), nullptr);
    EXPECT_TRUE(genv->pump());
}

TEST_F(GameFixture, CloseRequestByState) {
    cConfirmExitPanel* confirm = nullptr;
    // The question's No, once it has arrived; true when it has gone again.
    auto answerNo = [&] {
        if (!genv->framesUntil([&] { return confirm->isActive() && confirm->isComplete(); }, 200)) return false;
        cConfirmExitPanel::onButtonClick(confirm->getNoButton());
        return genv->framesUntil([&] { return !confirm->isVisible(); }, 200);
    };
    makeGame();
    confirm = getConfirmExitPanel();
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    EXPECT_TRUE(hook(platform::MSG_CLOSE));  // the logo: the window closes as usual
    genv->frame();
    EXPECT_FALSE(confirm->isVisible());
    // Once the logo is gone the switch to the menu counts as the menu.
    finishState(0);
    genv->frame();
    EXPECT_FALSE(hook(platform::MSG_CLOSE));
    genv->frame();
    EXPECT_TRUE(confirm->isVisible());
    ASSERT_TRUE(answerNo());
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));

    // The menu: the question opens, a second request changes nothing.
    EXPECT_FALSE(hook(platform::MSG_CLOSE));
    genv->frame();
    EXPECT_TRUE(confirm->isVisible());
    EXPECT_TRUE(getLogic()->isPaused());
    EXPECT_FALSE(hook(platform::MSG_CLOSE));
    EXPECT_TRUE(confirm->isVisible());
    // While it is shown the states ignore the mouse and the options panel is inactive.
    genv->frames(60);
    genv->saveFrame("confirm_exit.png");
    EXPECT_FALSE(game->getMainMenu()->isActive());
    ASSERT_TRUE(answerNo());
    EXPECT_FALSE(getLogic()->isPaused());
    genv->frame();
    EXPECT_TRUE(game->getMainMenu()->isActive());

    // The menu's exit screen: the request is ignored.
    game->getMainMenu()->switchTo(cMainMenu::kExitScreen);
    genv->frame();
    ASSERT_EQ(game->getMainMenu()->getScreenId(), cMainMenu::kExitScreen);
    EXPECT_FALSE(hook(platform::MSG_CLOSE));
    genv->frame();
    EXPECT_FALSE(confirm->isVisible());

    // The question's Yes (Enter) asks the logic to quit: the window's destroy ends the loop.
    game->getMainMenu()->refreshScreens();
    game->getMainMenu()->switchTo(cMainMenu::kMainScreen);
    genv->frame();
    EXPECT_FALSE(hook(platform::MSG_CLOSE));
    ASSERT_TRUE(genv->framesUntil([&] { return confirm->isActive() && confirm->isComplete(); }, 200));
    platform::input::injectKey(KEY_ENTER, true);
    genv->frame();
    platform::input::injectKey(KEY_ENTER, false);
    EXPECT_TRUE(genv->pump());
}

TEST_F(GameFixture, ClosingDuringTheLogoEndsTheMessageLoop) {
    makeGame();
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    platform::postMessage(platform::MSG_CLOSE);
    genv->core->process();  // close -> destroy -> quit
    platform::Message m;
    EXPECT_FALSE(platform::peekMessage(&m));
}

TEST_F(GameFixture, FocusLossAndReturnByState) {
    makeGame();
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    // The logo: the sounds stay paused after the focus returns.
    getSound()->playMusic("music/world1.ogg", true, true, false, 0.0f);
    ASSERT_EQ(musicState(), platform::audio::State::Playing);
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_INACTIVE);
    EXPECT_FALSE(game->isActive());
    EXPECT_EQ(musicState(), platform::audio::State::Paused);
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_ACTIVE);
    EXPECT_TRUE(game->isActive());
    EXPECT_EQ(musicState(), platform::audio::State::Paused);
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));

    // The menu: paused and resumed. A minimised window's activation does nothing.
    ASSERT_EQ(musicState(), platform::audio::State::Playing);
    hook(platform::MSG_ACTIVATEAPP, 0);
    EXPECT_EQ(musicState(), platform::audio::State::Paused);
    hook(platform::MSG_ACTIVATE, 7);
    EXPECT_FALSE(game->isActive());
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_CLICK);
    EXPECT_EQ(musicState(), platform::audio::State::Playing);

    // The game: during the fade-in and under the level-start panel the pause cannot open; it
    // waits for the first frame that accepts it, and a focus return before that drops it.
    getGameData()->setLevel(2);
    finishState(MENU_RESULT_PLAY);
    ASSERT_TRUE(reach(APP_STATE_GAME));
    cGameScreen* screen = game->getGameScreen();
    ASSERT_EQ(musicState(), platform::audio::State::Playing);
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_INACTIVE);
    EXPECT_TRUE(game->isAutoPausePending());
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_ACTIVE);
    EXPECT_FALSE(game->isAutoPausePending());
    EXPECT_EQ(musicState(), platform::audio::State::Playing);
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_INACTIVE);
    ASSERT_TRUE(closeLevelStart(*genv, screen));  // the player closes the level-start panel ...
    genv->frame();                                // ... and the waiting pause opens
    EXPECT_TRUE(screen->isPausePanelShown());
    EXPECT_FALSE(game->isAutoPausePending());
    // The music stays paused with the focus back until the pause panel is closed (Escape).
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_ACTIVE);
    EXPECT_EQ(musicState(), platform::audio::State::Paused);
    ASSERT_TRUE(genv->framesUntil([&] { return panelAtRest(screen->getPausePanel()); }));
    pressKeyOnce(*genv, KEY_ESCAPE);
    ASSERT_TRUE(genv->framesUntil([&] { return !screen->isPausePanelShown(); }));
    EXPECT_EQ(musicState(), platform::audio::State::Playing);

    // A focus loss in play opens the pause panel at once.
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_INACTIVE);
    EXPECT_FALSE(game->isAutoPausePending());
    genv->frame();
    EXPECT_TRUE(screen->isPausePanelShown());
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_ACTIVE);
    ASSERT_TRUE(genv->framesUntil([&] { return panelAtRest(screen->getPausePanel()); }));
    pressKeyOnce(*genv, KEY_ESCAPE);
    ASSERT_TRUE(genv->framesUntil([&] { return !screen->isPausePanelShown(); }));

    // The quit confirmation over the game: no pause panel opens, and the music and sounds
    // come back with the focus.
    ASSERT_EQ(musicState(), platform::audio::State::Playing);
    EXPECT_FALSE(hook(platform::MSG_CLOSE));
    genv->frame();  // the question comes with its first slide step
    ASSERT_TRUE(getConfirmExitPanel()->isVisible());
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_INACTIVE);
    EXPECT_FALSE(screen->isPausePanelShown());
    EXPECT_FALSE(game->isAutoPausePending());
    EXPECT_EQ(musicState(), platform::audio::State::Paused);
    hook(platform::MSG_ACTIVATE, platform::ACTIVATE_ACTIVE);
    EXPECT_EQ(musicState(), platform::audio::State::Playing);
}

// The focus leaving and coming back in the game, the shop and the mini game, with the state's
// own pausing panel up or not and the quit question up or not: the music and a looping sound
// come back with the focus only where no panel of the state holds them paused, and stay so
// after the question's No. The pause panels hold both; the mini game's alert holds the sounds.
TEST_F(GameFixture, FocusReturnResumesOnlyWhatNoPanelOfTheStateHolds) {
    enum PanelUp { NONE, PAUSE, ALERT };
    struct Case {
        AppState state;
        PanelUp panel;
        bool question;
        bool music, sound;  // playing after the focus came back (and after No)
    };
    const Case cases[] = {
        {APP_STATE_GAME, NONE, false, false, false},  // the focus loss opens the pause panel
        {APP_STATE_GAME, NONE, true, true, true},     // the question opens none
        {APP_STATE_GAME, PAUSE, false, false, false},
        {APP_STATE_GAME, PAUSE, true, false, false},
        {APP_STATE_SHOP, NONE, false, false, false},
        {APP_STATE_SHOP, NONE, true, true, true},
        {APP_STATE_SHOP, PAUSE, false, false, false},
        {APP_STATE_SHOP, PAUSE, true, false, false},
        {APP_STATE_MINI_GAME, NONE, false, false, false},
        {APP_STATE_MINI_GAME, NONE, true, true, true},
        {APP_STATE_MINI_GAME, PAUSE, false, false, false},
        {APP_STATE_MINI_GAME, PAUSE, true, false, false},
        {APP_STATE_MINI_GAME, ALERT, false, true, false},  // the alert refuses the pause panel
        {APP_STATE_MINI_GAME, ALERT, true, true, false},
    };
    const cStringA loop("music/world2.ogg");
    cConfirmExitPanel* question = nullptr;
    auto playing = [](platform::audio::State s) { return s == platform::audio::State::Playing; };
    // The state ready for its pause panel: level-start panel closed, fade-in over, start panel closed.
    auto ready = [&](AppState state) {
        if (state == APP_STATE_GAME) return closeLevelStart(*genv, game->getGameScreen());
        if (state == APP_STATE_SHOP)
            return genv->framesUntil([&] { return game->getShop()->isComplete() && !game->getShop()->isFadingIn(); });
        cMiniGameScene* scene = game->getMiniGame();
        if (!genv->framesUntil([&] { return scene->getStartPanel()->isVisible() && scene->getStartPanel()->isComplete(); }))
            return false;
        pressKeyOnce(*genv, KEY_ENTER);
        return genv->framesUntil([&] { return !scene->getStartPanel()->isVisible() && !getLogic()->isPaused(); });
    };

    makeGame();
    question = getConfirmExitPanel();
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    getGameData()->setLevel(2);
    finishState(MENU_RESULT_PLAY);
    ASSERT_TRUE(reach(APP_STATE_GAME));
    bool first = true;
    for (const Case& c : cases) {
        const std::string label = "state " + std::to_string(c.state) + " panel " + std::to_string(c.panel) +
                                  (c.question ? " question" : "");
        // The next case's state, built anew.
        if (!first) {
            const AppState from = game->getCurrentState();
            int32_t result = 0;  // built again
            if (from != c.state) result = from == APP_STATE_GAME ? int32_t(GAME_RESULT_SHOP) : int32_t(SHOP_RESULT_MINI_GAME);
            finishState(result);
            genv->frame();
            ASSERT_TRUE(reach(c.state)) << label;
        }
        first = false;
        ASSERT_TRUE(ready(c.state)) << label;
        ASSERT_TRUE(playing(musicState())) << label;
        getSound()->loadStream(loop, 100);
        getSound()->playStream(loop, true, 0, true, 100);
        ASSERT_TRUE(getSound()->isStreamPlaying(loop)) << label;

        if (c.panel == PAUSE) {
            const bool opened = c.state == APP_STATE_GAME   ? game->getGameScreen()->openPause()
                                : c.state == APP_STATE_SHOP ? game->getShop()->pause()
                                                            : game->getMiniGame()->pause();
            ASSERT_TRUE(opened) << label;
            genv->frames(30);
        } else if (c.panel == ALERT) {
            game->getMiniGame()->showAlert();
            genv->frames(30);
            ASSERT_TRUE(game->getMiniGame()->isAlertShown()) << label;
        }
        if (c.question) {
            EXPECT_FALSE(hook(platform::MSG_CLOSE));
            ASSERT_TRUE(genv->framesUntil([&] { return question->isActive() && question->isComplete(); })) << label;
        }
        hook(platform::MSG_ACTIVATE, platform::ACTIVATE_INACTIVE);
        EXPECT_FALSE(playing(musicState())) << label;
        EXPECT_FALSE(getSound()->isStreamPlaying(loop)) << label;
        genv->frames(2);
        hook(platform::MSG_ACTIVATE, platform::ACTIVATE_ACTIVE);
        genv->frames(2);
        EXPECT_EQ(playing(musicState()), c.music) << label << ": music after the focus came back";
        EXPECT_EQ(getSound()->isStreamPlaying(loop), c.sound) << label << ": sound after the focus came back";
        if (c.question) {
            cConfirmExitPanel::onButtonClick(question->getNoButton());
            ASSERT_TRUE(genv->framesUntil([&] { return !question->isVisible(); })) << label;
            genv->frames(2);
            EXPECT_EQ(playing(musicState()), c.music) << label << ": music after No";
            EXPECT_EQ(getSound()->isStreamPlaying(loop), c.sound) << label << ": sound after No";
        }
        getSound()->stopStream(loop);
    }
}

TEST_F(GameFixture, AltEnterTogglesTheFullScreenSetting) {
    makeGame();
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    struct Case {
        int desktopWidth;
        bool fullscreenBefore;
        bool toggles;
    };
    const Case cases[] = {{1024, false, true}, {1024, true, true}, {800, false, true}, {800, true, false}};
    for (const Case& c : cases) {
        cGraphics::setDesktopWidthOverride(c.desktopWidth);
        getSettingsManager()->setBool(L"Graphics", L"fullscreen", c.fullscreenBefore);
        getGraphics()->requestReset(false);
        // The renderer's own full-screen flag follows the setting at its reset; the test sets
        // both, as a reset would.
        bool isFull = getGraphics()->isFullscreen();
        if (isFull != c.fullscreenBefore) {
            getGraphics()->requestReset(true);
            genv->frame();
        }
        ASSERT_EQ(getGraphics()->isFullscreen(), c.fullscreenBefore) << c.desktopWidth;
        hook(platform::MSG_SYSKEYDOWN, platform::WKEY_RETURN);
        bool after = true;
        getSettingsManager()->getBool(L"Graphics", L"fullscreen", after);
        EXPECT_EQ(after, c.toggles ? !c.fullscreenBefore : c.fullscreenBefore) << c.desktopWidth << " " << c.fullscreenBefore;
        EXPECT_EQ(getGraphics()->isResetRequested(), c.toggles);
        EXPECT_EQ(getOptionsPanel()->isFullscreenChecked(), after);
        getGraphics()->requestReset(false);
    }
    cGraphics::setDesktopWidthOverride(0);
    getSettingsManager()->setBool(L"Graphics", L"fullscreen", false);
    getGraphics()->requestReset(true);
    genv->frame();
}
