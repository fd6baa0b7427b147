// Effects drawn by the renderer on the headless OpenGL device: firework sparkles add light
// where they overlap, and a silhouette sparkle draws in its vertex colour whatever its
// texture's colour. The frame is kept as a screenshot under the build folder.

#include <filesystem>
#include <map>

#include "engine/scene/cEngineSceneServices.h"
#include "game/effects/cFireworks.h"
#include "game/effects/cFxSparkle.h"
#include "tests/engine/media/test_graphics_support.h"
#include "tests/game/effects/EffectTestSupport.h"

using namespace effects_test;
using namespace render_test;

namespace {

// The engine's services (drawing through the renderer) with textures from memory and a test
// clock.
class PixelServices : public cEngineSceneServices {
public:
    std::map<std::string, cTexture*> textures;
    float gameDelta = 0.0f;
    float getGameDelta() override { return gameDelta; }
    float getRealDelta() override { return gameDelta; }
    cTexture* getTexture(const cStringA& name) override {
        auto it = textures.find(name);
        return it == textures.end() ? nullptr : it->second;
    }
};

class EffectPixels : public EffectsTest {
protected:
    std::unique_ptr<cGraphics> graphics;
    PixelServices pixelServices;
    std::vector<std::unique_ptr<cTexture>> owned;
    std::vector<uint32_t> pixels;

    void SetUp() override {
        EffectsTest::SetUp();
        cGraphics::setDesktopWidthOverride(1920);
        try {
            graphics = std::make_unique<cGraphics>(nullptr);
        } catch (...) {
            FAIL() << "no headless OpenGL device could be made";
        }
        addTexture("sparkle.png", solidImage(64, 64, 0xFFFFFFFFu));
        addTexture("grey.png", solidImage(300, 400, 0xFF808080u));
        addTexture("red.png", solidImage(32, 32, 0xFFFF0000u));
        setSceneServices(&pixelServices);
        makeLevel();
    }
    void TearDown() override {
        destroyFireworks();
        EffectsTest::TearDown();
        owned.clear();
        graphics.reset();
        cGraphics::setDesktopWidthOverride(0);
    }
    void addTexture(const std::string& name, const cImage& image) {
        owned.push_back(makeTexture(image, name.c_str()));
        pixelServices.textures[name] = owned.back().get();
    }
    void drawFrame() {
        graphics->beginFrame();
        forEachInRenderSet(drawObject);
        graphics->endFrame();
        uint32_t w = 0, h = 0;
        ASSERT_EQ(graphics->readBackBuffer(&pixels, &w, &h), DEV_OK);
        ASSERT_EQ(w, 800u);
    }
    int channel(int x, int y, int shift) const { return int((pixels[size_t(y) * 800 + size_t(x)] >> shift) & 0xFF); }
    void saveFrame(const char* name) {
        EXPECT_TRUE(saveTestFrame(pixels, 800, 600, name));
    }
};

TEST_F(EffectPixels, OverlappingSparklesAddUpAndASilhouetteSparkleDrawsWhite) {
    // Sparkles of alpha 100 on 32-pixel squares: one at (150, 150), two at (350, 150).
    replaceIni("Config/Game/fx_firework.ini",
               "[SPARKLES]\npicture=\"sparkle.png\"\ndeep=\"1\"\nlifetime=\"1\"\nfading_start=\"0.9\"\n"
               "min_alpha=\"100\"\nmax_alpha=\"100\"\n");
    createFireworks(level);
    cFireworks* system = getFireworks();
    system->spawnSparkle(cVector3(), cVector2(150, 150));
    system->spawnSparkle(cVector3(), cVector2(350, 150));
    system->spawnSparkle(cVector3(), cVector2(350, 150));
    system->update();   // a paused step: nothing moves, every sparkle at alpha 100

    // A red picture's sparkle in white over grey, beside a plain copy without the silhouette.
    cPicture* background = new cPicture(level);
    background->setPicture("grey.png");
    background->setPosition(cVector2(600, 300));
    background->show();
    cPicture* source = new cPicture(level);   // never shown itself
    source->setPicture("red.png");
    source->setPosition(cVector2(600, 200));
    source->setDeep(5);
    new cFxSparkle(level, source, 100, 255, 1.0f, 0xFFFFFF, "");
    source->setPosition(cVector2(600, 400));
    cFxSparkle* plain = new cFxSparkle(level, source, 100, 255, 1.0f, 0xFFFFFF, "");
    plain->setBeginDrawCallback(nullptr);

    drawFrame();
    saveFrame("effects-frame.png");
    EXPECT_NEAR(channel(150, 150, 8), 100, 2);
    EXPECT_NEAR(channel(350, 150, 8), 200, 3);
    EXPECT_EQ(channel(50, 50, 8), 0);
    // Overlay blend over grey 128: a white silhouette doubles it to white; the plain red copy
    // keeps green and blue at the background's.
    for (int shift : {16, 8, 0}) EXPECT_GE(channel(600, 200, shift), 250) << shift;
    EXPECT_GE(channel(600, 400, 16), 250);
    EXPECT_NEAR(channel(600, 400, 8), 128, 3);
    EXPECT_NEAR(channel(600, 300, 8), 128, 3);
}

}  // namespace
