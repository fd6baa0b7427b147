// The bonus bar: decor head start, pending points by runs, the bonus mode with its cool-down,
// the pay-out of the level's bonus count, and the guards against an empty capacity or time.
#include <gtest/gtest.h>

#include <cmath>

#include "game/effects/cFxMessage.h"
#include "game/scoring/cScoreTable.h"
#include "game/scoring/cTempBonuses.h"
#include "tests/game/scoring/LevelTestSupport.h"

namespace {

using level_test::LevelTest;

class BonusBar : public LevelTest {
protected:
    cTempBonuses* bonuses = nullptr;   // a child of the level
    std::unique_ptr<cScoreTable> table;

    cTempBonuses* make(int capacity, int upgradedDecor = 0) {
        delete bonuses;
        bonuses = nullptr;
        table.reset();
        makeData({{"combo_sum", std::to_string(capacity)}});
        const int32_t decor[6] = {upgradedDecor > 0 ? 2 : 1, upgradedDecor > 1 ? 3 : 1, upgradedDecor > 2 ? 2 : 0,
                                  upgradedDecor > 3 ? 2 : 1, upgradedDecor > 4 ? 2 : 1, upgradedDecor > 5 ? 2 : 1};
        data->setFloorLevel(decor[0], 0);
        data->setWallLevel(decor[1], 0);
        data->setTablesLevel(decor[2], 0);
        data->setCounterLevel(decor[3], 0);
        data->setInterior1Level(decor[4], 0);
        data->setInterior2Level(decor[5], 0);
        table = std::make_unique<cScoreTable>(makeLevel());
        bonuses = new cTempBonuses(level);
        return bonuses;
    }
    void TearDown() override {
        delete bonuses;
        bonuses = nullptr;
        table.reset();
        LevelTest::TearDown();
    }
    // n bonus-count steps until the bar answers 0; the points of each.
    std::vector<int32_t> payOut() {
        std::vector<int32_t> points;
        bonuses->endBonusMode();
        for (int guard = 0; guard < 1000; ++guard) {
            const int32_t p = bonuses->tickEndBonus();
            if (p <= 0) return points;
            points.push_back(p);
        }
        ADD_FAILURE() << "the pay-out never ends";
        return points;
    }
};

TEST_F(BonusBar, UpgradedDecorGivesAHeadStart) {
    struct Case {
        int capacity, decor, bar;
    } cases[] = {{100, 3, 30}, {100, 0, 0}, {100, 6, 60}, {0, 6, 0}, {55, 2, 10}};
    for (const Case& c : cases) {
        make(c.capacity, c.decor);
        EXPECT_EQ(bonuses->getBar(), c.bar) << c.capacity << " with " << c.decor;
        EXPECT_EQ(sound->tempos.back(), 0.0f) << "normal tempo at the start";
    }
}

TEST_F(BonusBar, RunsFillPendingAndStarsCommitIt) {
    make(100000);
    for (int i = 0; i < 7; ++i) bonuses->onTake();
    EXPECT_EQ(bonuses->getPending(), 1 + 2 + 3 + 4 + 5 + 6 + 6);
    bonuses->onDeliver();
    bonuses->onTake();
    EXPECT_EQ(bonuses->getPending(), 27 + 100 + 1) << "a delivery restarts the take run";
    bonuses->onPay();
    bonuses->onPay();
    EXPECT_EQ(bonuses->getPending(), 128 + 1000 + 2000);
    bonuses->commitPending();
    EXPECT_EQ(bonuses->getBar(), 3128);
    EXPECT_EQ(bonuses->getPending(), 0);

    // Fast fill (tutorial levels) counts four times; the bar never exceeds its capacity.
    make(120);
    bonuses->setFastFill(true);
    bonuses->onDeliver();
    EXPECT_EQ(bonuses->getPending(), 400);
    bonuses->commitPending();
    EXPECT_EQ(bonuses->getBar(), 120);
    EXPECT_FLOAT_EQ(bonuses->getBarFill(), 1.0f);
}

TEST_F(BonusBar, FullBarStartsTheModeWhichRunsOutIntoACoolDown) {
    make(100);
    bonuses->fillBar();
    frame(0.1f);
    ASSERT_TRUE(bonuses->isBonusMode());
    EXPECT_EQ(played("sounds/game_interface/combo_mode.ogg"), 1);
    EXPECT_EQ(sound->tempos.back(), 15.0f);
    EXPECT_EQ(live<cFxMessage>(), 1u);
    EXPECT_FLOAT_EQ(bonuses->getTimeLeft(), 10.0f) << "the first frame only starts it";

    bonuses->onDeliver();
    EXPECT_EQ(bonuses->getPending(), 0) << "nothing pending during the bonus mode";

    // Frozen by a tutorial script: the mode's clock stands.
    bonuses->setFrozen(true);
    for (int i = 0; i < 30; ++i) frame(1.0f);
    EXPECT_TRUE(bonuses->isBonusMode());
    bonuses->setFrozen(false);

    frame(5.0f);
    EXPECT_NEAR(bonuses->getBarFill(), 0.5f, 1e-5f);
    frame(5.0f);
    EXPECT_FALSE(bonuses->isBonusMode());
    EXPECT_EQ(bonuses->getBar(), 0);
    EXPECT_FLOAT_EQ(bonuses->getDelayTimer(), 4.0f);
    EXPECT_EQ(played("sounds/game_interface/combo_mode_off.ogg"), 1);
    EXPECT_EQ(sound->tempos.back(), 0.0f);

    // During the cool-down actions add nothing; a bar filled meanwhile starts the mode in
    // the first frame after the cool-down.
    bonuses->onTake();
    EXPECT_EQ(bonuses->getPending(), 0);
    bonuses->fillBar();
    frame(3.9f);
    EXPECT_FALSE(bonuses->isBonusMode());
    frame(0.2f);
    EXPECT_TRUE(bonuses->isBonusMode());
    EXPECT_EQ(played("sounds/game_interface/combo_mode.ogg"), 2);
}

TEST_F(BonusBar, BonusCountPaysTenthsOfTheCapacity) {
    // Half of the bonus time left: the bar holds 50 and pays five stars.
    make(100);
    bonuses->fillBar();
    frame(0.1f);
    frame(5.0f);
    ASSERT_TRUE(bonuses->isBonusMode());
    EXPECT_EQ(payOut(), std::vector<int32_t>(5, 25));
    EXPECT_FALSE(bonuses->isBonusMode());
    EXPECT_EQ(sound->tempos.back(), 0.0f);
    EXPECT_EQ(played("sounds/game_interface/combo_mode_off.ogg"), 0) << "the count ends the mode silently";

    struct Case {
        int capacity, bar, stars;
    } cases[] = {{100, 95, 10}, {100, 100, 10}, {100, 0, 0}, {100, 10, 1},
                 // Capacities below 10 still empty the bar, one point per step.
                 {5, 5, 5}, {9, 3, 3}, {1, 1, 1}};
    for (const Case& c : cases) {
        make(c.capacity);
        bonuses->setBar(c.bar);
        EXPECT_EQ(static_cast<int>(payOut().size()), c.stars) << c.capacity << "/" << c.bar;
        EXPECT_EQ(bonuses->getBar(), 0);
    }
}

TEST_F(BonusBar, EmptyCapacityOrTimeNeverMakesANumberOutOfNothing) {
    make(0);
    bonuses->fillBar();
    frame(0.1f);
    EXPECT_FALSE(bonuses->isBonusMode()) << "no capacity, no bonus mode";
    EXPECT_EQ(bonuses->getBarFill(), 0.0f);
    EXPECT_TRUE(payOut().empty());

    replaceIni("Config/Game/temp_bonuses.ini", "[BONUS]\nbonus_delay=\"1\"\n");
    make(100);
    bonuses->fillBar();
    frame(0.1f);
    ASSERT_TRUE(bonuses->isBonusMode());
    EXPECT_EQ(bonuses->getBarFill(), 0.0f) << "a bonus time of 0 shows an empty bar";
    bonuses->endBonusMode();
    EXPECT_EQ(bonuses->getBar(), 0);
    EXPECT_TRUE(payOut().empty());
}

TEST_F(BonusBar, MissingFileFailsNamingIt) {
    makeData({{"combo_sum", "100"}});
    resources->unload(cStringA(cTempBonuses::kFileName));
    std::string text;
    try {
        cTempBonuses bar(makeLevel());
    } catch (const std::string& t) {
        text = t;
    }
    EXPECT_NE(cStringA(text).toLower().find("temp_bonuses.ini"), std::string::npos) << text;
    EXPECT_EQ(getTempBonuses(), nullptr);
}

}  // namespace
