// Headless frames of the three rooms around a level's stations and a full sub counter: on the
// recording device every shown room part and every plate, bread and the hint reach the
// renderer in depth order and the lights blend by texture alpha; on the headless OpenGL device
// each frame is drawn and kept as a screenshot.

#include <gtest/gtest.h>

#include <algorithm>

#include "game/data/StationTextures.h"
#include "platform/device/Device.h"
#include "tests/game/restaurant/FrameTestSupport.h"
#include "tests/game/restaurant/RoomTestSupport.h"

using namespace room_test;
using namespace render_test;

namespace {

class RoomFrame : public RoomTest {
protected:
    FrameRig rig;

    void TearDown() override {
        built.release();
        rig.restoreServices();
        RoomTest::TearDown();
        rig.release();
    }
    // A level of the world at its top upgrades, evening, with a full counter: three subs on
    // the plates, the next being made, the mouse on a full plate (the hint up).
    void buildLevel(int world, bool recording) {
        rig.setUp(recording);
        world_textures::Upgrades& u = look.upgrades;
        u.drink = u.cake = u.snack = 2, u.cream = 1, u.coffee = 2, u.cotton1 = 1;
        u.sauce1 = u.sauce2 = u.sauce3 = 1;
        u.tables = u.counter = u.floor = u.wall = u.interior1 = u.interior2 = 2;
        look.world = world;
        look.level = (world - 1) * 20 + 5;
        std::vector<std::string> names = world_textures::singleFiles(world, world, look.level, u);
        for (const char* n : {"scroll1.dds", "scroll2.dds", "lamp1.dds", "lamp2.dds", "door.dds", "light.dds", "hint.dds",
                              "cook.dds", "x.dds", "steam.dds", "glow.dds", "Game/Worlds/Common/Items/none.dds",
                              "Game/Worlds/Common/Items/sub01.dds", "Game/Worlds/Common/Items/sub02.dds",
                              "Game/Worlds/Common/Items/sub03.dds", "Game/Interface/Surfaces/pointer.dds"})
            names.push_back(n);
        for (size_t i = 0; i < names.size(); ++i) {
            const uint32_t c = 0xFF000000u | ((0x50u + 37u * uint32_t(i)) & 0xFFu) << 16 |
                               ((0x80u + 71u * uint32_t(i)) & 0xFFu) << 8 | ((0x30u + 53u * uint32_t(i)) & 0xFFu);
            rig.addTexture(names[i], solidImage(96, 64, c));
        }
        rig.addTexture("light.dds", solidImage(96, 64, 0x80FFE080u));
        buildLevel(world);
        for (int i = 0; i < 3; ++i) counter->getSub(i)->setState(0);
        for (int i = 0; i < 4; ++i) counter->getSub(i % 3)->setState(0);
        timed->left = 100.0f;
        for (int i = 0; i < 300 && counter->getPlaceState(2) == 0; ++i) rig.step(0.1f);   // three out, the fourth being made
        rig.services.mouse = counter->getPlace(1)->getHome();
        for (int i = 0; i < 60; ++i) {
            counter->updateHover(true, false);
            counter->setPlaceHovered(counter->isHovered() && counter->getHoveredPlace()->getKind() == KIND_SUB_PLACE);
            rig.step(0.1f);
        }
    }
    using RoomTest::buildLevel;
    // Everything buildLevel made, and the frame rig, before the next world.
    void releaseLevel() {
        built.release();
        delete room;
        delete counter;
        room = nullptr;
        counter = nullptr;
        rig.restoreServices();
        rig.release();
    }
};

TEST_F(RoomFrame, EveryShownPartOfEachRoomAndTheCounterReachesTheRendererInDepthOrder) {
    for (int world = 1; world <= 3; ++world) {
        SCOPED_TRACE(world);
        buildLevel(world, true);
        for (int i = 0; i < 3; ++i) ASSERT_NE(counter->getPlaceState(i), 0) << i;
        ASSERT_TRUE(counter->isMakerWorking());
        ASSERT_GT(counter->getHintAlpha(), 0.0f);
        rig.draw();
        const auto& order = rig.services.order;
        for (size_t i = 1; i < order.size(); ++i) EXPECT_LE(order[i - 1]->getDeep(), order[i]->getDeep()) << i;
        auto drawn = [&](const cSprite* s) { return std::find(order.begin(), order.end(), s) != order.end(); };
        size_t shown = 0;
        for (cPicture* p : room->getPictures())
            if (p->isVisible() && p->getVertexAlpha(0) != 0) {
                ++shown;
                EXPECT_TRUE(drawn(p)) << p->getPicture().str();
            }
        EXPECT_GE(shown, 16u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(drawn(counter->getPlace(i)));
            EXPECT_TRUE(drawn(counter->getSub(i)));
        }
        EXPECT_TRUE(drawn(counter->getHint()));
        EXPECT_TRUE(drawn(counter->getPlace(1)->getHighlight()));
        // The lights blend by texture alpha (world 1's lamps do not, but its lights do).
        const auto& draws = rig.rec->draws();
        const bool blended = std::any_of(draws.begin(), draws.end(), [](const cRecordingDevice::DrawState& d) {
            return d.stage[0][size_t(StageState::ColorOp)] == TOP_BLENDTEXTUREALPHA;
        });
        EXPECT_TRUE(blended);
        releaseLevel();
        sound->plays.clear();
    }
}

TEST_F(RoomFrame, EachRoomWithAFullCounterOnTheHeadlessDevice) {
    for (int world = 1; world <= 3; ++world) {
        SCOPED_TRACE(world);
        try {
            buildLevel(world, false);
        } catch (...) {
            FAIL() << "no headless OpenGL device could be made";
        }
        rig.draw();
        std::vector<uint32_t> pixels;
        uint32_t w = 0, h = 0;
        ASSERT_EQ(rig.graphics->readBackBuffer(&pixels, &w, &h), DEV_OK);
        EXPECT_TRUE(saveTestFrame(pixels, w, h, "restaurant-room-" + std::to_string(world) + "-counter.png"));
        // The plate in the middle of the counter is drawn.
        const cVector2 plate = counter->getPlace(1)->getHome();
        EXPECT_NE(pixels[size_t(plate.y) * w + size_t(plate.x)] & 0xFFFFFFu, 0u);
        releaseLevel();
    }
}

}  // namespace
