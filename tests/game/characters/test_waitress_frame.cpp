// The demo waitress on the demo layout s0p1 and the headless OpenGL device: she walks from
// table 1 to the drink station and back, and each segment is drawn with its own sheet (up,
// up-right, a stand to take the drink, then down-left and down carrying it).

#include <gtest/gtest.h>

#include "engine/core/cXmlNode.h"
#include "engine/media/ImageDecoder.h"
#include "tests/game/characters/WaitressTestSupport.h"
#include "tests/game/restaurant/FrameTestSupport.h"

using namespace waitress_test;

namespace {

class WaitressFrame : public WaitressTest {
protected:
    restaurant_test::FrameRig rig;

    void TearDown() override {
        rig.restoreServices();
        WaitressTest::TearDown();
        rig.release();
    }
};

TEST_F(WaitressFrame, DemoWaitressWalksFromTableOneToTheDrinksAndBack) {
    const std::string paths = readDataFile("packs/paths/s0p1.xml");
    ASSERT_FALSE(paths.empty());
    resources->unload(cStringA("Packs/Paths/s0p1.xml"));
    addFile("Packs/Paths/s0p1.xml", paths);
    resources->unload(cStringA(kWaitressIni));
    addFile(kWaitressIni, readDataFile("config/game/c_lucinda.ini"));
    auto root = cXmlNode::fromBytes(paths.data(), paths.size(), cStringA("s0p1.xml"));
    ASSERT_TRUE(root);
    const cVector2 home = controlPointOf(*root, "TABLE_ORDER_1"), drinks = controlPointOf(*root, "DRINK_STATION");
    try {
        rig.setUp(false);
    } catch (...) {
        FAIL() << "no headless OpenGL device could be made";
    }
    for (int code = 0; code < 27; ++code) {
        cStringA file = waitressSheet(code);
        file.makeLower();
        const std::string bytes = readDataFile(file.str());
        ASSERT_FALSE(bytes.empty()) << file.str();
        rig.addTexture(waitressSheet(code).str(), decodeImage(bytes.data(), bytes.size()));
    }

    makeWaitress(home);
    waitress->addTarget(target(KIND_DRINK_STATION, drinks));
    waitress->addTarget(target(KIND_NONE, home));
    std::vector<std::string> sheets;
    bool saved = false;
    for (int frame = 0; frame < 500; ++frame) {
        rig.step(0.02f);
        rig.draw();
        const auto& order = rig.services.order;
        ASSERT_NE(std::find(order.begin(), order.end(), waitress), order.end()) << "she is drawn every frame";
        const std::string sheet = waitress->getPicture().str();
        if (sheets.empty() || sheets.back() != sheet) sheets.push_back(sheet);
        if (!saved && waitress->getHandItem(0) == ITEM_DRINK) {
            std::vector<uint32_t> pixels;
            uint32_t w = 0, h = 0;
            ASSERT_EQ(rig.graphics->readBackBuffer(&pixels, &w, &h), DEV_OK);
            EXPECT_TRUE(render_test::saveTestFrame(pixels, w, h, "characters-waitress-walk.png"));
            const cVector2 p = waitress->getPosition();
            EXPECT_NE(pixels[size_t(p.y) * w + size_t(p.x)] & 0xFFFFFFu, 0u) << "her figure at her position";
            saved = true;
        }
        if (waitress->getQueue().empty() && !waitress->getCurrentTarget() && waitress->getWaypoints().empty()) break;
    }
    EXPECT_EQ(waitress->getPosition(), home);
    EXPECT_EQ(waitress->getHandItem(0), ITEM_DRINK);
    const std::string s = "Game/Characters/Lucinda/";
    EXPECT_EQ(sheets, (std::vector<std::string>{s + "run_u.dds", s + "run_ur.dds", s + "stand.dds", s + "run_dl_1.dds",
                                                s + "run_d_1.dds", s + "stand_1.dds"}));
}

}  // namespace
