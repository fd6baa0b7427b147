// Click targets: the item vocabulary, the polygon hit test with and without the centred frame,
// the standard hover of an owner, the pointer marks over queued clicks and arrivals, the
// polygon and placement from configuration, and the hover highlight.

#include <gtest/gtest.h>

#include "game/effects/cFxPointer.h"
#include "game/restaurant/cClickTarget.h"
#include "game/restaurant/cHighlight.h"
#include "platform/device/RecordingDevice.h"
#include "tests/game/restaurant/RestaurantTestSupport.h"

using namespace restaurant_test;

namespace {

// A picture with a click target, opening the owners' shared steps.
class TestTarget : public cPicture, public cClickTarget {
public:
    explicit TestTarget(cSceneNode* parent) : cPicture(parent), cClickTarget(this) {}
    void updateHover(bool testMouse, bool value) override { hoverOwner(*this, testMouse, value); }
    using cClickTarget::loadHitPolygon;
    using cClickTarget::placeFromPaths;
    using cClickTarget::placePointers;
    using cClickTarget::loadPointerOffsets;
};

TEST(ItemIds, NamesFollowTheTableAndTheSubRule) {
    struct Case {
        ItemId id;
        const wchar_t* name;
    } cases[] = {{0, L""},           {1, L"drink"},       {4, L"cotton_candy_1"}, {5, L"cotton_candy_2"},
                 {7, L"coffee_cream"}, {8, L"condiment_1"}, {10, L"condiment_3"},  {11, L"sub_1000"},
                 {12, L"sub_1001"},  {19, L"sub_1120"},   {24, L"sub_1311"},     {25, L"sub_2000"},
                 {52, L"sub_3311"},  {53, L"money"},      {54, L""},             {55, L""},
                 {56, L""},          {-1, L""}};
    for (const Case& c : cases) EXPECT_EQ(itemName(c.id), cStringW(c.name)) << c.id;
}

TEST(ItemIds, SubsRoundTripBakeToTheNextIdAndFoldOntoTheirPlainSub) {
    const char* codes[7] = {"00", "10", "20", "30", "12", "23", "31"};
    for (int bread = 1; bread <= 3; ++bread)
        for (int set = 0; set <= 6; ++set) {
            const ItemId raw = subId(bread, set, false);
            ASSERT_TRUE(isSub(raw));
            EXPECT_EQ(subId(bread, set, true), raw + 1);
            EXPECT_EQ(raw % 2, 1) << "raw subs are odd";
            EXPECT_EQ(subBread(raw + 1), bread);
            EXPECT_EQ(subSauceSet(raw + 1), set);
            EXPECT_TRUE(isBakedSub(raw + 1));
            EXPECT_FALSE(isBakedSub(raw));
            EXPECT_EQ(plainSubOf(raw + 1), subId(bread, 0, false));
            const std::string name = "sub_" + std::to_string(bread) + codes[set] + "1";
            EXPECT_EQ(itemName(raw + 1), cStringW(name.c_str()));
        }
    EXPECT_EQ(subId(0, 0, false), 0);
    EXPECT_EQ(subId(1, 7, false), 0);
    for (ItemId id : {0, 1, 10, 53, 55}) EXPECT_EQ(plainSubOf(id), id);
    EXPECT_EQ(validItemOr0(-3), 0);
    EXPECT_EQ(validItemOr0(56), 0);
    EXPECT_EQ(validItemOr0(55), 55);
}

class ClickTarget : public RestaurantTest {
protected:
    TestTarget* target = nullptr;
    void SetUp() override {
        RestaurantTest::SetUp();
        target = new TestTarget(level);
        target->show();
        target->enable();
        target->setPosition(cVector2(100, 100));
    }
    void square(bool clockwise = true) {
        const cVector2 cw[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
        for (int i = 0; i < 4; ++i) target->addHitPoint(cw[clockwise ? i : 3 - i]);
    }
};

TEST_F(ClickTarget, HitTestAcceptsOnlyPointsStrictlyInsideAClockwisePolygon) {
    struct Case {
        const char* what;
        int points;        // corners of the square used (2 or 4)
        bool clockwise;
        bool blocked;
        cVector2 mouse, frame;
        bool hovered;
    } cases[] = {
        {"inside", 4, true, false, {105, 105}, {}, true},
        {"left edge", 4, true, false, {100, 105}, {}, false},
        {"bottom edge", 4, true, false, {105, 110}, {}, false},
        {"corner", 4, true, false, {100, 100}, {}, false},
        {"outside", 4, true, false, {95, 105}, {}, false},
        {"counter-clockwise", 4, false, false, {105, 105}, {}, false},
        {"frame moves the polygon by half", 4, true, false, {95, 95}, {20, 20}, true},
        {"and the old spot is outside", 4, true, false, {105, 105}, {20, 20}, false},
        {"two points", 2, true, false, {105, 105}, {}, false},
        {"blocked", 4, true, true, {105, 105}, {}, false},
    };
    for (const Case& c : cases) {
        TestTarget* t = new TestTarget(level);
        const cVector2 cw[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
        for (int i = 0; i < c.points; ++i) t->addHitPoint(cw[c.clockwise ? i : 3 - i]);
        t->setBlocked(c.blocked);
        t->hitTest(c.mouse, cVector2(100, 100), c.frame);
        EXPECT_EQ(t->isHovered(), c.hovered) << c.what;
        delete t;
    }
}

TEST_F(ClickTarget, HoverUsesTheFrameSizeOnlyWhenCentredAndBlockedClearsIt) {
    square();
    services.mousePosition = cVector2(95, 95);
    // Centred (the default) without a frame size: no offset.
    target->updateHover(true, false);
    EXPECT_FALSE(target->isHovered());
    target->setLayer0FrameSize(cVector2(20, 20));
    target->updateHover(true, false);
    EXPECT_TRUE(target->isHovered());
    target->setTransformFlags(TF_CENTERED, false);
    target->updateHover(true, false);
    EXPECT_FALSE(target->isHovered());
    // Without the mouse the value is taken; blocked forces false.
    target->updateHover(false, true);
    EXPECT_TRUE(target->isHovered());
    target->setBlocked(true);
    target->updateHover(false, true);
    EXPECT_FALSE(target->isHovered());
}

TEST_F(ClickTarget, ThreeClicksShowTwoMarksAndArrivalsHideMarkTwoThenOne) {
    target->placePointers(target->getPosition(), 5.0f, 10.0f, 10.1f);
    cPicture* one = target->getPointer(0);
    cPicture* two = target->getPointer(1);
    EXPECT_FALSE(one->isVisible());
    EXPECT_EQ(one->getPicture(), cStringA("Game/Interface/Surfaces/pointer.dds"));
    for (int click = 0; click < 3; ++click) target->showPointer(true);
    EXPECT_TRUE(one->isVisible());
    EXPECT_TRUE(two->isVisible());
    EXPECT_FLOAT_EQ(two->getDeep(), 15.1f);

    target->showPointer(false);
    EXPECT_TRUE(one->isVisible());
    EXPECT_FALSE(two->isVisible());
    ASSERT_EQ(live<cFxPointer>(), 1u);
    auto* copy = static_cast<cFxPointer*>(cEffectRegistry<cFxPointer>::instances().begin()->second);
    EXPECT_EQ(copy->getParent(), level);
    EXPECT_FLOAT_EQ(copy->getDeep(), 15.1f);
    target->showPointer(false);
    EXPECT_FALSE(one->isVisible());
    EXPECT_EQ(live<cFxPointer>(), 2u);
    target->showPointer(false);
    EXPECT_EQ(live<cFxPointer>(), 2u) << "the third arrival hides nothing";

    target->showPointer(true);
    target->showPointer(true);
    target->hidePointers();
    EXPECT_FALSE(one->isVisible());
    EXPECT_FALSE(two->isVisible());
    EXPECT_EQ(live<cFxPointer>(), 4u);
}

TEST_F(ClickTarget, PolygonOffsetsAndControlPointComeFromConfiguration) {
    auto ini = makeIni({{L"v1", L"1,2"}, {L"v2", L"3 4"}, {L"v3", L"5,6"}, {L"v5", L"7,8"},
                        {L"pointer_offset", L"0,-20"}, {L"pointer1_offset", L"5,-20"}});
    target->loadHitPolygon(*ini, kSection);
    ASSERT_EQ(target->getHitPolygon().size(), 3u) << "a missing v4 ends the list";
    EXPECT_EQ(target->getHitPolygon()[1], cVector2(3, 4));
    target->loadPointerOffsets(*ini, kSection);
    target->placePointers(cVector2(100, 100), 1.0f, 46.0f, 46.1f);
    EXPECT_EQ(target->getPointer(1)->getPosition(), cVector2(105, 80));

    target->placeFromPaths("TABLE_ORDER_2");
    EXPECT_EQ(target->getControlPoint(), cVector2(230, 490));
    target->setControlPoint(cVector2(1, 1));
    target->placeFromPaths("TRASH");
    EXPECT_EQ(target->getControlPoint(), cVector2(1, 1)) << "a missing element leaves the point";
    look.pathsFileName = "Packs/Paths/s1p3.xml";
    EXPECT_ANY_THROW(target->placeFromPaths("TABLE_ORDER_1")) << "a document that is not loaded";
}

TEST_F(ClickTarget, HighlightCopiesItsParentOnceAndDrawsWithAlphaReference128) {
    target->setPicture("cloud.dds");
    target->setDeep(7.0f);
    target->setLayer0FrameCount(4);
    target->setLayer0Length(1.0f);
    target->setLayer0Time(0.5f);
    cHighlight* glow = new cHighlight(false, target, 200);
    EXPECT_FALSE(glow->isVisible());
    EXPECT_FLOAT_EQ(glow->getDeep(), 7.1f);
    EXPECT_EQ(glow->getPosition(), cVector2(100, 100));
    EXPECT_EQ(glow->getPicture(), cStringA("cloud.dds"));
    EXPECT_EQ(glow->getLayer0Frame(), 3u);
    EXPECT_EQ(glow->getVertexAlpha(2), 200u);
    EXPECT_TRUE(glow->testRenderFlags(RF_OVERLAY));
    EXPECT_FALSE(glow->testTransformFlags(TF_CENTERED));
    glow->setVisible(true);
    EXPECT_TRUE(glow->isVisible());
    glow->setVisible(false);
    EXPECT_FALSE(glow->isVisible());

    cRecordingDevice device;
    ASSERT_EQ(glow->getBeginDrawCallback(), &cHighlight::beginDraw);
    glow->getBeginDrawCallback()(&device);
    EXPECT_EQ(device.getRenderState(RenderState::AlphaRef), 128u);
}

}  // namespace
