// Headless frames of every station of a graphics-set-3 level at the top upgrades: on the
// recording device every station, part and highlight reaches the renderer in depth order with
// its own texture; on the headless OpenGL device the frame is drawn and kept as a screenshot.

#include <gtest/gtest.h>

#include <algorithm>

#include "game/data/StationTextures.h"
#include "tests/game/restaurant/FrameTestSupport.h"
#include "tests/game/restaurant/StationBuild.h"
#include "tests/game/restaurant/StationTestSupport.h"

using namespace station_test;
using namespace render_test;

namespace {

class StationFrame : public StationTest {
protected:
    FrameRig rig;
    BuiltStations built;

    void TearDown() override {
        built.release();
        rig.restoreServices();
        StationTest::TearDown();
        rig.release();
    }
    // Every station of a set-3 level at its top upgrade, a brew finished, an oven baking, a
    // cotton portion waiting, the drink station hovered.
    void buildLevel(bool recording) {
        rig.setUp(recording);
        world_textures::Upgrades& u = look.upgrades;
        u.drink = u.cake = u.snack = 2, u.cream = 1, u.coffee = 3, u.cotton1 = u.cotton2 = 3;
        u.oven1 = u.oven2 = 2, u.sauce1 = u.sauce2 = u.sauce3 = 2;
        look.graphicsSet = 3;
        look.world = 3;
        std::vector<std::string> names = station_textures::files(3, 3, u);
        for (const char* n : {"steam.dds", "light.dds", "glow.dds", "x.dds", "Game/Interface/Surfaces/pointer.dds"})
            names.push_back(n);
        for (size_t i = 0; i < names.size(); ++i) {
            const uint32_t c = 0xFF000000u | ((0x40u + 37u * uint32_t(i)) & 0xFFu) << 16 |
                               ((0x90u + 71u * uint32_t(i)) & 0xFFu) << 8 | ((0x30u + 53u * uint32_t(i)) & 0xFFu);
            rig.addTexture(names[i], solidImage(128, 128, c));
        }
        built = buildStations(level);
        for (cPicture* p : built.stations)
            if (auto* stand = dynamic_cast<cCottonStation*>(p)) stand->getCandy(1)->setState(0);
            else if (auto* oven = dynamic_cast<cOven*>(p)) oven->setState(11);
        for (int i = 0; i < 300; ++i) rig.step(0.02f);
        rig.services.mouse = cVector2(100, 100);
        for (cPicture* p : built.stations) dynamic_cast<cClickTarget*>(p)->updateHover(true, false);
    }
};

TEST_F(StationFrame, EveryStationReachesTheRendererInDepthOrder) {
    buildLevel(true);
    rig.draw();
    const auto& order = rig.services.order;
    for (size_t i = 1; i < order.size(); ++i) EXPECT_LE(order[i - 1]->getDeep(), order[i]->getDeep()) << i;
    size_t drawnStations = 0;
    for (cPicture* p : built.stations)
        if (std::find(order.begin(), order.end(), p) != order.end()) ++drawnStations;
    EXPECT_EQ(drawnStations, built.stations.size());
    EXPECT_EQ(built.stations.size(), 12u);   // 4 serving, coffee, 3 sauces, 2 ovens, trash, stand
    // The finished brew shows its glow and steams, the waiting portion its part and light, the
    // hovered drink station its highlight.
    cCoffeeStation* coffee = nullptr;
    cCottonStation* stand = getCottonStation();
    cDrinkStation* drink = nullptr;
    for (cPicture* p : built.stations) {
        if (!coffee) coffee = dynamic_cast<cCoffeeStation*>(p);
        if (!drink) drink = dynamic_cast<cDrinkStation*>(p);
    }
    ASSERT_TRUE(coffee && stand && drink);
    auto drawn = [&](const cSprite* s) { return std::find(order.begin(), order.end(), s) != order.end(); };
    EXPECT_EQ(coffee->getCups(), 2);
    EXPECT_TRUE(drawn(coffee->getGlow()));
    EXPECT_TRUE(drawn(coffee->getSteam(1)));
    EXPECT_TRUE(drawn(stand->getItemPart(1)));
    EXPECT_TRUE(drawn(stand->getLight()));
    EXPECT_TRUE(drawn(drink->getHighlight()));
    EXPECT_GE(rig.rec->draws().size(), 10u);
}

TEST_F(StationFrame, TheLevelsStationsOnTheHeadlessDevice) {
    try {
        buildLevel(false);
    } catch (...) {
        FAIL() << "no headless OpenGL device could be made";
    }
    rig.draw();
    std::vector<uint32_t> pixels;
    uint32_t w = 0, h = 0;
    ASSERT_EQ(rig.graphics->readBackBuffer(&pixels, &w, &h), DEV_OK);
    EXPECT_TRUE(saveTestFrame(pixels, w, h, "restaurant-stations-set3.png"));
    // The snack station's middle is drawn, the bottom corner far from every station is not.
    EXPECT_NE(pixels[size_t(100) * w + 200] & 0xFFFFFFu, 0u);
    EXPECT_EQ(pixels[size_t(590) * w + 5] & 0xFFFFFFu, 0u);
}

}  // namespace
