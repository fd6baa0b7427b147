// The cotton candy stand: its parts by machines and layout, the phases of both layouts with
// the one-entry queue, refusals, the always-running timer, bonus mode and the hover pick; and
// its running light (corners, overshoot, dt 0, restart on show, degenerate paths).

#include <gtest/gtest.h>

#include "game/restaurant/cCottonCandy.h"
#include "game/restaurant/cCottonItem.h"
#include "game/restaurant/cCottonLights.h"
#include "game/restaurant/cCottonStation.h"
#include "tests/game/restaurant/StationTestSupport.h"

using namespace station_test;

namespace {

class CottonStation : public StationTest {
protected:
    cCottonStation* stand = nullptr;
    void TearDown() override {
        delete stand;
        StationTest::TearDown();
    }
    void build(int set, int l1, int l2) {
        delete stand;
        look.graphicsSet = set;
        look.world = set;
        look.upgrades.cotton1 = l1;
        look.upgrades.cotton2 = l2;
        stand = new cCottonStation(level);
    }
    bool until(int phase) {
        for (int i = 0; i < 1000; ++i) {
            if (stand->getPhase() == phase) return true;
            step(0.01f);
        }
        return false;
    }
};

TEST_F(CottonStation, PartsByMachinesAndLayout) {
    const struct Case {
        int set, l1, l2, machines;
        bool parts;
        int phase;
        const char* light;   // the light's path start: LIGHT or LIGHT2
    } cases[] = {
        {1, 0, 0, 0, false, 0, "LIGHT"}, {1, 2, 0, 1, false, 0, "LIGHT"}, {2, 1, 1, 2, false, 0, "LIGHT"},
        {2, 3, 3, 2, true, 4, "LIGHT2"}, {3, 2, 2, 2, true, 4, "LIGHT2"}, {3, 2, 0, 1, false, 0, "LIGHT"},
        {3, 0, 1, 1, false, 0, "LIGHT"},
    };
    for (const Case& c : cases) {
        build(c.set, c.l1, c.l2);
        EXPECT_EQ(getCottonStation(), stand);
        EXPECT_EQ(stand->getMachineCount(), c.machines) << c.set << c.l1 << c.l2;
        EXPECT_EQ(stand->hasItemParts(), c.parts) << c.set << c.l1 << c.l2;
        EXPECT_EQ(stand->getItemPart(0) != nullptr, c.parts);
        EXPECT_EQ(stand->getPhase(), c.phase);
        EXPECT_EQ(stand->getLight()->getPath().size(), std::string(c.light) == "LIGHT" ? 4u : 3u);
        EXPECT_FALSE(stand->getLight()->isOwnVisible());
        EXPECT_TRUE(stand->getLid()->isOwnVisible());
        if (c.machines == 1) {
            EXPECT_EQ(stand->getCandy(0)->getPosition(), cVector2(150, 330));
            EXPECT_EQ(stand->getCandy(0)->getCottonKind(), c.l1 ? 4 : 5);
        }
        if (c.machines == 2) {
            EXPECT_EQ(stand->getCandy(1)->getPosition(), cVector2(180, 330));
            EXPECT_FLOAT_EQ(stand->getCandy(1)->getDeep(), 110.1f) << "kind 5 sits 0.1 deeper";
        }
        if (c.parts) {
            EXPECT_EQ(stand->getItemPart(1)->getPosition(), cVector2(240, 400));
        }
        EXPECT_EQ(stand->getControlPoint(), cVector2(150, 480));
        if (stand->getCandy(0)) {
            EXPECT_EQ(stand->getCandy(0)->getControlPoint(), cVector2(150, 480));
        }
    }
    EXPECT_EQ(stand->getHighlight()->getVertexAlpha(0), 180u) << "the float truncated";
    EXPECT_EQ(stand->getLid()->getPicture(), cStringA("Game/Worlds/3/CottonCandy_St/lid01.dds"));
    try {
        cCottonStation second(level);
        ADD_FAILURE() << "a second stand";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Object already exist.");
    }
    delete stand;
    stand = nullptr;
    EXPECT_EQ(getCottonStation(), nullptr);
    // Without "highlight_alpha" the stand's highlight is opaque; set 1 with machine 2 works
    // with machine 1's pictures.
    replaceIni("Config/Game/o_cotton_st.ini", std::string(kCottonStandText).replace(kCottonStandText.find("highlight_alpha"), 24, ""));
    build(1, 1, 1);
    EXPECT_EQ(stand->getHighlight()->getVertexAlpha(0), 255u);
    EXPECT_EQ(stand->getWorkPicture(1), cStringA("Game/Worlds/1/CottonCandy_St/work101.dds"));
    EXPECT_EQ(stand->getItemPicture(1)->getPicture(), cStringA("Game/Worlds/1/CottonCandy_St/item101.dds"));
    stand->setDeep(50.0f);
    EXPECT_FLOAT_EQ(stand->getCandy(0)->getDeep(), 50.1f);
    EXPECT_FLOAT_EQ(stand->getCandy(1)->getDeep(), 50.2f);
}

TEST_F(CottonStation, TheUsualLayoutOneOrderAtATime) {
    build(2, 1, 1);
    Hands hands;
    cCottonCandy* four = stand->getCandy(0);
    cCottonCandy* five = stand->getCandy(1);
    EXPECT_EQ(four->getKind(), KIND_COTTON_CANDY);
    EXPECT_EQ(four->getState(), 4);
    EXPECT_TRUE(hands.use(four));
    EXPECT_FALSE(hands.use(five)) << "an order waits";
    step(0.01f);
    EXPECT_EQ(stand->getPhase(), 1);
    EXPECT_EQ(sound->count("sounds/game/cotton_candy.ogg"), 1);
    EXPECT_FALSE(four->isOwnVisible());
    EXPECT_FALSE(stand->getLid()->isOwnVisible());
    EXPECT_EQ(stand->getPicture(), cStringA("Game/Worlds/2/CottonCandy_St/work101.dds"));
    EXPECT_FALSE(hands.use(five)) << "being made";
    run(1.95f);
    EXPECT_EQ(stand->getPhase(), 1);
    run(0.1f);
    EXPECT_EQ(stand->getPhase(), 2);
    EXPECT_EQ(stand->getState(), 4);
    EXPECT_TRUE(stand->getItemPicture(0)->isOwnVisible());
    EXPECT_FALSE(stand->getItemPicture(1)->isOwnVisible());
    EXPECT_TRUE(stand->getLight()->isOwnVisible());
    // An order through a choice clicked earlier starts at once; the stand keeps the old kind
    // until the new job ends.
    EXPECT_TRUE(hands.use(five));
    step(0.01f);
    EXPECT_EQ(stand->getPhase(), 1);
    EXPECT_EQ(stand->getState(), 4);
    EXPECT_FALSE(stand->getLight()->isOwnVisible());
    ASSERT_TRUE(until(3));
    EXPECT_EQ(stand->getState(), 5);
    EXPECT_NEAR(float(frames), 1 + 2.05f * 100 + 1 + 300, 3);
    // The waitress takes it from the body: back to phase 0.
    EXPECT_TRUE(hands.take(stand, stand->getState()));
    EXPECT_EQ(hands.right, 5);
    EXPECT_EQ(stand->getPhase(), 0);
    EXPECT_TRUE(four->isOwnVisible() && five->isOwnVisible());
}

TEST_F(CottonStation, TheItemPartLayoutKeepsEachReadyPortion) {
    build(3, 3, 3);   // reduced: 1.5 s and 2.5 s
    EXPECT_FLOAT_EQ(stand->getGenerationTime(0), 1.5f);
    EXPECT_FLOAT_EQ(stand->getGenerationTime(1), 2.5f);
    Hands hands;
    cCottonItem* partFive = stand->getItemPart(1);
    EXPECT_EQ(partFive->getKind(), KIND_COTTON_ITEM);
    EXPECT_EQ(partFive->getState(), 0) << "hidden";
    EXPECT_EQ(partFive->getCottonKind(), 5);
    EXPECT_TRUE(hands.use(stand->getCandy(1)));
    step(0.01f);
    EXPECT_EQ(stand->getPicture(), cStringA("Game/Worlds/3/CottonCandy_St/work203.dds"));
    ASSERT_TRUE(until(4));
    EXPECT_TRUE(stand->isItemReady(1));
    EXPECT_EQ(partFive->getState(), 5);
    EXPECT_FALSE(stand->getCandy(1)->isOwnVisible());
    EXPECT_TRUE(stand->getCandy(0)->isOwnVisible());
    EXPECT_TRUE(stand->getLight()->isOwnVisible());
    // The other kind meanwhile: the ready portion hides during the work and comes back.
    EXPECT_TRUE(hands.use(stand->getCandy(0)));
    step(0.01f);
    EXPECT_EQ(partFive->getState(), 0);
    ASSERT_TRUE(until(4));
    EXPECT_EQ(partFive->getState(), 5);
    EXPECT_EQ(stand->getItemPart(0)->getState(), 4);
    // Taking one portion brings its choice back.
    EXPECT_TRUE(hands.take(partFive, partFive->getState()));
    EXPECT_EQ(hands.right, 5);
    EXPECT_FALSE(partFive->isOwnVisible());
    EXPECT_TRUE(stand->getCandy(1)->isOwnVisible());
    EXPECT_TRUE(stand->getLight()->isOwnVisible()) << "portion 4 still waits";
    EXPECT_TRUE(hands.take(stand->getItemPart(0), stand->getItemPart(0)->getState()));
    EXPECT_FALSE(stand->getLight()->isOwnVisible());
}

TEST_F(CottonStation, TheTimerAlwaysRunsDownAndBonusModeDoublesTheSpeed) {
    build(2, 1, 0);
    run(1.0f);
    EXPECT_NEAR(stand->getTimer(), -1.0f, 0.01f);
    stand->requestCotton(4);
    step(0.01f);
    EXPECT_FLOAT_EQ(stand->getTimer(), 2.0f) << "a job starts from the full time";
    bar->mode = true;
    run(0.95f);
    EXPECT_EQ(stand->getPhase(), 1);
    run(0.1f);
    EXPECT_EQ(stand->getPhase(), 2);
    setFullEffects(false);
    stand->setState(0);
    stand->requestCotton(4);
    ASSERT_TRUE(until(2));
    EXPECT_FALSE(stand->getLight()->isOwnVisible()) << "no light without full effects";
}

TEST_F(CottonStation, TheHoverPick) {
    build(2, 1, 1);
    // Phase 0: a choice (the first hovered wins), the stand's highlight lights with it.
    services.mousePosition = cVector2(120, 330);
    stand->updateHover(true, false);
    EXPECT_EQ(stand->getHoveredPart(), static_cast<cClickTarget*>(stand->getCandy(0)));
    EXPECT_TRUE(stand->isHovered());
    EXPECT_TRUE(stand->getHighlight()->isVisible());
    // The body is not tested in phase 0.
    services.mousePosition = cVector2(150, 420);
    stand->updateHover(true, false);
    EXPECT_EQ(stand->getHoveredPart(), nullptr);
    // Phase 1: the body, without highlight; phase 2: with it.
    stand->requestCotton(4);
    step(0.01f);
    stand->updateHover(true, false);
    EXPECT_EQ(stand->getHoveredPart(), static_cast<cClickTarget*>(stand));
    EXPECT_FALSE(stand->getHighlight()->isVisible());
    ASSERT_TRUE(until(2));
    stand->updateHover(true, false);
    EXPECT_EQ(stand->getHoveredPart(), static_cast<cClickTarget*>(stand));
    EXPECT_TRUE(stand->getHighlight()->isVisible());
    stand->setBlocked(true);
    stand->updateHover(true, true);
    EXPECT_EQ(stand->getHoveredPart(), nullptr);
    // Machine 2 alone: nothing of the stand can be hovered.
    build(2, 0, 1);
    services.mousePosition = cVector2(150, 330);
    stand->updateHover(true, false);
    EXPECT_EQ(stand->getHoveredPart(), nullptr);
    stand->updateHover(false, true);
    EXPECT_FALSE(stand->getCandy(0)->isHovered());
}

class CottonLight : public StationTest {
protected:
    cCottonLights* light = nullptr;
    void TearDown() override {
        delete light;
        StationTest::TearDown();
    }
    void make(const std::string& section = "") {
        if (!section.empty()) {
            std::string text = kCottonStandText;
            const size_t from = text.find("[LIGHT]"), to = text.find("[LIGHT2]");
            replaceIni("Config/Game/o_cotton_st.ini", text.replace(from, to - from, section));
        }
        light = new cCottonLights(level, 1);
        light->hide();
        light->show();
        light->enable();
    }
};

TEST_F(CottonLight, CornersCarryTheOvershootAndAPauseStandsStill) {
    make();
    // The path: the 100 x 80 frame centred on (150, 400), at 100 px a second.
    EXPECT_EQ(light->getPath()[0], cVector2(100, 360));
    EXPECT_EQ(light->getPosition(), cVector2(100, 360));
    step(0.5f);
    EXPECT_EQ(light->getPosition(), cVector2(150, 360));
    step(0.0f);
    EXPECT_EQ(light->getPosition(), cVector2(150, 360));
    EXPECT_EQ(live<cFxTrail>(), 1u) << "dt 0 drops no trail";
    step(0.6f);
    EXPECT_NEAR(light->getPosition().x, 200.0f, 1e-3f);
    EXPECT_NEAR(light->getPosition().y, 370.0f, 1e-3f);
    EXPECT_EQ(light->getNextPoint(), 2u);
    // A step past two corners carries the overshoot into the next segment only.
    step(3.5f);
    EXPECT_EQ(light->getNextPoint(), 3u);
    EXPECT_NEAR(light->getPosition().x, -80.0f, 1e-3f);
    EXPECT_NEAR(light->getPosition().y, 440.0f, 1e-3f);
    // A new showing restarts the lap.
    light->hide();
    light->show();
    EXPECT_EQ(light->getPosition(), cVector2(100, 360));
    EXPECT_EQ(light->getNextPoint(), 1u);
}

TEST_F(CottonLight, EqualPointsAreSkippedAndOnePointStandsStill) {
    make("[LIGHT]\nposition=\"150,400\"\nspeed_move=\"100\"\nv1=\"0,0\"\nv2=\"0,0\"\nv3=\"100,0\"\nv4=\"100,0\"\n");
    // Duplicates in the file are read as they are; the light skips the empty segments.
    EXPECT_EQ(light->getPath().size(), 4u);
    step(0.5f);
    EXPECT_NEAR(light->getPosition().x, 150.0f, 1e-3f);
    EXPECT_NEAR(light->getPosition().y, 360.0f, 1e-3f);
    step(0.7f);   // 20 past (200, 360), back along the closing segment
    EXPECT_NEAR(light->getPosition().x, 180.0f, 1e-3f);
    delete light;
    light = nullptr;
    make("[LIGHT]\nposition=\"150,400\"\nv1=\"5,5\"\n");
    EXPECT_FLOAT_EQ(light->getSpeed(), 0.0f) << "absent speed_move";
    step(0.5f);
    EXPECT_EQ(light->getPosition(), cVector2(105, 365));
}

}  // namespace
