// Item holders and their cloud and hand variants: what each id shows (pictures by world and
// band, overlays, hidden ids, ids outside the records), the overlay offsets per bread applied
// at the next placing, depths, the restart of the money animation, the folding of subs onto
// their bread's offset and the hand item's single offset from its anchor.

#include <gtest/gtest.h>

#include "game/restaurant/cCloudItem.h"
#include "game/restaurant/cHandItem.h"
#include "game/restaurant/cItemHolder.h"
#include "tests/game/restaurant/RestaurantTestSupport.h"

using namespace restaurant_test;

namespace {

class ItemHolder : public RestaurantTest {
protected:
    cItemHolder* make() {
        cItemHolder* holder = new cItemHolder(level);
        return holder;
    }
};

TEST_F(ItemHolder, ANewHolderIsHiddenWithStateZeroAndHiddenOverlays) {
    cItemHolder* h = make();
    EXPECT_FALSE(h->isVisible());
    EXPECT_EQ(h->getState(), 0);
    EXPECT_EQ(h->getKind(), KIND_ITEM_HOLDER);
    for (cPicture* o : {h->getSouseOverlay(), h->getSouse1Overlay(), h->getHotOverlay()}) EXPECT_FALSE(o->isVisible());
}

TEST_F(ItemHolder, EachIdShowsItsPictureAndOverlays) {
    const std::string common = "Game/Worlds/Common/Items/";
    struct Case {
        int id;
        int stored;
        const char* picture;   // "" hidden
        const char* souse;     // "" hidden
        const char* souse1;
        bool hot;
    } cases[] = {
        {60, 0, "", "", "", false},
        {-1, 0, "", "", "", false},    // an id below the records counts as 0 too
        {8, 8, "", "", "", false},
        {54, 54, "", "", "", false},
        {55, 55, "nothing.dds", "", "", false},
        {53, 53, "money.dds", "", "", false},
        {11, 11, "sub01.dds", "", "", false},
        {24, 24, "sub01.dds", "souse03.dds", "souse01.dds", true},
        {19, 19, "sub01.dds", "souse01.dds", "souse02.dds", false},
        {25, 25, "sub02.dds", "", "", false},
        {50, 50, "sub03.dds", "souse02.dds", "souse03.dds", true},
    };
    cItemHolder* h = make();
    for (const Case& c : cases) {
        EXPECT_TRUE(h->setState(c.id));
        EXPECT_EQ(h->getState(), c.stored) << c.id;
        EXPECT_EQ(h->isVisible(), *c.picture != 0) << c.id;
        if (*c.picture) EXPECT_EQ(std::string(h->getPicture()), common + c.picture) << c.id;
        EXPECT_EQ(h->getSouseOverlay()->isVisible(), *c.souse != 0) << c.id;
        if (*c.souse) EXPECT_EQ(std::string(h->getSouseOverlay()->getPicture()), common + c.souse) << c.id;
        EXPECT_EQ(h->getSouse1Overlay()->isVisible(), *c.souse1 != 0) << c.id;
        if (*c.souse1) EXPECT_EQ(std::string(h->getSouse1Overlay()->getPicture()), common + c.souse1) << c.id;
        EXPECT_EQ(h->getHotOverlay()->isVisible(), c.hot) << c.id;
    }
}

TEST_F(ItemHolder, StationItemsFollowTheWorldAndTheBandWithTheCottonCandiesSwapped) {
    for (int set = 1; set <= 3; ++set)
        for (int upgrade = 0; upgrade <= 3; ++upgrade) {
            look.graphicsSet = set;
            look.upgrades.drink = look.upgrades.cake = look.upgrades.snack = upgrade;
            look.upgrades.cotton1 = look.upgrades.cotton2 = upgrade;
            const std::string w = "Game/Worlds/" + std::to_string(set);
            const std::string band = upgrade >= 2 ? "02" : "01", swapped = upgrade >= 2 ? "01" : "02";
            const std::pair<int, std::string> expected[] = {
                {1, "drink" + band}, {2, "cake" + band}, {3, "snack" + band}, {4, "cottoncandy1" + swapped},
                {5, "cottoncandy2" + swapped}, {6, "coffee01"}, {7, "coffee_cream01"}};
            cItemHolder* h = make();
            cCloudItem* c = new cCloudItem(level);
            for (const auto& [id, stem] : expected) {
                EXPECT_EQ(std::string(h->getItemAnimation(id).picture), w + "/Items/" + stem + ".dds") << set << " " << upgrade;
                EXPECT_EQ(std::string(c->getItemAnimation(id).picture), w + "/Items_Cloud/" + stem + ".dds");
            }
            delete h;
            delete c;
        }
}

TEST_F(ItemHolder, OverlayOffsetsFollowTheBreadAndMoveAtTheNextPlacing) {
    cItemHolder* h = make();
    h->setPosition(cVector2(100, 100));
    h->setState(24);
    EXPECT_EQ(h->getSouseOverlay()->getPosition(), cVector2(100, 100)) << "not moved by setState";
    h->setPosition(cVector2(100, 100));
    EXPECT_EQ(h->getSouseOverlay()->getPosition(), cVector2(101, 101));
    EXPECT_EQ(h->getSouse1Overlay()->getPosition(), cVector2(111, 111));
    EXPECT_EQ(h->getHotOverlay()->getPosition(), cVector2(121, 121));
    h->setState(25);
    EXPECT_EQ(h->getOverlayOffset(0), cVector2(2, 2));
    h->setState(1);
    EXPECT_EQ(h->getOverlayOffset(2), cVector2(22, 22)) << "a non-sub keeps the last bread's offsets";

    h->setDeep(5.0f);
    EXPECT_FLOAT_EQ(h->getSouseOverlay()->getDeep(), 5.1f);
    EXPECT_FLOAT_EQ(h->getSouse1Overlay()->getDeep(), 5.2f);
    EXPECT_FLOAT_EQ(h->getHotOverlay()->getDeep(), 5.3f);
    h->getHotOverlay()->setDeep(0.0f);
    h->setPosition(cVector2(0, 0));
    EXPECT_FLOAT_EQ(h->getHotOverlay()->getDeep(), 5.3f) << "placing applies the depth rule again";
    h->setAlpha(77);
    EXPECT_EQ(h->getSouseOverlay()->getVertexAlpha(0), 77u);
}

TEST_F(ItemHolder, MoneyRestartsFromItsFirstFrameAndAnEmptyHolderStaysHiddenUnderAParentShownLater) {
    cItemHolder* h = make();
    h->setState(53);
    EXPECT_EQ(h->getLayer0FrameCount(), 7u);
    EXPECT_FALSE(h->isLayer0Looped());
    h->advanceAnimation(0.5f);
    EXPECT_GT(h->getLayer0Frame(), 1u);
    h->setState(53);
    EXPECT_EQ(h->getLayer0Frame(), 1u);

    level->hide();
    h->setState(0);
    level->show();
    EXPECT_FALSE(h->isVisible()) << "an empty holder would draw as an untextured square";
    cPicture* parent = new cPicture(level);   // hidden, as an owner under construction
    cItemHolder* child = new cItemHolder(parent);
    parent->show();
    EXPECT_FALSE(child->isVisible());
    child->setState(1);
    EXPECT_TRUE(child->isVisible());
}

TEST_F(ItemHolder, CloudItemsFoldSubsOntoTheirBreadAndMoveOnlyWhenPlaced) {
    cCloudItem* c = new cCloudItem(level);
    struct Case {
        int id;
        cVector2 offset;
    } cases[] = {{11, {0, 5}}, {19, {0, 5}}, {20, {0, 5}}, {24, {0, 5}}, {33, {0, 5}}, {47, {0, 5}},
                 {1, {1, 0}},  {5, {4, 0}},  {7, {6, 0}},  {53, {0, 0}}, {0, {0, 0}}};
    for (const Case& k : cases) {
        c->setPosition(cVector2(200, 200));
        const cVector2 before = c->getPosition();
        c->setState(k.id);
        EXPECT_EQ(c->getPosition(), before) << "setState alone does not move it: " << k.id;
        c->setPosition(cVector2(200, 200));
        EXPECT_EQ(c->getPosition(), cVector2(200, 200) + k.offset) << k.id;
    }
    // Cloud pictures and the "CLOUD" overlay offsets over "COMMON".
    c->setState(24);
    c->setPosition(cVector2(0, 0));
    EXPECT_EQ(std::string(c->getPicture()), "Game/Worlds/Common/Items_Cloud/sub01.dds");
    EXPECT_EQ(std::string(c->getSouseOverlay()->getPicture()), "Game/Worlds/Common/Items_Cloud/souse03.dds");
    EXPECT_EQ(std::string(c->getHotOverlay()->getPicture()), "Game/Worlds/Common/Items_Cloud/hot.dds");
    EXPECT_EQ(c->getSouseOverlay()->getPosition(), cVector2(-1, 4));   // (0,5) + (-1,-1)
    c->setState(26);
    EXPECT_EQ(c->getOverlayOffset(0), cVector2(2, 2)) << "bread 2 keeps the COMMON offset";
    c->setState(53);
    EXPECT_EQ(std::string(c->getPicture()), "Game/Worlds/Common/Items/money.dds");
    c->setState(99);
    EXPECT_EQ(c->getState(), 0);
}

TEST_F(ItemHolder, HandItemsAddTheirOffsetOnceFromTheAnchorInEveryDirection) {
    cHandItem* right = new cHandItem(level, 0);
    cHandItem* left = new cHandItem(level, 1);
    right->setPosition(cVector2(300, 300));
    right->setState(1);
    EXPECT_EQ(right->getPosition(), cVector2(305, 305)) << "stand offset of the drink";
    right->setDirection(12);
    EXPECT_EQ(right->getDirection(), 3);
    EXPECT_EQ(right->getPosition(), cVector2(306, 307)) << "direction d, placed from the anchor";
    for (int i = 0; i < 3; ++i) right->setDirection(3);
    EXPECT_EQ(right->getPosition(), cVector2(306, 307)) << "placing again does not add the offset again";
    right->setDirection(9);
    EXPECT_EQ(right->getDirection(), 0);
    right->setDirection(18);
    EXPECT_EQ(right->getDirection(), 0);
    right->setState(24);
    EXPECT_EQ(right->getPosition(), cVector2(300, 309)) << "subs fold onto the SUBS entry";
    right->setState(0);
    EXPECT_FALSE(right->isVisible());
    EXPECT_EQ(right->getPosition(), cVector2(300, 300));
    EXPECT_EQ(right->getAnchor(), cVector2(300, 300));

    left->setPosition(cVector2(0, 0));
    left->setState(2);
    left->setDirection(15);
    EXPECT_EQ(left->getPosition(), cVector2(-8, 3)) << "left hand, up and right, cake";
    EXPECT_EQ(std::string(left->getPicture()), "Game/Worlds/2/Items/cake01.dds");
}

}  // namespace
