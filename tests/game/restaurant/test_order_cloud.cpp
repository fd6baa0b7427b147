// Order clouds on the test clock: hidden at build, the pop with its overshoot and its hold
// until the item is shown, one growth step per frame with the first bubble first, the shared
// item fade, the red pulse, and the placing of bubbles, items and red copies.

#include <gtest/gtest.h>

#include <cmath>

#include "game/restaurant/cCloudItem.h"
#include "game/restaurant/cOrderCloud.h"
#include "tests/game/restaurant/RestaurantTestSupport.h"

using namespace restaurant_test;

namespace {

const float kStep = 0.01f;

class OrderCloud : public RestaurantTest {
protected:
    cPicture* table = nullptr;
    cOrderCloud* cloud = nullptr;
    void SetUp() override {
        RestaurantTest::SetUp();
        table = new cPicture(level);
        table->show();
        table->enable();
        cloud = new cOrderCloud(table, 2);
        cloud->setPosition(cVector2(200, 300));
        cloud->setDeep(20.0f);
    }
    // Steps until pred holds (at most seconds); returns the time taken, or -1.
    template <class Pred>
    float runUntil(Pred pred, float seconds = 2.0f) {
        for (float t = 0.0f; t < seconds; t += kStep) {
            if (pred()) return t;
            frame(kStep);
        }
        return pred() ? seconds : -1.0f;
    }
    bool firstAtRest() const {
        return cloud->getFirstPop().getPhase() == cOrderCloud::kRestPhase && cloud->getFirstPop().getScale().x == 1.0f;
    }
};

TEST_F(OrderCloud, IsBuiltHiddenWhateverItsSectionsSay) {
    EXPECT_FALSE(cloud->isOwnVisible());
    EXPECT_FALSE(cloud->getSecondBubble()->isOwnVisible());
    EXPECT_FALSE(cloud->getFirstRed()->isOwnVisible());
    EXPECT_FALSE(cloud->getSecondRed()->isOwnVisible());
    EXPECT_EQ(cloud->getScale(), cVector2(0, 0));
    EXPECT_EQ(cloud->getSecondItem(), 0);
    frame(kStep);
    EXPECT_FALSE(cloud->isVisible()) << "an idle cloud stays hidden";
}

TEST_F(OrderCloud, PlacesBubblesItemsAndRedCopiesByTheirOriginsAndLayersThem) {
    // Table (200,300) + table offset (10,-50): the first bubble's reference point (210,250).
    EXPECT_EQ(cloud->getPosition(), cVector2(216, 262));
    EXPECT_EQ(cloud->getFirstRed()->getPosition(), cVector2(216, 262));
    EXPECT_EQ(cloud->getSecondBubble()->getPosition(), cVector2(254, 258));
    EXPECT_EQ(cloud->getSecondRed()->getPosition(), cVector2(254, 258));
    cloud->showFirstItem(1);     // drink: cloud offset (1,0)
    cloud->showSecondItem(25);   // sub: (0,5)
    EXPECT_EQ(cloud->getFirstItem()->getPosition(), cVector2(211, 250));
    EXPECT_EQ(cloud->getSecondItemHolder()->getPosition(), cVector2(250, 255));
    const float deeps[] = {20.0f, 20.1f, 20.2f, 20.3f, 20.4f, 20.5f};
    const cSprite* parts[] = {cloud, cloud->getFirstRed(), cloud->getFirstItem(), cloud->getSecondBubble(),
                              cloud->getSecondRed(), cloud->getSecondItemHolder()};
    for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(parts[i]->getDeep(), deeps[i]) << i;
}

TEST_F(OrderCloud, PopsWithOvershootThenHoldsUntilTheItemIsShown) {
    cloud->showFirstItem(2);
    EXPECT_TRUE(cloud->isVisible());
    float peak = 0.0f;
    bool heldBeforeShown = false;
    const float t = runUntil([&] {
        peak = std::max(peak, cloud->getScale().x);
        if (firstAtRest() && cloud->getFirstState() == 1) heldBeforeShown = true;
        return cloud->getFirstState() == 0;
    });
    ASSERT_GT(t, 0.0f);
    EXPECT_NEAR(peak, 1.1f, 0.01f);
    EXPECT_TRUE(heldBeforeShown) << "the bubble waits at scale 1 for its item";
    EXPECT_NEAR(t, 0.25f, 0.03f);   // the item fades in from phase 1.4 at 2000 per second
    EXPECT_TRUE(firstAtRest());
    EXPECT_EQ(cloud->getScale(), cVector2(1, 1));
    EXPECT_EQ(cloud->getFirstItem()->getVertexAlpha(0), 255u);
    EXPECT_TRUE(cloud->getFirstRed()->isOwnVisible());

    // A new id at rest keeps the size; 0 shrinks the bubble away and hides the cloud.
    cloud->showFirstItem(3);
    frame(kStep);
    EXPECT_EQ(cloud->getScale(), cVector2(1, 1));
    cloud->showFirstItem(0);
    EXPECT_GT(runUntil([&] { return !cloud->isOwnVisible(); }), 0.0f);
    EXPECT_EQ(cloud->getFirstItem()->getState(), 0);
    EXPECT_EQ(cloud->getFirstState(), 0);
}

TEST_F(OrderCloud, TheFirstBubbleStepsBeforeTheSecond) {
    // A second item on a gone cloud pops an empty first bubble first.
    cloud->showSecondItem(6);
    frame(kStep);
    EXPECT_GT(cloud->getScale().x, 0.0f);
    EXPECT_EQ(cloud->getSecondPop().getPhase(), 0.0f) << "the second bubble waits";
    EXPECT_EQ(cloud->getFirstItem()->getState(), 0);
    EXPECT_EQ(cloud->getFirstState(), 0) << "an empty first bubble pops without a state of its own";
    const float rest = runUntil([&] { return firstAtRest(); });
    ASSERT_GT(rest, 0.0f);
    frame(kStep);
    EXPECT_GT(cloud->getSecondPop().getPhase(), 0.0f);
    ASSERT_GT(runUntil([&] { return cloud->getSecondState() == 0; }), 0.0f);
    EXPECT_EQ(cloud->getSecondItem(), 6);

    // First item 0 while the second is shown: the second shrinks away first.
    cloud->showFirstItem(0);
    frame(kStep);
    EXPECT_TRUE(firstAtRest()) << "the first waits";
    EXPECT_LT(cloud->getSecondPop().getPhase(), cOrderCloud::kRestPhase);
    ASSERT_GT(runUntil([&] { return !cloud->getSecondBubble()->isOwnVisible(); }), 0.0f);
    EXPECT_EQ(cloud->getSecondItem(), 0);
    EXPECT_TRUE(cloud->isOwnVisible());
    ASSERT_GT(runUntil([&] { return !cloud->isOwnVisible(); }), 0.0f);
}

TEST_F(OrderCloud, TheItemFadeIsSharedByBothBubbles) {
    cloud->showFirstItem(1);
    ASSERT_GT(runUntil([&] { return cloud->getFirstState() == 0; }), 0.0f);
    EXPECT_FLOAT_EQ(cloud->getItemAlpha(), 255.0f);
    cloud->showSecondItem(2);
    EXPECT_EQ(cloud->getSecondItemHolder()->getVertexAlpha(0), 0u);
    runUntil([&] { return cloud->getSecondPop().getPhase() > 1.4f; });
    frame(kStep);
    EXPECT_EQ(cloud->getSecondItemHolder()->getVertexAlpha(0), 255u) << "full at once after the other's fade";
}

TEST_F(OrderCloud, RedPulseRisesHoldsFallsAndRestsOverABubbleAtRest) {
    cloud->showFirstItem(1);
    ASSERT_GT(runUntil([&] { return cloud->getFirstState() == 0; }), 0.0f);
    cloud->setHighlighted(true);
    auto red = [&] { return cloud->getFirstRed()->getVertexAlpha(0); };
    const float up = runUntil([&] { return red() == 255u; });
    EXPECT_NEAR(up, 0.1275f, 0.011f);
    const float held = runUntil([&] { return red() < 255u; });
    EXPECT_NEAR(held, 0.3f, 0.011f);
    const float down = runUntil([&] { return red() == 0u; });
    EXPECT_NEAR(down, 0.1275f - kStep, 0.011f);
    const float off = runUntil([&] { return red() > 0u; });
    EXPECT_NEAR(off, 0.2f, 0.011f);
    EXPECT_EQ(cloud->getSecondRed()->getVertexAlpha(0), 0u) << "a hidden red copy stays dark";

    cloud->setHighlighted(false);
    frame(kStep);
    EXPECT_EQ(red(), 0u);
    cloud->setHighlighted(true);
    runUntil([&] { return red() > 100u; });
    cloud->showFirstItem(0);
    frame(kStep);
    EXPECT_FALSE(cloud->getFirstRed()->isOwnVisible());
    EXPECT_EQ(red(), 0u) << "a shrinking bubble loses its glow at once";
}

}  // namespace
