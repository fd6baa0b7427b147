// Tables: what they read and where they put their parts, a guest's life from seating to the
// money flying off (refusal while the guest appears, the payout by mood, the 0.3 s delay,
// theft), the bonus-mode value, the gating of coins and sparkles, hover through the guest and
// the highlight rules.

#include <gtest/gtest.h>

#include "game/effects/cFxMoney.h"
#include "game/effects/cFxSparkle.h"
#include "game/restaurant/cHighlight.h"
#include "game/restaurant/cItemHolder.h"
#include "game/restaurant/cOrderCloud.h"
#include "game/restaurant/cTable.h"
#include "tests/game/restaurant/RestaurantTestSupport.h"

using namespace restaurant_test;

namespace {

const float kStep = 0.01f;

class Table : public RestaurantTest {
protected:
    cTable* table = nullptr;
    cCustomer* guest = nullptr;
    void SetUp() override {
        RestaurantTest::SetUp();
        table = new cTable(level, 2);
        table->show();
        table->enable();
    }
    void run(float seconds) {
        for (float t = 0.0f; t < seconds - 1e-4f; t += kStep) frame(kStep);
    }
    // Seats a guest and plays it to waiting for an item, as the waitress and guest would.
    void seatAndOrder(int32_t mood, int32_t money, int32_t item = 1) {
        guest = makeGuest(mood, money);
        table->seatCustomer(guest);
        guest->setStage(STAGE_WAITING_FOR_ORDER);
        ASSERT_TRUE(table->setState(ITEM_ORDER_TAKEN));
        guest->setStage(STAGE_WAITING_FOR_ITEM);
        ASSERT_TRUE(table->setState(item));
    }
    int states(int k) const { return table->getMoneyBox(k)->getState(); }
};

TEST_F(Table, ReadsItsFilesAndLaysOutItsParts) {
    EXPECT_EQ(table->getKind(), KIND_TABLE);
    EXPECT_EQ(table->getPosition(), cVector2(200, 300));
    EXPECT_FLOAT_EQ(table->getDeep(), 340.0f);   // y + frame height / 1.5
    EXPECT_EQ(std::string(table->getPicture()), "Game/Worlds/2/Interior/Tables/table_order202.dds");
    EXPECT_EQ(table->getControlPoint(), cVector2(230, 490));
    for (int k = 0; k < 3; ++k) {
        EXPECT_FLOAT_EQ(table->getMoneyBox(k)->getDeep(), 341.0f + 0.1f * float(k));
        EXPECT_EQ(table->getMoneyBox(k)->getPosition(), table->getItemPlace(k));
        EXPECT_FALSE(table->getMoneyBox(k)->isVisible());
    }
    EXPECT_EQ(table->getItemPlace(2), cVector2(200, 330));
    EXPECT_FLOAT_EQ(table->getDollar()->getDeep(), 340.5f);
    EXPECT_EQ(table->getDollar()->getPosition(), cVector2(200, 290));
    EXPECT_EQ(table->getDollar()->getPicture(), cStringA("Game/Effects/dollar.dds"));
    EXPECT_FALSE(table->getDollar()->isVisible());
    EXPECT_FLOAT_EQ(table->getPointer(0)->getDeep(), 386.0f);
    EXPECT_FLOAT_EQ(table->getPointer(1)->getDeep(), 386.1f);
    EXPECT_EQ(table->getPointer(1)->getPosition(), cVector2(210, 280));
    EXPECT_FLOAT_EQ(table->getCloud()->getDeep(), 350.0f);
    EXPECT_EQ(table->getCloud()->getPosition(), cVector2(216, 262));
    EXPECT_FALSE(table->getCloud()->isVisible());
    EXPECT_FALSE(table->getHighlight()->isVisible());
    EXPECT_EQ(table->getHighlight()->getVertexAlpha(0), 200u);
    EXPECT_EQ(table->getMoneyDirection(), cVector2(44, -5));
    EXPECT_EQ(table->getMoneyColor(), 4294956800u);
    EXPECT_EQ(table->getTempMultiplier(), 3);
    EXPECT_TRUE(table->isFree());
    // The polygon file follows the graphics set (any set other than 2 and 3 reads the first).
    const struct {
        int set;
        float bottom;
    } sets[] = {{1, 55}, {2, 60}, {3, 65}, {7, 55}};
    for (const auto& s : sets) {
        look.graphicsSet = s.set;
        cTable* t = new cTable(level, 1);
        ASSERT_EQ(t->getHitPolygon().size(), 4u);
        EXPECT_EQ(t->getHitPolygon()[2].y, s.bottom) << s.set;
        delete t;
    }
}

TEST_F(Table, AGuestIsRefusedWhileAppearingThenOrdersAndIsServed) {
    guest = makeGuest(8, 100);
    table->seatCustomer(guest);
    EXPECT_EQ(table->getState(), ITEM_WAITING);
    EXPECT_EQ(guest->getStage(), STAGE_APPEARING);
    EXPECT_EQ(guest->getTable(), table);
    EXPECT_FLOAT_EQ(guest->getDeep(), 342.5f);   // table 2: + 0.5 x 5
    EXPECT_FALSE(table->isFree());
    EXPECT_FALSE(table->setState(ITEM_ORDER_TAKEN)) << "refused while the guest appears";
    EXPECT_EQ(table->getState(), ITEM_WAITING);
    EXPECT_EQ(guest->getState(), ITEM_WAITING) << "nothing forwarded";

    guest->setStage(STAGE_WAITING_FOR_ORDER);
    EXPECT_TRUE(table->setState(ITEM_ORDER_TAKEN));
    EXPECT_EQ(guest->getStage(), STAGE_ORDERING);
    EXPECT_EQ(table->getState(), ITEM_ORDER_TAKEN);
    guest->setStage(STAGE_WAITING_FOR_ITEM);
    table->setState(19);
    EXPECT_EQ(table->getState(), 19);

    // The last delivery: the money is laid out at once, the state stays 0 for 0.3 s.
    EXPECT_TRUE(table->setState(0));
    EXPECT_EQ(guest->getStage(), STAGE_LEAVING_HAPPY);
    EXPECT_EQ(table->getState(), 0);
    EXPECT_FALSE(table->isFree());
    run(0.25f);
    EXPECT_EQ(table->getState(), 0);
    run(0.07f);
    EXPECT_EQ(table->getState(), ITEM_MONEY);
    EXPECT_EQ(table->getMoneyValue(), 130) << "orders + tip1";

    // The guest goes; the table keeps its money and is not free until it is collected.
    guest->setStage(STAGE_GONE);
    frame(kStep);
    EXPECT_EQ(table->getCustomer(), nullptr);
    EXPECT_FALSE(table->isFree());
    EXPECT_TRUE(table->setState(0));
    EXPECT_EQ(live<cFxMoney>(), 3u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(states(k), 0);
    frame(kStep);
    EXPECT_EQ(table->getState(), 0);
    EXPECT_TRUE(table->isFree());
}

TEST_F(Table, PayoutAndFlightsFollowTheMood) {
    struct Case {
        int mood;
        int boxes;        // boxes holding money
        int places[3];    // place of each money box
        int value;
    } cases[] = {{8, 3, {0, 1, 2}, 130}, {7, 3, {0, 1, 2}, 130}, {6, 2, {0, 2, -1}, 115},
                 {5, 2, {0, 2, -1}, 115}, {4, 1, {1, -1, -1}, 100}, {1, 1, {1, -1, -1}, 100}};
    for (const Case& c : cases) {
        cTable* t = new cTable(level, 3);
        t->show();
        t->enable();
        std::swap(t, table);
        seatAndOrder(c.mood, 100);
        table->setState(0);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(states(k) == ITEM_MONEY, k < c.boxes) << c.mood << " box " << k;
            if (k < c.boxes) EXPECT_EQ(table->getMoneyBox(k)->getPosition(), table->getItemPlace(c.places[k])) << c.mood;
        }
        EXPECT_EQ(table->getMoneyValue(), c.value) << c.mood;
        cEffectRegistry<cFxMoney>::clear();
        run(0.31f);
        table->setState(0);
        EXPECT_EQ(live<cFxMoney>(), size_t(c.boxes)) << c.mood;
        // Each flight starts at its box, just above it.
        int k = 0;
        for (auto& [serial, node] : cEffectRegistry<cFxMoney>::instances()) {
            auto* coin = static_cast<cFxMoney*>(node);
            EXPECT_EQ(coin->getPosition(), table->getItemPlace(c.places[k])) << c.mood << " flight " << k;
            EXPECT_NEAR(coin->getDeep(), table->getMoneyBox(k)->getDeep() + 0.1f, 1e-4f);
            ++k;
        }
        delete table;
        table = t;
        cEffectRegistry<cFxMoney>::clear();
    }
}

TEST_F(Table, MoneyIsWorthTheMultiplierWhenCollectedInBonusMode) {
    effects_test::TestBonuses* bonus = makeBar();
    seatAndOrder(4, 100);
    table->setState(0);
    bonus->mode = true;
    EXPECT_EQ(table->getMoneyValue(), 300);
    bonus->mode = false;
    EXPECT_EQ(table->getMoneyValue(), 100);

    // The thief takes everything at once: no flights, no points.
    run(0.31f);
    table->clearMoney();
    EXPECT_EQ(table->getState(), 0);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(states(k), 0);
    EXPECT_EQ(live<cFxMoney>(), 0u);
}

TEST_F(Table, CoinsAppearOneBoxAfterAnotherAndGlitterOnlyInBonusModeWithFullEffects) {
    effects_test::TestBonuses* bonus = makeBar();
    seatAndOrder(8, 100);
    table->setState(0);
    // Seven frames over 0.7 s: box 0 shows frame 3 from 0.2 s and frame 6 from 0.5 s.
    run(0.15f);
    EXPECT_EQ(table->getMoneyBox(1)->getLayer0Time(), 0.0f);
    run(0.1f);
    EXPECT_GT(table->getMoneyBox(1)->getLayer0Time(), 0.0f);
    EXPECT_EQ(table->getMoneyBox(2)->getLayer0Time(), 0.0f);
    run(0.3f);
    EXPECT_GT(table->getMoneyBox(2)->getLayer0Time(), 0.0f);

    run(0.1f);
    EXPECT_EQ(live<cFxSparkle>(), 0u) << "no sparkles outside bonus mode";
    EXPECT_FALSE(table->getDollar()->isVisible());
    bonus->mode = true;
    setFullEffects(false);
    run(0.1f);
    EXPECT_TRUE(table->getDollar()->isVisible());
    EXPECT_EQ(live<cFxSparkle>(), 0u) << "no sparkles without full effects";
    setFullEffects(true);
    frame(kStep);
    frame(kStep);
    // Box 0 has reached frame 7; boxes 1 and 2 are still behind.
    EXPECT_GE(live<cFxSparkle>(), 1u);
    for (auto& [serial, node] : cEffectRegistry<cFxSparkle>::instances())
        EXPECT_EQ(static_cast<cFxSparkle*>(node)->getPicture(), cStringA("Game/Worlds/Common/Items/money_glow.dds"));
    bonus->mode = false;
    frame(kStep);
    EXPECT_FALSE(table->getDollar()->isVisible());
}

TEST_F(Table, HoverGoesThroughTheGuestAndTheHighlightFollowsTheRules) {
    // The table's polygon covers (200..290, 300..360): not centred, so from its position.
    services.mousePosition = cVector2(250, 330);
    table->updateHover(true, false);
    EXPECT_TRUE(table->isHovered());
    EXPECT_FALSE(table->getHighlight()->isVisible()) << "an empty table never lights up";

    guest = makeGuest(8, 100);
    guest->setLayer0FrameSize(cVector2(20, 40));
    for (cVector2 p : {cVector2(0, 0), cVector2(20, 0), cVector2(20, 40), cVector2(0, 40)}) guest->addHitPoint(p);
    table->seatCustomer(guest);
    guest->setPosition(cVector2(400, 100));   // seating put it at its seat
    table->updateHover(true, false);
    EXPECT_TRUE(table->isHovered());
    EXPECT_FALSE(guest->isHovered()) << "an appearing guest is never hovered";

    guest->setStage(STAGE_WAITING_FOR_ORDER);
    table->updateHover(true, false);
    EXPECT_TRUE(guest->isHovered()) << "a hovered table shows its guest hovered";
    EXPECT_TRUE(table->getHighlight()->isVisible());
    services.mousePosition = cVector2(400, 100);   // only the guest
    table->updateHover(true, false);
    EXPECT_TRUE(table->isHovered());
    guest->setStage(STAGE_ORDERING);
    table->updateHover(true, false);
    EXPECT_FALSE(table->getHighlight()->isVisible()) << "hidden while the guest orders";
    EXPECT_FALSE(guest->getHighlight()->isVisible());
    guest->setStage(STAGE_WAITING_FOR_ITEM);
    table->setBlocked(true);
    table->updateHover(true, false);
    EXPECT_FALSE(table->isHovered());
    EXPECT_FALSE(guest->isHovered());
    table->setBlocked(false);
    services.mousePosition = cVector2(10, 10);
    table->updateHover(true, false);
    EXPECT_FALSE(table->isHovered());
    EXPECT_FALSE(table->getHighlight()->isVisible());

    // The waitress-coming flag reaches a guest that waits for its item; clearing always does.
    table->setWaitressComing(true);
    EXPECT_TRUE(guest->isWaitressComing());
    guest->setStage(STAGE_ORDERING);
    table->setWaitressComing(false);
    EXPECT_FALSE(guest->isWaitressComing());
    table->setWaitressComing(true);
    EXPECT_FALSE(guest->isWaitressComing());
}

TEST_F(Table, ForwardsTheGuestsWantsToItsCloud) {
    table->showFirstItem(55);
    EXPECT_TRUE(table->getCloud()->isVisible());
    table->showSecondItem(3);
    EXPECT_EQ(table->getSecondItem(), 3);
}

}  // namespace
