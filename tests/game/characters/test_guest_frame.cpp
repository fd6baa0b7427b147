// The demo guest of kind 0 at table 1 on the headless OpenGL device, with its sheets and the
// mood display from the built Data folder: it walks in, orders, is served and leaves, and the
// sprites drawn in each phase are its sheet of that phase and the mood frame of its mood.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "engine/media/ImageDecoder.h"
#include "engine/scene/cEngineSceneServices.h"
#include "game/characters/cCustomer.h"
#include "tests/engine/media/test_graphics_support.h"
#include "tests/game/characters/CharacterTestSupport.h"

using namespace characters_test;
using namespace render_test;

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(RW_DIST_DIR) / "Data";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The engine's services (drawing through the renderer) with the demo textures and a test clock.
class FrameServices : public cEngineSceneServices {
public:
    std::map<std::string, cTexture*> textures;
    std::vector<cSprite*> order;
    float gameDelta = 0.0f;
    float getGameDelta() override { return gameDelta; }
    float getRealDelta() override { return gameDelta; }
    cVector2 getMousePosition() override { return cVector2(-100, -100); }
    cTexture* getTexture(const cStringA& name) override {
        auto it = textures.find(cStringA(name).makeLower().c_str());
        return it == textures.end() ? nullptr : it->second;
    }
};

FrameServices* g_frame = nullptr;
void drawAndRecord(cSprite* sprite) {
    g_frame->order.push_back(sprite);
    drawObject(sprite);
}

class GuestFrame : public CharacterTest {
protected:
    std::unique_ptr<cGraphics> graphics;
    FrameServices frameServices;
    std::vector<std::unique_ptr<cTexture>> owned;

    void SetUp() override {
        CharacterTest::SetUp();
        if (HasFatalFailure()) return;
        resources->unload(cStringA("Config/Game/c_01.ini"));
        addFile("Config/Game/c_01.ini", readFile(kData / "config/game/c_01.ini"));
    }
    void TearDown() override {
        setSceneServices(&services);
        CharacterTest::TearDown();
        owned.clear();
        graphics.reset();
        cGraphics::setDesktopWidthOverride(0);
        g_frame = nullptr;
    }
    void addDemoTexture(const std::string& name) {
        const std::string bytes = readFile(kData / name);
        ASSERT_FALSE(bytes.empty()) << name;
        owned.push_back(makeTexture(decodeImage(bytes.data(), bytes.size()), "t.png"));
        frameServices.textures[name] = owned.back().get();
    }
    void makeGraphics() {
        cGraphics::setDesktopWidthOverride(1920);
        graphics = std::make_unique<cGraphics>(nullptr);
        for (const char* stem : {"stand_happy", "stand_angry", "order", "exit_happy"})
            addDemoTexture(std::string("game/characters/01/c01_") + stem + ".dds");
        addDemoTexture("game/characters/mood/mood.dds");
        g_frame = &frameServices;
        setSceneServices(&frameServices);
    }
    template <class Condition>
    void stepUntil(Condition done, float limit) {
        for (float t = 0.0f; !done() && t < limit; t += 0.02f) {
            frameServices.gameDelta = 0.02f;
            updateTopLevelNodes(&updateNode);
        }
    }
    void drawFrame() {
        frameServices.order.clear();
        graphics->beginFrame();
        forEachInRenderSet(drawAndRecord);
        graphics->endFrame();
    }
    bool drawn(const cSprite* sprite) const {
        return std::find(frameServices.order.begin(), frameServices.order.end(), sprite) != frameServices.order.end();
    }
};

TEST_F(GuestFrame, DemoGuestAtTableOneWalksInOrdersIsServedAndLeaves) {
    try {
        makeGraphics();
    } catch (...) {
        FAIL() << "no headless OpenGL device could be made";
    }
    cTable* table = makeTable(1);
    auto* guest = new cCustomer(level, 0);
    guest->addOrder(ITEM_DRINK);
    table->seatCustomer(guest);
    const std::string sheets = "game/characters/01/c01_";

    // Walking in: its happy stand, fading in; no mood yet.
    stepUntil([] { return false; }, 0.3f);
    drawFrame();
    EXPECT_TRUE(drawn(guest));
    EXPECT_EQ(std::string(guest->getPicture()), sheets + "stand_happy.dds");
    EXPECT_GT(guest->getVertexAlpha(0), 0u);
    EXPECT_LT(guest->getVertexAlpha(0), 255u);
    EXPECT_FALSE(drawn(guest->getMoodPicture()));

    // Seated and waiting: the mood display's first frame, then its second after one step.
    stepUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ORDER; }, 3.0f);
    drawFrame();
    EXPECT_TRUE(drawn(guest->getMoodPicture()));
    EXPECT_EQ(std::string(guest->getMoodPicture()->getPicture()), "game/characters/mood/mood.dds");
    EXPECT_EQ(guest->getMoodPicture()->getLayer0Frame(), 1u);
    stepUntil([&] { return guest->getMood() == 7; }, 10.0f);
    drawFrame();
    EXPECT_EQ(guest->getMoodPicture()->getLayer0Frame(), 2u);
    std::vector<uint32_t> pixels;
    uint32_t w = 0, h = 0;
    ASSERT_EQ(graphics->readBackBuffer(&pixels, &w, &h), DEV_OK);
    EXPECT_TRUE(saveTestFrame(pixels, w, h, "characters-guest-waiting.png"));
    const cVector2 p = guest->getPosition();
    EXPECT_NE(pixels[size_t(p.y) * w + size_t(p.x)] & 0xFFFFFFu, 0u) << "the guest's figure at its position";

    // Ordering, then waiting for the drink, then served: each phase its sheet.
    table->setState(ITEM_ORDER_TAKEN);
    drawFrame();
    EXPECT_EQ(std::string(guest->getPicture()), sheets + "order.dds");
    stepUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ITEM; }, 10.0f);
    EXPECT_EQ(table->getState(), ITEM_DRINK);
    table->setState(0);
    drawFrame();
    EXPECT_EQ(std::string(guest->getPicture()), sheets + "exit_happy.dds");
    EXPECT_FALSE(drawn(guest->getMoodPicture()));
    stepUntil([&] { return table->getCustomer() == nullptr; }, 5.0f);
    EXPECT_EQ(table->getCustomer(), nullptr);
    EXPECT_EQ(table->getState(), ITEM_MONEY);
}

}  // namespace
