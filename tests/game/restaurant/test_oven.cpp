// The ovens: what each phase accepts (phase x busy x id), a whole bake on the test clock with
// its sounds, progress steps and the sub's looks, a take and a put in one visit, doors that
// cannot be drawn to their end, bonus mode, pictures and times by upgrade, hover through the
// progress indicator, and the data faults (no direction, fewer than two progress frames).

#include <gtest/gtest.h>

#include <cmath>

#include "game/restaurant/cItemHolder.h"
#include "game/restaurant/cOven.h"
#include "game/restaurant/cOvenProgress.h"
#include "tests/game/restaurant/StationTestSupport.h"

using namespace station_test;

namespace {

const float kDt = 0.01f;

class Oven : public StationTest {
protected:
    cOven* oven = nullptr;
    void TearDown() override {
        delete oven;
        StationTest::TearDown();
    }
    void build(int index = 1) {
        delete oven;
        oven = new cOven(level, index);
    }
    // Steps until the oven is in the phase (and, when asked, not busy); false after 10 s.
    bool until(int phase, bool idle = false) {
        for (int i = 0; i < 1000; ++i) {
            if (oven->getPhase() == phase && (!idle || !oven->isBusy())) return true;
            step(kDt);
        }
        return false;
    }
    // A fresh oven brought into one of the states a waitress can meet.
    void reach(const char* state) {
        build();
        const std::string s = state;
        if (s == "idle") return;
        ASSERT_TRUE(oven->setState(11));
        if (s == "loading") return;
        const int target = s == "cooking" ? 4 : s == "baking" ? 5 : 2;
        ASSERT_TRUE(until(target, s != "cooking" && s != "baking" && s != "sliding"));
        if (s != "ready" && s != "closing") return;
        if (s == "ready") return;
        ASSERT_TRUE(oven->setState(0));   // "closing"
    }
};

TEST_F(Oven, WhatEachPhaseAccepts) {
    const struct Case {
        const char* state;
        int32_t id;
        bool accepted;
        int phase;   // afterwards
        int32_t offered;
    } cases[] = {
        {"idle", 0, false, 0, 0},      {"idle", 11, true, 1, 0},      {"idle", 12, true, 0, 12},
        {"idle", 1, true, 0, 1},       {"loading", 13, false, 1, 0},  {"loading", 0, false, 1, 0},
        {"cooking", 13, false, 4, 0},  {"baking", 13, false, 5, 0},   {"baking", 0, false, 5, 0},
        {"sliding", 13, false, 2, 0},  {"sliding", 0, false, 2, 0},   {"ready", 0, true, 3, 0},
        {"ready", 13, true, 2, 13},    {"closing", 0, false, 3, 0},   {"closing", 25, true, 4, 0},
        {"closing", 52, true, 3, 52},
    };
    for (const Case& c : cases) {
        reach(c.state);
        EXPECT_EQ(oven->setState(c.id), c.accepted) << c.state << " " << c.id;
        EXPECT_EQ(oven->getPhase(), c.phase) << c.state << " " << c.id;
        EXPECT_EQ(oven->getState(), c.offered) << c.state << " " << c.id;
    }
    reach("closing");
    oven->setState(25);
    EXPECT_EQ(oven->getProduct(), 26) << "the new raw id plus 1";
}

TEST_F(Oven, AWholeBake) {
    build();
    EXPECT_EQ(oven->getKind(), KIND_OVEN);
    EXPECT_EQ(oven->getProgress()->getKind(), KIND_OVEN_PROGRESS);
    EXPECT_EQ(oven->getPicture(), cStringA("Game/Worlds/2/Oven/open.dds")) << "set 2, oven 1 basic, no oven 2";
    EXPECT_EQ(oven->getControlPoint(), cVector2(650, 300));
    EXPECT_FLOAT_EQ(oven->getProgress()->getDeep(), 95.0f);
    EXPECT_FLOAT_EQ(oven->getItem()->getDeep(), 102.0f);
    EXPECT_FLOAT_EQ(oven->getSteam()->getDeep(), 110.0f);
    EXPECT_EQ(oven->getItemVelocity(), cVector2(0, 1));
    Hands hands;
    hands.right = 13;
    ASSERT_TRUE(hands.put(oven, &hands.right));
    EXPECT_EQ(hands.right, 0);
    // 1: the door opens in 0.4 s; 4: it closes with the sub going in.
    int frames1 = 0;
    while (oven->getPhase() == 1 && frames1 < 100) step(kDt), ++frames1;
    EXPECT_NEAR(frames1, 41, 1);
    EXPECT_EQ(oven->getPhase(), 4);
    EXPECT_EQ(sound->count("sounds/game/oven_cooking.ogg"), 1);
    EXPECT_EQ(oven->getItem()->getState(), 13);
    ASSERT_TRUE(until(5));
    EXPECT_EQ(oven->getItem()->getVertexAlpha(0), 0u);
    EXPECT_EQ(oven->getProgress()->getFrame(), 2);
    EXPECT_FALSE(oven->getHighlight()->isVisible());
    // 5: 3 s of baking, a progress step every second.
    run(1.05f);
    EXPECT_EQ(oven->getProgress()->getFrame(), 3);
    run(1.0f);
    EXPECT_EQ(oven->getProgress()->getFrame(), 4);
    EXPECT_EQ(oven->getPhase(), 5);
    ASSERT_TRUE(until(2));
    EXPECT_EQ(sound->count("sounds/game/oven_ready.ogg"), 1);
    // 2: the sub slides out, raw-looking, and is offered only when the door run ends.
    run(0.3f);
    EXPECT_EQ(oven->getState(), 0);
    EXPECT_EQ(oven->getItem()->getState(), 13);
    EXPECT_GT(oven->getItem()->getVertexAlpha(0), 0u);
    EXPECT_GT(oven->getItem()->getPosition().y, 260.0f - 40.0f);
    ASSERT_TRUE(until(2, true));
    EXPECT_EQ(oven->getState(), 14);
    EXPECT_EQ(oven->getItem()->getState(), 14);
    EXPECT_EQ(oven->getItem()->getPosition(), cVector2(600, 260));
    EXPECT_EQ(oven->getItem()->getVertexAlpha(0), 255u);
    EXPECT_EQ(oven->getProgress()->getFrame(), 1);
    run(0.5f);
    EXPECT_TRUE(oven->getSteam()->isOwnVisible());
    EXPECT_EQ(oven->getSteam()->getVertexAlpha(0), 255u);
    // Taken: the state is 0 at once, the door closes, the steam goes.
    ASSERT_TRUE(hands.take(oven, oven->getState()));
    EXPECT_EQ(hands.right, 14);
    EXPECT_EQ(oven->getState(), 0);
    EXPECT_EQ(oven->getPhase(), 3);
    EXPECT_FALSE(oven->getItem()->isOwnVisible());
    ASSERT_TRUE(until(0));
    run(0.5f);
    EXPECT_FALSE(oven->getSteam()->isOwnVisible());
}

TEST_F(Oven, TakeAndPutInOneVisitWithBothHandsFull) {
    reach("ready");
    Hands hands;
    hands.right = 25;
    hands.left = ITEM_DRINK;
    // Both hands full: she takes nothing, but after taking with a hand freed she puts.
    EXPECT_FALSE(hands.take(oven, oven->getState()));
    EXPECT_TRUE(oven->setState(0));
    EXPECT_EQ(oven->getPhase(), 3);
    EXPECT_TRUE(hands.put(oven, &hands.right));
    EXPECT_EQ(oven->getPhase(), 4) << "straight into cooking, no loading run";
    EXPECT_EQ(oven->getProduct(), 26);
    ASSERT_TRUE(until(2, true));
    EXPECT_EQ(oven->getState(), 26);
}

TEST_F(Oven, DoorsThatCannotBeDrawnToTheirEndStillLetTheSubThrough) {
    const struct {
        const char* what;
        std::string open;
        std::string oven1;
    } cases[] = {
        {"looped", "anim_looped=\"1\"\nanim_length=\"0.4\"\nanim_frame_count=\"4\"\n", ""},
        {"one frame", "anim_looped=\"0\"\nanim_length=\"0.4\"\nanim_frame_count=\"1\"\n", ""},
        {"no length", "anim_looped=\"0\"\nanim_length=\"0\"\nanim_frame_count=\"4\"\n", ""},
        {"hidden", "anim_looped=\"0\"\nanim_length=\"0.4\"\nanim_frame_count=\"4\"\n", "visible=\"0\"\n"},
    };
    for (const auto& c : cases) {
        std::string text = ovenIni(c.open);
        text.insert(text.find("[OVEN_2]"), c.oven1);
        replaceIni("Config/Game/o_oven.ini", text);
        build();
        ASSERT_TRUE(oven->setState(15));
        ASSERT_TRUE(until(2, true)) << c.what;
        EXPECT_EQ(oven->getState(), 16) << c.what;
        EXPECT_EQ(oven->getItem()->getVertexAlpha(0), 255u) << c.what;
        ASSERT_TRUE(oven->setState(0));
        EXPECT_TRUE(until(0)) << c.what;
    }
}

TEST_F(Oven, BonusUpgradesAndTheSecondOven) {
    look.graphicsSet = 3;
    look.upgrades.oven1 = 2;
    look.upgrades.oven2 = 1;
    build(1);
    EXPECT_FLOAT_EQ(oven->getGenerationTime(), 2.0f) << "3 less 1 from upgrade 2";
    EXPECT_EQ(oven->getPicture(), cStringA("Game/Worlds/3/Oven/open02.dds"));
    EXPECT_EQ(oven->getProgress()->getPicture(), cStringA("Game/Worlds/3/Oven/progress02.dds"));
    EXPECT_EQ(oven->getBase(), nullptr);
    // Bonus mode: 2 s of baking in 1 s, the progress steps as fast.
    bar->mode = true;
    oven->setState(11);
    ASSERT_TRUE(until(5));
    run(0.6f);
    EXPECT_EQ(oven->getProgress()->getFrame(), 3) << "steps every 2/3 s of baking, 1/3 s of game time";
    run(0.45f);
    EXPECT_EQ(oven->getPhase(), 2);
    build(2);
    EXPECT_FLOAT_EQ(oven->getGenerationTime(), 3.0f);
    EXPECT_EQ(oven->getPicture(), cStringA("Game/Worlds/3/Oven/open01.dds"));
    ASSERT_NE(oven->getBase(), nullptr);
    EXPECT_EQ(oven->getBase()->getPicture(), cStringA("Game/Worlds/3/Oven/base01.dds"));
    EXPECT_EQ(oven->getControlPoint(), cVector2(650, 300)) << "both ovens stand at the one OVEN element";
}

TEST_F(Oven, TheProgressIndicatorHoversAsTheOvenAndNoHighlightWhileBaking) {
    build();
    services.mousePosition = cVector2(600, 150);   // on the indicator
    oven->updateHover(true, false);
    EXPECT_TRUE(oven->isHovered());
    EXPECT_TRUE(oven->getHighlight()->isVisible());
    services.mousePosition = cVector2(600, 200);   // on the oven
    oven->updateHover(true, false);
    EXPECT_TRUE(oven->isHovered());
    EXPECT_TRUE(oven->getProgress()->isHovered());
    oven->setState(11);
    ASSERT_TRUE(until(5));
    oven->updateHover(true, false);
    EXPECT_TRUE(oven->isHovered());
    EXPECT_FALSE(oven->getHighlight()->isVisible());
    oven->setBlocked(true);
    oven->updateHover(true, true);
    EXPECT_FALSE(oven->isHovered());
}

TEST_F(Oven, NoDirectionAndFewerThanTwoProgressFramesAreSafe) {
    replaceIni("Config/Game/o_oven.ini", ovenIni("anim_looped=\"0\"\nanim_length=\"0.4\"\nanim_frame_count=\"4\"\n", "0,0"));
    replaceIni("Config/game/o_oven_progress.ini", progressIni(1));
    build();
    EXPECT_EQ(oven->getItemVelocity(), cVector2(0, 0));
    oven->setState(11);
    ASSERT_TRUE(until(2));
    run(0.3f);
    const cVector2 p = oven->getItem()->getPosition();
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    EXPECT_EQ(p, cVector2(600, 260));
    EXPECT_EQ(oven->getProgress()->getFrame(), 1);
    ASSERT_TRUE(until(2, true));
    EXPECT_EQ(oven->getState(), 12);
}

}  // namespace
