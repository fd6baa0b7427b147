// The drink, cake, snack and cream stations, the trash and the sauce stations: what they read,
// the use run (to its end, then rewound; a use mid-run does not restart it; a run that cannot
// be drawn to its end still ends), the sound queue on the test clock, the trash's unqueued
// sound, the sauce places, the flashes and the hands' calls.

#include <gtest/gtest.h>

#include "game/restaurant/cServingStation.h"
#include "game/restaurant/cSouseStation.h"
#include "game/restaurant/cTrash.h"
#include "tests/game/restaurant/StationTestSupport.h"

using namespace station_test;

namespace {

class ServingStations : public StationTest {};

TEST_F(ServingStations, ReadTheirFilesAndPlaceTheirParts) {
    look.graphicsSet = 3;
    look.upgrades.drink = 2, look.upgrades.cake = 1, look.upgrades.snack = 3, look.upgrades.cream = 2;
    auto* drink = new cDrinkStation(level);
    auto* cake = new cCakeStation(level);
    auto* snack = new cSnackStation(level);
    auto* cream = new cCreamStation(level);
    EXPECT_EQ(drink->getKind(), KIND_DRINK_STATION);
    EXPECT_EQ(cake->getKind(), KIND_CAKE_STATION);
    EXPECT_EQ(snack->getKind(), KIND_SNACK_STATION);
    EXPECT_EQ(cream->getKind(), KIND_CREAM_STATION);
    EXPECT_EQ(drink->getPicture(), cStringA("Game/Worlds/3/Drink_St/drink02.dds"));
    EXPECT_EQ(snack->getPicture(), cStringA("Game/Worlds/3/Snack_St/snack02.dds"));
    EXPECT_EQ(cream->getPicture(), cStringA("Game/Worlds/3/Cream_St/cream01.dds"));
    EXPECT_EQ(cake->getPicture(), cStringA("Game/Worlds/3/Cake_St/cover01.dds"));
    EXPECT_EQ(cake->getTable()->getPicture(), cStringA("Game/Worlds/3/Cake_St/table01.dds"));
    EXPECT_EQ(drink->getControlPoint(), cVector2(100, 150));
    EXPECT_EQ(cake->getControlPoint(), cVector2(300, 150));
    EXPECT_FLOAT_EQ(drink->getPointer(0)->getDeep(), 110.0f);
    EXPECT_FLOAT_EQ(drink->getPointer(1)->getDeep(), 110.1f);
    EXPECT_EQ(drink->getPointer(1)->getPosition(), cVector2(110, 70));
    EXPECT_EQ(drink->getHighlight()->getVertexAlpha(0), 200u);
    EXPECT_EQ(snack->getHighlight()->getVertexAlpha(0), 255u) << "absent highlight_alpha";
    EXPECT_EQ(cake->getHighlight()->getVertexAlpha(0), 150u);
    EXPECT_TRUE(cake->getHighlight()->testTransformFlags(TF_CENTERED));
    EXPECT_FALSE(cake->getTableHighlight()->testTransformFlags(TF_CENTERED));
    EXPECT_EQ(cake->getTableHighlight()->getPosition(), cVector2(280, 110));
    EXPECT_EQ(drink->getHitPolygon().size(), 4u);
    // Hover: inside the polygon around the centred frame, both cake highlights light up.
    services.mousePosition = cVector2(310, 105);
    cake->updateHover(true, false);
    EXPECT_TRUE(cake->isHovered());
    EXPECT_TRUE(cake->getHighlight()->isVisible());
    EXPECT_TRUE(cake->getTableHighlight()->isVisible());
    cake->setBlocked(true);
    cake->updateHover(true, true);
    EXPECT_FALSE(cake->isHovered());
    EXPECT_FALSE(cake->getTableHighlight()->isVisible());
    // The flash: one effect for most, two for the cake (cover at -1.2, table at -0.1).
    drink->showClickEffect();
    EXPECT_EQ(live<cClickEffect>(), 1u);
    cake->showClickEffect();
    EXPECT_EQ(live<cClickEffect>(), 3u);
    for (cSceneNode* n : {static_cast<cSceneNode*>(drink), static_cast<cSceneNode*>(cake),
                          static_cast<cSceneNode*>(snack), static_cast<cSceneNode*>(cream)})
        delete n;
}

TEST_F(ServingStations, OneRunPerBurstAndOneSoundPerUseSpacedByTheDelay) {
    auto* drink = new cDrinkStation(level);
    Hands hands;
    // Three uses in quick succession (the hands allow two; the third is a second visit).
    ASSERT_TRUE(hands.take(drink, ITEM_DRINK));
    step(0.1f);
    EXPECT_TRUE(drink->isUseRunning());
    ASSERT_TRUE(hands.take(drink, ITEM_DRINK));
    EXPECT_FALSE(hands.take(drink, ITEM_DRINK)) << "both hands full: no call";
    hands.right = 0;
    ASSERT_TRUE(hands.take(drink, ITEM_DRINK));
    EXPECT_EQ(drink->getState(), 0);
    EXPECT_EQ(drink->pendingSounds(), 3);
    // The run is not restarted: its time reaches 0.4 s in the fourth frame after the first use
    // and it rewinds in the fifth.
    float last = 0.0f;
    int runFrames = 1;
    while (drink->isUseRunning() && runFrames < 20) {
        last = drink->getLayer0Time();
        step(0.1f);
        ++runFrames;
    }
    EXPECT_FLOAT_EQ(last, 0.4f);
    EXPECT_EQ(runFrames, 5);
    EXPECT_FLOAT_EQ(drink->getLayer0Time(), 0.0f);
    EXPECT_FLOAT_EQ(drink->getHighlight()->getLayer0Time(), 0.0f);
    run(1.0f, 0.1f);
    // sound_delay 0.1 on 0.1 s frames: the delay runs out in the frame after a play, the next
    // play comes in the frame after that.
    EXPECT_EQ(sound->framesOf("sounds/game/drink_station.ogg"), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(drink->pendingSounds(), 0);
    EXPECT_EQ(drink->getState(), 0);
    delete drink;
}

TEST_F(ServingStations, SoundDelayZeroPlaysEverySecondFrameAndTheCreamReadsItsCupSection) {
    replaceIni("Config/Game/o_snack_station.ini", "[COMMON]\nposition=\"200,100\"\n" + station_test::useRun());
    auto* snack = new cSnackStation(level);
    auto* cream = new cCreamStation(level);
    for (int i = 0; i < 3; ++i) snack->setState(0);
    Hands hands;
    EXPECT_FALSE(hands.cream(cream)) << "no coffee in hand";
    hands.left = ITEM_COFFEE;
    hands.right = ITEM_COFFEE;
    ASSERT_TRUE(hands.cream(cream));
    EXPECT_EQ(hands.right, ITEM_COFFEE_CREAM);
    EXPECT_EQ(hands.left, ITEM_COFFEE);
    ASSERT_TRUE(hands.cream(cream));
    EXPECT_EQ(hands.left, ITEM_COFFEE_CREAM);
    run(0.2f, 0.02f);
    EXPECT_EQ(sound->framesOf("sounds/game/snack_station.ogg"), (std::vector<int>{1, 3, 5}));
    // 0.05 s from "CUP_STATION", not the 0.5 s of "COMMON": 0.02 s frames, three to run out.
    EXPECT_EQ(sound->framesOf("sounds/game/cream_station.ogg"), (std::vector<int>{1, 5}));
    delete snack;
    delete cream;
}

TEST_F(ServingStations, ARunThatCannotBeDrawnToItsEndStillEnds) {
    const struct {
        const char* anim;
    } cases[] = {{"anim_looped=\"1\"\nanim_length=\"0.4\"\nanim_frame_count=\"4\"\n"},
                 {"anim_looped=\"0\"\nanim_length=\"0.4\"\nanim_frame_count=\"1\"\n"},
                 {"anim_looped=\"0\"\nanim_length=\"0\"\nanim_frame_count=\"4\"\n"},
                 {"visible=\"0\"\nanim_looped=\"0\"\nanim_length=\"0.4\"\nanim_frame_count=\"4\"\n"}};
    for (const auto& c : cases) {
        replaceIni("Config/Game/o_drink_station.ini", std::string("[COMMON]\nposition=\"100,100\"\n") + c.anim);
        auto* drink = new cDrinkStation(level);
        drink->setState(0);
        run(0.6f, 0.1f);
        EXPECT_FALSE(drink->isUseRunning()) << c.anim;
        EXPECT_FLOAT_EQ(drink->getLayer0Time(), 0.0f) << c.anim;
        delete drink;
    }
}

TEST_F(ServingStations, TheTrashPlaysOneVoicePerCallAndStandsAtItsDepth) {
    look.graphicsSet = 2;
    auto* trash = new cTrash(level);
    EXPECT_EQ(getTrash(), trash);
    EXPECT_EQ(trash->getKind(), KIND_TRASH);
    EXPECT_FLOAT_EQ(trash->getDeep(), 450.0f) << "its y, not the file's deep";
    EXPECT_EQ(trash->getPicture(), cStringA("Game/Worlds/2/Trash/trash01.dds"));
    EXPECT_EQ(trash->getControlPoint(), cVector2(500, 500));
    try {
        cTrash second(level);
        ADD_FAILURE() << "a second trash";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Object already exist.");
    }
    EXPECT_EQ(getTrash(), trash);
    Hands hands;
    EXPECT_EQ(hands.empty(trash), 0);
    EXPECT_TRUE(sound->plays.empty());
    hands.right = ITEM_DRINK, hands.left = ITEM_CAKE;
    EXPECT_EQ(hands.empty(trash), 2);
    EXPECT_EQ(sound->count("sounds/game/trash.ogg"), 2) << "two at once, unqueued";
    EXPECT_EQ(hands.right + hands.left, 0);
    EXPECT_EQ(trash->getState(), 0);
    run(0.6f, 0.1f);
    EXPECT_FALSE(trash->isUseRunning());
    delete trash;
    EXPECT_EQ(getTrash(), nullptr);
}

TEST_F(ServingStations, SauceStationsTakeTheirPlacesByTheUpgradeCountAndTheirPicturesByTheirOwnUpgrade) {
    const struct Case {
        int world, s1, s2, s3;
        std::vector<cVector2> places;
        std::vector<const char*> pictures;
    } cases[] = {
        {1, 1, 1, 1, {{630, 50}}, {"souse101"}},   // world 1 builds sauce 1 only, placed for three
        {2, 1, 2, 0, {{620, 50}, {660, 50}}, {"souse101", "souse202"}},
        {3, 0, 3, 1, {{620, 50}, {660, 50}}, {"souse202", "souse301"}},
        {3, 2, 1, 1, {{630, 50}, {670, 50}, {710, 50}}, {"souse102", "souse201", "souse301"}},
        {3, 0, 0, 0, {}, {}},
    };
    for (const Case& c : cases) {
        look.graphicsSet = c.world;
        look.world = c.world;
        look.upgrades.sauce1 = c.s1, look.upgrades.sauce2 = c.s2, look.upgrades.sauce3 = c.s3;
        std::vector<cSouseStation*> built = cSouseStation::buildAll(level);
        ASSERT_EQ(built.size(), c.places.size()) << c.world << c.s1 << c.s2 << c.s3;
        for (size_t i = 0; i < built.size(); ++i) {
            EXPECT_EQ(built[i]->getPosition(), c.places[i]) << c.world << " " << i;
            EXPECT_EQ(built[i]->getPicture(), cStringA("Game/Worlds/" + std::to_string(c.world) + "/Souse_St/" +
                                                       c.pictures[i] + ".dds"));
            EXPECT_EQ(built[i]->getControlPoint(), cVector2(650, 100));
            EXPECT_EQ(built[i]->getPositionIndex(), int(i) + 1);
            EXPECT_EQ(built[i]->getKind(), KIND_SOUSE_STATION);
        }
        for (cSouseStation* s : built) delete s;
    }
}

TEST_F(ServingStations, ASauceKeepsItsStateAndQueuesItsOwnSound) {
    auto* sauce = new cSouseStation(level, 1, ITEM_SAUCE_2);
    EXPECT_EQ(sauce->getState(), ITEM_SAUCE_2);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(sauce->setState(0));
    EXPECT_EQ(sauce->getState(), ITEM_SAUCE_2);
    run(1.0f, 0.05f);
    // 0.1 s of delay on 0.05 s frames: out after two frames, the next play in the third.
    EXPECT_EQ(sound->framesOf("sounds/game/souse2.ogg"), (std::vector<int>{1, 4, 7}));
    EXPECT_FALSE(sauce->isUseRunning());
    delete sauce;
}

}  // namespace
