// The customer generator: order codes by installed stations on seeded draws, reading the
// level script, seating by line timing and free tables, the bonus-mode pull, the thief timer
// and the level goals.

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "engine/core/cXmlNode.h"
#include "game/characters/cCustomerGenerator.h"
#include "game/characters/cThief.h"
#include "tests/game/characters/CharacterTestSupport.h"

using namespace characters_test;
using world_textures::Upgrades;

namespace {

Upgrades stations(bool s1, bool s2, bool s3, bool cotton2 = false) {
    Upgrades u;
    u.sauce1 = s1 ? 1 : 0;
    u.sauce2 = s2 ? 2 : 0;
    u.sauce3 = s3 ? 1 : 0;
    u.cotton2 = cotton2 ? 1 : 0;
    return u;
}

std::set<int32_t> outcomes(int32_t code, const Upgrades& u) {
    std::set<int32_t> seen;
    for (int i = 0; i < 300; ++i) seen.insert(cCustomerGenerator::orderToItem(code, u));
    return seen;
}

TEST(OrderToItem, GivesTheItemsTheInstalledStationsCanMake) {
    struct Case {
        int32_t code;
        Upgrades stations;
        std::set<int32_t> items;
    };
    const Upgrades none = stations(false, false, false);
    const Upgrades all = stations(true, true, true);
    const Case cases[] = {
        {1, none, {2}},
        {2, none, {4}},
        {2, stations(false, false, false, true), {4, 5}},
        {3, none, {6}},
        {4, none, {7}},
        {5, none, {1}},
        {6, none, {3}},
        {7, all, {11}},
        {8, all, {12}},
        {9, none, {11}},
        {9, all, {13, 15, 17}},
        {10, stations(false, true, false), {16}},
        {11, stations(false, true, false), {15}},
        {11, none, {11}},
        {12, stations(false, true, false), {16}},
        {12, none, {12}},
        {11, all, {19, 21, 23}},
        {11, stations(true, true, false), {19}},
        {17, stations(true, false, true), {37}},
        {18, stations(false, true, true), {36}},
        {19, all, {39}},
        {21, stations(false, false, true), {45}},
        {24, stations(false, true, true), {50}},
        {0, all, {0}},
        {25, all, {0}},
        {-3, all, {0}},
    };
    rwSrand(1);
    for (const Case& c : cases) EXPECT_EQ(outcomes(c.code, c.stations), c.items) << "code " << c.code;
}

TEST(OrderToItem, DrawsOneRandomNumberPerPickWithPairsEnteredTwice) {
    const int32_t pairs[6] = {19, 23, 19, 21, 23, 21};   // station 1: 1+2, 3+1; station 2: 1+2, 2+3; station 3 ...
    for (uint32_t seed : {3u, 17u, 99u, 1234u}) {
        rwSrand(seed);
        const int r = rwRand();
        rwSrand(seed);
        EXPECT_EQ(cCustomerGenerator::orderToItem(11, stations(true, true, true)), pairs[r % 6]) << seed;
        rwSrand(seed);
        EXPECT_EQ(cCustomerGenerator::orderToItem(2, stations(false, false, false, true)), r % 2 == 1 ? 5 : 4);
        rwSrand(seed);
        const int32_t single[3] = {27, 29, 31};
        EXPECT_EQ(cCustomerGenerator::orderToItem(15, stations(true, true, true)), single[r % 3]);
    }
    EXPECT_EQ(cCustomerGenerator::typeToKind(8), 8);
    for (int32_t t : {0, 9, -1}) EXPECT_EQ(cCustomerGenerator::typeToKind(t), 0);
}

class Generator : public CharacterTest {
protected:
    cCustomerGenerator* generator = nullptr;
    cTable* tables[6] = {};
    std::unique_ptr<cXmlNode> script;

    void SetUp() override {
        CharacterTest::SetUp();
        if (HasFatalFailure()) return;
        look.upgrades.sauce2 = 1;
        generator = new cCustomerGenerator(level);
        for (int n = 0; n < 6; ++n) {
            tables[n] = makeTable(n + 1);
            generator->addTable(tables[n]);
        }
    }
    void load(const std::string& attributes, const std::string& lines) {
        const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><Level_1 " + attributes + ">" + lines +
                                 "</Level_1>";
        script = cXmlNode::fromBytes(file_test::utf16(widen(text)).data(), file_test::utf16(widen(text)).size());
        generator->loadScript(*script);
    }
    static std::string human(int n, const std::string& attributes) {
        return "<Human_" + std::to_string(n) + " " + attributes + "/>";
    }
};

TEST_F(Generator, ReadsEveryLineUntilAGapAndLeavesOutGuestsWithoutAnOrder) {
    load("", "<Line_1>" + human(1, "type=\"1\" order_1=\"5\" order_2=\"11\" time=\"2\" abs_time=\"3\" stop=\"1\"") +
                 human(2, "order_1=\"1\"") + human(4, "order_1=\"1\"") + "</Line_1>" +
                 "<Line_4>" + human(1, "order_1=\"99\" order_2=\"0\"") + human(2, "type=\"12\" order_2=\"6\"") +
                 "</Line_4><Line_7>" + human(1, "order_1=\"1\"") + "</Line_7>");
    EXPECT_EQ(generator->countWaitingCustomers(), 3);
    ASSERT_EQ(generator->getLine(0).size(), 2u);
    const cCustomer* first = generator->getLine(0).front();
    EXPECT_EQ(first->getCustomerKind(), 1);
    EXPECT_EQ(first->getOrders(), (std::deque<int32_t>{ITEM_DRINK, 15})) << "sauce 2 is the one installed";
    EXPECT_FLOAT_EQ(first->getArrivalDelay(), 2.0f);
    EXPECT_FLOAT_EQ(first->getAbsTime(), 3.0f);
    EXPECT_EQ(first->getMoney(), 160);
    EXPECT_FALSE(first->isVisible());
    ASSERT_EQ(generator->getLine(3).size(), 1u) << "the guest ordering nothing is left out";
    EXPECT_EQ(generator->getLine(3).front()->getCustomerKind(), 0);
    EXPECT_EQ(generator->getLine(3).front()->getOrders(), (std::deque<int32_t>{ITEM_SNACK}));
    EXPECT_FALSE(generator->isThiefLevel());
}

TEST_F(Generator, ALineSeatsItsGuestsByTheirTimesWhenTheTableIsFree) {
    load("", "<Line_3>" + human(1, "order_1=\"5\" time=\"5\"") + human(2, "order_1=\"1\" time=\"10\"") + "</Line_3>");
    cTable* table = tables[2];
    const float seatedAt = runUntil([&] { return table->getCustomer() != nullptr; }, 10.0f);
    EXPECT_NEAR(seatedAt, 5.0f, 0.015f);
    cCustomer* guest = table->getCustomer();
    EXPECT_EQ(guest->getMood(), 8);
    EXPECT_EQ(generator->countWaitingCustomers(), 1);
    // Served at once: it leaves and its money waits on the table.
    runUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ORDER; }, 2.0f);
    table->setState(ITEM_ORDER_TAKEN);
    runUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ITEM; }, 5.0f);
    table->setState(0);
    const float served = seatedAt + 0.5f + 4.0f;
    run(10.2f - (served - seatedAt));
    EXPECT_EQ(table->getCustomer(), nullptr);
    EXPECT_EQ(table->getState(), ITEM_MONEY);
    EXPECT_EQ(generator->countWaitingCustomers(), 1) << "due after 10 s, but the money is still there";
    EXPECT_FLOAT_EQ(generator->getLine(2).front()->getArrivalDelay(), 0.0f);
    table->setState(0);   // collected
    frame(0.01f);
    EXPECT_NE(table->getCustomer(), nullptr);
    EXPECT_EQ(generator->countWaitingCustomers(), 0);
}

TEST_F(Generator, NothingMovesWhileReleasingIsOffAndPatientGuestsWaitLong) {
    load("", "<Line_1>" + human(1, "order_1=\"5\" time=\"1\"") + "</Line_1><Line_2>" + human(1, "order_1=\"5\" time=\"1\"") +
                 "</Line_2>");
    generator->setSpawning(false);
    run(2.0f);
    EXPECT_EQ(generator->countWaitingCustomers(), 2);
    EXPECT_FLOAT_EQ(generator->getLine(0).front()->getArrivalDelay(), 1.0f);
    generator->setSpawning(true);
    generator->setPatientCustomers(true);
    run(1.01f);
    ASSERT_NE(tables[0]->getCustomer(), nullptr);
    EXPECT_FLOAT_EQ(tables[0]->getCustomer()->getWaitStep(), 1000000.0f);
}

TEST_F(Generator, BonusModeBringsTheNextGuestForwardWhileNobodyIsServed) {
    load("", "<Line_2>" + human(1, "order_1=\"5\" time=\"30\"") + "</Line_2><Line_5>" +
                 human(1, "order_1=\"5\" time=\"12\"") + "</Line_5>");
    makeBar()->mode = true;
    frame(0.01f);
    EXPECT_NE(tables[4]->getCustomer(), nullptr) << "the smallest delay comes at once";
    ASSERT_EQ(generator->getLine(1).size(), 1u);
    EXPECT_NEAR(generator->getLine(1).front()->getArrivalDelay(), 18.0f - 0.01f, 1e-4f);
    frame(0.01f);
    EXPECT_NEAR(generator->getLine(1).front()->getArrivalDelay(), 18.0f - 0.02f, 1e-4f)
        << "a guest at a table stops the pull";
    bar->mode = false;
}

TEST_F(Generator, TheThiefTimerRunsOnlyWhileMoneyLiesUnattendedAndNoThiefIsOut) {
    load("is_thief=\"1\" min_thief_time=\"20\" max_thief_time=\"40\" thief_appear_time=\"6\" thief_count_pnt=\"3\"", "");
    run(1.0f);
    EXPECT_FLOAT_EQ(generator->getThiefTimer(), 0.0f) << "no money anywhere";
    rwSrand(77);
    const int r = rwRand();
    rwSrand(77);
    tables[3]->setState(ITEM_MONEY);
    frame(0.01f);
    ASSERT_EQ(getThieves().size(), 1u) << "the first comes at once";
    EXPECT_FLOAT_EQ(generator->getThiefTimer(), float(200000 + r) / 10000.0f);
    EXPECT_GE(generator->getThiefTimer(), 20.0f);
    EXPECT_LE(generator->getThiefTimer(), 23.2767f);
    const float drawn = generator->getThiefTimer();
    tables[5]->setState(ITEM_MONEY);
    run(3.0f);
    EXPECT_FLOAT_EQ(generator->getThiefTimer(), drawn) << "one thief at a time";
    // He takes the money of table 4 and runs off; table 6's money now runs the timer.
    runUntil([] { return getThieves().empty(); }, 20.0f);
    EXPECT_EQ(tables[3]->getState(), 0);
    run(1.0f);
    EXPECT_NEAR(generator->getThiefTimer(), drawn - 1.0f, 0.05f);
    makeBar()->mode = true;
    const float before = generator->getThiefTimer();
    run(1.0f);
    EXPECT_NEAR(generator->getThiefTimer(), before - 0.7f, 0.02f) << "0.7 times as fast in bonus mode";
    bar->mode = false;
    tables[5]->setState(0);
    const float held = generator->getThiefTimer();
    run(1.0f);
    EXPECT_FLOAT_EQ(generator->getThiefTimer(), held);
}

TEST_F(Generator, ThievesNeedAStepCountAndSendThiefGoesForTheFirstMoney) {
    load("is_thief=\"1\" min_thief_time=\"1\" max_thief_time=\"1\"", "");
    tables[1]->setState(ITEM_MONEY);
    run(1.0f);
    EXPECT_TRUE(getThieves().empty()) << "no thief_count_pnt: no thief";
    generator->sendThief();
    ASSERT_EQ(getThieves().size(), 1u);
    auto* thief = static_cast<cThief*>(getThieves().begin()->second);
    EXPECT_EQ(thief->getTable(), tables[1]);
    EXPECT_FLOAT_EQ(thief->getStepPause(), 2.0f);
    EXPECT_EQ(thief->getPath().size(), 3u);
    tables[1]->setState(0);
    generator->sendThief();
    EXPECT_EQ(getThieves().size(), 1u) << "no money: nobody is sent";
}

TEST_F(Generator, GoalsAreThePointsOfTheArrivingGuestsTimesThePacksFactors) {
    load("", "<Line_1>" + human(1, "order_1=\"5\" abs_time=\"100\"") + human(2, "order_1=\"5\" abs_time=\"100.5\"") +
                 "</Line_1>");
    struct Case {
        int32_t points;   // of the one guest that counts (take + deliver + the drink)
        uint32_t minGoal, goal, expert;
        int32_t wantGoal, wantExpert;
    };
    const Case cases[] = {
        {2345, 100, 80, 120, 1800, 2800}, {500, 100, 80, 120, 400, 600}, {999, 100, 100, 150, 1000, 1400},
        {998, 100, 100, 150, 990, 1490},  {0, 100, 80, 120, 0, 0},       {40, 100, 80, 120, 30, 40},
    };
    prices->take = 3;
    prices->deliver = 4;
    for (const Case& c : cases) {
        prices->pricePerId = c.points - 7;
        const cCustomerGenerator::Goals goals = generator->goalsFor(c.minGoal, c.goal, c.expert, 100.0f);
        EXPECT_EQ(goals.goal, c.wantGoal) << c.points;
        EXPECT_EQ(goals.expert, c.wantExpert) << c.points;
    }
    const cCustomerGenerator::Goals kept = generator->goalsFor(0, 1500, 2500, 100.0f);
    EXPECT_EQ(kept.goal, 1500) << "a minimum goal of 0 keeps the pack's goals";
    EXPECT_EQ(kept.expert, 2500);
    prices->pricePerId = 2000000000;
    const cCustomerGenerator::Goals huge = generator->goalsFor(1, 4000000000u, 4000000000u, 1000.0f);
    EXPECT_GT(huge.goal, 0) << "held within the int range";
}

}  // namespace
