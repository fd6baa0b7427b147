// The test pack started from the command line and played headless through the game screen on
// the test clock: Enter closes the level-start panel, both customers are served with the
// injected pointer and left button (take, fetch, deliver, collect), the time and the bonus count
// run out, and Enter on the results panel leads to the outcome; served by nobody, the level
// fails and is played again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cSettingsManager.h"
#include "game/data/GameConstants.h"
#include "game/data/cGameData.h"
#include "game/flow/cGame.h"
#include "game/flow/cGameScreen.h"
#include "game/flow/cLevel.h"
#include "game/interface/cPanel.h"
#include "game/interface/cPanelContinue.h"
#include "game/interface/cPanelLevel.h"
#include "platform/input/KeyCodes.h"
#include "tests/game/flow/GameScreenSupport.h"
#include "tests/game/flow/RestaurantDriver.h"
#include "tests/game/flow/TestPack.h"
#include "tests/game/flow/test_game_env.h"
#include "tests/game/flow/test_game_fixture.h"

namespace {

using restaurant_test::RestaurantDriver;

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
