// The game state on a running headless core (a pack start): the fades and what they hold
// still, Escape and the focus-loss pause by phase, the level's end bringing the results once,
// clicks and hover while the game stands, the cheats during a fade and the decor rebuild, and
// a frame under the pause panel with its draw order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/app/cLogic.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cSound.h"
#include "engine/scene/cEngineSceneServices.h"
#include "engine/scene/cSprite.h"
#include "game/data/cGameData.h"
#include "game/data/cStatistics.h"
#include "game/flow/cCursor.h"
#include "game/flow/cGameScreen.h"
#include "game/flow/cLevel.h"
#include "game/interface/cPanelConfirm.h"
#include "game/interface/cPanelContinue.h"
#include "game/interface/cPanelEsc.h"
#include "game/interface/cPanelLevel.h"
#include "game/interface/cPanelStatus.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/menus/cOptionsPanel.h"
#include "game/restaurant/cClickTarget.h"
#include "platform/audio/Audio.h"
#include "tests/game/flow/GameScreenSupport.h"
#include "tests/game/flow/test_game_fixture.h"

using namespace game_test;

namespace {

platform::audio::State musicState() { return platform::audio::state(getSound()->musicChannel()); }
float fade() { return getGraphics()->getFade(); }

class GameScreenTest : public GameFixture {
protected:
    cGameScreen* screen = nullptr;
    cGameData* data = nullptr;

    // A pack start: the game state first, level 1 without tutorial.
    void start() {
        ASSERT_TRUE(tryMakeGame("Packs/1/pack.qpk"));
        ASSERT_TRUE(reach(APP_STATE_GAME));
        screen = game->getGameScreen();
        data = getGameData();
    }
    void play() { ASSERT_TRUE(closeLevelStart(*genv, screen)); }
    void escape() {
        pressKeyOnce(*genv, KEY_ESCAPE);
        genv->frame();
    }
    void clickLeft() {
        platform::input::injectButton(0, true);
        genv->frame();
        platform::input::injectButton(0, false);
        genv->frame();
    }
    bool pauseShown() { return screen->getPausePanel()->isVisible(); }
    // Closes the pause panel at rest with Escape (its continue button).
    bool closePause() {
        if (!genv->framesUntil([&] { return panelAtRest(screen->getPausePanel()); })) return false;
        escape();
        return genv->framesUntil([&] { return !pauseShown(); });
    }
    // Points at the first click target of the level that takes the hover; false when none does.
    bool hoverSomething() {
        for (cClickTarget* target : screen->getLevelObject()->getBlockableTargets()) {
            auto* sprite = dynamic_cast<cSprite*>(target);
            if (!sprite) continue;
            platform::input::injectCursor(sprite->getPosition().x, sprite->getPosition().y);
            genv->frame();
            if (screen->getLevelObject()->getHovered()) return true;
        }
        return false;
    }
};

}  // namespace

TEST_F(GameScreenTest, FadeInHoldsTheGameUntilBrightAndBringsTheStatusPanelFrom100) {
    start();
    ASSERT_TRUE(screen->isFadingIn());
    cLevel* level = screen->getLevelObject();
    const float timeLeft = level->getTimeLeft();
    float interfaceTime = 0.0f;
    int frames = 0;
    while (screen->isFadingIn() && frames < 200) {
        genv->frame();
        interfaceTime += screen->getDeltaTime2();
        ++frames;
        if (!screen->isFadingIn()) break;
        EXPECT_TRUE(isLogicPaused()) << fade();
        EXPECT_FALSE(screen->isResultsPending());
        EXPECT_FALSE(screen->getLevelStartPanel()->isVisible());
        EXPECT_EQ(screen->getStatus()->isVisible(), fade() >= 100.0f) << fade();
        EXPECT_FALSE(screen->getStatus()->isActive());
        EXPECT_FALSE(screen->isComplete());
    }
    EXPECT_EQ(fade(), 255.0f);
    EXPECT_NEAR(interfaceTime, 0.85f, 0.02f);
    EXPECT_TRUE(screen->isComplete());
    EXPECT_TRUE(screen->isResultsPending());
    EXPECT_TRUE(screen->getLevelStartPanel()->isVisible());
    EXPECT_EQ(level->getTimeLeft(), timeLeft);
    // The level-start panel keeps the clock standing; closing it starts the level.
    play();
    genv->frames(10);
    EXPECT_LT(level->getTimeLeft(), timeLeft);
}

TEST_F(GameScreenTest, FadeOutEndsTheLevelOneFrameAfterBlack) {
    start();
    struct Case {
        const char* name;
        void (*leave)(cGameScreen*);
        bool finishes;
        int32_t result;
    };
    const Case cases[] = {
        {"restart", [](cGameScreen* s) { s->restartLevel(-1); }, false, GAME_RESULT_NEXT_LEVEL},
        {"menu", [](cGameScreen* s) { s->exitToMenu(false); }, true, GAME_RESULT_MENU},
    };
    for (const Case& c : cases) {
        play();
        ASSERT_EQ(fade(), 255.0f);
        const int32_t starts = screen->getLevelStarts();
        const float timeLeft = screen->getLevelObject()->getTimeLeft();
        c.leave(screen);
        ASSERT_TRUE(screen->isFadingOut()) << c.name;
        float interfaceTime = 0.0f;
        int frames = 0;
        while (fade() > 0.0f && frames < 100) {
            genv->frame();
            interfaceTime += screen->getDeltaTime2();
            ++frames;
            if (fade() > 0.0f) {
                EXPECT_EQ(screen->getLevelObject()->getTimeLeft(), timeLeft) << c.name;
            }
            cPanelStatus* status = screen->getStatus();
            if (fade() > 0.0f && fade() <= 200.0f) {
                EXPECT_TRUE(!status->isVisible() || status->isDisappearing()) << c.name << " " << fade();
            }
        }
        EXPECT_NEAR(interfaceTime, 255.0f / 800.0f, 0.02f) << c.name;
        // Black: the level is still there, the state not finished.
        ASSERT_NE(screen->getLevelObject(), nullptr) << c.name;
        EXPECT_FALSE(screen->isFinished()) << c.name;
        EXPECT_FALSE(screen->isComplete()) << c.name;
        // One frame later the end has run.
        genv->frame();
        EXPECT_EQ(screen->isFinished(), c.finishes) << c.name;
        EXPECT_EQ(screen->getResult(), c.result) << c.name;
        if (c.finishes) {
            EXPECT_TRUE(screen->isDone()) << c.name;
            EXPECT_NE(screen->getLevelObject(), nullptr) << c.name;  // kept until the state goes
        } else {
            EXPECT_EQ(screen->getLevelObject(), nullptr) << c.name;
            EXPECT_EQ(screen->getPausePanel(), nullptr) << c.name;
            genv->frame();
            EXPECT_NE(screen->getLevelObject(), nullptr) << c.name;
            EXPECT_EQ(screen->getLevelStarts(), starts + 1) << c.name;
            EXPECT_TRUE(screen->isFadingIn()) << c.name;
        }
    }
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
}

TEST_F(GameScreenTest, EscapeAndTheFocusPauseByPhase) {
    start();
    // Fading in: neither Escape nor the focus pause opens the pause panel.
    ASSERT_TRUE(screen->isFadingIn());
    escape();
    EXPECT_FALSE(pauseShown());
    EXPECT_FALSE(screen->openPause());
    // The level-start panel at rest: the same.
    ASSERT_TRUE(waitScreenIdle(*genv, screen));
    ASSERT_TRUE(genv->framesUntil([&] { return panelAtRest(screen->getLevelStartPanel()); }));
    escape();
    EXPECT_FALSE(pauseShown());
    EXPECT_FALSE(screen->openPause());

    // In play: Escape opens the pause panel, which pauses the music; the second Escape is its
    // continue button.
    play();
    ASSERT_EQ(musicState(), platform::audio::State::Playing);
    escape();
    EXPECT_TRUE(pauseShown());
    EXPECT_EQ(musicState(), platform::audio::State::Paused);
    EXPECT_TRUE(isLogicPaused());
    ASSERT_TRUE(closePause());
    EXPECT_EQ(musicState(), platform::audio::State::Playing);
    EXPECT_FALSE(isLogicPaused());
    // Escape while the pause panel still slides in does nothing more.
    escape();
    ASSERT_TRUE(pauseShown());
    ASSERT_TRUE(screen->getPausePanel()->isAppearing());
    escape();
    EXPECT_TRUE(pauseShown());
    ASSERT_TRUE(closePause());
    // The focus pause opens it in play.
    EXPECT_TRUE(screen->openPause());
    genv->frame();
    EXPECT_TRUE(pauseShown());
    ASSERT_TRUE(closePause());

    // Under the quit question Escape is the question's No; the pause panel stays closed.
    cConfirmExitPanel* question = getConfirmExitPanel();
    EXPECT_FALSE(hook(platform::MSG_CLOSE));
    ASSERT_TRUE(genv->framesUntil([&] { return question->isActive() && question->isComplete(); }));
    escape();
    ASSERT_TRUE(genv->framesUntil([&] { return !question->isVisible(); }));
    EXPECT_FALSE(pauseShown());

    // The results panel: the level ends once the time is up and the tables are empty.
    screen->cheatTimeOut();
    ASSERT_TRUE(genv->framesUntil([&] { return screen->getResultPanel()->isVisible(); }, 1000));
    EXPECT_TRUE(isLogicPaused());
    EXPECT_FALSE(screen->isResultsPending());
    escape();
    EXPECT_FALSE(pauseShown());
    EXPECT_FALSE(screen->openPause());
    // Shown once per level: gone, it does not come back.
    screen->getResultPanel()->hide();
    ASSERT_TRUE(genv->framesUntil([&] { return !screen->getResultPanel()->isVisible(); }));
    genv->frames(30);
    EXPECT_FALSE(screen->getResultPanel()->isVisible());
    EXPECT_TRUE(screen->getLevelObject()->isOver());
}

// Alt+Enter as a quick key chord sends it: Alt down, Enter down and up, Alt up, all in one
// frame, with the system key message of the Enter. It toggles full screen and presses no
// button of the panel that takes Enter; a plain Enter still does.
TEST_F(GameScreenTest, AQuickAltEnterTogglesFullScreenAndPressesNoPanelButton) {
    start();
    auto fullscreen = [] {
        bool on = true;
        getSettingsManager()->getBool(L"Graphics", L"fullscreen", on);
        return on;
    };
    auto altEnter = [&] {
        platform::input::injectKey(KEY_LEFT_ALT, true);
        platform::input::injectKey(KEY_ENTER, true);
        platform::postMessage(platform::MSG_SYSKEYDOWN, platform::WKEY_RETURN, 1);
        platform::input::injectKey(KEY_ENTER, false);
        platform::input::injectKey(KEY_LEFT_ALT, false);
        EXPECT_FALSE(genv->pump());
        genv->frames(10);
    };
    const bool before = fullscreen();
    ASSERT_TRUE(waitScreenIdle(*genv, screen));
    ASSERT_TRUE(genv->framesUntil([&] { return panelAtRest(screen->getLevelStartPanel()); }));
    altEnter();
    EXPECT_EQ(fullscreen(), !before);
    EXPECT_TRUE(panelAtRest(screen->getLevelStartPanel())) << "the level-start panel stays";
    play();

    screen->cheatTimeOut();
    cPanelContinue* results = screen->getResultPanel();
    ASSERT_TRUE(genv->framesUntil([&] { return panelAtRest(results); }, 1000));
    altEnter();
    EXPECT_EQ(fullscreen(), before);
    EXPECT_TRUE(panelAtRest(results)) << "Continue was not pressed";
    EXPECT_FALSE(screen->isFinished());
    pressKeyOnce(*genv, KEY_ENTER);
    EXPECT_TRUE(results->isDisappearing()) << "a plain Enter is Continue";
}

TEST_F(GameScreenTest, WhileTheGameStandsClicksReachNoWaitressAndNothingIsHovered) {
    start();
    play();
    cLevel* level = screen->getLevelObject();
    ASSERT_TRUE(hoverSomething());
    // Under the pause panel.
    ASSERT_TRUE(screen->openPause());
    ASSERT_TRUE(genv->framesUntil([&] { return panelAtRest(screen->getPausePanel()); }));
    const int32_t clicks = level->getClicks();
    const float timeLeft = level->getTimeLeft();
    EXPECT_EQ(level->getHovered(), nullptr);
    clickLeft();
    EXPECT_EQ(level->getClicks(), clicks);
    EXPECT_EQ(level->getTimeLeft(), timeLeft);
    // In play again the same place is hovered and the click goes to the waitress.
    ASSERT_TRUE(closePause());
    genv->frame();
    ASSERT_NE(level->getHovered(), nullptr);
    clickLeft();
    EXPECT_EQ(level->getClicks(), clicks + 1);
    // During the fade-out.
    screen->restartLevel(-1);
    genv->frame();
    EXPECT_EQ(level->getHovered(), nullptr);
    clickLeft();
    EXPECT_EQ(level->getClicks(), clicks + 1);
}

TEST_F(GameScreenTest, RestartModesMarkTheStatisticsResult) {
    start();
    cStatistics* stats = getStatistics();
    ASSERT_NE(stats, nullptr);
    struct Case {
        int mode;
        const char* before;
        const char* after;
    };
    // -1 keeps what was marked; 0 cancelled, 1 played to its end (won), 2 failed.
    const Case cases[] = {{0, "", "c"}, {-1, "c", "c"}, {2, "", "x"}, {1, "x", ""}};
    int32_t starts = screen->getLevelStarts();
    for (const Case& c : cases) {
        ASSERT_TRUE(waitScreenIdle(*genv, screen)) << c.mode;
        if (std::string(c.before).empty())
            stats->markWon();
        else if (std::string(c.before) == "x")
            stats->markFailed();
        screen->restartLevel(c.mode);
        EXPECT_EQ(std::string(stats->getResult().c_str()), c.after) << c.mode;
        EXPECT_TRUE(screen->isFadingOut()) << c.mode;
        ASSERT_TRUE(waitScreenIdle(*genv, screen)) << c.mode;
        EXPECT_EQ(screen->getLevelStarts(), ++starts) << c.mode;
        EXPECT_EQ(data->getLevel(), 1) << c.mode;  // the same level again
        EXPECT_FALSE(screen->isFinished()) << c.mode;
    }
}

TEST_F(GameScreenTest, CheatsWaitForTheFadeExceptTheScore) {
    start();
    ASSERT_TRUE(screen->isFadingIn());
    cLevel* level = screen->getLevelObject();
    const float timeLeft = level->getTimeLeft();
    const int32_t number = data->getLevel();
    struct Case {
        const char* name;
        void (*cheat)(cGameScreen*);
    };
    const Case cases[] = {
        {"time out", [](cGameScreen* s) { s->cheatTimeOut(); }},
        {"goal", [](cGameScreen* s) { s->cheatReachGoal(); }},
        {"expert", [](cGameScreen* s) { s->cheatReachExpert(); }},
        {"win", [](cGameScreen* s) { s->cheatWin(); }},
        {"next", [](cGameScreen* s) { s->cheatNextLevel(); }},
        {"previous", [](cGameScreen* s) { s->cheatPreviousLevel(); }},
        {"restart", [](cGameScreen* s) { s->cheatRestart(); }},
        {"decor", [](cGameScreen* s) { s->cheatDecor(1); }},
    };
    for (const Case& c : cases) {
        c.cheat(screen);
        EXPECT_EQ(level->getTimeLeft(), timeLeft) << c.name;
        EXPECT_EQ(data->getLevel(), number) << c.name;
        EXPECT_EQ(data->getScore(), 0) << c.name;
        EXPECT_TRUE(screen->isFadingIn()) << c.name;
        EXPECT_EQ(screen->getResult(), GAME_RESULT_NEXT_LEVEL) << c.name;
    }
    screen->cheatScore(100);
    EXPECT_EQ(data->getScore(), 100);
    // Once the fade is over they act.
    ASSERT_TRUE(waitScreenIdle(*genv, screen));
    screen->cheatTimeOut();
    EXPECT_EQ(level->getTimeLeft(), 0.0f);
}

TEST_F(GameScreenTest, DecorCheatRebuildsTheLevelWithTheGoalsOfItsDescription) {
    start();
    ASSERT_TRUE(waitScreenIdle(*genv, screen));
    data->setFloorLevel(1, 0);
    const int32_t goal = data->getGoal(), expert = data->getExpertGoal();
    ASSERT_GT(goal, 0);
    for (int32_t direction : {1, -1}) {
        screen->cheatDecor(direction);
        EXPECT_TRUE(screen->isFadingOut());
        ASSERT_TRUE(genv->framesUntil([&] { return !screen->getLevelObject(); }));
        ASSERT_TRUE(waitScreenIdle(*genv, screen));
        EXPECT_EQ(data->getFloorLevel(0), direction > 0 ? 2 : 1);
        EXPECT_EQ(data->getGoal(), goal) << direction;
        EXPECT_EQ(data->getExpertGoal(), expert) << direction;
    }
    EXPECT_EQ(screen->getLevelStarts(), 3);
}

namespace {

// The engine's services with a record of the quads drawn, in drawing order.
class DrawRecorder : public cEngineSceneServices {
public:
    struct Drawn {
        const cRenderQuad* quad;
        uint32_t alpha;
    };
    std::vector<Drawn> drawn;
    void drawSprite(const cDrawRecord& record) override {
        drawn.push_back({record.quad, record.quad ? record.quad->vertices[0].color >> 24 : 0u});
        cEngineSceneServices::drawSprite(record);
    }
    // Where the sprite was drawn; -1 when it was not.
    int indexOf(cSprite* sprite) const {
        if (!sprite) return -1;
        const cRenderQuad* quad = &sprite->getQuad();
        for (size_t i = 0; i < drawn.size(); ++i)
            if (drawn[i].quad == quad) return static_cast<int>(i);
        return -1;
    }
};

}  // namespace

TEST_F(GameScreenTest, FrameUnderThePausePanelDrawsInLayerOrder) {
    start();
    play();
    ASSERT_TRUE(screen->openPause());
    cLevel* level = screen->getLevelObject();
    ASSERT_TRUE(genv->framesUntil(
        [&] { return panelAtRest(screen->getPausePanel()) && level->getFaderAlpha() == 150.0f; }));
    ASSERT_TRUE(genv->framesUntil([&] { return screen->getStatus()->isComplete(); }));

    DrawRecorder recorder;
    cSceneServices* previous = setSceneServices(&recorder);
    genv->frame();
    setSceneServices(previous);
    genv->saveFrame("game_screen_pause.png");

    // The restaurant, the fader, the status panel, the pause panel and the cursor, in this order.
    cSprite* restaurant = nullptr;
    for (cClickTarget* target : level->getBlockableTargets())
        if ((restaurant = dynamic_cast<cSprite*>(target))) break;
    cPanelEsc* pause = screen->getPausePanel();
    const int order[] = {
        recorder.indexOf(restaurant),
        recorder.indexOf(level->getFader()),
        recorder.indexOf(screen->getStatus()->getClock()),
        recorder.indexOf(pause->getBackground()),
        recorder.indexOf(pause->getContinueButton()),
        recorder.indexOf(screen->getOwnCursor()),
    };
    for (size_t i = 0; i < std::size(order); ++i) {
        EXPECT_GE(order[i], 0) << "layer " << i << " not drawn";
        if (i > 0) {
            EXPECT_LT(order[i - 1], order[i]) << "layer " << i;
        }
    }
    const int fader = recorder.indexOf(level->getFader());
    ASSERT_GE(fader, 0);
    EXPECT_EQ(recorder.drawn[size_t(fader)].alpha, 150u);
    // The hidden panels are not drawn.
    for (cSprite* hidden : std::initializer_list<cSprite*>{screen->getLevelStartPanel(), screen->getResultPanel(),
                                                           screen->getConfirmMenuPanel(), screen->getConfirmPanel()})
        EXPECT_EQ(recorder.indexOf(hidden), -1);
}

TEST_F(GameScreenTest, PanelDepthsStackAsTheLayersDo) {
    start();
    // Lowest and highest depth over a subtree.
    auto range = [](cSceneNode* node) {
        std::pair<float, float> r{1e9f, -1e9f};
        node->forEachInSubtreeFn([&](cSceneNode* n) {
            if (auto* sprite = dynamic_cast<cSprite*>(n)) {
                r.first = std::min(r.first, sprite->getDeep());
                r.second = std::max(r.second, sprite->getDeep());
            }
        });
        return r;
    };
    cLevel* level = screen->getLevelObject();
    const float fader = level->getFader()->getDeep();
    EXPECT_EQ(fader, 8400.0f);
    // The restaurant lies under the fader.
    for (cClickTarget* target : level->getBlockableTargets())
        if (auto* sprite = dynamic_cast<cSprite*>(target)) {
            EXPECT_LT(range(sprite).second, fader);
        }
    struct Layer {
        const char* name;
        std::vector<cSceneNode*> nodes;
    };
    const std::vector<Layer> layers = {
        {"status", {screen->getStatus()}},
        {"level start, results, pause", {screen->getLevelStartPanel(), screen->getResultPanel(), screen->getPausePanel()}},
        {"confirmations", {screen->getConfirmMenuPanel(), screen->getConfirmPanel()}},
        {"options, confirm exit", {getOptionsPanel(), getConfirmExitPanel()}},
        {"cursor", {screen->getOwnCursor()}},
    };
    float below = fader;
    for (const Layer& layer : layers) {
        float top = -1e9f;
        for (cSceneNode* node : layer.nodes) {
            ASSERT_NE(node, nullptr) << layer.name;
            const auto r = range(node);
            EXPECT_GT(r.first, below) << layer.name;
            top = std::max(top, r.second);
        }
        below = top;
    }
}

TEST_F(GameScreenTest, LeavingForTheMenuBooksOnlyAWonRunFromTheResults) {
    ASSERT_TRUE(tryMakeGame());
    data = getGameData();
    data->addProfile(L"Tester");
    for (int32_t level : {1, 2}) {
        data->setLevel(level);
        data->recordLevelResult(true);
    }
    data->setLevel(3);
    ASSERT_EQ(data->getReachedLevel(), 3);
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    finishState(0);
    struct Case {
        const char* name;
        bool record;
        bool reachGoal;
        int32_t levelAfter, reachedAfter;
    };
    // From the pause panel (no record), from the results of a lost run, from the results of
    // a won run of the newest level (booked, and the next level is the current one).
    const Case cases[] = {
        {"pause", false, true, 3, 3},
        {"lost", true, false, 3, 3},
        {"won", true, true, 4, 4},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(reach(APP_STATE_MAIN_MENU, 600)) << c.name;
        ASSERT_TRUE(genv->framesUntil([&] { return game->getMainMenu()->isComplete(); })) << c.name;
        finishState(MENU_RESULT_PLAY);
        ASSERT_TRUE(reach(APP_STATE_GAME, 600)) << c.name;
        screen = game->getGameScreen();
        ASSERT_TRUE(waitScreenIdle(*genv, screen)) << c.name;
        ASSERT_EQ(data->getLevel(), 3) << c.name;
        if (c.reachGoal) screen->cheatReachGoal();
        screen->exitToMenu(c.record);
        EXPECT_EQ(screen->getResult(), GAME_RESULT_MENU) << c.name;
        EXPECT_EQ(data->getLevel(), c.levelAfter) << c.name;
        EXPECT_EQ(data->getReachedLevel(), c.reachedAfter) << c.name;
        EXPECT_EQ(std::string(getStatistics()->getResult().c_str()), "c") << c.name;
        data->setLevel(3);
    }
}

namespace {

// The pack start of a Data folder whose first level of "packs/1/pack.qpk" has the given
// level_time; the text the game's frames throw, or "" when the level was built.
std::string firstLevelOfAPackWithTime(const std::string& time) {
    game_test::GameEnvironment genv;
    const std::filesystem::path pack = genv.data.path() / "packs/1/pack.qpk";
    std::ifstream in(pack, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    in.close();
    std::string text;  // the pack is UTF-16LE of ASCII text after its byte-order mark
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) text += bytes[i];
    const size_t level = text.find("<Level_1 ");
    const size_t key = text.find("level_time=\"", level);
    if (level == std::string::npos || key == std::string::npos) return "no level_time in the pack";
    const size_t value = key + 12;
    text.replace(value, text.find('"', value) - value, time);
    std::string utf16 = "\xFF\xFE";
    for (char c : text) utf16 += std::string{c, '\0'};
    genv.data.write("packs/1/pack.qpk", utf16);
    genv.startCore();
    cMainMenu::setFirstVisit(true);
    std::string thrown;
    try {
        cGame game(cStringA("Packs/1/pack.qpk"));
        genv.core->setMessageHook(cGame::onWindowMessage);
        genv.framesUntil([&] { return game.getCurrentState() == APP_STATE_GAME && game.getGameScreen() &&
                                      game.getGameScreen()->getLevelObject(); });
        genv.core->setMessageHook(nullptr);
    } catch (...) {
        genv.core->setMessageHook(nullptr);
        failureText(std::current_exception(), &thrown);
    }
    return thrown;
}

}  // namespace

// A level time no level can be played with is refused before the level is built, naming the
// pack and the level, instead of ending the level at once or overflowing the clock.
TEST(GameScreenLevelTime, ATimeOutside1To3600SecondsStopsTheLevelNamingPackAndLevel) {
    for (const char* time : {"1e30", "-5", "nan", "0", "3601"}) {
        SCOPED_TRACE(time);
        std::string thrown = firstLevelOfAPackWithTime(time);
        EXPECT_NE(thrown.find("Level pack 'Packs/1/pack.qpk', level 1 (Level_1): level_time \"" + std::string(time) + "\""),
                  std::string::npos)
            << thrown;
    }
    EXPECT_EQ(firstLevelOfAPackWithTime("3600"), "");
}
