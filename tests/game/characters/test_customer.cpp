// A guest's life at a table on the test clock: the actions the table forwards, the stage
// actions with their sounds, table and statistics calls, the exact timings of patience,
// ordering and the warning glow, and the two-order bubbles.

#include <gtest/gtest.h>

#include <cmath>

#include "game/characters/CharacterSupport.h"
#include "game/characters/cCustomer.h"
#include "game/restaurant/cCloudItem.h"
#include "game/restaurant/cHighlight.h"
#include "game/restaurant/cOrderCloud.h"
#include "tests/game/characters/CharacterTestSupport.h"

using namespace characters_test;

namespace {

const char* const kTake = "sounds/game/customers_menu_take.ogg";
const char* const kMenuDown = "sounds/game/customer_menu_down.ogg";

class Customer : public CharacterTest {};

TEST_F(Customer, ANewGuestIsHiddenUnseatedAndReadsItsKindsFile) {
    auto* guest = new cCustomer(level, 1);
    EXPECT_EQ(guest->getStage(), STAGE_GONE);
    EXPECT_FALSE(guest->isVisible());
    EXPECT_EQ(guest->getKind(), KIND_CUSTOMER);
    EXPECT_TRUE(guest->isFemale());
    EXPECT_FLOAT_EQ(guest->getWaitStep(), 5.0f);
    EXPECT_EQ(guest->getMoodPicture()->getLayer0Frame(), 1u) << "frame 9 - mood";
    EXPECT_EQ(guest->getHitPolygon().size(), 4u);
    EXPECT_EQ(guest->getHighlight()->getVertexAlpha(0), 200u);
    guest->addOrder(ITEM_DRINK);
    guest->addOrder(ITEM_CAKE);
    EXPECT_EQ(guest->getMoney(), 30);
    guest->setMood(3);
    EXPECT_EQ(guest->getMoodPicture()->getLayer0Frame(), 6u);
    for (int32_t bad : {0, 9, -1}) guest->setMood(bad);
    EXPECT_EQ(guest->getMood(), 3);
    EXPECT_THROW(new cCustomer(level, 4), std::string) << "c_05.ini is not loaded";
    delete guest;
}

TEST_F(Customer, ActionsMoveTheStagesTheyFitAndAreAlwaysStored) {
    struct Case {
        int32_t stage;
        int orders;
        int32_t value;
        int32_t expected;
        const char* sound;
    };
    const Case cases[] = {
        {STAGE_WAITING_FOR_ORDER, 1, ITEM_ORDER_TAKEN, STAGE_ORDERING, kTake},
        {STAGE_WAITING_FOR_ITEM, 1, ITEM_ORDER_TAKEN, STAGE_ORDERING, kTake},
        {STAGE_WAITING_FOR_ITEM, 0, 0, STAGE_LEAVING_HAPPY, "sounds/game/customer_exit_happy_m.ogg"},
        {STAGE_WAITING_FOR_ITEM, 1, 0, STAGE_ORDERING, nullptr},
        {STAGE_ORDERING, 1, 17, STAGE_ORDERING, nullptr},
        {STAGE_APPEARING, 1, ITEM_ORDER_TAKEN, STAGE_APPEARING, nullptr},
        {STAGE_WAITING_FOR_ORDER, 1, ITEM_WAITING, STAGE_WAITING_FOR_ORDER, nullptr},
        {STAGE_LEAVING_HAPPY, 1, ITEM_WAITING, STAGE_APPEARING, "sounds/game/customer_appear_m.ogg"},
        {STAGE_LEAVING_ANGRY, 1, 0, STAGE_LEAVING_ANGRY, nullptr},
        {STAGE_GONE, 1, ITEM_WAITING, STAGE_APPEARING, "sounds/game/customer_appear_m.ogg"},
    };
    cTable* table = makeTable(1);
    for (const Case& c : cases) {
        SCOPED_TRACE("stage " + std::to_string(c.stage) + " value " + std::to_string(c.value));
        auto* guest = new cCustomer(level, 0);
        for (int k = 0; k < c.orders; ++k) guest->addOrder(ITEM_DRINK);
        guest->setTable(table);
        guest->setStage(c.stage);
        sound->played.clear();
        EXPECT_TRUE(guest->setState(c.value));
        EXPECT_EQ(guest->getStage(), c.expected);
        EXPECT_EQ(guest->getState(), c.value);
        if (c.sound) EXPECT_EQ(sound->count(c.sound), 1);
        else EXPECT_TRUE(sound->played.empty()) << sound->played.front();
        delete guest;
    }
}

TEST_F(Customer, WalksInFadingThenWaitsWithItsMoodShown) {
    cTable* table = makeTable(1);
    auto* guest = seatGuest(table, {ITEM_DRINK}, 0, false);
    EXPECT_EQ(guest->getPosition(), cVector2(51, 250)) << "seat x - (appear_distance - 1)";
    EXPECT_EQ(sound->count("sounds/game/customer_appear_m.ogg"), 1);
    EXPECT_TRUE(guest->isVisible());
    EXPECT_FALSE(guest->getMoodPicture()->isVisible());
    run(0.25f);
    EXPECT_NEAR(guest->getPosition().x, 76.0f, 0.01f);
    EXPECT_NEAR(float(guest->getVertexAlpha(0)), 128.0f, 1.0f);
    const float t = runUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ORDER; }, 1.0f);
    EXPECT_NEAR(0.25f + t, 0.5f, 0.011f) << "255 / (256 / appear_time)";
    EXPECT_EQ(guest->getPosition(), cVector2(100, 250)) << "the walk stops at the seat";
    EXPECT_EQ(guest->getVertexAlpha(0), 255u);
    EXPECT_TRUE(guest->getMoodPicture()->isVisible());
    EXPECT_EQ(guest->getMoodPicture()->getPosition(), cVector2(100, 190));
    EXPECT_EQ(table->getCloud()->getFirstItem()->getState(), ITEM_ORDER_TAKEN);
    EXPECT_EQ(guest->getAnimationIndex(), ANIM_STAND_HAPPY);
    EXPECT_GE(guest->getIdleTimer(), 2.0f);
    EXPECT_LE(guest->getIdleTimer(), 3.0f);
}

TEST_F(Customer, AnUnservedGuestLeavesAngryAfterItsWaitTime) {
    cTable* table = makeTable(3);
    auto* guest = seatGuest(table, {ITEM_CAKE}, 1);
    sound->played.clear();
    float waited = 0.0f;
    int angryAt = -1;
    while (guest->getStage() != STAGE_LEAVING_ANGRY && waited < 50.0f) {
        frame(0.01f);
        waited += 0.01f;
        if (angryAt < 0 && sound->count("sounds/game/customer_to_angry_f.ogg") > 0) angryAt = guest->getMood();
    }
    EXPECT_NEAR(waited, 40.0f, 0.05f);
    EXPECT_EQ(sound->count("sounds/game/customer_to_angry_f.ogg"), 1) << "once, at the step to mood 4";
    EXPECT_EQ(angryAt, 4);
    EXPECT_EQ(sound->count("sounds/game/customer_exit_angry_f.ogg"), 1);
    EXPECT_EQ(guest->getMood(), 0);
    EXPECT_FALSE(guest->getMoodPicture()->isVisible());
    EXPECT_EQ(table->getState(), 0);
    ASSERT_EQ(prices->penalties.size(), 1u);
    EXPECT_EQ(prices->penalties[0], cVector2(300, 230)) << "its position + (0, -20)";
    EXPECT_TRUE(guest->testTransformFlags(TF_MIRROR_Y));
    EXPECT_NE(statistics->moodLogText().find("WAIT"), std::string::npos) << "it never gave its order";
    EXPECT_NE(statistics->levelLogText().find("unserved_humans = 1"), std::string::npos);
    // It walks out in 0.5 s and its table deletes it.
    runUntil([&] { return table->getCustomer() == nullptr; }, 1.0f);
    EXPECT_EQ(table->getCustomer(), nullptr);
    EXPECT_TRUE(table->isFree());
}

TEST_F(Customer, AnAngryGuestWaitingForItsItemIsLoggedWithThatItem) {
    cTable* table = makeTable(2);
    auto* guest = seatGuest(table, {ITEM_SNACK});
    table->setState(ITEM_ORDER_TAKEN);
    runUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ITEM; }, 5.0f);
    runUntil([&] { return guest->getStage() == STAGE_LEAVING_ANGRY; }, 50.0f);
    EXPECT_EQ(statistics->moodLogText().find("WAIT"), std::string::npos);
    EXPECT_NE(statistics->levelLogText().find("unserved_humans = 1"), std::string::npos);
}

TEST_F(Customer, OrderingTakesOrderTimeOrTheBonusTime) {
    makeBar();
    for (bool bonus : {false, true}) {
        SCOPED_TRACE(bonus ? "bonus mode" : "plain");
        bar->mode = bonus;
        cTable* table = makeTable(1);
        auto* guest = seatGuest(table, {ITEM_DRINK});
        sound->played.clear();
        table->setState(ITEM_ORDER_TAKEN);
        EXPECT_EQ(guest->getStage(), STAGE_ORDERING);
        EXPECT_EQ(sound->count(kTake), 1);
        EXPECT_EQ(guest->getAnimationIndex(), ANIM_ORDER);
        const float t = runUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ITEM; }, 10.0f);
        EXPECT_NEAR(t, bonus ? 1.0f : 4.0f, 0.015f);
        EXPECT_EQ(sound->count(kMenuDown), 1);
        EXPECT_EQ(table->getState(), ITEM_DRINK);
        EXPECT_EQ(guest->getState(), ITEM_DRINK);
        EXPECT_EQ(table->getCloud()->getFirstItem()->getState(), ITEM_DRINK);
        EXPECT_EQ(guest->getMood(), 8) << "ordering does not count against patience";
        delete table;
    }
}

TEST_F(Customer, PatienceStopsWhileTheWaitressBringsTheItemOnly) {
    cTable* table = makeTable(1);
    auto* guest = seatGuest(table, {ITEM_DRINK});
    table->setWaitressComing(true);   // queued while it waits to order: patience runs
    run(5.05f);
    EXPECT_EQ(guest->getMood(), 7);
    table->setState(ITEM_ORDER_TAKEN);
    runUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ITEM; }, 5.0f);
    table->setWaitressComing(true);
    run(12.0f);
    EXPECT_EQ(guest->getMood(), 7);
    table->setWaitressComing(false);
    run(5.05f);
    EXPECT_EQ(guest->getMood(), 6) << "each stage change restarted the step";
}

TEST_F(Customer, TheWarningPulsesTwiceAtTenSecondsThenEndlesslyFromThree) {
    cTable* table = makeTable(1);
    auto* guest = seatGuest(table, {ITEM_DRINK});
    run(29.9f);
    EXPECT_FALSE(guest->getWarning()->isVisible()) << "more than 10 s of patience left";
    // From 10 s left to 3 s left: two pulses of 0.09 s up, 0.1 s held, 0.09 s down.
    int returns = 0;
    float peak = 0.0f, lastDark = 0.0f, waited = 29.9f;
    uint32_t previous = 0;
    while (waited < 36.95f) {
        frame(0.01f);
        waited += 0.01f;
        const uint32_t alpha = guest->getWarning()->getVertexAlpha(0);
        if (previous > 0 && alpha == 0) {
            ++returns;
            lastDark = waited;
        }
        peak = std::max(peak, float(alpha));
        previous = alpha;
    }
    EXPECT_EQ(returns, 2);
    EXPECT_GE(peak, 170.0f);
    EXPECT_NEAR(lastDark - 30.0f, 0.09f + 0.1f + 0.09f + 0.1f + 0.09f + 0.1f + 0.09f, 0.05f);
    EXPECT_EQ(guest->getWarning()->getVertexAlpha(0), 0u) << "dark between 4 and 3 s";
    // From 3 s left it pulses until the guest leaves.
    returns = 0;
    while (guest->getStage() == STAGE_WAITING_FOR_ORDER) {
        frame(0.01f);
        const uint32_t alpha = guest->getWarning()->getVertexAlpha(0);
        if (previous > 0 && alpha == 0) ++returns;
        previous = alpha;
    }
    EXPECT_GE(returns, 5);
    EXPECT_FALSE(guest->getWarning()->isVisible()) << "gone once it leaves";
}

TEST_F(Customer, HoveringHidesTheWarningGlow) {
    cTable* table = makeTable(1);
    auto* guest = seatGuest(table, {ITEM_DRINK});
    run(38.0f);
    EXPECT_TRUE(guest->getWarning()->isVisible());
    guest->updateHover(false, true);
    frame(0.01f);
    EXPECT_FALSE(guest->getWarning()->isVisible());
    EXPECT_TRUE(guest->getHighlight()->isVisible());
    guest->updateHover(false, false);
    frame(0.01f);
    EXPECT_TRUE(guest->getWarning()->isVisible());
}

TEST_F(Customer, TwoOrdersShowTheFirstInBubbleTwoAndTheSecondInBubbleOneWithoutOrderingAgain) {
    cTable* table = makeTable(4);
    auto* guest = seatGuest(table, {ITEM_DRINK, ITEM_CAKE});
    EXPECT_EQ(guest->getMoney(), 30);
    table->setState(ITEM_ORDER_TAKEN);
    runUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ITEM; }, 5.0f);
    EXPECT_EQ(table->getSecondItem(), ITEM_DRINK);
    EXPECT_EQ(table->getState(), ITEM_DRINK);
    run(0.5f);
    table->setState(0);   // the drink is delivered
    EXPECT_EQ(guest->getStage(), STAGE_ORDERING);
    frame(0.01f);
    EXPECT_EQ(guest->getStage(), STAGE_WAITING_FOR_ITEM) << "the second order needs no ordering time";
    EXPECT_EQ(table->getState(), ITEM_CAKE);
    EXPECT_EQ(table->getCloud()->getFirstItem()->getState(), ITEM_CAKE);
    EXPECT_EQ(sound->count(kMenuDown), 1);
    table->setState(0);
    EXPECT_EQ(guest->getStage(), STAGE_LEAVING_HAPPY);
}

TEST_F(Customer, AHappyGuestPlaysItsExitThenFadesOutAndIsDeleted) {
    cTable* table = makeTable(1);
    auto* guest = seatGuest(table, {ITEM_DRINK});
    table->setState(ITEM_ORDER_TAKEN);
    runUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ITEM; }, 5.0f);
    table->setState(0);
    EXPECT_EQ(guest->getStage(), STAGE_LEAVING_HAPPY);
    EXPECT_EQ(guest->getAnimationIndex(), ANIM_EXIT_HAPPY);
    EXPECT_FALSE(guest->getMoodPicture()->isVisible());
    EXPECT_NE(statistics->moodLogText().find("OOOOOOOO"), std::string::npos);
    run(0.3f);
    EXPECT_EQ(guest->getPosition(), cVector2(100, 250)) << "still playing its exit";
    run(0.2f);
    EXPECT_LT(guest->getPosition().x, 100.0f);
    const float t = runUntil([&] { return table->getCustomer() == nullptr; }, 2.0f);
    EXPECT_LT(t, 0.6f);
    EXPECT_TRUE(prices->penalties.empty());
}

TEST_F(Customer, MissingTimesNeitherHangNorGiveNaN) {
    replaceIni("Config/Game/c_01.ini", "[COMMON]\nwait_time=\"40\"\n[EXIT_HAPPY]\nanim_looped=\"0\"\n");
    makeBar()->mode = true;
    cTable* table = makeTable(1);
    auto* guest = seatGuest(table, {ITEM_DRINK}, 0, false);
    frame(0.01f);
    EXPECT_EQ(guest->getStage(), STAGE_WAITING_FOR_ORDER) << "no fade time: in at once";
    EXPECT_FALSE(std::isnan(guest->getPosition().x));
    table->setState(ITEM_ORDER_TAKEN);
    frame(0.01f);
    EXPECT_EQ(guest->getStage(), STAGE_WAITING_FOR_ITEM) << "no bonus ordering time: it ends next frame";
    table->setState(0);
    run(0.05f);
    EXPECT_EQ(table->getCustomer(), nullptr);
}

TEST(RandomInt, DrawsInTheInclusiveRangeAndAnEmptyRangeGivesItsLowEnd) {
    rwSrand(7);
    for (int i = 0; i < 200; ++i) {
        const int32_t v = characters::randomInt(1, 3);
        EXPECT_GE(v, 1);
        EXPECT_LE(v, 3);
    }
    EXPECT_EQ(characters::randomInt(5, 4), 5);
    EXPECT_EQ(characters::randomInt(2, 2), 2);
    EXPECT_EQ(characters::toIntClamped(1e20f), INT32_MAX);
    EXPECT_EQ(characters::toIntClamped(NAN), 0);
}

}  // namespace
