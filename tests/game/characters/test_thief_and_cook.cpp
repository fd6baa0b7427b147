// The thief's visit to a table with money (fade-in, steps, theft, giving up, run-off and his
// deletion) and the cook's walks, rests and work on the test clock.

#include <gtest/gtest.h>

#include <set>

#include "game/characters/cSandwichMaker.h"
#include "game/characters/cThief.h"
#include "tests/game/characters/CharacterTestSupport.h"

using namespace characters_test;

namespace {

const char* const kAppear = "sounds/game/thief_appear.ogg";
const char* const kSteal = "sounds/game/thief_steal.ogg";
const char* const kGiveUp = "sounds/game/thief_disappear.ogg";

class Thief : public CharacterTest {
protected:
    cTable* table = nullptr;
    void SetUp() override {
        CharacterTest::SetUp();
        if (HasFatalFailure()) return;
        table = makeTable(1);
        table->setState(ITEM_MONEY);
    }
    cThief* send(float pauses = 6.0f, int32_t steps = 3) { return new cThief(level, table, pauses, steps); }
};

TEST_F(Thief, FadesInCreepsInThreeStepsOfTwoSecondsStealsAndRunsOff) {
    cThief* thief = send();
    EXPECT_EQ(getThieves().size(), 1u);
    EXPECT_TRUE(thief->isVisible());
    EXPECT_EQ(thief->getPosition(), cVector2(-10, 200)) << "start x - appear_distance";
    EXPECT_FLOAT_EQ(thief->getDeep(), table->getDeep() + 7.5f);
    EXPECT_EQ(thief->getPath(), (std::deque<cVector2>{cVector2(60, 200), cVector2(80, 200), cVector2(100, 200)}));
    EXPECT_EQ(sound->count(kAppear), 1);
    const float faded = runUntil([&] { return thief->getState() == THIEF_WALK; }, 2.0f);
    EXPECT_NEAR(faded, 0.5f, 0.011f);
    EXPECT_EQ(thief->getPosition(), cVector2(40, 200));
    // Each step: 2 s standing still, then 20 px at 200 px/s.
    float t = 0.0f;
    const cVector2 points[3] = {cVector2(60, 200), cVector2(80, 200), cVector2(100, 200)};
    for (size_t left : {2u, 1u, 0u}) {
        t += runUntil([&] { return thief->getPath().size() == left; }, 5.0f);
        EXPECT_EQ(thief->getPosition(), points[2 - left]);
        EXPECT_NEAR(t, float(3 - left) * (2.0f + 0.1f), 0.03f);
    }
    EXPECT_NEAR(t, 3 * (2.0f + 0.1f), 0.05f);
    EXPECT_EQ(thief->getPosition(), cVector2(100, 200));
    EXPECT_EQ(thief->getState(), THIEF_STEAL);
    frame(0.01f);
    EXPECT_EQ(thief->getState(), THIEF_RUN_OFF);
    EXPECT_EQ(table->getState(), 0);
    EXPECT_TRUE(table->isFree());
    // 60 px back to the start x at 1500 px/s: a few frames, then the deferred deletion.
    runUntil([] { return getThieves().empty(); }, 1.0f);
    EXPECT_TRUE(getThieves().empty());
    EXPECT_EQ(sound->count(kAppear), 1);
    EXPECT_EQ(sound->count(kSteal), 1);
    EXPECT_EQ(sound->count(kGiveUp), 0);
}

TEST_F(Thief, MoneyCollectedDuringTheFadeInEndsHimInTheSameUpdate) {
    send();
    run(0.2f);
    table->setState(0);
    frame(0.01f);
    EXPECT_EQ(sound->count(kGiveUp), 1);
    flush();
    EXPECT_TRUE(getThieves().empty());
    EXPECT_EQ(sound->count(kSteal), 0);
}

TEST_F(Thief, MoneyCollectedWhileHeWalksSendsHimRunningLeft) {
    cThief* thief = send();
    run(3.0f);
    ASSERT_EQ(thief->getState(), THIEF_WALK);
    const float x = thief->getPosition().x;
    table->setState(0);
    frame(0.01f);
    EXPECT_EQ(thief->getState(), THIEF_RUN_OFF);
    EXPECT_FLOAT_EQ(thief->getPosition().x, x - 15.0f);
    EXPECT_EQ(sound->count(kGiveUp), 1);
    runUntil([] { return getThieves().empty(); }, 1.0f);
    EXPECT_TRUE(getThieves().empty());
    EXPECT_EQ(sound->count(kGiveUp), 1);
}

TEST_F(Thief, ClearingAfterHisOwnScheduledDeletionDeletesHimOnce) {
    send();
    run(0.2f);
    table->setState(0);
    frame(0.01f);   // gives up at once and schedules his deletion
    ASSERT_EQ(getThieves().size(), 1u);
    clearThieves();
    EXPECT_TRUE(getThieves().empty());
    flush();        // the deferred deletion must not reach him again
}

TEST_F(Thief, AStepCountBelowOneIsTakenAsOne) {
    cThief* thief = send(4.0f, 0);
    EXPECT_FLOAT_EQ(thief->getStepPause(), 4.0f);
    EXPECT_EQ(thief->getPath().size(), 1u);
}

class Cook : public CharacterTest {};

TEST_F(Cook, StandsWithoutWalkingAtFirstAndRestsWholeSeconds) {
    std::set<float> rests;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        rwSrand(seed);
        cSandwichMaker cook(level);
        EXPECT_EQ(cook.getPosition(), cVector2(100, 100));
        EXPECT_FALSE(cook.isMoving());
        EXPECT_FALSE(cook.isAnimating());
        EXPECT_GE(cook.getCyclesLeft(), 1);
        EXPECT_LE(cook.getCyclesLeft(), 3);
        rests.insert(cook.getIdleTimer());
    }
    EXPECT_EQ(rests, (std::set<float>{1.0f, 2.0f, 3.0f})) << "whole seconds of 1.9 to 3.2";
    cSandwichMaker cook(level);
    EXPECT_EQ(cook.getKind(), KIND_SANDWICH_MAKER);
    cook.updateHover(false, true);
    EXPECT_FALSE(cook.isHovered());
}

TEST_F(Cook, RestsThenPlaysHisIdleRunsThenRestsAgain) {
    rwSrand(5);
    auto* cook = new cSandwichMaker(level);
    const float rest = cook->getIdleTimer();
    const int runs = cook->getCyclesLeft();
    run(rest - 0.05f);
    EXPECT_FALSE(cook->isAnimating());
    run(0.1f);
    EXPECT_TRUE(cook->isAnimating());
    const float played = runUntil([&] { return !cook->isAnimating(); }, 5.0f);
    EXPECT_NEAR(played, 0.5f * float(runs), 0.05f);
    EXPECT_GE(cook->getIdleTimer(), 1.0f);
}

TEST_F(Cook, WalksToWorkAndWorksOnlyThereFasterInBonusMode) {
    auto* cook = new cSandwichMaker(level);
    cook->setWorkState(MAKER_WORKING);
    EXPECT_TRUE(cook->isMoving());
    EXPECT_EQ(cook->getPosition(), cVector2(100, 100)) << "setting his position only starts a walk";
    const float walked = runUntil([&] { return !cook->isMoving(); }, 3.0f);
    EXPECT_NEAR(walked, 1.0f + 0.01f, 0.015f) << "100 px at 100 px/s, and one more frame";
    EXPECT_EQ(cook->getPosition(), cVector2(200, 100));
    EXPECT_TRUE(cook->isAnimating());
    EXPECT_EQ(std::string(cook->getPicture()), "cook_work.dds");
    const float t0 = cook->getLayer0Time();
    frame(0.1f);
    EXPECT_NEAR(cook->getLayer0Time() - t0, 0.1f, 1e-4f);
    makeBar()->mode = true;
    const float t1 = cook->getLayer0Time();
    frame(0.1f);
    EXPECT_NEAR(cook->getLayer0Time() - t1, 0.3f, 1e-4f) << "temp_multiplier 3";
    bar->mode = false;
}

TEST_F(Cook, TwoSubsInARowSendHimToHisStandAndBackBeforeWorkingAgain) {
    auto* cook = new cSandwichMaker(level);
    cook->setWorkState(MAKER_WORKING);
    runUntil([&] { return !cook->isMoving(); }, 3.0f);
    // The sub is done and the next starts in the same frame.
    cook->setWorkState(MAKER_STAND);
    cook->setWorkState(MAKER_WORKING);
    EXPECT_FALSE(cook->isAnimating()) << "bound for the stand: no work yet";
    EXPECT_TRUE(cook->isMoving());
    run(0.5f);
    EXPECT_LT(cook->getPosition().x, 200.0f) << "first he walks to his stand";
    const float there = runUntil([&] { return cook->getPosition().x == 100.0f; }, 3.0f);
    EXPECT_NEAR(0.5f + there, 1.0f, 0.02f);
    EXPECT_FALSE(cook->isAnimating());
    const float back = runUntil([&] { return cook->isAnimating(); }, 3.0f);
    EXPECT_NEAR(back, 1.0f + 0.01f, 0.03f);
    EXPECT_EQ(cook->getPosition(), cVector2(200, 100));
    EXPECT_EQ(cook->getWorkState(), MAKER_WORKING);
}

}  // namespace
