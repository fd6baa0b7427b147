// The coffee machine: batch, brew time and pictures by graphics set and upgrade; the cycle
// empty -> brewing -> ready -> empty with its refusal, sounds, steams and glow; bonus mode.

#include <gtest/gtest.h>

#include <algorithm>

#include "game/restaurant/cCoffeeStation.h"
#include "tests/game/restaurant/StationTestSupport.h"

using namespace station_test;

namespace {

class CoffeeStation : public StationTest {
protected:
    cCoffeeStation* coffee = nullptr;
    void build(int set, int upgrade) {
        look.graphicsSet = set;
        look.upgrades.coffee = upgrade;
        coffee = new cCoffeeStation(level);
    }
    void TearDown() override {
        delete coffee;
        StationTest::TearDown();
    }
};

TEST_F(CoffeeStation, BatchTimeAndPicturesBySetAndUpgrade) {
    const struct Case {
        int set, upgrade, batch;
        float time;
        const char* files;
    } cases[] = {
        {1, 1, 1, 4, "01"}, {1, 2, 2, 4, "02"}, {1, 3, 2, 4, "03"},   // set 1: never shorter
        {2, 1, 2, 5, "01"}, {2, 2, 2, 4, "02"}, {3, 3, 2, 5, "03"}, {3, 0, 2, 6, "01"},
    };
    for (const Case& c : cases) {
        build(c.set, c.upgrade);
        const std::string w = "Game/Worlds/" + std::to_string(c.set) + "/Coffee_St/";
        EXPECT_EQ(coffee->getBatch(), c.batch) << c.set << "/" << c.upgrade;
        EXPECT_FLOAT_EQ(coffee->getGenerationTime(), c.time) << c.set << "/" << c.upgrade;
        EXPECT_EQ(coffee->getPicture().str(), w + "stand" + c.files + ".dds");
        EXPECT_EQ(coffee->getGlow()->getPicture().str(), w + "glow" + c.files + ".dds");
        EXPECT_EQ(coffee->getLayer0FrameCount(), uint32_t(c.batch + 1)) << "the file says 7";
        EXPECT_EQ(coffee->getLayer0Frame(), 1u);
        if (c.batch == 1) {
            EXPECT_FLOAT_EQ(coffee->getSteam(0)->getDeep(), 1015.0f) << "absolute";
            EXPECT_EQ(coffee->getSteam(0)->getPosition(), cVector2(400, 70));
            EXPECT_EQ(coffee->getSteam(1), nullptr);
        } else {
            EXPECT_FLOAT_EQ(coffee->getSteam(0)->getDeep(), 105.0f);
            EXPECT_FLOAT_EQ(coffee->getSteam(1)->getDeep(), 106.0f);
            EXPECT_EQ(coffee->getSteam(1)->getPosition(), cVector2(410, 70));
        }
        EXPECT_EQ(coffee->getSteam(0)->getScale(), cVector2(2, 2));
        EXPECT_FLOAT_EQ(coffee->getGlow()->getDeep(), 102.0f);
        EXPECT_EQ(coffee->getControlPoint(), cVector2(400, 170));
        coffee->setState(0);
        EXPECT_EQ(coffee->getPicture().str(), w + "work" + c.files + ".dds");
        delete coffee;
        coffee = nullptr;
    }
}

TEST_F(CoffeeStation, BrewRefuseServeEachCupAndBrewAgain) {
    build(2, 1);
    Hands hands;
    // Empty: the arrival's use starts a brew (state not 6: a use, not a take).
    ASSERT_EQ(coffee->getState(), 0);
    EXPECT_TRUE(hands.use(coffee));
    EXPECT_EQ(coffee->isWorking(), 1);
    EXPECT_EQ(sound->count("sounds/game/coffee_mashine.ogg"), 1);
    EXPECT_FALSE(hands.use(coffee)) << "refused while brewing";
    EXPECT_EQ(sound->count("sounds/game/coffee_mashine.ogg"), 1);
    // The highlight never shows while brewing, even under the mouse.
    services.mousePosition = cVector2(400, 100);
    coffee->updateHover(true, false);
    EXPECT_TRUE(coffee->isHovered());
    EXPECT_FALSE(coffee->getHighlight()->isVisible());
    run(4.8f);
    EXPECT_FALSE(coffee->getSteam(0)->isOwnVisible());
    run(0.1f);
    EXPECT_EQ(coffee->getCups(), 0);
    EXPECT_TRUE(coffee->getSteam(0)->isOwnVisible()) << "the steam rises 0.15 s before the end";
    run(0.2f);
    EXPECT_EQ(coffee->isWorking(), 0);
    EXPECT_EQ(coffee->getCups(), 2);
    EXPECT_EQ(coffee->getState(), ITEM_COFFEE);
    EXPECT_EQ(coffee->getLayer0Frame(), 3u);
    run(0.5f);
    EXPECT_EQ(coffee->getSteam(0)->getVertexAlpha(0), 255u);
    EXPECT_EQ(coffee->getSteam(1)->getVertexAlpha(0), 255u);
    EXPECT_TRUE(coffee->getGlow()->isOwnVisible());
    coffee->updateHover(true, false);
    EXPECT_TRUE(coffee->getHighlight()->isVisible());
    // First cup: frame 2, the first steam fades out.
    ASSERT_TRUE(hands.take(coffee, coffee->getState()));
    EXPECT_EQ(hands.right, ITEM_COFFEE);
    EXPECT_EQ(coffee->getCups(), 1);
    EXPECT_EQ(coffee->getState(), ITEM_COFFEE);
    EXPECT_EQ(coffee->getLayer0Frame(), 2u);
    run(0.5f);
    EXPECT_FALSE(coffee->getSteam(0)->isOwnVisible());
    EXPECT_TRUE(coffee->getSteam(1)->isOwnVisible());
    // Second cup: frame 1, the second steam fades, the glow ends, the state is 0.
    ASSERT_TRUE(hands.take(coffee, coffee->getState()));
    EXPECT_EQ(hands.left, ITEM_COFFEE);
    EXPECT_EQ(coffee->getState(), 0);
    EXPECT_EQ(coffee->getLayer0Frame(), 1u);
    run(0.5f);
    EXPECT_FALSE(coffee->getSteam(1)->isOwnVisible());
    EXPECT_FALSE(coffee->getGlow()->isOwnVisible());
    EXPECT_EQ(sound->count("sounds/game/waiter_takes.ogg"), 2);
    // With both hands full and nothing ready the arrival still starts a brew.
    EXPECT_FALSE(hands.take(coffee, coffee->getState()));
    EXPECT_TRUE(hands.use(coffee));
    EXPECT_EQ(coffee->isWorking(), 1);
}

TEST_F(CoffeeStation, BonusModeBrewsFasterAndTheGlowHoldsAtItsEnds) {
    build(1, 1);   // 4 s, one cup
    bar->mode = true;
    coffee->setState(0);
    run(1.95f);
    EXPECT_EQ(coffee->isWorking(), 1);
    run(0.1f);
    EXPECT_EQ(coffee->isWorking(), 0) << "twice as fast";
    EXPECT_EQ(coffee->getCups(), 1);
    EXPECT_EQ(coffee->getLayer0Frame(), 2u);
    // The glow rises at 1000 a second to 255, holds 0.2 s, falls, holds again.
    bar->mode = false;
    // The longest runs of frames at 255 and at 0: the 0.2 s holds.
    int top = 0, bottom = 0, runTop = 0, runBottom = 0;
    for (int i = 0; i < 150; ++i) {
        step(0.01f);
        const uint32_t a = coffee->getGlow()->getVertexAlpha(0);
        runTop = a == 255u ? runTop + 1 : 0;
        runBottom = a == 0u ? runBottom + 1 : 0;
        top = std::max(top, runTop);
        bottom = std::max(bottom, runBottom);
    }
    EXPECT_GE(top, 20);
    EXPECT_LE(top, 21);
    EXPECT_GE(bottom, 20);
    EXPECT_LE(bottom, 21);
    // A use while cups wait takes one; none is brewed.
    EXPECT_TRUE(coffee->setState(0));
    EXPECT_EQ(coffee->getCups(), 0);
    EXPECT_EQ(coffee->isWorking(), 0);
}

}  // namespace
