// The sub counter: ordering at a bread, the cook loop with its sounds and timings, the push of
// finished subs along the plates and the discard at the trash, the waits and the hint, the
// plates' own motions and the hover pick, driven as the level drives them.

#include <gtest/gtest.h>

#include <cmath>

#include "tests/game/characters/WaitressTestSupport.h"
#include "tests/game/restaurant/SubCounterTestSupport.h"

using namespace counter_test;

namespace {

class SubCounter : public CounterTest {};

TEST_F(SubCounter, BuildsBreadsAndPlatesByTheLevelsUpgradesAtTheirRowAndControlPoint) {
    struct Case {
        int sub1, sub2, sub3, places;
        int32_t ids[3];
        cVector2 positions[2];
        cVector2 control;
    };
    const Case cases[] = {
        {1, 0, 1, 3, {11, 39, 0}, {{600, 250}, {640, 250}}, {650, 360}},
        {0, 1, 0, 2, {25, 0, 0}, {{600, 250}, {}}, {650, 300}},
        {1, 1, 1, 1, {11, 25, 39}, {{600, 250}, {640, 250}}, {650, 300}},
    };
    for (const Case& c : cases) {
        look.upgrades.sub1 = c.sub1, look.upgrades.sub2 = c.sub2, look.upgrades.sub3 = c.sub3;
        look.upgrades.subPlace1 = 1, look.upgrades.subPlace2 = c.places >= 2, look.upgrades.subPlace3 = c.places >= 3;
        build();
        SCOPED_TRACE(c.places);
        EXPECT_EQ(counter->getPlaceCount(), c.places);
        for (int i = 0; i < 3; ++i) {
            cSub* sub = counter->getSub(i);
            ASSERT_EQ(sub != nullptr, c.ids[i] != 0) << i;
            if (!sub) continue;
            EXPECT_EQ(sub->getState(), c.ids[i]);
            EXPECT_EQ(sub->getControlPoint(), c.control);
            if (i < 2) {
                EXPECT_EQ(sub->getPosition(), c.positions[i]);
            }
        }
        for (int i = 0; i < 3; ++i) {
            ASSERT_EQ(counter->getPlace(i) != nullptr, i < c.places);
            if (i < c.places) {
                EXPECT_EQ(counter->getPlace(i)->getControlPoint(), cVector2(650.0f, 300.0f + 60.0f * i));
            }
        }
        EXPECT_EQ(counter->getControlPoint(), c.control);
        EXPECT_EQ(counter->getDiscardPlace()->getPosition(), trash->getPosition());
        EXPECT_EQ(counter->getDiscardPlace()->getHome(), trash->getPosition());
        EXPECT_EQ(counter->getMaker()->getParent(), counter);
        delete counter;
        delete trash;
    }
}

TEST_F(SubCounter, PicturesFollowBreadCounterUpgradeSetAndMaking) {
    look.upgrades.counter = 2;
    look.graphicsSet = 2;
    build();
    EXPECT_EQ(counter->getSub(1)->getPicture(), cStringA("Game/Worlds/2/Subs_St/sub202.dds"));
    counter->getSub(2)->setMaking(true);
    EXPECT_EQ(counter->getSub(2)->getPicture(), cStringA("Game/Worlds/2/Subs_St/sub302_make.dds"));
    EXPECT_EQ(counter->getSub(2)->getHighlight()->getPicture(), cStringA("Game/Worlds/2/Subs_St/sub302_make.dds"));
    EXPECT_EQ(counter->getSub(2)->getHighlight()->getVertexAlpha(0), 300u & 0xFFu);
    delete counter;
    delete trash;
    look.upgrades.counter = 1;
    look.graphicsSet = 1;
    build();
    EXPECT_EQ(counter->getSub(0)->getPicture(), cStringA("Game/Worlds/1/Subs_St/sub101.dds"));
}

TEST_F(SubCounter, EveryArrivalQueuesOneSubAndAllComeOutInOrderWithTheirSounds) {
    build();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(counter->getSub(i)->setState(0));
    EXPECT_TRUE(counter->getSub(0)->setState(5));
    EXPECT_EQ(counter->getRequestCount(), 4u);
    // 0.25 s frames: bread 1 takes 1 s, bread 2 2 s, bread 3 3 s; each starts in the frame the
    // one before it finishes.
    levelFrame(0.25f);
    EXPECT_TRUE(counter->isMakerWorking());
    EXPECT_TRUE(counter->getSub(0)->isMaking());
    levelRun(7.5f, 0.25f);   // to frame 31
    EXPECT_EQ(sound->framesOf("sounds/game/cook_cooking.ogg"), (std::vector<int>{1, 25}));
    EXPECT_EQ(sound->framesOf("sounds/game/cook_cooking2.ogg"), std::vector<int>{5});
    EXPECT_EQ(sound->framesOf("sounds/game/cook_cooking3.ogg"), std::vector<int>{13});
    EXPECT_EQ(sound->framesOf("sounds/game/sub_ready.ogg"), (std::vector<int>{5, 13, 25, 29}));
    EXPECT_EQ(counter->getRequestCount(), 0u);
    EXPECT_FALSE(counter->isMakerWorking());
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(counter->getSub(i)->isMaking());
    // Four subs on three plates: the first one went to the trash.
    EXPECT_EQ(counter->getPlaceState(0), 11);
    EXPECT_EQ(counter->getPlaceState(1), 39);
    EXPECT_EQ(counter->getPlaceState(2), 25);
    EXPECT_EQ(sound->count("sounds/game/trash.ogg"), 1);
}

TEST_F(SubCounter, AFinishedSubPushesTheBlockFromPlateOneAndDiscardsOnlyWhenAllAreFull) {
    struct Case {
        int places;
        int32_t before[3];
        int32_t after[3];
        int32_t discarded;
    };
    const Case cases[] = {
        {3, {25, 0, 39}, {11, 25, 39}, 0},
        {3, {25, 39, 11}, {11, 25, 39}, 11},
        {3, {0, 39, 11}, {11, 39, 11}, 0},
        {3, {25, 39, 0}, {11, 25, 39}, 0},
        {2, {25, 39, 0}, {11, 25, 0}, 39},
        {1, {25, 0, 0}, {11, 0, 0}, 25},
    };
    int trashSounds = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.places << " plates " << c.before[0] << "," << c.before[1] << "," << c.before[2]);
        look.upgrades.subPlace2 = c.places >= 2, look.upgrades.subPlace3 = c.places >= 3;
        build();
        for (int i = 0; i < c.places; ++i) {
            counter->getPlace(i)->setState(c.before[i]);
            counter->getPlace(i)->setAlpha(c.before[i] ? 255 : 0);
        }
        counter->getSub(0)->setState(0);
        levelRun(1.1f, 0.05f);   // finished in the 21st or 22nd frame, motions under way
        for (int i = 0; i < 3; ++i) EXPECT_EQ(counter->getPlaceState(i), c.after[i]) << i;
        cSubPlace* discard = counter->getDiscardPlace();
        EXPECT_EQ(discard->getState(), c.discarded);
        if (c.discarded) ++trashSounds;
        EXPECT_EQ(sound->count("sounds/game/trash.ogg"), trashSounds);
        // The pushed subs slide in from the plate before; the new one fades in on plate 1.
        EXPECT_TRUE(counter->getPlace(0)->isAppearing());
        if (c.places > 1 && c.before[0]) {
            EXPECT_TRUE(counter->getPlace(1)->isMoving());
            const float y = counter->getPlace(1)->getPosition().y;
            EXPECT_TRUE(y > counter->getPlace(0)->getHome().y && y < counter->getPlace(1)->getHome().y) << y;
        }
        levelRun(0.5f, 0.25f);
        EXPECT_EQ(discard->getState(), 0);
        EXPECT_EQ(discard->getVertexAlpha(0), 0u);
        for (int i = 0; i < c.places; ++i) {
            EXPECT_EQ(counter->getPlace(i)->getVertexAlpha(0), c.after[i] ? 255u : 0u);
            EXPECT_EQ(counter->getPlace(i)->getPosition(), counter->getPlace(i)->getHome());
        }
        delete counter;
        delete trash;
    }
}

TEST_F(SubCounter, BonusModeAndTheMakersUpgradeShortenThePreparation) {
    struct Case {
        int set, maker;
        bool bonusFromFrame3;
        float bread1;
        int readyFrame;
    };
    // Bread 1 takes 1 s in set 1 (2 s in set 2), 0.5 s less from maker upgrade 2; bonus mode
    // from the third 0.25 s frame runs the rest twice as fast.
    const Case cases[] = {
        {1, 1, false, 1.0f, 5}, {1, 1, true, 1.0f, 4}, {1, 2, false, 0.5f, 3}, {2, 3, false, 1.5f, 7}, {2, 0, true, 2.0f, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "set " << c.set << " maker " << c.maker << " bonus " << c.bonusFromFrame3);
        look.graphicsSet = c.set;
        look.upgrades.sandwichMaker = c.maker;
        bar->mode = false;
        build();
        EXPECT_FLOAT_EQ(counter->getGenerationTime(1), c.bread1);
        EXPECT_FLOAT_EQ(counter->getGenerationTime(3), c.bread1 + 2.0f);
        const int first = frames + 1;
        counter->getSub(0)->setState(0);
        for (int f = 0; f < 10; ++f) {
            if (f == 2) bar->mode = c.bonusFromFrame3;
            levelFrame(0.25f);
        }
        const std::vector<int> ready = sound->framesOf("sounds/game/sub_ready.ogg");
        ASSERT_FALSE(ready.empty());
        EXPECT_EQ(ready.back() - first + 1, c.readyFrame);
        delete counter;
        delete trash;
    }
}

TEST_F(SubCounter, AFinishedSubWaitsOnlyWhilePlateOneIsFullAndTheWaitressOrTheMouseIsOnAFullPlate) {
    struct Case {
        bool plate1Full, coming, mouseOnFullPlate;
        bool waits;
        bool hint;
    };
    const Case cases[] = {
        {false, false, false, false, false}, {false, true, true, false, false}, {false, false, true, false, false},
        {true, false, false, false, false},  {true, true, false, true, false},  {true, false, true, true, true},
        {true, true, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.plate1Full << c.coming << c.mouseOnFullPlate);
        build();
        counter->getPlace(0)->setState(c.plate1Full ? 25 : 0);
        counter->getPlace(1)->setState(39);
        mouse = c.mouseOnFullPlate ? counter->getPlace(1)->getHome() + cVector2(-5, -5) : cVector2(-100, -100);
        counter->setWaitressComing(c.coming);
        counter->getSub(0)->setState(0);
        const size_t before = sound->framesOf("sounds/game/sub_ready.ogg").size();
        levelRun(1.5f, 0.25f);   // finished from the fifth frame on
        const bool ready = sound->framesOf("sounds/game/sub_ready.ogg").size() > before;
        EXPECT_EQ(ready, !c.waits);
        EXPECT_EQ(counter->getHintAlpha(), c.hint ? 255.0f : 0.0f);
        EXPECT_EQ(counter->getHint()->isOwnVisible(), c.hint);
        if (c.waits) {
            EXPECT_EQ(counter->getPlaceState(0), 25);
            EXPECT_LT(counter->getCookTimer(), -0.2f);   // the timer keeps falling
            // The condition ends: the sub comes out in the next frame, the hint fades out.
            mouse = cVector2(-100, -100);
            counter->setWaitressComing(false);
            levelFrame(0.1f);
            EXPECT_EQ(sound->framesOf("sounds/game/sub_ready.ogg").back(), frames);
            EXPECT_EQ(counter->getPlaceState(0), 11);
            EXPECT_EQ(counter->getHintAlpha(), c.hint ? 55.0f : 0.0f);
            EXPECT_EQ(counter->getHint()->getVertexAlpha(0), c.hint ? 55u : 0u);
            levelFrame(0.1f);
            EXPECT_FALSE(counter->getHint()->isOwnVisible());
        }
        delete counter;
        delete trash;
    }
}

TEST_F(SubCounter, HoverGoesToTheFirstHitBreadOrPlateNeverToTheDiscardPlate) {
    build();
    cSubPlace* plate2 = counter->getPlace(1);
    // A bread under the mouse.
    mouse = cVector2(640, 250);
    levelFrame(0.01f);
    EXPECT_EQ(hovered, counter->getSub(1));
    EXPECT_TRUE(counter->getSub(1)->getHighlight()->isOwnVisible());
    // An empty plate counts as hovered but shows no highlight; the level then sets no flag.
    mouse = plate2->getHome() + cVector2(-5, -5);
    levelFrame(0.01f);
    EXPECT_EQ(hovered, plate2);
    EXPECT_FALSE(plate2->getHighlight()->isOwnVisible());
    EXPECT_FALSE(counter->getSub(1)->isHovered());
    // A full plate shows it; the hit area stays home while a sub slides in from far away.
    plate2->moveIn(25, cVector2(100, 100));
    levelFrame(0.01f);
    EXPECT_EQ(hovered, plate2);
    EXPECT_TRUE(plate2->getHighlight()->isOwnVisible());
    EXPECT_NE(plate2->getPosition(), plate2->getHome());
    // The discard plate: never hovered, whatever it is told.
    cSubPlace* discard = counter->getDiscardPlace();
    discard->setState(25);
    services.mousePosition = discard->getHome();
    discard->updateHover(true, false);
    EXPECT_FALSE(discard->isHovered());
    discard->updateHover(false, true);
    EXPECT_FALSE(discard->isHovered());
    // Without the mouse test every child takes the value; a blocked counter clears them all.
    counter->updateHover(false, true);
    EXPECT_TRUE(counter->getSub(0)->isHovered() && counter->getPlace(2)->isHovered());
    EXPECT_EQ(counter->getHoveredPlace(), nullptr);
    counter->setBlocked(true);
    counter->updateHover(true, false);
    EXPECT_FALSE(counter->isHovered() || plate2->isHovered());
}

TEST_F(SubCounter, BlockingByIndexAndPlateStatesOutsideTheirRangeDoNothing) {
    look.upgrades.subPlace3 = 0;
    build();
    for (int bad : {-2, 3, 7}) {
        counter->setSubsBlocked(true, bad);
        counter->setPlacesBlocked(true, bad);
    }
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(counter->getSub(i)->isBlocked());
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(counter->getPlace(i)->isBlocked());
    counter->setSubsBlocked(true, 1);
    counter->setPlacesBlocked(true, 2);   // no third plate
    EXPECT_TRUE(counter->getSub(1)->isBlocked());
    EXPECT_FALSE(counter->getSub(0)->isBlocked());
    counter->setPlacesBlocked(true, -1);
    EXPECT_TRUE(counter->getPlace(0)->isBlocked() && counter->getPlace(1)->isBlocked());
    counter->getPlace(1)->setState(39);
    EXPECT_EQ(counter->getPlaceState(1), 39);
    for (int bad : {-1, 2, 3}) EXPECT_EQ(counter->getPlaceState(bad), 0) << bad;
    // Ids outside the items show and store 0.
    counter->getPlace(1)->setState(56);
    EXPECT_EQ(counter->getPlaceState(1), 0);
    EXPECT_EQ(counter->getPlace(1)->getPicture(), cStringA("Game/Worlds/Common/Items/none.dds"));
}

TEST_F(SubCounter, BreadsWithoutAPlateOfferNothingAndASecondCounterIsRefused) {
    look.upgrades.subPlace1 = look.upgrades.subPlace2 = look.upgrades.subPlace3 = 0;
    build();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(counter->getSub(i), nullptr);
    EXPECT_EQ(counter->getPlaceCount(), 0);
    levelRun(1.0f, 0.25f);
    EXPECT_TRUE(sound->plays.empty());
    EXPECT_EQ(getSubStation(), counter);
    try {
        new cSubStation(level);
        ADD_FAILURE() << "a second counter was built";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Object already exist.");
    }
    EXPECT_EQ(getSubStation(), counter);
    delete counter;
    EXPECT_EQ(getSubStation(), nullptr);
}

class SubPlate : public CounterTest {
protected:
    void stepPlates(int n, float dt) {
        for (int i = 0; i < n; ++i) step(dt);
    }
};

TEST_F(SubPlate, AFadeInRisesAt256PerAppearTimeFromItsOffsetAndEndsHomeOpaque) {
    build();
    cSubPlace* plate = counter->getPlace(0);
    const cVector2 home = plate->getHome();
    plate->appear(25);
    EXPECT_EQ(plate->getPicture(), cStringA("Game/Worlds/Common/Items/sub02.dds"));
    EXPECT_EQ(plate->getVertexAlpha(0), 0u);
    stepPlates(4, 0.05f);   // 0.2 s of 0.4
    EXPECT_EQ(plate->getVertexAlpha(0), 128u);
    EXPECT_NEAR(plate->getPosition().y, home.y - 10.0f, 1e-3f);
    EXPECT_NEAR(plate->getPointer(0)->getPosition().y, home.y - 34.0f, 1e-3f);
    stepPlates(3, 0.05f);
    EXPECT_EQ(plate->getVertexAlpha(0), 224u);
    step(0.04844f);   // 0.39844 s: just past 255/256 of the time
    EXPECT_FLOAT_EQ(plate->getAlphaValue(), 255.0f);
    EXPECT_TRUE(plate->isAppearing());
    step(0.01f);
    EXPECT_FALSE(plate->isAppearing());
    EXPECT_EQ(plate->getPosition(), home);
    EXPECT_EQ(plate->getVertexAlpha(0), 255u);
    EXPECT_EQ(plate->getPointer(0)->getPosition(), home + cVector2(0, -24));
}

TEST_F(SubPlate, SlidesEndHomeTheDiscardPlateFadesAndEmptiesAndAnEmptiedPlateEndsShowingNone) {
    build();
    cSubPlace* plate = counter->getPlace(1);
    cSubPlace* discard = counter->getDiscardPlace();
    const cVector2 from = counter->getPlace(0)->getHome();
    plate->moveIn(39, from);
    discard->moveIn(11, from);
    EXPECT_EQ(plate->getVertexAlpha(0), 255u);
    step(0.1f);
    EXPECT_NEAR(plate->getPosition().y, (from.y + plate->getHome().y) / 2.0f, 1e-3f);
    EXPECT_EQ(discard->getVertexAlpha(0), 191u);   // 255 - 0.1 x 640, whatever move_time is
    EXPECT_EQ(plate->getVertexAlpha(0), 255u);
    plate->empty();   // the waitress takes it mid-slide
    step(0.1f);
    EXPECT_FALSE(plate->isMoving());
    EXPECT_EQ(plate->getPosition(), plate->getHome());
    EXPECT_EQ(plate->getVertexAlpha(0), 255u);
    EXPECT_EQ(plate->getState(), 0);
    EXPECT_EQ(plate->getPicture(), cStringA("Game/Worlds/Common/Items/none.dds"));
    EXPECT_FALSE(discard->isMoving());
    EXPECT_EQ(discard->getState(), 0);
    EXPECT_EQ(discard->getVertexAlpha(0), 0u);
    EXPECT_EQ(discard->getPosition(), discard->getHome());
    // Id 0 starts nothing.
    plate->setState(25);
    plate->setAlpha(77);
    plate->appear(0);
    plate->moveIn(0, from);
    EXPECT_FALSE(plate->isAppearing() || plate->isMoving());
    EXPECT_EQ(plate->getState(), 25);
    EXPECT_EQ(plate->getVertexAlpha(0), 77u);
}

TEST_F(SubPlate, TimesOfZeroOrLessEndEveryMotionInOneStep) {
    for (const char* t : {"0", "-1"}) {
        SCOPED_TRACE(t);
        std::string text = kSubPlaceText;
        for (const char* key : {"appear_time=\"0.4\"", "move_time=\"0.2\""}) {
            const std::string k = key;
            text.replace(text.find(k), k.size(), k.substr(0, k.find('"') + 1) + t + "\"");
        }
        replaceIni("Config/Game/o_sub_place.ini", text);
        build();
        cSubPlace* plate = counter->getPlace(0);
        cSubPlace* next = counter->getPlace(1);
        cSubPlace* discard = counter->getDiscardPlace();
        plate->appear(11);
        next->moveIn(25, cVector2(0, 0));
        discard->moveIn(39, cVector2(0, 0));
        step(0.01f);
        for (cSubPlace* p : {plate, next}) {
            EXPECT_FALSE(p->isAppearing() || p->isMoving());
            EXPECT_EQ(p->getPosition(), p->getHome());
            EXPECT_EQ(p->getVertexAlpha(0), 255u);
            EXPECT_FALSE(std::isnan(p->getAlphaValue()));
            EXPECT_FALSE(std::isnan(p->getPointer(0)->getPosition().x));
        }
        EXPECT_EQ(discard->getState(), 0);
        EXPECT_EQ(discard->getVertexAlpha(0), 0u);
        delete counter;
        delete trash;
    }
}

// The waitress's side of the plates: a queued plate holding a sub makes the counter wait for
// her; on arrival she takes the sub into her first free hand and the plate lets go of it; the
// counter stops waiting whatever she could take.
TEST_F(SubCounter, TheWaitressTakesTheSubOffAPlateAndTheCounterStopsWaitingForHer) {
    build();
    for (int code = 0; code < 27; ++code) services.addTexture(waitressSheet(code).str(), 80, 80);
    addIni(kWaitressIni, waitress_test::waitressIni());
    cWaitress* waitress = shown(new cWaitress(level, cVector2(650.0f, 300.0f)));
    cSubPlace* plate = counter->getPlace(0);
    struct Case {
        const char* what;
        int32_t sub;
        ItemId right, left;
        bool coming;
        ItemId rightAfter, leftAfter;
        int32_t plateAfter;
        bool sound;
    } cases[] = {
        {"empty hands", 11, 0, 0, true, 11, 0, 0, true},
        {"the left hand is free", 25, 2, 0, true, 2, 25, 0, true},
        {"hands full: the sub stays", 39, 1, 2, true, 1, 2, 39, false},
        {"an empty plate: nothing", 0, 0, 0, false, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plate->empty();
        if (c.sub) plate->appear(c.sub);
        levelRun(1.0f);   // the sub has faded in
        ASSERT_EQ(plate->getState(), c.sub);
        waitress->giveHand(0, c.right);
        waitress->giveHand(1, c.left);
        counter->setWaitressComing(false);
        waitress->addTarget(plate);
        EXPECT_EQ(counter->isWaitressComing(), c.coming);
        sound->plays.clear();
        levelFrame(0.01f);
        levelFrame(0.01f);
        EXPECT_FALSE(counter->isWaitressComing());
        EXPECT_EQ(std::make_pair(waitress->getHandItem(0), waitress->getHandItem(1)),
                  std::make_pair(c.rightAfter, c.leftAfter));
        EXPECT_EQ(plate->getState(), c.plateAfter);
        EXPECT_EQ(sound->count(kTakeSound), c.sound ? 1 : 0);
    }
}

}  // namespace
