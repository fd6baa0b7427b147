// The waitress on the test clock: construction and configuration, the click queue in both
// modes, walking (turn frames, exact landings, arrival time, speed), the animation codes and
// hand depths, the idle pauses and runs, and the stars and trail copies she leaves.

#include <gtest/gtest.h>

#include <set>

#include "tests/game/characters/WaitressTestSupport.h"

using namespace waitress_test;

namespace {

TEST_F(WaitressTest, BuildsFromHerFilesAndIsTheOnlyOne) {
    makeWaitress();
    EXPECT_EQ(waitress->getKind(), KIND_WAITRESS);
    EXPECT_EQ(waitress->getPathGraph().nodes.size(), 9u);
    EXPECT_EQ(waitress->getPosition(), kT1);
    EXPECT_EQ(waitress->getDeep(), 400.0f);
    EXPECT_EQ(waitress->getAnimationCode(), 0);
    EXPECT_EQ(waitress->getPicture(), cStringA("Game/Characters/Lucinda/stand.dds"));
    // Sheets are fixed by code; one-item runs left, right and the upper diagonals share the
    // two-item sheets; timing comes from the direction's section.
    const std::vector<std::pair<int, const char*>> sheets = {
        {3, "run_d"}, {9, "stand_1"}, {10, "run_l_2"}, {12, "run_d_1"}, {14, "run_r_2"}, {15, "run_ur_2"},
        {16, "run_u_1"}, {17, "run_ul_2"}, {18, "stand_2"}, {21, "run_d_2"}};
    for (const auto& [code, sheet] : sheets)
        EXPECT_EQ(waitress->getAnimation(code).picture, cStringA("Game/Characters/Lucinda/") + sheet + ".dds") << code;
    EXPECT_TRUE(waitress->getAnimation(21).looped);
    EXPECT_FLOAT_EQ(waitress->getAnimation(21).length, 0.4f);
    EXPECT_FALSE(waitress->getAnimation(18).looped);
    // Hand offsets of direction k serve codes k + 9 and k + 18.
    EXPECT_EQ(waitress->getHandOffset(3, 0), cVector2(3, 1));
    EXPECT_EQ(waitress->getHandOffset(12, 1), cVector2(-3, 2));
    EXPECT_EQ(waitress->getHandOffset(21, 0), cVector2(3, 1));
    EXPECT_THROW(cWaitress(level, kT2), const char*);
}

TEST_F(WaitressTest, MissingFilesAreTheResourceManagersError) {
    resources->unload(cStringA("Packs/Paths/s0p1.xml"));
    try {
        new cWaitress(level, kT1);
        FAIL() << "built without a paths document";
    } catch (const std::string& text) {
        EXPECT_EQ(text, "Resource 'Packs/Paths/s0p1.xml' is not loaded.");
    }
    EXPECT_EQ(cWaitress::instance(), nullptr);
}

TEST_F(WaitressTest, SpeedByWorldUpgradeAndBonusMode) {
    struct Case {
        int world, upgrade;
        bool bonus;
        float pixelsPerSecond;
    };
    const Case cases[] = {{1, 1, false, 100}, {2, 0, false, 200}, {3, 1, false, 300}, {2, 2, false, 250},
                          {3, 4, false, 350}, {1, 1, true, 1100},  {2, 2, true, 1250}};
    for (const Case& c : cases) {
        SCOPED_TRACE("world " + std::to_string(c.world) + " upgrade " + std::to_string(c.upgrade));
        look.world = c.world;
        look.waitressLevel = c.upgrade;
        bar->mode = c.bonus;
        makeWaitress(kC1);
        waitress->addTarget(target(KIND_DRINK_STATION, kS1));
        frame(0.01f);   // plans the route and turns
        EXPECT_EQ(waitress->getPosition(), kC1);
        frame(0.05f);
        EXPECT_NEAR(kC1.y - waitress->getPosition().y, std::min(c.pixelsPerSecond * 0.05f, 100.0f), 1e-3f);
        delete waitress;
    }
}

TEST_F(WaitressTest, WalksEachSegmentAfterATurnFrameAndLandsExactly) {
    makeWaitress(kT1);
    FakeTarget* station = target(KIND_DRINK_STATION, kS2);
    waitress->addTarget(station);
    // Route T1 -> C1 -> C2 -> S2: up 100, right 200, up 100 at 6 px a frame.
    frame(0.03f);
    EXPECT_EQ(waitress->getCurrentTarget(), station);
    EXPECT_EQ(waitress->getWaypoints(), (std::deque<cVector2>{kC1, kC2, kS2}));
    EXPECT_EQ(waitress->getAnimationCode(), 7);
    EXPECT_EQ(waitress->getPosition(), kT1) << "the turn frame does not move";
    int frames = 1;
    while (waitress->getPosition() != kC1 && frames < 100) {
        frame(0.03f);
        ++frames;
    }
    EXPECT_EQ(frames, 18) << "17 steps of 6 px, the last one snapped onto the point";
    EXPECT_EQ(waitress->getDirection(), cVector2());
    frame(0.03f);
    ++frames;
    EXPECT_EQ(waitress->getPosition(), kC1);
    EXPECT_EQ(waitress->getAnimationCode(), 5);
    EXPECT_EQ(waitress->getPicture(), cStringA("Game/Characters/Lucinda/run_r.dds"));
    while (waitress->getWaypoints().size() > 0 && frames < 200) {
        frame(0.03f);
        ++frames;
    }
    // 34 frames to C2 and 18 more to S2, each segment with its turn frame.
    EXPECT_EQ(frames, 18 + 35 + 18);
    EXPECT_EQ(waitress->getPosition(), kS2);
    EXPECT_EQ(waitress->getAnimationCode(), 0) << "she stands on landing";
    EXPECT_TRUE(station->calls.empty()) << "the action comes in the next frame";
    frame(0.03f);
    EXPECT_EQ(station->calls, std::vector<int32_t>{0});
    EXPECT_EQ(hands(), std::make_pair(ITEM_DRINK, 0));
    EXPECT_EQ(waitress->getCurrentTarget(), nullptr);
}

TEST_F(WaitressTest, DirectionCodesAtTheBoundaries) {
    struct Case {
        float x, y;
        int code;
    };
    const Case cases[] = {{-1, 0, 1},      {1, 0, 5},       {-0.93f, 0.3f, 1}, {0.93f, -0.3f, 5},
                          {-0.92f, 0.39f, 4}, {-0.92f, -0.39f, 8}, {0.92f, 0.39f, 2}, {0.92f, -0.39f, 6},
                          {-0.38f, 0.92f, 3}, {-0.38f, -0.92f, 7}, {0.38f, 0.92f, 2},  {0.38f, -0.92f, 6},
                          {-0.39f, 0.9f, 4}, {0.37f, 0.9f, 3},  {0, 1, 3},          {0, -1, 7},
                          {0.5f, 0, 0},     {-0.5f, 0, 0},     {0, 0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(waitress_rules::directionCode(cVector2(c.x, c.y)), c.code) << c.x << "," << c.y;
}

TEST_F(WaitressTest, HandsFollowHerAndTheirDepthsFollowTheDirection) {
    makeWaitress(kT1);
    hold(ITEM_DRINK, ITEM_CAKE);
    struct Case {
        int direction;
        float right, left;
    };
    const Case cases[] = {{0, 900, 900}, {1, -1, 1}, {2, 1, 1}, {3, 1, 1}, {4, 1, 1},
                          {5, 1, -1},    {6, 1, -1}, {7, -1, -1}, {8, -1, 1}};
    for (const Case& c : cases) {
        waitress->setDirection(c.direction);
        EXPECT_EQ(waitress->getAnimationCode(), c.direction + 18);
        EXPECT_EQ(waitress->getHandHolder(0)->getDeep() - waitress->getDeep(), c.right) << c.direction;
        EXPECT_EQ(waitress->getHandHolder(1)->getDeep() - waitress->getDeep(), c.left) << c.direction;
        EXPECT_EQ(waitress->getHandHolder(0)->getDirection(), c.direction);
    }
    waitress->setDirection(3);
    waitress->setPosition(cVector2(50, 60));
    EXPECT_EQ(waitress->getDeep(), 60.0f);
    EXPECT_EQ(waitress->getHandHolder(0)->getAnchor(), cVector2(53, 51)) << "position + off_sprite + hand offset";
    EXPECT_EQ(waitress->getHandHolder(1)->getAnchor(), cVector2(47, 52));
    EXPECT_EQ(waitress->getHandHolder(1)->getDeep(), 61.0f);
    EXPECT_EQ(waitress->getTransformOrigin(), cVector2(0, 10));
    // One item: +9; a lone left item shows as one item but idles as two.
    hold(0, ITEM_CAKE);
    waitress->setDirection(0);
    EXPECT_EQ(waitress->getAnimationCode(), 9);
    EXPECT_EQ(waitress->getIdleDelay(), 7.0f);
    hold(ITEM_CAKE, 0);
    waitress->setDirection(0);
    EXPECT_EQ(waitress->getIdleDelay(), 5.0f);
    EXPECT_EQ(waitress->getCyclesLeft(), 1);
}

TEST_F(WaitressTest, IdlePausesAreWholeSecondsAndRunsEndOnlyWhenAStandEnds) {
    makeWaitress(kT1);
    std::set<float> delays;
    std::set<int32_t> cycles;
    for (int i = 0; i < 200; ++i) {
        waitress->setDirection(0);
        delays.insert(waitress->getIdleDelay());
        cycles.insert(waitress->getCyclesLeft());
        EXPECT_FALSE(waitress->isIdleAnimating());
    }
    EXPECT_EQ(delays, (std::set<float>{1, 2, 3}));
    EXPECT_EQ(cycles, (std::set<int32_t>{1, 2}));

    // A pause, then the runs of the unlooped stand, then a new pause.
    waitress->setDirection(0);
    const float pause = waitress->getIdleDelay();
    const int32_t runs = waitress->getCyclesLeft();
    const float held = waitress->getLayer0Time();
    run(pause - 0.1f);
    EXPECT_FALSE(waitress->isIdleAnimating());
    EXPECT_EQ(waitress->getLayer0Time(), held) << "frozen while pausing";
    const float started = runUntil([&] { return waitress->isIdleAnimating(); }, 1.0f);
    EXPECT_LT(started, 0.2f);
    const float played = runUntil([&] { return !waitress->isIdleAnimating(); }, 10.0f);
    EXPECT_NEAR(played, 0.5f * float(runs), 0.05f);

    // A looped stand never ends a run: it plays until she walks.
    replaceIni(kWaitressIni, waitressIni("anim_looped=\"1\"\nanim_length=\"0.5\"\nmin_anim_time=\"1\"\n"
                                         "max_anim_time=\"1\"\ncount_cycles=\"1\"\n"));
    waitress->loadConfig();
    waitress->setDirection(0);
    run(1.2f);
    EXPECT_TRUE(waitress->isIdleAnimating());
    run(5.0f);
    EXPECT_TRUE(waitress->isIdleAnimating());
}

TEST_F(WaitressTest, EmptyOrUpsideDownIdleRangesDrawTheirLowerEnd) {
    struct Case {
        const char* name;
        std::string ini;
        float delay;
    };
    const Case cases[] = {
        {"maximum below minimum, no runs",
         waitressIni("anim_looped=\"0\"\nanim_length=\"0.5\"\nmin_anim_time=\"4\"\nmax_anim_time=\"2\"\n"
                     "count_cycles=\"0\"\n"),
         4.0f},
        {"no stand keys at all", "[COMMON]\nspeed_move_world_2=\"200\"\n", 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        replaceIni(kWaitressIni, c.ini);
        makeWaitress(kT1);
        for (int i = 0; i < 20; ++i) {
            waitress->setDirection(0);
            EXPECT_EQ(waitress->getIdleDelay(), c.delay);
            EXPECT_EQ(waitress->getCyclesLeft(), 1);
        }
        run(3.0f);
        delete waitress;
    }
}

TEST_F(WaitressTest, QueueKeepsEveryClickInPlayAndDropsRepeatsInTutorial) {
    makeWaitress(kT1);
    FakeTarget* drink = target(KIND_DRINK_STATION, kS1);
    FakeTarget* cake = target(KIND_CAKE_STATION, kS2);
    waitress->addTarget(drink);
    waitress->addTarget(drink);
    EXPECT_EQ(waitress->getQueue().size(), 2u);
    EXPECT_EQ(drink->shownPointers(), 2);
    run(3.0f);
    EXPECT_EQ(drink->calls, (std::vector<int32_t>{0, 0})) << "two clicks fetch two drinks";
    EXPECT_EQ(hands(), std::make_pair(ITEM_DRINK, ITEM_DRINK));
    EXPECT_EQ(drink->shownPointers(), 0) << "each arrival removes one mark";

    hold(0, 0);
    waitress->setTutorialMode(true);
    waitress->addTarget(cake);
    frame(0.01f);
    ASSERT_EQ(waitress->getCurrentTarget(), cake);
    waitress->addTarget(cake);       // the current target
    EXPECT_TRUE(waitress->getQueue().empty());
    waitress->addTarget(drink);
    waitress->addTarget(drink);      // the last queued
    waitress->addTarget(cake);       // current again
    EXPECT_EQ(waitress->getQueue(), (std::deque<cClickTarget*>{drink}));
    EXPECT_EQ(cake->shownPointers(), 1);
    run(4.0f);
    waitress->addTarget(cake);       // nothing current or queued any more
    EXPECT_EQ(waitress->getQueue().size(), 1u);
}

TEST_F(WaitressTest, QueuedTableWantingAHandsItemExpectsHer) {
    makeTables();
    makeWaitress(kS1);
    cCustomer* guest = seatGuest(tables[1], {ITEM_CAKE});
    guest->setStage(STAGE_WAITING_FOR_ITEM);
    tables[1]->setState(ITEM_CAKE);
    hold(ITEM_DRINK, 0);
    waitress->addTarget(tables[1]);
    EXPECT_FALSE(guest->isWaitressComing());
    hold(ITEM_DRINK, ITEM_CAKE);
    waitress->addTarget(tables[1]);
    EXPECT_TRUE(guest->isWaitressComing()) << "the left hand's item";
    run(3.0f);
    EXPECT_FALSE(guest->isWaitressComing()) << "cleared on arrival";
}

TEST_F(WaitressTest, UnreachableTargetIsServedWhereSheStands) {
    makeWaitress(kT1);
    FakeTarget* far = target(KIND_CAKE_STATION, cVector2(700, 700));
    waitress->addTarget(far);
    frame(0.01f);
    EXPECT_TRUE(waitress->getWaypoints().empty());
    frame(0.01f);
    EXPECT_EQ(far->calls, std::vector<int32_t>{0});
    EXPECT_EQ(waitress->getPosition(), kT1);
    EXPECT_EQ(hands(), std::make_pair(ITEM_CAKE, 0));
}

TEST_F(WaitressTest, StarsAndTrailCopiesWhileRunning) {
    struct Case {
        bool bonus;
        int upgrade;
        bool fullEffects;
        bool stars, trail;
        float shrink;
    };
    const Case cases[] = {{false, 1, true, false, false, 0.0f},
                          {false, 2, true, true, false, 4.0f},
                          {true, 1, true, true, true, 2.0f},
                          {true, 2, false, true, false, 2.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE("bonus " + std::to_string(c.bonus) + " upgrade " + std::to_string(c.upgrade));
        bar->mode = c.bonus;
        look.waitressLevel = c.upgrade;
        setFullEffects(c.fullEffects);
        replaceIni(kWaitressIni, waitressIni());
        makeWaitress(kT1);
        waitress->addTarget(target(KIND_DRINK_STATION, cVector2(100, -50000)));   // unreachable: no walk
        frame(0.01f);
        frame(0.01f);
        EXPECT_EQ(live<cFxWaiterStar>(), 0u) << "none while standing";
        // A long walk on a graph of its own: two far nodes.
        delete waitress;
        replaceIni(kWaitressIni, waitressIni());
        resources->unload(cStringA("Packs/Paths/s0p1.xml"));
        addFile("Packs/Paths/s0p1.xml",
                file_test::utf16(widen("<?xml version=\"1.0\" encoding=\"UTF-16\"?><paths><PathPoints>"
                                       "<POINT_1 position=\"100,100\" point_1=\"100,90000\"/>"
                                       "<POINT_2 position=\"100,90000\" point_1=\"100,100\"/></PathPoints></paths>")));
        makeWaitress(cVector2(100, 100));
        waitress->addTarget(target(KIND_DRINK_STATION, cVector2(100, 90000)));
        frame(0.01f);
        run(0.1f);   // 10 frames: a star every 15 ms of running, a copy every 20 ms
        if (c.stars) {
            EXPECT_EQ(live<cFxWaiterStar>(), 5u);
            for (const auto& [serial, node] : cEffectRegistry<cFxWaiterStar>::instances()) {
                const float rate = static_cast<cFxWaiterStar*>(node)->getShrinkRate();
                EXPECT_TRUE(rate >= c.shrink && rate <= c.shrink + 2.0f) << rate;   // a star adds up to 2
            }
        } else {
            EXPECT_EQ(live<cFxWaiterStar>(), 0u);
        }
        EXPECT_EQ(live<cFxTrail>(), c.trail ? 5u : 0u);
        delete waitress;
        cEffectRegistry<cFxWaiterStar>::clear();
        cEffectRegistry<cFxTrail>::clear();
        resources->unload(cStringA("Packs/Paths/s0p1.xml"));
        addFile("Packs/Paths/s0p1.xml", file_test::utf16(widen(graphPaths())));
    }
}

}  // namespace
