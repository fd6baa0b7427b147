// The test pack's level played headless on the test clock with the injected pointer, the left
// button and Enter: both customers served (take, fetch, deliver, collect), the combo of two
// takes filling the bonus bar, the time run out and the bar paid out; once on a level built
// directly, then from the command line through the game screen to its outcome.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/app/cLogic.h"
#include "engine/core/cSettingsManager.h"
#include "game/flow/GameConstants.h"
#include "game/flow/cGame.h"
#include "game/flow/cGameScreen.h"
#include "game/flow/cGameData.h"
#include "game/flow/cLevel.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/flow/cScoreTable.h"
#include "game/flow/cStatistics.h"
#include "game/flow/cTempBonuses.h"
#include "tests/game/flow/RestaurantDriver.h"
#include "tests/game/flow/TestPack.h"
#include "game/interface/cPanel.h"
#include "game/interface/cPanelContinue.h"
#include "game/interface/cPanelLevel.h"
#include "platform/input/KeyCodes.h"
#include "tests/game/flow/GameScreenSupport.h"
#include "tests/game/flow/test_game_env.h"
#include "tests/game/flow/test_game_fixture.h"

namespace {

using game_test::GameEnvironment;
using restaurant_test::RestaurantDriver;

// The test pack's level built straight under a root node, as the game screen would build it,
// without the screen's fades and panels.
class LevelPlay : public ::testing::Test {
protected:
    void SetUp() override {
        genv = std::make_unique<GameEnvironment>();
        genv->startCore();
        if (HasFatalFailure()) return;
        try {
            groups = std::make_unique<cResourceGroupManager>();
            groups->loadStartup();
            groups->loadGame();
            data = std::make_unique<cGameData>(false, cStringA(restaurant_test::kTestPack));
            statistics = std::make_unique<cStatistics>();
            data->makePathsFileName();
            groups->loadWorld(data->getGraphicsSet(), false);
            root = new cSceneNode();
            root->show();
            root->enable();
            level = new cLevel(root, cLevel::Build::Play);
        } catch (...) {
            std::string text;
            failureText(std::current_exception(), &text);
            FAIL() << text;
        }
        // The level-start panel has gone: the dim lifts.
        level->setDimmed(false);
    }
    void TearDown() override {
        delete level;
        delete root;
        if (genv) genv->frame();
        statistics.reset();
        data.reset();
        groups.reset();
        genv.reset();
    }

    std::unique_ptr<GameEnvironment> genv;
    std::unique_ptr<cResourceGroupManager> groups;
    std::unique_ptr<cGameData> data;
    std::unique_ptr<cStatistics> statistics;
    cSceneNode* root = nullptr;
    cLevel* level = nullptr;
};

TEST_F(LevelPlay, BothDrinkCustomersServedByClicksThenTheBarPaysOut) {
    ASSERT_NE(level, nullptr);
    // Frames of 50 ms of game time (the clock's step stays under its 1/15 s clamp).
    RestaurantDriver driver([this] {
        platform::advanceTestClock(34);
        genv->frame();
    });
    cTempBonuses* bar = getTempBonuses();
    ASSERT_EQ(bar->getCapacity(), restaurant_test::kTestPackCombo);
    ASSERT_GE(data->getGoal(), 10);
    ASSERT_FALSE(level->hasTutorialScript()) << "a pack from the command line has no tutorial";

    std::vector<cTable*> tables = driver.seatedTables(restaurant_test::kTestPackCustomers);
    ASSERT_EQ(tables.size(), 2u) << driver.failure();

    // Two takes in a row: a run of 2, whose combo star fills the bar and starts the bonus mode.
    ASSERT_TRUE(driver.takeOrder(tables[0])) << driver.failure();
    ASSERT_TRUE(driver.takeOrder(tables[1])) << driver.failure();
    EXPECT_EQ(getScores()->getRun(), 2);
    EXPECT_TRUE(driver.waitFor([&] { return bar->isBonusMode(); }, 400)) << "bar " << bar->getBar();

    // Two drinks fetched, one in each hand, then delivered and paid for.
    ASSERT_TRUE(driver.fetchDrink()) << driver.failure();
    ASSERT_TRUE(driver.fetchDrink()) << driver.failure();
    ASSERT_TRUE(driver.deliverDrink(tables[0])) << driver.failure();
    ASSERT_TRUE(driver.deliverDrink(tables[1])) << driver.failure();
    ASSERT_TRUE(driver.collectMoney(tables[0])) << driver.failure();
    ASSERT_TRUE(driver.collectMoney(tables[1])) << driver.failure();
    EXPECT_EQ(level->getClicks(), 8);
    EXPECT_GE(data->getScore(), data->getGoal());
    EXPECT_TRUE(level->wasGoalReached());

    // The time is cut short while the bonus mode still runs: once the tables have stayed empty
    // for a second the mode's remaining time goes back into the bar, which pays out star by star.
    const int32_t served = data->getScore();
    ASSERT_TRUE(bar->isBonusMode());
    level->clearTime();
    ASSERT_TRUE(driver.waitFor([&] { return level->isOver(); }, 400));
    EXPECT_EQ(level->getTimeLeft(), 0.0f);
    EXPECT_FALSE(bar->isBonusMode());
    EXPECT_EQ(bar->getBar(), 0);
    EXPECT_GE(level->getScoreStarsShown(), 1);
    EXPECT_EQ(data->getScore(), served + level->getScoreStarsShown() * getScores()->getEntry(SCORE_STAR));
}

// The test pack started from the command line and played through the game screen: the
// level-start panel closed with Enter, every target clicked with the injected pointer, the
// results panel answered with Enter.
class GamePlay : public game_test::GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        if (HasFatalFailure()) return;
        getSettingsManager()->setBool(L"Statistics", L"use", true);
    }
    // The game built with the test pack's word, its level-start panel in and closed with Enter.
    void startPlaying() {
        ASSERT_TRUE(tryMakeGame(restaurant_test::kTestPack));
        ASSERT_TRUE(reach(APP_STATE_GAME));
        screen = game->getGameScreen();
        ASSERT_NE(screen, nullptr);
        EXPECT_FALSE(getGameData()->isNormalMode());
        ASSERT_TRUE(game_test::closeLevelStart(*genv, screen)) << "the level-start panel never came or never went";
        ASSERT_NE(getLevel(), nullptr);
    }
    // Frames until the results panel has come in (the time run out, the bar paid out).
    void waitForResults() {
        ASSERT_TRUE(driver.waitFor([&] { return game_test::panelAtRest(screen->getResultPanel()); }, 3000))
            << "no results; time left " << (getLevel() ? getLevel()->getTimeLeft() : -1.0f);
    }
    // The statistics folders written so far (their names carry the run's result mark).
    std::vector<std::filesystem::path> statisticsFolders() const {
        std::vector<std::filesystem::path> folders;
        const std::string statistics = game_test::lower(game::kStatisticsFolder);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(genv->env.root()))
            if (entry.is_directory() && game_test::lower(entry.path().parent_path().filename().string()) == statistics)
                folders.push_back(entry.path());
        std::sort(folders.begin(), folders.end());
        return folders;
    }
    std::vector<std::string> statisticsNames() const {
        std::vector<std::string> names;
        for (const auto& folder : statisticsFolders()) names.push_back(folder.filename().string());
        return names;
    }
    bool saveFileWritten() const {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(genv->env.root()))
            if (entry.path().filename() == game::kSaveFileName) return true;
        return false;
    }

    // Frames of 50 ms of game time (the clock's step stays under its 1/15 s clamp).
    RestaurantDriver driver{[this] {
        platform::advanceTestClock(34);
        genv->frame();
    }};
    cGameScreen* screen = nullptr;
};

TEST_F(GamePlay, BothCustomersServedWinsTheLastLevel) {
    startPlaying();
    if (HasFatalFailure()) return;
    cGameData* data = getGameData();
    std::vector<cTable*> tables = driver.seatedTables(restaurant_test::kTestPackCustomers);
    ASSERT_EQ(tables.size(), 2u) << driver.failure();
    ASSERT_TRUE(driver.takeOrder(tables[0]) && driver.takeOrder(tables[1])) << driver.failure();
    ASSERT_TRUE(driver.fetchDrink() && driver.fetchDrink()) << driver.failure();
    ASSERT_TRUE(driver.deliverDrink(tables[0]) && driver.deliverDrink(tables[1])) << driver.failure();
    ASSERT_TRUE(driver.collectMoney(tables[0]) && driver.collectMoney(tables[1])) << driver.failure();
    EXPECT_EQ(getLevel()->getClicks(), 8);
    genv->saveFrame("level_play_served.png");

    waitForResults();
    if (HasFatalFailure()) return;
    EXPECT_TRUE(getLevel()->isBonusCountDone());
    const int32_t finalScore = data->getScore();
    ASSERT_GE(finalScore, data->getGoal());
    for (int i = 0; i < 5; ++i) driver.frame();
    EXPECT_EQ(data->getScore(), finalScore) << "nothing scores under the results panel";
    game_test::pressKeyOnce(*genv, KEY_ENTER);

    int32_t result = -1;
    ASSERT_TRUE(driver.waitFor([&] {
        if (game->getGameScreen() && game->getGameScreen()->isFinished()) result = game->getGameScreen()->getResult();
        return result >= 0;
    }, 400)) << "the state never finished";
    EXPECT_EQ(result, GAME_RESULT_COMICS_4) << "the pack's one level is the last level";
    EXPECT_EQ(data->getReachedLevel(), 2);
    EXPECT_EQ(data->getLevel(), 1);
    EXPECT_EQ(data->getBestScore(0), finalScore);
    ASSERT_EQ(statisticsNames(), std::vector<std::string>{"01_level_1"}) << "won: no result mark";
    std::ifstream log(statisticsFolders()[0] / "level.log");
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\nresult = " + std::to_string(finalScore) + "\n"), std::string::npos) << text;
    EXPECT_FALSE(saveFileWritten()) << "a pack from the command line saves nothing";
    ASSERT_TRUE(reach(APP_STATE_COMICS));
    EXPECT_EQ(data->getComicsNumber(), 4);
}

TEST_F(GamePlay, NobodyServedFailsAndTheLevelIsPlayedAgain) {
    startPlaying();
    if (HasFatalFailure()) return;
    cGameData* data = getGameData();
    waitForResults();
    if (HasFatalFailure()) return;
    EXPECT_LT(data->getScore(), data->getGoal());
    EXPECT_EQ(getLevel()->getClicks(), 0);
    game_test::pressKeyOnce(*genv, KEY_ENTER);

    // The level ends at black and starts again in this state: a new level-start panel.
    ASSERT_TRUE(driver.waitFor([&] { return getLevel() == nullptr; }, 200)) << "the level was never taken down";
    ASSERT_TRUE(driver.waitFor([&] {
        cPanel* start = screen->getLevelStartPanel();
        return getLevel() && start && start->isVisible();
    }, 200)) << "the level was not played again";
    EXPECT_EQ(game->getGameScreen(), screen);
    EXPECT_FALSE(screen->isFinished());
    EXPECT_EQ(data->getLevel(), 1);
    EXPECT_EQ(data->getReachedLevel(), 1);
    EXPECT_EQ(statisticsNames(), std::vector<std::string>{"01_level_1_x"}) << "failed: marked x";
    EXPECT_FALSE(saveFileWritten());
}

}  // namespace
