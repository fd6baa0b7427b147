// The main-menu state: its transition table, the switching sounds, screens built in the
// frame of the switch and deleted only once hidden and complete, the background cross-fade,
// the brightness fades with their inactive frames, and the first visit of a run.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/scene/cButton.h"
#include "engine/scene/cPicture.h"
#include "game/menus/cMenuScreen.h"
#include "game/menus/cScreenMain.h"
#include "tests/game/menus/test_menus_fixture.h"

using menus_test::MenuFixture;

namespace {

class MainMenuTest : public MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        setPerformanceTest(false);
        groups->loadMenu();
    }
    void TearDown() override {
        menu.reset();
        MenuFixture::TearDown();
    }
    void build(int32_t start = cMainMenu::kMainScreen) {
        menu.reset();
        menu.reset(new cMainMenu(nullptr, start));
        frame();
    }
    // A new game data without a save file: no profile.
    void freshData() {
        data.reset();
        std::filesystem::remove(cGameData::services().commonFolder() + "data.ssp");
        data.reset(new cGameData(true, cStringA()));
    }
    void addProfile(int32_t difficulty, int32_t reached) {
        data->addProfile(L"Tester");
        if (difficulty >= 0) data->setDifficulty(difficulty);
        for (int32_t level = 1; level < reached; ++level) {
            data->setLevel(level);
            data->recordLevelResult(true);
        }
        data->setLevel(reached);
    }
    // The current screen reports a result; the menu acts on it in the next frame.
    void finishScreen(int32_t result) {
        cMenuScreen* screen = menu->getScreen(menu->getScreenId());
        ASSERT_NE(screen, nullptr);
        screen->setResult(result);
        screen->setFinished(true);
        frame();
    }

    std::unique_ptr<cMainMenu> menu;
};

}  // namespace

TEST_F(MainMenuTest, TransitionTable) {
    struct Case {
        int32_t difficulty;  // -1: no game mode yet
        int32_t reached;
        int32_t screen;
        int32_t result;
        int32_t nextScreen;   // 0: the menu ends
        int32_t menuResult;   // when it ends
    };
    const Case cases[] = {
        {-1, 1, 1, 1, 9, 0},  {0, 1, 1, 1, 0, 1},  {0, 3, 1, 1, 2, 0},  {0, 3, 1, 2, 4, 0},
        {0, 3, 1, 3, 3, 0},   {0, 3, 1, 4, 5, 0},  {0, 3, 1, 5, 6, 0},  {0, 3, 1, 6, 7, 0},
        {0, 3, 1, 0, 1, 0},   {0, 3, 2, 0, 0, 1},  {0, 3, 2, 1, 1, 0},  {0, 3, 3, 7, 1, 0},
        {0, 3, 4, 0, 1, 0},   {0, 3, 5, 0, 1, 0},  {0, 3, 7, 0, 1, 0},  {0, 3, 8, 0, 1, 0},
        {0, 3, 6, 0, 0, 2},   {0, 3, 6, 1, 1, 0},  {-1, 3, 9, 0, 0, 1}, {-1, 3, 9, 1, 0, 1},
        {0, 3, 9, 2, 1, 0},   {0, 3, 10, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "screen " << c.screen << " result " << c.result);
        freshData();
        addProfile(c.difficulty, c.reached);
        build(c.screen);
        ASSERT_EQ(menu->getScreenId(), c.screen);
        ASSERT_TRUE(framesUntil([&] { return menu->isComplete(); }));  // the fade-in is over
        finishScreen(c.result);
        EXPECT_EQ(menu->getScreenId(), c.nextScreen);
        EXPECT_EQ(menu->isFinished(), c.menuResult != 0);
        if (c.menuResult) {
            EXPECT_EQ(menu->getResult(), c.menuResult);
            EXPECT_TRUE(menu->isFadingOut());
        } else {
            EXPECT_NE(menu->getScreen(c.nextScreen), nullptr);  // built in the same frame
        }
        if (c.menuResult == 1 && c.screen != 2) EXPECT_EQ(data->getLevel(), 1);
    }
    // Without a profile the menu opens at the first-player screen, and the performance test
    // leads there too.
    freshData();
    build(cMainMenu::kPlayScreen);
    EXPECT_EQ(menu->getScreenId(), cMainMenu::kPlayerSetupStartScreen);
    menu->switchTo(cMainMenu::kPerformanceTestScreen);
    frame();
    finishScreen(0);
    EXPECT_EQ(menu->getScreenId(), cMainMenu::kPlayerSetupStartScreen);
}

TEST_F(MainMenuTest, SwitchSoundsCycleAndScreensGoOnlyWhenHiddenAndComplete) {
    addProfile(0, 3);
    build();
    EXPECT_EQ(menu->getSwitchSoundIndex(), 0);  // the first screen plays none
    for (int expected : {1, 2, 0, 1}) {
        menu->switchTo(cMainMenu::kHelpScreen);
        EXPECT_EQ(menu->getSwitchSoundIndex(), expected);
    }
    menu->switchTo(cMainMenu::kNoScreen);  // none, and the cycle stays
    EXPECT_EQ(menu->getSwitchSoundIndex(), 1);

    // A finished screen that is still visible stays; once hidden it goes in that frame and
    // the next screen is built in the same frame.
    build();
    ASSERT_TRUE(framesUntil([&] { return menu->getScreen(1) && menu->getScreen(1)->isActive(); }));
    auto* main = static_cast<cScreenMain*>(menu->getScreen(1));
    main->setResult(cScreenMain::RESULT_HELP);
    main->setFinished(true);
    frame();
    EXPECT_EQ(menu->getScreenId(), cMainMenu::kHelpScreen);
    EXPECT_EQ(menu->getScreen(1), main);  // visible: kept
    main->hide();
    frame();
    EXPECT_EQ(menu->getScreen(1), nullptr);
    // The main screen flies out itself: it is deleted in the frame it has gone, and the next
    // screen is there in that frame.
    menu->switchTo(cMainMenu::kMainScreen);
    ASSERT_TRUE(framesUntil([&] { return menu->getScreen(1) && menu->getScreen(1)->isActive(); }));
    main = static_cast<cScreenMain*>(menu->getScreen(1));
    main->getButton(cScreenMain::RESULT_OPTIONS)->getClickHandler()(main->getButton(cScreenMain::RESULT_OPTIONS));
    ASSERT_TRUE(framesUntil([&] { return main->isFinished(); }));
    frame();
    EXPECT_EQ(menu->getScreen(1), nullptr);
    EXPECT_NE(menu->getScreen(cMainMenu::kOptionsScreen), nullptr);
}

TEST_F(MainMenuTest, BackgroundsCrossFade) {
    addProfile(0, 3);
    build();
    const cStringA mainBack = menu->getUpperBackground()->getPicture();
    EXPECT_EQ(mainBack, menu->getScreen(1)->getBackgroundTexture());
    // background_time_change 0.4 s: half way after 0.2 s, then full.
    menu->switchTo(cMainMenu::kExitScreen);
    frame();
    EXPECT_EQ(menu->getLowerBackground()->getPicture(), mainBack);
    EXPECT_NE(menu->getUpperBackground()->getPicture(), mainBack);
    frames(12);
    EXPECT_NEAR(menu->getCrossFadeProgress(), 0.5f, 0.1f);
    frames(14);
    EXPECT_EQ(menu->getCrossFadeProgress(), 1.0f);
    EXPECT_EQ(menu->getUpperBackground()->getVertexAlpha(0), 255u);
    // The performance test keeps the background before it.
    const cStringA exitBack = menu->getUpperBackground()->getPicture();
    menu->switchTo(cMainMenu::kPerformanceTestScreen);
    frame();
    EXPECT_EQ(menu->getUpperBackground()->getPicture(), exitBack);
    EXPECT_EQ(menu->getCrossFadeProgress(), 1.0f);
    // A time change of 0 (or none) is instant.
    useIni(cMainMenu::kConfig, "[COMMON]\nbackground_time_change=\"0\"\n[BACKGROUND]\npicture=\"menu/surfaces/menu_background.dds\"\n");
    build();
    EXPECT_EQ(menu->getCrossFadeProgress(), 1.0f);
}

TEST_F(MainMenuTest, FirstVisitAndLaterVisitsAndTheFadeOut) {
    addProfile(0, 3);
    // The first visit of the run: full brightness at once, the menu listens from the start.
    getGraphics()->setFade(0.0f);
    build();
    EXPECT_EQ(brightness(), 255.0f);
    EXPECT_TRUE(menu->isComplete());
    EXPECT_FALSE(cMainMenu::isFirstVisit());  // the main screen was built
    // A later visit fades in at 800 per second, inactive, and holds 255 one frame.
    getGraphics()->setFade(0.0f);
    build();
    int frames = 1;
    while (brightness() < 255.0f) {
        EXPECT_FALSE(menu->isActive());
        frame();
        ++frames;
    }
    // 255 / 800 s at 16 ms a frame, and the token steps of the frames that built something.
    EXPECT_GE(frames, 17);
    EXPECT_LE(frames, 23);
    EXPECT_FALSE(menu->isComplete());
    frame();
    EXPECT_TRUE(menu->isComplete());
    // The start of play: finished at once, complete one frame after black.
    menu->switchTo(cMainMenu::kPlayScreen);
    frame();
    finishScreen(0);
    EXPECT_TRUE(menu->isFinished());
    ASSERT_TRUE(framesUntil([&] { return brightness() == 0.0f; }));
    EXPECT_FALSE(menu->isComplete());
    EXPECT_FALSE(menu->isActive());
    frame();
    EXPECT_TRUE(menu->isComplete());
    // Without a profile the first screen is not the main screen: the first visit stays.
    cMainMenu::setFirstVisit(true);
    freshData();
    build();
    EXPECT_TRUE(cMainMenu::isFirstVisit());
}
