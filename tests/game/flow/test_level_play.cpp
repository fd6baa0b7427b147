// The test pack's level played headless on the test clock with the injected pointer and left
// button: both customers served (take, fetch, deliver, collect), the combo of two takes
// filling the bonus bar, the time run out and the bar paid out.
#include <gtest/gtest.h>

#include <memory>

#include "engine/app/cLogic.h"
#include "game/flow/cGameData.h"
#include "game/flow/cLevel.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/flow/cScoreTable.h"
#include "game/flow/cStatistics.h"
#include "game/flow/cTempBonuses.h"
#include "tests/game/flow/RestaurantDriver.h"
#include "tests/game/flow/TestPack.h"
#include "tests/game/flow/test_game_env.h"

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

    // The time runs out, the tables stay empty: over, and the bar pays out star by star.
    const int32_t served = data->getScore();
    ASSERT_TRUE(driver.waitFor([&] { return level->isOver(); }, 1500)) << "time left " << level->getTimeLeft();
    EXPECT_EQ(level->getTimeLeft(), 0.0f);
    EXPECT_EQ(bar->getBar(), 0);
    EXPECT_EQ(data->getScore(), served + level->getScoreStarsShown() * getScores()->getEntry(SCORE_STAR));
}

}  // namespace
