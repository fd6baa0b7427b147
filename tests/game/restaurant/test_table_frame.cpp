// Headless frames of a served, hovered table: on the recording device the sprites reach the
// renderer in depth order and only the highlight's chunk draws with the alpha reference 128;
// on the headless OpenGL device the frame is drawn and kept as a screenshot.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "game/restaurant/cHighlight.h"
#include "game/restaurant/cItemHolder.h"
#include "game/restaurant/cOrderCloud.h"
#include "game/restaurant/cTable.h"
#include "tests/engine/media/test_graphics_support.h"
#include "tests/game/restaurant/FrameTestSupport.h"
#include "tests/game/restaurant/RestaurantTestSupport.h"

using namespace restaurant_test;
using namespace render_test;

namespace {

const char* const kTableTexture = "Game/Worlds/2/Interior/Tables/table_order202.dds";

class TableFrame : public RestaurantTest {
protected:
    FrameRig rig;
    FrameServices& frameServices = rig.services;
    cRecordingDevice*& rec = rig.rec;
    std::vector<std::unique_ptr<cTexture>>& owned = rig.owned;
    cTable* table = nullptr;

    void makeGraphics(bool recording) {
        rig.setUp(recording);
        addTexture(kTableTexture, solidImage(90, 60, 0xFF8B5A2Bu));
        addTexture("Game/Worlds/Common/Items/money.dds", solidImage(224, 32, 0xFFFFD040u));
        addTexture("cloud.dds", solidImage(64, 48, 0xFFF8F8F8u));
        addTexture("cloud_small.dds", solidImage(48, 40, 0xFFF8F8F8u));
        addTexture("Game/Interface/Surfaces/pointer.dds", solidImage(16, 16, 0xFF40FF40u));
        addTexture("Game/Worlds/2/Items_Cloud/drink01.dds", solidImage(24, 24, 0xFF4060FFu));
    }
    void TearDown() override {
        rig.restoreServices();
        RestaurantTest::TearDown();
        rig.release();
    }
    void addTexture(const std::string& name, const cImage& image) { rig.addTexture(name, image); }
    void step(float dt) { rig.step(dt); }
    // A table whose guest has been served and has left its money, hovered by the mouse, with
    // a click queued on it and the next guest's order in its cloud.
    void buildServedTable() {
        table = new cTable(level, 2);
        table->show();
        table->enable();
        cCustomer* guest = makeGuest(8, 100);
        table->seatCustomer(guest);
        guest->setStage(STAGE_WAITING_FOR_ITEM);
        table->setState(1);
        table->setState(0);   // served: the money is laid out
        guest->setStage(STAGE_GONE);
        for (int i = 0; i < 80; ++i) step(0.01f);
        table->showFirstItem(ITEM_DRINK);
        for (int i = 0; i < 40; ++i) step(0.01f);
        table->showPointer(true);
        frameServices.mouse = cVector2(250, 330);
        table->updateHover(true, false);
        ASSERT_EQ(table->getState(), ITEM_MONEY);
        ASSERT_TRUE(table->getHighlight()->isVisible());
    }
    void drawFrame() { rig.draw(); }
};

TEST_F(TableFrame, SpritesArriveInDepthOrderAndOnlyTheHighlightDrawsWithAlphaReference128) {
    makeGraphics(true);
    buildServedTable();
    drawFrame();
    const auto& order = frameServices.order;
    ASSERT_GE(order.size(), 8u);   // table, highlight, three boxes, cloud, item, pointer, ...
    for (size_t i = 1; i < order.size(); ++i) EXPECT_LE(order[i - 1]->getDeep(), order[i]->getDeep()) << i;
    auto at = [&](const cSprite* s) { return std::find(order.begin(), order.end(), s) - order.begin(); };
    EXPECT_EQ(at(table->getHighlight()), at(table) + 1) << "the highlight right above the table";
    EXPECT_LT(at(table->getMoneyBox(2)), at(table->getCloud()));
    EXPECT_LT(at(table->getCloud()), at(table->getPointer(0)));

    // The table's chunk, then the highlight's own (overlay blending), then the rest.
    const auto& draws = rec->draws();
    ASSERT_GE(draws.size(), 3u);
    int withReference = 0;
    size_t highlightChunk = 0;
    for (size_t i = 0; i < draws.size(); ++i)
        if (draws[i].render[size_t(RenderState::AlphaRef)] == 128u) {
            ++withReference;
            highlightChunk = i;
        }
    EXPECT_EQ(withReference, 1);
    ASSERT_GE(highlightChunk, 1u);
    const cDeviceTexture* tableTexture = owned[0]->getDeviceTexture();
    EXPECT_EQ(draws[highlightChunk].textures[0], tableTexture);
    EXPECT_EQ(draws[highlightChunk - 1].textures[0], tableTexture);
    EXPECT_EQ(draws[highlightChunk - 1].render[size_t(RenderState::AlphaRef)], 0u);
}

TEST_F(TableFrame, ServedHoveredTableOnTheHeadlessDevice) {
    try {
        makeGraphics(false);
    } catch (...) {
        FAIL() << "no headless OpenGL device could be made";
    }
    buildServedTable();
    drawFrame();
    std::vector<uint32_t> pixels;
    uint32_t w = 0, h = 0;
    ASSERT_EQ(rig.graphics->readBackBuffer(&pixels, &w, &h), DEV_OK);
    ASSERT_EQ(w, 800u);
    EXPECT_TRUE(saveTestFrame(pixels, w, h, "restaurant-served-table.png"));
    // Inside the table, away from the money: the table's brown lit by its overlay highlight.
    const uint32_t px = pixels[size_t(350) * w + 285];
    EXPECT_GT((px >> 16) & 0xFF, 0x8Bu) << std::hex << px;
    EXPECT_EQ(pixels[size_t(5) * w + 5] & 0xFFFFFFu, 0u) << "nothing drawn far from the table";
}

}  // namespace
