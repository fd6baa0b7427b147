// The tutorial scripts of world 1, levels 1 to 4, driven frame by frame on a fake restaurant:
// what each frame's state lets through, what the script does (blocks, release, patience,
// tutorial mode, hints), what stays clickable afterwards, and how each script ends.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "game/characters/cCustomer.h"
#include "game/interface/cTutorial.h"
#include "game/restaurant/ItemId.h"

namespace {

const char* const kStationNames[] = {"cake", "drink", "coffee", "cream", "oven 1", "trash"};

// The restaurant as the scripts see it. Every act is logged in order ("block table 2",
// "unblock sub 1" for index 0, "release on", "next hint", ...); the blocked flags are kept so
// that a test can ask what is clickable. Reading the stage of an absent customer fails the test.
class FakeRestaurant : public cTutorialHost {
public:
    struct Table {
        bool customer = false, blocked = false;
        int32_t stage = STAGE_APPEARING, state = ITEM_NONE;
        float waitTime = -1.0f;
    };
    Table tables[7];  // 1..6
    bool stations[6] = {};  // blocked flags by TutorialStation
    bool subs[3] = {}, places[3] = {};
    int32_t hands[2] = {ITEM_NONE, ITEM_NONE};
    int32_t plates[3] = {ITEM_NONE, ITEM_NONE, ITEM_NONE};
    bool maker = false, brewing = false;
    int oven1 = 0;
    bool spawning = true, patient = false, tutorialMode = false, fastFill = false, frozen = false;
    int hintStep = -1;
    std::vector<std::string> log;

    // The restaurant's changes a test makes.
    void seat(int n, int32_t stage = STAGE_WAITING_FOR_ORDER) {
        tables[n].customer = true;
        tables[n].stage = stage;
    }
    void leave(int n, int32_t state) {
        tables[n].customer = false;
        tables[n].state = state;
    }

    // Everything that can be clicked, as "table 2, cake, sub 1" (tables, stations, subs, plates).
    std::string open() const {
        std::string out;
        auto add = [&](const std::string& s) { out += (out.empty() ? "" : ", ") + s; };
        for (int n = 1; n <= 6; ++n)
            if (!tables[n].blocked) add("table " + std::to_string(n));
        for (int s = 0; s < 6; ++s)
            if (!stations[s]) add(kStationNames[s]);
        for (int i = 0; i < 3; ++i)
            if (!subs[i]) add("sub " + std::to_string(i + 1));
        for (int i = 0; i < 3; ++i)
            if (!places[i]) add("plate " + std::to_string(i + 1));
        return out;
    }
    std::string takeLog() {
        std::string out;
        for (const std::string& s : log) out += (out.empty() ? "" : "; ") + s;
        log.clear();
        return out;
    }

    bool hasCustomer(int n) const override { return tables[n].customer; }
    int32_t getCustomerStage(int n) const override {
        if (!tables[n].customer) ADD_FAILURE() << "the stage of table " << n << "'s absent customer was read";
        return tables[n].stage;
    }
    int32_t getTableState(int n) const override { return tables[n].state; }
    bool isTableFree(int n) const override { return !tables[n].customer && tables[n].state == ITEM_NONE; }
    int32_t getHandItem(int hand) const override { return hands[hand]; }
    bool isMakerWorking() const override { return maker; }
    int32_t getPlaceItem(int place) const override { return plates[place]; }
    bool isCoffeeBrewing() const override { return brewing; }
    int getOvenPhase(int oven) const override { return oven == 1 ? oven1 : -1; }

    void setTableBlocked(int n, bool b) override {
        tables[n].blocked = b;
        act(b, "table " + std::to_string(n));
    }
    void setStationBlocked(TutorialStation s, bool b) override {
        stations[int(s)] = b;
        act(b, kStationNames[int(s)]);
    }
    void setAllTargetsBlocked(bool b) override {
        for (int n = 1; n <= 6; ++n) tables[n].blocked = b;
        for (bool& s : stations) s = b;
        act(b, "all targets");
    }
    void setSubsBlocked(bool b, int index) override { group(subs, b, index, "sub", "subs"); }
    void setPlacesBlocked(bool b, int index) override { group(places, b, index, "plate", "plates"); }
    void setSpawning(bool on) override { flag(spawning, on, "release"); }
    void setPatientCustomers(bool on) override { flag(patient, on, "patient"); }
    void setWaitressTutorialMode(bool on) override { flag(tutorialMode, on, "tutorial mode"); }
    void setCustomerWaitTime(int n, float seconds) override {
        if (!tables[n].customer) ADD_FAILURE() << "a wait time for table " << n << "'s absent customer";
        tables[n].waitTime = seconds;
        char text[32];
        std::snprintf(text, sizeof text, "wait %d %.1f", n, double(seconds));
        log.push_back(text);
    }
    void setFastFill(bool on) override { flag(fastFill, on, "fast fill"); }
    void setBonusFrozen(bool on) override { flag(frozen, on, "bonus frozen"); }
    int getHintStep() const override { return hintStep; }
    void nextHint() override {
        ++hintStep;
        log.push_back("next hint");
    }
    void silentHintStep() override {
        ++hintStep;
        log.push_back("silent step");
    }
    void showHint() override { log.push_back("show hint"); }
    void hideHint() override { log.push_back("hide hint"); }

private:
    void act(bool blocked, const std::string& what) { log.push_back((blocked ? "block " : "unblock ") + what); }
    void flag(bool& target, bool on, const char* what) {
        target = on;
        log.push_back(std::string(what) + (on ? " on" : " off"));
    }
    void group(bool* flags, bool b, int index, const char* one, const char* all) {
        if (index < 0) {
            for (int i = 0; i < 3; ++i) flags[i] = b;
            act(b, all);
        } else {
            flags[index] = b;
            act(b, std::string(one) + " " + std::to_string(index + 1));
        }
    }
};

const float kKeep = -1.0f;  // a countdown column that is not checked

// One frame of a script: the restaurant's change before it, the game-time step, then the step
// reached, the acts of that frame in order, what is clickable afterwards and the countdown.
struct Frame {
    const char* what;
    std::function<void(FakeRestaurant&)> change;
    float dt;
    int step;
    std::string acts;
    std::string open;
    float countdown = kKeep;
};

const std::string kNothing = "";
const std::string kAll = "table 1, table 2, table 3, table 4, table 5, table 6, cake, drink, coffee, cream, oven 1, "
                         "trash, sub 1, sub 2, sub 3, plate 1, plate 2, plate 3";
const std::string kFinale = "unblock all targets; unblock plates; unblock subs; patient off; release on; "
                            "tutorial mode off; next hint";

void none(FakeRestaurant&) {}

class TutorialTest : public ::testing::Test {
protected:
    FakeRestaurant r;
    cTutorial tutorial;

    void install(int level) {
        tutorial = cTutorial::forLevel(1, level, true);
        ASSERT_TRUE(tutorial.isInstalled());
        tutorial.setUp(r);
        r.takeLog();
    }
    void play(const std::vector<Frame>& frames) {
        for (const Frame& f : frames) {
            SCOPED_TRACE(f.what);
            f.change(r);
            tutorial.update(r, false, f.dt);
            EXPECT_EQ(r.hintStep, f.step);
            EXPECT_EQ(r.takeLog(), f.acts);
            EXPECT_EQ(r.open(), f.open);
            if (f.countdown != kKeep) EXPECT_NEAR(tutorial.getCountdown(), f.countdown, 1e-4f);
        }
    }
    // A few more frames after the end: nothing happens any more.
    void expectEnded() {
        EXPECT_FALSE(tutorial.isInstalled());
        const int step = r.hintStep;
        r.seat(5, STAGE_ORDERING);
        for (int i = 0; i < 3; ++i) tutorial.update(r, false, 1.0f);
        EXPECT_EQ(r.takeLog(), "");
        EXPECT_EQ(r.hintStep, step);
    }
};

TEST_F(TutorialTest, OnlyWorldOneInNormalModeInstallsTheTutorialLevels) {
    struct Case {
        int world, level;
        bool normal;
        int installed;  // the script's level, 0 for none
    };
    for (const Case& c : {Case{1, 1, true, 1}, Case{1, 2, true, 2}, Case{1, 3, true, 3}, Case{1, 4, true, 4},
                          Case{1, 5, true, 0}, Case{1, 0, true, 0}, Case{1, 1, false, 0}, Case{1, 4, false, 0},
                          Case{2, 1, true, 0}, Case{2, 21, true, 0}}) {
        SCOPED_TRACE("world " + std::to_string(c.world) + " level " + std::to_string(c.level) +
                     (c.normal ? " normal" : " single pack"));
        cTutorial t = cTutorial::forLevel(c.world, c.level, c.normal);
        EXPECT_EQ(t.isInstalled(), c.installed != 0);
        EXPECT_EQ(t.getLevel(), c.installed);
        EXPECT_EQ(t.skipsBonusCount(), c.installed >= 1 && c.installed <= 3);
        // Without a script the set-up and the frames touch nothing.
        if (!c.installed) {
            t.setUp(r);
            t.update(r, false, 1.0f);
            EXPECT_EQ(r.takeLog(), "");
        }
    }
}

TEST_F(TutorialTest, SetUpBlocksEverythingAndLevelOneHoldsTheCustomersBack) {
    for (int level = 1; level <= 4; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        r = FakeRestaurant();
        cTutorial t = cTutorial::forLevel(1, level, true);
        t.setUp(r);
        std::string expected = "fast fill on; tutorial mode on; patient on; block plates; block subs; block all targets";
        if (level == 1) expected += "; release off";
        EXPECT_EQ(r.takeLog(), expected);
        EXPECT_EQ(r.open(), kNothing);
        EXPECT_FLOAT_EQ(t.getCountdown(), level == 1 ? 1.0f : 0.0f);
        EXPECT_EQ(r.spawning, level != 1);
    }
}

TEST_F(TutorialTest, NothingRunsWhileTheLogicIsPaused) {
    install(1);
    for (int i = 0; i < 10; ++i) tutorial.update(r, true, 1.0f);
    EXPECT_FLOAT_EQ(tutorial.getCountdown(), 1.0f) << "the countdown stands";
    EXPECT_EQ(r.hintStep, -1);
    // Later in the script: a state that would advance it does nothing while paused.
    install(2);
    r.seat(2);
    tutorial.update(r, true, 0.0f);
    EXPECT_EQ(r.takeLog(), "");
    tutorial.update(r, false, 0.0f);
    EXPECT_EQ(r.hintStep, 0);
}

TEST_F(TutorialTest, LevelOneTeachesTheSubTheMoneyAndTheTrash) {
    install(1);
    play({
        {"the first second", none, 0.5f, -1, "", kNothing, 0.5f},
        {"countdown out: the first sub", none, 0.5f, 0, "unblock sub 1; next hint", "sub 1", 0.0f},
        {"the cook works", [](auto& r) { r.maker = true; }, 0.1f, 0, "block subs; hide hint", kNothing},
        {"(a) and (b) together: the sub lands on the plate",
         [](auto& r) { r.plates[0] = 11; }, 0.1f, 1, "block subs; hide hint; next hint", kNothing, 3.0f},
        {"nobody is released for 3 s", [](auto& r) { r.maker = false; }, 2.9f, 1, "", kNothing},
        {"countdown out: release, every frame", none, 0.2f, 1, "release on", kNothing, 0.0f},
        {"still released", none, 0.1f, 1, "release on", kNothing},
        {"a guest at table 2: release stops", [](auto& r) { r.seat(2); }, 0.1f, 2,
         "release on; release off; unblock table 2; next hint", "table 2"},
        {"the guest orders", [](auto& r) { r.tables[2].stage = STAGE_ORDERING; }, 0.1f, 3,
         "block table 2; next hint", kNothing},
        {"a customer of another table changes nothing", [](auto& r) { r.seat(3, STAGE_WAITING_FOR_ITEM); }, 0.1f,
         3, "", kNothing},
        {"the guest waits for the food",
         [](auto& r) {
             r.tables[3].customer = false;
             r.tables[2].stage = STAGE_WAITING_FOR_ITEM;
         },
         0.1f, 4, "unblock sub 2; next hint", "sub 2"},
        {"the cook works", [](auto& r) { r.maker = true; }, 0.1f, 5, "block subs; next hint", kNothing},
        {"still working", none, 1.0f, 5, "", kNothing},
        {"the sub is made", [](auto& r) { r.maker = false; }, 0.1f, 6, "unblock plate 1; next hint", "plate 1"},
        {"a bread-1 sub is not the one", [](auto& r) { r.hands[0] = 11; }, 0.1f, 6, "", "plate 1"},
        {"the bread-2 sub in the left hand", [](auto& r) { r.hands[1] = 25; }, 0.1f, 7,
         "block plates; unblock table 2; next hint", "table 2"},
        {"the guest leaves happy", [](auto& r) {
             r.hands[0] = r.hands[1] = 0;
             r.tables[2].stage = STAGE_LEAVING_HAPPY;
         }, 0.1f, 7, "block table 2", kNothing},
        {"gone: nothing is read from the empty table", [](auto& r) { r.leave(2, ITEM_NONE); }, 0.1f, 7, "",
         kNothing},
        {"the money lies there", [](auto& r) { r.tables[2].state = ITEM_MONEY; }, 0.1f, 8,
         "unblock table 2; next hint", "table 2"},
        {"money taken", [](auto& r) { r.tables[2].state = ITEM_NONE; }, 0.1f, 9,
         "block table 2; unblock cake; next hint", "cake"},
        {"one cake", [](auto& r) { r.hands[0] = ITEM_CAKE; }, 0.1f, 9, "", "cake"},
        {"two cakes", [](auto& r) { r.hands[1] = ITEM_CAKE; }, 0.1f, 10, "block cake; unblock trash; next hint",
         "trash"},
        {"one hand emptied", [](auto& r) { r.hands[0] = 0; }, 0.1f, 10, "", "trash"},
        {"both hands empty: release, 7 s", [](auto& r) { r.hands[1] = 0; }, 0.1f, 11,
         "block trash; release on; hide hint; silent step", kNothing, 7.0f},
        {"no guest at table 3 yet", none, 1.0f, 11, "", kNothing, 6.0f},
        {"a guest at table 3: everything opens", [](auto& r) { r.seat(3); }, 1.0f, 11,
         "show hint; unblock all targets; unblock plates; unblock subs; tutorial mode off", kAll, 5.0f},
        {"table 4's guest orders: the end",
         [](auto& r) { r.seat(4, STAGE_ORDERING); }, 0.1f, 12,
         "show hint; unblock all targets; unblock plates; unblock subs; tutorial mode off; wait 3 4.0; wait 4 5.0; "
         "next hint; patient off",
         kAll},
    });
    EXPECT_TRUE(r.spawning);
    EXPECT_FALSE(r.patient);
    EXPECT_FALSE(r.tutorialMode);
    EXPECT_TRUE(r.fastFill) << "fast filling stays for the whole level";
    expectEnded();
}

TEST_F(TutorialTest, LevelOneEndsSevenSecondsAfterTheTrashWithoutAnOrder) {
    install(1);
    r.hintStep = 10;
    tutorial.update(r, false, 0.0f);
    EXPECT_EQ(r.takeLog(), "block trash; release on; hide hint; silent step");
    play({
        {"table 3 seated, table 4 empty", [](auto& r) { r.seat(3); }, 6.5f, 11,
         "show hint; unblock all targets; unblock plates; unblock subs; tutorial mode off", kAll, 0.5f},
        {"7 s are over", none, 0.5f, 12,
         "show hint; unblock all targets; unblock plates; unblock subs; tutorial mode off; wait 3 4.0; next hint; "
         "patient off",
         kAll, 0.0f},
    });
    EXPECT_FLOAT_EQ(r.tables[4].waitTime, -1.0f) << "no wait time without a customer";
    expectEnded();

    // When the 7 s run out before table 3 has a guest, the step still waits for that guest.
    r = FakeRestaurant();
    install(1);
    r.hintStep = 11;
    tutorial.update(r, false, 10.0f);
    EXPECT_EQ(r.takeLog(), "");
    EXPECT_TRUE(tutorial.isInstalled());
}

TEST_F(TutorialTest, LevelTwoFollowsTheCoffeeMachinesBrew) {
    install(2);
    play({
        {"waiting for the first guest", none, 1.0f, -1, "", kNothing},
        {"a guest at table 2", [](auto& r) { r.seat(2); }, 0.1f, 0, "release off; unblock table 2; next hint",
         "table 2"},
        {"ordering", [](auto& r) { r.tables[2].stage = STAGE_ORDERING; }, 0.1f, 1, "block table 2; next hint",
         kNothing},
        {"waiting for the coffee", [](auto& r) { r.tables[2].stage = STAGE_WAITING_FOR_ITEM; }, 0.1f, 2,
         "block table 2; unblock coffee; next hint", "coffee"},
        {"the machine is idle", none, 1.0f, 2, "", "coffee"},
        {"a brew starts", [](auto& r) { r.brewing = true; }, 0.1f, 3, "block coffee; next hint", kNothing},
        {"brewing", none, 2.0f, 3, "", kNothing},
        {"the brew ends", [](auto& r) { r.brewing = false; }, 0.1f, 4, "unblock coffee; next hint", "coffee"},
        {"the cup in hand", [](auto& r) { r.hands[0] = ITEM_COFFEE; }, 0.1f, 4,
         "block coffee; unblock table 2; hide hint", "table 2"},
        {"served", [](auto& r) { r.hands[0] = 0; r.tables[2].stage = STAGE_LEAVING_HAPPY; }, 0.1f, 4, "",
         "table 2"},
        {"money on the table", [](auto& r) { r.leave(2, ITEM_MONEY); }, 0.1f, 5, "next hint", "table 2"},
        {"money taken: release", [](auto& r) { r.tables[2].state = ITEM_NONE; }, 0.1f, 6,
         "hide hint; silent step; block table 2; release on", kNothing},
        {"a guest at table 3", [](auto& r) { r.seat(3); }, 0.1f, 6, "unblock table 3; release off; show hint",
         "table 3"},
        {"(a) then (b): ordering", [](auto& r) { r.tables[3].stage = STAGE_ORDERING; }, 0.1f, 7,
         "unblock table 3; release off; show hint; block table 3; next hint", kNothing},
        {"waiting for coffee with cream", [](auto& r) { r.tables[3].stage = STAGE_WAITING_FOR_ITEM; }, 0.1f, 8,
         "block table 3; unblock coffee; next hint", "coffee"},
        {"a brew starts", [](auto& r) { r.brewing = true; }, 0.1f, 9, "block coffee; next hint", kNothing},
        {"the brew ends", [](auto& r) { r.brewing = false; }, 0.1f, 10, "unblock coffee; next hint", "coffee"},
        {"the cup in the left hand", [](auto& r) { r.hands[1] = ITEM_COFFEE; }, 0.1f, 11,
         "block coffee; unblock cream; next hint", "cream"},
        {"cream added", [](auto& r) { r.hands[1] = ITEM_COFFEE_CREAM; }, 0.1f, 12,
         "block cream; unblock table 3; next hint", "table 3"},
        {"served: hands empty", [](auto& r) { r.hands[1] = 0; }, 0.1f, 13, "hide hint; silent step; block table 3",
         kNothing},
        {"the guest eats", none, 3.0f, 13, "", kNothing},
        {"money on table 3", [](auto& r) { r.leave(3, ITEM_MONEY); }, 0.1f, 13, "show hint; unblock table 3",
         "table 3"},
        {"money taken: finale", [](auto& r) { r.tables[3].state = ITEM_NONE; }, 0.1f, 14, kFinale, kAll},
    });
    expectEnded();
}

TEST_F(TutorialTest, LevelThreeBakesTheSubInTheFirstOven) {
    install(3);
    play({
        {"a guest at table 2", [](auto& r) { r.seat(2); }, 0.1f, 0, "release off; unblock table 2; next hint",
         "table 2"},
        {"ordering", [](auto& r) { r.tables[2].stage = STAGE_ORDERING; }, 0.1f, 1, "block table 2; next hint",
         kNothing},
        {"waiting", [](auto& r) { r.tables[2].stage = STAGE_WAITING_FOR_ITEM; }, 0.1f, 2,
         "block table 2; unblock sub 1; next hint", "sub 1"},
        {"the cook works", [](auto& r) { r.maker = true; }, 0.1f, 3, "block subs; next hint", kNothing},
        {"the sub is made", [](auto& r) { r.maker = false; }, 0.1f, 4, "unblock plate 1; next hint", "plate 1"},
        {"the raw sub in hand", [](auto& r) { r.hands[0] = 11; }, 0.1f, 5,
         "block plates; unblock oven 1; next hint", "oven 1"},
        {"the door opens: not yet baking", [](auto& r) { r.hands[0] = 0; r.oven1 = 1; }, 0.1f, 5, "", "oven 1"},
        {"baking", [](auto& r) { r.oven1 = 5; }, 0.1f, 6, "block oven 1; next hint", kNothing},
        {"still baking", none, 3.0f, 6, "", kNothing},
        {"ready", [](auto& r) { r.oven1 = 2; }, 0.1f, 7, "unblock oven 1; next hint", "oven 1"},
        {"the baked sub in hand", [](auto& r) { r.hands[1] = 12; r.oven1 = 0; }, 0.1f, 7,
         "unblock table 2; block oven 1; hide hint", "table 2"},
        {"money on the table", [](auto& r) { r.hands[1] = 0; r.leave(2, ITEM_MONEY); }, 0.1f, 8, "next hint",
         "table 2"},
        {"money taken: finale", [](auto& r) { r.tables[2].state = ITEM_NONE; }, 0.1f, 9, kFinale, kAll},
    });
    expectEnded();
}

TEST_F(TutorialTest, LevelFourServesTwoTablesAndFreezesTheBonusTimerAtTheEnd) {
    install(4);
    play({
        {"one guest is not enough", [](auto& r) { r.seat(2); }, 0.1f, -1, "", kNothing},
        {"both guests", [](auto& r) { r.seat(3); }, 0.1f, 0, "release off; next hint", kNothing, 4.0f},
        {"4 s to read", none, 3.9f, 0, "", kNothing},
        {"countdown out", none, 0.2f, 1, "unblock table 2; next hint", "table 2", 0.0f},
        {"table 3 orders first: not what the step waits for", [](auto& r) { r.tables[3].stage = STAGE_ORDERING; },
         0.1f, 1, "", "table 2"},
        {"table 2 orders", [](auto& r) { r.tables[2].stage = STAGE_ORDERING; }, 0.1f, 2,
         "block table 2; unblock table 3; next hint", "table 3"},
        {"table 3 ordering", none, 0.1f, 3, "block table 3; next hint", kNothing, 5.0f},
        {"5 s", [](auto& r) { r.tables[2].stage = r.tables[3].stage = STAGE_WAITING_FOR_ITEM; }, 5.0f, 4,
         "unblock table 2; unblock drink; next hint", "table 2, drink", 0.0f},
        {"a drink in hand", [](auto& r) { r.hands[0] = ITEM_DRINK; }, 0.1f, 4, "block drink; hide hint", "table 2"},
        {"table 2's guest has gone already: nothing is read", [](auto& r) {
             r.hands[0] = 0;
             r.leave(2, ITEM_MONEY);
         }, 0.1f, 4, "", "table 2"},
        {"leaving happy (seen in time)", [](auto& r) { r.seat(2, STAGE_LEAVING_HAPPY); }, 0.1f, 5,
         "block table 2; unblock table 3; unblock cake; next hint", "table 3, cake"},
        {"a cake in hand", [](auto& r) { r.leave(2, ITEM_MONEY); r.hands[1] = ITEM_CAKE; }, 0.1f, 5,
         "block cake; hide hint", "table 3"},
        {"table 3 leaves happy", [](auto& r) { r.hands[1] = 0; r.tables[3].stage = STAGE_LEAVING_HAPPY; }, 0.1f, 6,
         "block table 3; next hint", kNothing, 5.0f},
        {"5 s", [](auto& r) { r.leave(3, ITEM_MONEY); }, 5.0f, 7, "unblock table 2; next hint", "table 2"},
        {"table 2 free", [](auto& r) { r.tables[2].state = ITEM_NONE; }, 0.1f, 8,
         "block table 2; unblock table 3; next hint", "table 3"},
        {"table 3 free: the bonus timer stops", [](auto& r) { r.tables[3].state = ITEM_NONE; }, 0.1f, 9,
         "block table 3; next hint; bonus frozen on", kNothing, 5.0f},
        {"5 s", none, 5.0f, 10, "next hint", kNothing, 5.0f},
        {"4.9 s", none, 4.9f, 10, "", kNothing},
        {"5 s: finale, the timer runs again", none, 0.1f, 11, kFinale + "; bonus frozen off", kAll},
    });
    expectEnded();
}

}  // namespace
