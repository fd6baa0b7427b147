// The main screen (flights, results, waiting under the prompt), its first-run frame-rate
// check with every way it ends, the performance test's bar, and the exit screen's keys.
#include <gtest/gtest.h>

#include "engine/app/cLogic.h"
#include "engine/core/cTimer.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/menus/cMenuPanel.h"
#include "game/menus/cPanelPerformance.h"
#include "game/menus/cPerformanceTest.h"
#include "game/menus/cScreenExit.h"
#include "game/menus/cScreenMain.h"
#include "tests/game/menus/test_menus_fixture.h"

using menus_test::kFrame;
using menus_test::MenuFixture;

namespace {

// 20 ms a frame: exactly 50 frames in every second of the timer's frame count.
void advance20(void) { platform::advanceTestClock(20); }

class MenuScreensTest : public MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        setPerformanceTest(false);
        groups->loadMenu();
        data->addProfile(L"Tester");
        data->setDifficulty(0);
    }
    void TearDown() override {
        menu.reset();
        root.reset();
        MenuFixture::TearDown();
    }
    void build(int32_t screen) {
        menu.reset();  // one cursor at a time
        menu.reset(new cMainMenu(nullptr, cMainMenu::kMainScreen));
        frame();
        if (screen != cMainMenu::kMainScreen) {
            menu->switchTo(screen);
            frame();
        }
    }
    cScreenMain* mainScreen() { return static_cast<cScreenMain*>(menu->getScreen(cMainMenu::kMainScreen)); }
    void click(cButton* button) { button->getClickHandler()(button); }

    std::unique_ptr<cMainMenu> menu;
    std::unique_ptr<cSceneNode> root;
};

}  // namespace

TEST_F(MenuScreensTest, MainScreenFliesInChoosesAndFliesOut) {
    build(cMainMenu::kMainScreen);
    cScreenMain* main = mainScreen();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->getWelcomeText()->getString(), L"Welcome, Tester");
    // First visit: the logo stands at home; every other part waits off screen, buttons left.
    EXPECT_EQ(main->getOffPosition(cScreenMain::PART_PLAY).x, cScreenMain::kOffLeftX);
    EXPECT_EQ(main->getOffPosition(cScreenMain::PART_PLAYER_SETUP).x, cScreenMain::kOffRightX);
    frames(30);  // about 0.5 s: the play button (0.6 s) has not left yet, the overlay has
    EXPECT_EQ(main->getPart(cScreenMain::PART_PLAY)->getPosition(), main->getOffPosition(cScreenMain::PART_PLAY));
    EXPECT_NE(main->getPart(cScreenMain::PART_MAIN_OVERLAY)->getPosition(),
              main->getOffPosition(cScreenMain::PART_MAIN_OVERLAY));
    EXPECT_FALSE(main->isActive());
    int n = 31;
    while (main->isFlying() && n < 300) {
        frame();
        ++n;
    }
    EXPECT_NEAR(n * kFrame, 1.7f, 0.06f);
    frame();  // the menu's own step activates the subtree once the flight has ended
    EXPECT_TRUE(main->isActive());
    for (int part = 0; part < cScreenMain::PART_COUNT; ++part)
        EXPECT_EQ(main->getPart(static_cast<cScreenMain::Part>(part))->getPosition(),
                  main->getHomePosition(static_cast<cScreenMain::Part>(part)));
    // Under the prompt the screen waits.
    menu->getPerformancePanel()->show();
    frame();
    EXPECT_FALSE(main->isActive());
    ASSERT_TRUE(framesUntil([&] { return menu->getPerformancePanel()->isComplete(); }));
    click(menu->getPerformancePanel()->getOkButton());
    ASSERT_TRUE(framesUntil([&] { return !menu->getPerformancePanel()->isVisible(); }));
    frame();
    EXPECT_TRUE(main->isActive());
    // A button: its result, the flight out in 0.3 s, then hidden and finished.
    click(main->getButton(cScreenMain::RESULT_HIGHSCORES));
    EXPECT_EQ(main->getResult(), cScreenMain::RESULT_HIGHSCORES);
    EXPECT_FALSE(main->isFinished());
    n = 0;
    while (!main->isFinished() && n < 100) {
        frame();
        ++n;
    }
    EXPECT_NEAR(n * kFrame, 0.3f, 0.04f);
    EXPECT_FALSE(main->isVisible());
}

TEST_F(MenuScreensTest, FrameRateCheck) {
    getLogic()->setFrameHook(advance20);  // 50 frames a second
    struct Case {
        bool keyOn;
        const char* fps;  // the threshold of screen_main.ini
        bool prompt;
    };
    // Off (as after a start-up hardware check that failed): never sampled. At the frame
    // rate exactly: slow. Below it: fast enough.
    const Case cases[] = {{false, "1000", false}, {true, "50", true}, {true, "49", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fps);
        getSettingsManager()->setBool(L"Performance", L"enable_full_effects", true);
        setPerformanceTest(c.keyOn);
        useIni(cScreenMain::kConfig, std::string("[COMMON]\nbackground_texture=\"menu/surfaces/back_main.dds\"\nfps=\"") +
                                         c.fps + "\"\n");
        build(cMainMenu::kMainScreen);
        cScreenMain* main = mainScreen();
        frames(99);  // just under 2 s: nothing measured yet
        EXPECT_FALSE(main->isSampled());
        frames(3);
        EXPECT_EQ(main->isSampled(), c.keyOn);
        if (c.keyOn) EXPECT_EQ(main->getAverageFps(), 50.0f);
        frames(2);
        EXPECT_EQ(menu->getPerformancePanel()->isVisible(), c.prompt);
        EXPECT_EQ(setting(L"enable_full_effects"), !c.prompt);
        EXPECT_EQ(setting(L"perform_performance_test"), c.keyOn && !c.prompt);
        menu.reset();
        EXPECT_FALSE(setting(L"perform_performance_test"));  // the deletion ends it too
    }
    // The other ends: a button, Alt+Enter, the prompt's OK (which also turns effects off).
    getSettingsManager()->setBool(L"Performance", L"enable_full_effects", true);
    setPerformanceTest(true);
    build(cMainMenu::kMainScreen);
    frames(3);
    click(mainScreen()->getButton(cScreenMain::RESULT_HELP));
    EXPECT_FALSE(setting(L"perform_performance_test"));
    setPerformanceTest(true);
    build(cMainMenu::kMainScreen);
    frames(3);
    menu->refreshScreens();
    EXPECT_FALSE(setting(L"perform_performance_test"));
    EXPECT_FALSE(mainScreen()->isCheckActive());
    setPerformanceTest(true);
    click(menu->getPerformancePanel()->getOkButton());
    EXPECT_FALSE(setting(L"perform_performance_test"));
    EXPECT_FALSE(setting(L"enable_full_effects"));
}

TEST_F(MenuScreensTest, PerformanceTestBarGrowsOverFiveSeconds) {
    setPerformanceTest(true);
    root.reset(new cSceneNode(nullptr));
    root->show();
    root->enable();
    auto* test = new cPerformanceTest(root.get());
    const cRect full = test->getProgressRect();
    struct Case {
        float seconds;
        float fraction;
        bool finished;
    };
    const Case cases[] = {{0.0f, 0.0f, false}, {2.5f, 0.5f, false}, {5.0f, 1.0f, true}, {6.0f, 1.0f, true}};
    int done = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        // The first frame whose update sees the time (the clock moves 16 ms after a frame).
        for (; done * 16 < static_cast<int>(c.seconds * 1000.0f) + 16; ++done) frame();
        const cRect shown = test->getProgressPicture()->getLayer0TextureRect();
        EXPECT_NEAR(shown.right - shown.left, (full.right - full.left) * c.fraction, 4.0f);
        EXPECT_EQ(test->getProgressPicture()->isOwnVisible(), c.fraction > 0.0f);  // no empty bar drawn whole
        EXPECT_EQ(test->isFinished(), c.finished);
        EXPECT_EQ(setting(L"perform_performance_test"), !c.finished);
    }
    EXPECT_EQ(test->getResult(), 0);
    EXPECT_FALSE(test->isVisible());
    // The bar's corner: the configured centre less half its size.
    EXPECT_EQ(test->getProgressCorner(), cVector2(400.0f - 128.0f, 450.0f - 16.0f));
}

TEST_F(MenuScreensTest, ExitScreenKeysAndTheEarlyFade) {
    struct Case {
        uint8_t key;
        bool alt;
        int32_t result;  // -1: no answer
    };
    const Case cases[] = {{KEY_ENTER, false, cScreenExit::RESULT_YES},
                          {KEY_ENTER, true, -1},
                          {KEY_ESCAPE, false, cScreenExit::RESULT_NO}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.key) << " alt " << c.alt);
        build(cMainMenu::kExitScreen);
        auto* exit = static_cast<cScreenExit*>(menu->getScreen(cMainMenu::kExitScreen));
        ASSERT_NE(exit, nullptr);
        // While the panel slides in the keys do nothing.
        pressKey(c.key);
        EXPECT_FALSE(exit->isClosing());
        ASSERT_TRUE(framesUntil([&] { return exit->getPanel()->isComplete(); }));
        if (c.alt) platform::input::injectKey(KEY_LEFT_ALT, true);
        pressKey(c.key);
        if (c.alt) platform::input::injectKey(KEY_LEFT_ALT, false);
        EXPECT_EQ(exit->isClosing(), c.result >= 0);
        if (c.result < 0) continue;
        EXPECT_EQ(exit->getResult(), c.result);
        // Sliding out: no second answer; the screen finishes only once the panel is hidden,
        // and YES (panel alpha 200) has started the menu's fade-out before that.
        pressKey(c.key == KEY_ENTER ? KEY_ESCAPE : KEY_ENTER);
        EXPECT_EQ(exit->getResult(), c.result);
        ASSERT_TRUE(framesUntil([&] { return exit->isFinished(); }));
        EXPECT_FALSE(exit->getPanel()->isVisible());
        EXPECT_EQ(menu->isFadingOut() || menu->isFinished(), c.result == cScreenExit::RESULT_YES);
    }
}
