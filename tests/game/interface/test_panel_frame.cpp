// A frame of the pause panel at rest over a dimmed stand-in level, drawn by the renderer on
// the headless OpenGL device: the draw records come in depth order (restaurant, the fader at
// alpha 150, then the panel, its background and its parts at their shown points, nothing of
// the hidden panels), and the pixels show the dimmed restaurant around the panel. The frame is
// kept as a screenshot under the build folder, as is a frame of the demo data's status and
// level-start panels.

#include <filesystem>
#include <map>

#include "engine/media/cGraphics.h"
#include "engine/media/cTexture.h"
#include "engine/scene/cEngineSceneServices.h"
#include "tests/engine/media/test_graphics_support.h"
#include "tests/game/interface/PanelTestSupport.h"

using namespace panel_test;
using namespace render_test;

namespace {

// The engine's services (drawing through the renderer, input through the input manager) with
// textures from memory, a test clock that stops with the logic, and a record of what is drawn.
class PixelServices : public cEngineSceneServices {
public:
    std::map<std::string, cTexture*> textures;
    std::map<const cTexture*, std::string> names;
    std::vector<std::pair<std::string, cRenderQuad>> drawn;
    float delta = 0.0f;
    float getGameDelta() override { return getLogic()->isPaused() ? 0.0f : delta; }
    float getRealDelta() override { return delta; }
    cTexture* getTexture(const cStringA& name) override {
        auto it = textures.find(name);
        return it == textures.end() ? nullptr : it->second;
    }
    void drawSprite(const cDrawRecord& record) override {
        auto it = names.find(record.texture0);
        drawn.emplace_back(it == names.end() ? std::string() : it->second, *record.quad);
        cEngineSceneServices::drawSprite(record);
    }
};

cVector2 centre(const cRenderQuad& q) {
    cVector2 sum;
    for (int k = 0; k < 4; ++k) sum = sum + q.transformedCorner(k);
    return sum * 0.25f;
}

// One frame of the render set on the device, read back (800 x 600).
void drawRenderSet(cGraphics& graphics, std::vector<uint32_t>* pixels) {
    graphics.beginFrame();
    forEachInRenderSet(drawObject);
    graphics.endFrame();
    uint32_t w = 0, h = 0;
    ASSERT_EQ(graphics.readBackBuffer(pixels, &w, &h), DEV_OK);
    ASSERT_EQ(w, 800u);
}

// The frame as a screenshot in the test output folder.
void saveShot(const std::vector<uint32_t>& pixels, const char* name) {
    EXPECT_TRUE(saveTestFrame(pixels, 800, 600, name));
}

class PanelFrame : public PanelTest {
protected:
    std::unique_ptr<cGraphics> graphics;
    PixelServices pixelServices;
    std::vector<std::unique_ptr<cTexture>> owned;
    std::vector<uint32_t> pixels;

    void SetUp() override {
        PanelTest::SetUp();
        cGraphics::setDesktopWidthOverride(1920);
        try {
            graphics = std::make_unique<cGraphics>(nullptr);
        } catch (...) {
            FAIL() << "no headless OpenGL device could be made";
        }
        addTexture("restaurant.png", 800, 600, 0xFF40A040u);
        addTexture("black.png", 800, 600, 0xFF000000u);
        addTexture("Game/Interface/Surfaces/panel.dds", 360, 420, 0xFFF2E8CFu);
        addTexture("Game/Interface/Surfaces/panel_shadow.dds", 360, 420, 0xFF303030u);
        for (const char* b : {"button_continue", "button_restart", "button_options", "button_menu"})
            addTexture(std::string("Game/Interface/Buttons/") + b + ".dds", 100, 40, 0xFF3D5A80u);
        addTexture("fonts/fixed.png", 120, 200, 0xFFFFFFFFu);
        setSceneServices(&pixelServices);
    }
    void TearDown() override {
        PanelTest::TearDown();
        owned.clear();
        graphics.reset();
        cGraphics::setDesktopWidthOverride(0);
    }
    void addTexture(const std::string& name, uint32_t w, uint32_t h, uint32_t argb) {
        owned.push_back(makeTexture(solidImage(w, h, argb), name.c_str()));
        pixelServices.textures[name] = owned.back().get();
        pixelServices.names[owned.back().get()] = name;
    }
    void step(float dt = 1.0f / 60.0f) {
        pixelServices.delta = dt;
        input->update();
        updateTopLevelNodes(&updateNode);
    }
    int channel(int x, int y, int shift) const { return int((pixels[size_t(y) * 800 + size_t(x)] >> shift) & 0xFF); }
};

TEST_F(PanelFrame, PausePanelAtRestOverTheDimmedLevel) {
    // The stand-in level: the restaurant, and its fader that the dimming raises to alpha 150.
    cSceneNode* level = new cSceneNode(screen);
    level->show();
    level->enable();
    screen->levelNode = level;
    cPicture* restaurant = new cPicture(level);
    restaurant->setPicture("restaurant.png");
    restaurant->setPosition(cVector2(400.0f, 300.0f));
    restaurant->setDeep(100.0f);
    restaurant->show();
    cPicture* fader = new cPicture(level);
    fader->setPicture("black.png");
    fader->setPosition(cVector2(400.0f, 300.0f));
    fader->setDeep(8400.0f);
    fader->setAlpha(150);

    screen->buildPanels();
    screen->pause->show(true);
    for (int i = 0; i < 300 && !screen->pause->isComplete(); ++i) step();
    ASSERT_TRUE(screen->pause->isComplete());
    ASSERT_EQ(screen->dims, std::vector<bool>{true});
    fader->show();
    step(0.0f);

    pixelServices.drawn.clear();
    drawRenderSet(*graphics, &pixels);
    saveShot(pixels, "panels-pause-frame.png");

    const auto& drawn = pixelServices.drawn;
    ASSERT_GE(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].first, "restaurant.png");
    EXPECT_EQ(drawn[1].first, "black.png");
    EXPECT_EQ(drawn[1].second.vertices[0].color >> 24, 150u) << "the level is dimmed";
    std::map<std::string, int> counts;
    for (size_t i = 2; i < drawn.size(); ++i) ++counts[drawn[i].first];
    EXPECT_EQ(counts["Game/Interface/Surfaces/panel_shadow.dds"], 1);
    EXPECT_EQ(counts["Game/Interface/Surfaces/panel.dds"], 1);
    for (const char* b : {"button_continue", "button_restart", "button_options", "button_menu"})
        EXPECT_EQ(counts[std::string("Game/Interface/Buttons/") + b + ".dds"], 1) << b;
    EXPECT_EQ(counts["fonts/fixed.png"], 11) << "PAUSE and PAUSED";
    EXPECT_EQ(counts[""], 2) << "the two text objects themselves";
    EXPECT_EQ(size_t(2 + 1 + 1 + 4 + 2 + 11), drawn.size()) << "nothing of the hidden panels";
    for (const auto& [name, quad] : drawn) {
        if (name == "Game/Interface/Surfaces/panel.dds") {
            EXPECT_NEAR(centre(quad).x, 400.0f, 0.6f);
            EXPECT_NEAR(centre(quad).y, 280.0f, 0.6f);
        }
        if (name == "Game/Interface/Surfaces/panel_shadow.dds") {
            EXPECT_NEAR(centre(quad).x, 410.0f, 0.6f);
            EXPECT_NEAR(centre(quad).y, 290.0f, 0.6f);
        }
        if (name == "Game/Interface/Buttons/button_menu.dds") {
            EXPECT_NEAR(centre(quad).x, 400.0f, 0.6f);
            EXPECT_NEAR(centre(quad).y, 370.0f, 0.6f);
        }
    }

    // Pixels: the restaurant dimmed to 105/255 around the panel, the panel itself undimmed.
    EXPECT_NEAR(channel(20, 20, 8), 0xA0 * 105 / 255, 3);
    EXPECT_NEAR(channel(20, 20, 16), 0x40 * 105 / 255, 3);
    EXPECT_NEAR(channel(550, 280, 16), 0xF2, 3);
    EXPECT_NEAR(channel(550, 280, 8), 0xE8, 3);
    EXPECT_NEAR(channel(400, 370, 0), 0x80, 3);
}

// The demo data drawn: the status panel and the level-start panel of level 1 at rest, their
// textures and fonts read from the built Data folder.
class DemoServices : public cEngineSceneServices {
public:
    float delta = 1.0f / 60.0f;
    float getGameDelta() override { return getLogic()->isPaused() ? 0.0f : delta; }
    float getRealDelta() override { return delta; }
};

class PanelDemoFrame : public testing::Test {
protected:
    std::unique_ptr<cGraphics> graphics;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    std::unique_ptr<cLogic> logic;
    DemoServices services;
    cSceneServices* previous = nullptr;
    std::unique_ptr<FakeGameScreen> screen;
    std::vector<uint32_t> pixels;

    void SetUp() override {
        namespace fs = std::filesystem;
        cGraphics::setDesktopWidthOverride(1920);
        try {
            graphics = std::make_unique<cGraphics>(nullptr);
        } catch (...) {
            FAIL() << "no headless OpenGL device could be made";
        }
        files = std::make_unique<cFileManager>(cStringA((fs::path(RW_DIST_DIR) / "Data").string()), cStringA("kbf"));
        cBitmapFont::registerResourceFactory();
        cTexture::registerResourceFactory();
        resources = std::make_unique<cResourceManager>();
        logic = std::make_unique<cLogic>();
        previous = setSceneServices(&services);
        try {
            for (const char* folder : {"config", "fonts", "game/interface"}) resources->loadFolder(folder, true, 10);
        } catch (const std::string& text) {
            FAIL() << text;
        }
        screen = std::make_unique<FakeGameScreen>();
        screen->level = 1;
        screen->goal = 1200;
        screen->expertGoal = 1800;
        screen->score = 640;
    }
    void TearDown() override {
        screen.reset();
        clearSparkles();
        updateTopLevelNodes(nullptr);
        setSceneServices(previous);
        logic.reset();
        resources.reset();
        files.reset();
        graphics.reset();
        cGraphics::setDesktopWidthOverride(0);
    }
    void settleAll(std::initializer_list<cPanel*> panels) {
        for (int i = 0; i < 200; ++i) {
            bool resting = true;
            for (cPanel* p : panels) resting = resting && p->isComplete();
            if (resting) return;
            updateTopLevelNodes(&updateNode);
        }
        FAIL() << "the panels never came to rest";
    }
    void drawAndSave(const char* name) {
        drawRenderSet(*graphics, &pixels);
        saveShot(pixels, name);
    }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * 800 + size_t(x)] & 0xFFFFFFu; }
};

TEST_F(PanelDemoFrame, StatusAndLevelStartPanels) {
    screen->status = new cPanelStatus(screen.get(), screen.get());
    screen->start = new cPanelLevel(screen.get(), screen.get());
    screen->status->show(false);
    screen->start->show(true);
    settleAll({screen->status, screen->start});
    drawAndSave("panels-level-start-frame.png");
    EXPECT_EQ(at(620, 130), 0xF2E8CFu) << "the level-start panel at rest";
    EXPECT_NE(at(400, 5), 0u) << "the status bar";
}

TEST_F(PanelDemoFrame, ResultsPanelOfAnExpertRun) {
    screen->score = 1900;
    screen->buildPanels();
    screen->results->show(true);
    settleAll({screen->results});
    drawAndSave("panels-results-frame.png");
    EXPECT_TRUE(screen->results->getExpertPicture()->isVisible());
    EXPECT_EQ(at(640, 110), 0xF2E8CFu) << "the results panel at rest";
}

}  // namespace
