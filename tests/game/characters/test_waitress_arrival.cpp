// What the waitress does on arrival: the action of every kind with her hands empty, one free,
// full and a lone left item; refusals; the tables' road from taking the order to collecting
// the money, with scores and sounds; the end of every arrival; and the marked order clouds.

#include <gtest/gtest.h>

#include "game/effects/cClickEffect.h"
#include "game/restaurant/cCottonStation.h"
#include "tests/game/characters/WaitressTestSupport.h"
#include "tests/game/restaurant/StationTestSupport.h"

using namespace waitress_test;

namespace {

struct ArrivalCase {
    const char* name;
    int32_t kind, state;
    ItemId right, left;
    waitress_rules::TableStates tables;
    std::vector<int32_t> calls;   // the values she passes to the target, in order
    ItemId rightAfter, leftAfter;
    const char* sound = nullptr;
    bool refuse = false;
};

TEST_F(WaitressTest, ArrivalActionOfEveryKind) {
    const std::vector<ArrivalCase> cases = {
        {"trash, both hands", KIND_TRASH, 0, 1, 2, {}, {0, 0}, 0, 0},
        {"trash, one item", KIND_TRASH, 0, 3, 0, {}, {0}, 0, 0},
        {"trash, empty hands: not told", KIND_TRASH, 0, 0, 0, {}, {}, 0, 0},
        {"coffee ready", KIND_COFFEE_STATION, 6, 0, 0, {}, {0}, 6, 0},
        {"coffee ready, one free hand", KIND_COFFEE_STATION, 6, 1, 0, {}, {0}, 1, 6},
        {"coffee ready, hands full", KIND_COFFEE_STATION, 6, 1, 2, {}, {}, 1, 2},
        {"coffee machine idle: brew", KIND_COFFEE_STATION, 0, 1, 2, {}, {0}, 1, 2},
        {"cake", KIND_CAKE_STATION, 0, 0, 0, {}, {0}, 2, 0},
        {"cake, hands full", KIND_CAKE_STATION, 0, 1, 3, {}, {}, 1, 3},
        {"snack", KIND_SNACK_STATION, 0, 1, 0, {}, {0}, 1, 3},
        {"drink", KIND_DRINK_STATION, 0, 0, 0, {}, {0}, 1, 0},
        {"cream on two coffees: the right one", KIND_CREAM_STATION, 0, 6, 6, {}, {0}, 7, 6},
        {"cream on the left coffee", KIND_CREAM_STATION, 0, 1, 6, {}, {0}, 1, 7},
        {"cream without coffee", KIND_CREAM_STATION, 0, 1, 2, {}, {}, 1, 2},
        {"oven: take the baked sub", KIND_OVEN, 14, 1, 0, {}, {0}, 1, 14, kTakeSound},
        {"oven: full hands, nobody wants either baked", KIND_OVEN, 14, 11, 13, {20}, {}, 11, 13},
        {"oven: full hands, swap the wanted one", KIND_OVEN, 14, 11, 13, {0, 14}, {0, 13}, 11, 14, kTakeSound},
        {"oven: swap refused", KIND_OVEN, 14, 11, 13, {14}, {0, 13}, 11, 13, nullptr, true},
        {"oven: put the raw sub", KIND_OVEN, 0, 11, 0, {}, {11}, 0, 0},
        {"oven: put the wanted one", KIND_OVEN, 0, 11, 13, {14}, {13}, 11, 0},
        {"oven: put refused", KIND_OVEN, 0, 11, 13, {}, {11}, 11, 13, nullptr, true},
        {"oven: nothing to put", KIND_OVEN, 0, 1, 12, {}, {}, 1, 12},
        {"bread type: order a sub", KIND_SUB, 0, 1, 2, {}, {0}, 1, 2},
        {"sauce on the right sub", KIND_SOUSE_STATION, ITEM_SAUCE_1, 11, 0, {}, {0}, 13, 0},
        {"sauce for the table's sub", KIND_SOUSE_STATION, ITEM_SAUCE_2, 13, 11, {0, 19}, {0}, 19, 11},
        {"sauce fits nothing", KIND_SOUSE_STATION, ITEM_SAUCE_1, 13, 1, {}, {}, 13, 1},
        {"cotton choice", KIND_COTTON_CANDY, 0, 1, 2, {}, {0}, 1, 2},
        {"cotton choice refused", KIND_COTTON_CANDY, 0, 0, 0, {}, {0}, 0, 0, nullptr, true},
        {"cotton item", KIND_COTTON_ITEM, 5, 1, 0, {}, {0}, 1, 5, kTakeSound},
        {"cotton item empty", KIND_COTTON_ITEM, 0, 0, 0, {}, {}, 0, 0},
        {"cotton item, hands full", KIND_COTTON_ITEM, 5, 1, 2, {}, {}, 1, 2},
        {"cotton stand", KIND_COTTON_STATION, 4, 0, 0, {}, {0}, 4, 0, kTakeSound},
        {"cotton stand, hands full", KIND_COTTON_STATION, 4, 1, 2, {}, {}, 1, 2},
        {"no action: item holder", KIND_ITEM_HOLDER, 3, 0, 0, {}, {}, 0, 0},
        {"no action: guest", KIND_CUSTOMER, 3, 0, 0, {}, {}, 0, 0},
        {"no action: oven progress", KIND_OVEN_PROGRESS, 14, 0, 0, {}, {}, 0, 0},
        {"no action: sub station", KIND_SUB_STATION, 14, 0, 0, {}, {}, 0, 0},
    };
    makeTables();
    makeWaitress(kT1);
    for (const ArrivalCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (int n = 0; n < 3; ++n) tables[n]->setState(c.tables[n]);
        hold(c.right, c.left);
        sound->played.clear();
        FakeTarget* t = target(c.kind, kT1, c.state);
        t->refuse = c.refuse;
        clickHere(t);
        EXPECT_EQ(t->calls, c.calls);
        EXPECT_EQ(hands(), std::make_pair(c.rightAfter, c.leftAfter));
        EXPECT_EQ(waitress->getHandHolder(0)->getState(), c.rightAfter) << "the holder shows the hand";
        EXPECT_EQ(waitress->getHandHolder(1)->getState(), c.leftAfter);
        EXPECT_EQ(sound->played, c.sound ? std::vector<std::string>{c.sound} : std::vector<std::string>{});
        EXPECT_EQ(waitress->getCurrentTarget(), nullptr);
        EXPECT_EQ(t->shownPointers(), 0);
        EXPECT_EQ(waitress->getAnimationCode() % 9, 0);
        delete t;
    }
}

TEST_F(WaitressTest, ALoneLeftItemMovesToTheRightAfterEveryArrival) {
    makeWaitress(kT1);
    hold(0, ITEM_CAKE);
    clickHere(target(KIND_ITEM_HOLDER, kT1));
    EXPECT_EQ(hands(), std::make_pair(ITEM_CAKE, 0));
    EXPECT_EQ(waitress->getAnimationCode(), 9);
    hold(ITEM_SNACK, ITEM_CAKE);
    clickHere(target(KIND_TRASH, kT1));
    EXPECT_EQ(hands(), std::make_pair(0, 0));
}

TEST_F(WaitressTest, CottonPartsRefuseWhileTheStandWorks) {
    using namespace station_test;
    services.addTexture("x.dds", 100, 80);
    services.addTexture("light.dds", 32, 32);
    addIni("Config/Game/o_cotton_st.ini", kCottonStandText);
    addIni("Config/Game/o_cotton.ini", kCottonText);
    addIni("Config/Game/o_cotton_item.ini", kCottonItemText);
    auto* stand = new cCottonStation(level);
    makeWaitress(kT1);
    struct Case {
        int32_t kind;
        int phase;
        bool takes;
    };
    const Case cases[] = {{KIND_COTTON_ITEM, 1, false}, {KIND_COTTON_ITEM, 4, true}, {KIND_COTTON_ITEM, 2, true},
                          {KIND_COTTON_STATION, 1, false}, {KIND_COTTON_STATION, 4, false},
                          {KIND_COTTON_STATION, 2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + " phase " + std::to_string(c.phase));
        hold(0, 0);
        stand->setPhase(c.phase);
        FakeTarget* t = target(c.kind, kT1, ITEM_COTTON_CANDY_1);
        clickHere(t);
        EXPECT_EQ(hands().first, c.takes ? ITEM_COTTON_CANDY_1 : 0);
        EXPECT_EQ(t->calls.size(), c.takes ? 1u : 0u);
        delete t;
    }
    // In bonus mode every arrival flashes its target, the cotton parts the stand itself.
    bar->mode = true;
    stand->setPhase(0);
    FakeTarget* choice = target(KIND_COTTON_CANDY, kT1);
    FakeTarget* drink = target(KIND_DRINK_STATION, kT1);
    clickHere(choice);
    EXPECT_EQ(choice->clickEffects, 0);
    EXPECT_EQ(live<cClickEffect>(), 1u);
    hold(ITEM_DRINK, ITEM_DRINK);
    clickHere(drink);
    EXPECT_EQ(drink->clickEffects, 1) << "also when the action did nothing";
    setFullEffects(false);
    clickHere(drink);
    EXPECT_EQ(drink->clickEffects, 1);
}

TEST_F(WaitressTest, TablesFromTheOrderToTheMoney) {
    makeTables();
    makeWaitress(kT1);
    FakeTarget* drinks = target(KIND_DRINK_STATION, kS1);

    // Before the guest has sat down the click is spent.
    cCustomer* guest = seatGuest(tables[0], {ITEM_DRINK}, 0, false);
    frame(0.01f);
    ASSERT_EQ(tables[0]->getState(), ITEM_WAITING);
    ASSERT_NE(guest->getStage(), STAGE_WAITING_FOR_ORDER);
    clickHere(tables[0]);
    EXPECT_NE(tables[0]->getState(), ITEM_ORDER_TAKEN);
    EXPECT_TRUE(scoring.awards.empty());
    EXPECT_TRUE(waitress->getQueue().empty());

    runUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ORDER; }, 2.0f);
    ASSERT_EQ(tables[0]->getState(), ITEM_WAITING);
    clickHere(tables[0]);
    EXPECT_EQ(tables[0]->getState(), ITEM_ORDER_TAKEN);
    ASSERT_EQ(scoring.awards.size(), 1u);
    EXPECT_EQ(scoring.awards[0].what, 't');
    EXPECT_EQ(scoring.awards[0].position, tables[0]->getPosition());

    runUntil([&] { return tables[0]->getState() == ITEM_DRINK; }, 6.0f);
    ASSERT_EQ(tables[0]->getState(), ITEM_DRINK);
    // A drink in the right hand, a cake in the left: the drink is served and the cake moves
    // to the right hand.
    hold(0, ITEM_CAKE);
    waitress->addTarget(drinks);
    waitress->addTarget(tables[0]);
    EXPECT_TRUE(guest->isWaitressComing() == false) << "she holds no drink yet";
    runUntil([&] { return waitress->getHandItem(1) == ITEM_DRINK || hands().first == ITEM_DRINK; }, 3.0f);
    EXPECT_EQ(hands(), std::make_pair(ITEM_DRINK, ITEM_CAKE));
    runUntil([&] { return waitress->getQueue().empty() && !waitress->getCurrentTarget(); }, 3.0f);
    EXPECT_EQ(hands(), std::make_pair(ITEM_CAKE, 0));
    ASSERT_EQ(scoring.awards.size(), 2u);
    EXPECT_EQ(scoring.awards[1].what, 'd');

    runUntil([&] { return tables[0]->getState() == ITEM_MONEY; }, 5.0f);
    ASSERT_EQ(tables[0]->getState(), ITEM_MONEY);
    const int32_t money = tables[0]->getMoneyValue();
    sound->played.clear();
    clickHere(tables[0]);
    EXPECT_EQ(tables[0]->getState(), 0);
    ASSERT_EQ(scoring.awards.size(), 3u);
    EXPECT_EQ(scoring.awards[2].what, 'p');
    EXPECT_EQ(scoring.awards[2].amount, money);
    EXPECT_GT(money, 0);
    EXPECT_EQ(sound->played, std::vector<std::string>{kMoneyTakeSound});

    // A table with nothing to do, or wanting what she does not hold: nothing.
    clickHere(tables[1]);
    tables[2]->setState(ITEM_SNACK);
    clickHere(tables[2]);
    EXPECT_EQ(tables[2]->getState(), ITEM_SNACK);
    EXPECT_EQ(scoring.awards.size(), 3u);
    EXPECT_EQ(hands(), std::make_pair(ITEM_CAKE, 0));
}

TEST_F(WaitressTest, CloudsOfTablesWantingWhatSheHoldsOrFetchesAreMarked) {
    makeTables();
    makeWaitress(kT1);
    tables[0]->setState(ITEM_DRINK);
    tables[1]->setState(ITEM_CAKE);
    tables[2]->setState(14);
    auto marked = [&] {
        return std::vector<bool>{tables[0]->getCloud()->isHighlighted(), tables[1]->getCloud()->isHighlighted(),
                                 tables[2]->getCloud()->isHighlighted()};
    };
    frame(0.01f);
    EXPECT_EQ(marked(), (std::vector<bool>{false, false, false}));
    FakeTarget* drinks = target(KIND_DRINK_STATION, kS3);
    waitress->addTarget(drinks);
    frame(0.01f);
    EXPECT_EQ(marked(), (std::vector<bool>{true, false, false})) << "walking to the drinks";
    run(0.5f);
    EXPECT_FALSE(waitress->getWaypoints().empty());
    EXPECT_EQ(marked(), (std::vector<bool>{true, false, false}));
    // Queued: a sauce station whose sauce turns her raw sub into what table 3 will want baked.
    FakeTarget* sauce = target(KIND_SOUSE_STATION, kS3, ITEM_SAUCE_1);
    hold(11, 0);
    waitress->addTarget(sauce);
    frame(0.01f);
    EXPECT_EQ(marked(), (std::vector<bool>{true, false, true}));
    // An oven offering a baked sub, the cake in a hand.
    hold(ITEM_CAKE, 0);
    frame(0.01f);
    EXPECT_EQ(marked(), (std::vector<bool>{true, true, false}));
    waitress->addTarget(target(KIND_OVEN, kS3, 14));
    frame(0.01f);
    EXPECT_EQ(marked(), (std::vector<bool>{true, true, true}));
}

}  // namespace
