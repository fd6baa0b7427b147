// The loading screens: the bar's progress, the screen's fade, its textures, and the start
// screen's slide-out.
#include <gtest/gtest.h>

#include <memory>

#include "engine/core/cResourceManager.h"
#include "engine/core/cTimer.h"
#include "engine/media/cGraphics.h"
#include "engine/scene/cPicture.h"
#include "game/flow/cLoader.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/flow/cStartLoader.h"
#include "tests/game/flow/test_game_env.h"

namespace {

class Loading : public ::testing::Test {
protected:
    void SetUp() override {
        genv.data.writeIni("config/menu/loader.ini", game_test::kLoaderIni);
        genv.data.writeIni("config/menu/loader_start.ini", game_test::kStartLoaderIni);
        genv.startCore();
        getResourceManager()->load(cLoader::kConfig, GROUP_CONFIG);
        getResourceManager()->load(cStartLoader::kConfig, GROUP_CONFIG);
    }
    game_test::GameEnvironment genv;
};

// The frames the fall of 300 pixels takes at a fixed interface step.
unsigned expectedSlideFrames(float y, float dt) {
    const float limit = y + cStartLoader::kFallDistance;
    float speed = cStartLoader::kFallSpeed;
    unsigned n = 0;
    while (y < limit) {
        const float d = dt * speed;
        speed += dt * cStartLoader::kFallAcceleration;
        y += d;
        ++n;
    }
    return n;
}

}  // namespace

TEST_F(Loading, TheBarShowsItsShareOfTheRectangle) {
    auto loader = std::make_unique<cLoader>();
    // The fixture's bar: centre (400,500), size (400,32), rectangle (0,0,400,32).
    EXPECT_EQ(loader->getBarPosition().x, 200.0f);
    EXPECT_EQ(loader->getBarPosition().y, 484.0f);
    struct Case {
        uint32_t step, count;
        float right;
        bool shown;
    };
    const Case cases[] = {{3, 10, 120.0f, true}, {0, 10, 0.0f, false}, {12, 10, 400.0f, true},
                          {10, 10, 400.0f, true}, {0, 0, 400.0f, true}, {1, 3, 400.0f / 3.0f, true}};
    for (const Case& c : cases) {
        loader->setProgress(c.step, c.count);
        const cRect r = loader->getBar()->getLayer0TextureRect();
        EXPECT_EQ(r.left, 0.0f) << c.step << "/" << c.count;
        EXPECT_NEAR(r.right, c.right, 1e-3f) << c.step << "/" << c.count;
        EXPECT_EQ(r.bottom, 32.0f);
        EXPECT_EQ(loader->getBar()->isOwnVisible(), c.shown) << c.step << "/" << c.count;
    }
}

TEST_F(Loading, AScreenRestoresTheFadeAndUnloadsItsTextures) {
    getGraphics()->setFade(100.0f);
    {
        cLoader loader;
        EXPECT_EQ(getGraphics()->getFade(), 255.0f);
        EXPECT_TRUE(getResourceManager()->isLoaded("Menu/Loader/loader_back.dds"));
        EXPECT_EQ(getResourceManager()->find("Menu/Loader/loader_bar.dds")->getGroup(), GROUP_LOADING_SCREENS);
        loader.show();
        loader.setProgress(1, 2);
        genv.saveFrame("loader.png");
    }
    EXPECT_EQ(getGraphics()->getFade(), 100.0f);
    EXPECT_FALSE(getResourceManager()->isLoaded("Menu/Loader/loader_back.dds"));
    EXPECT_FALSE(getResourceManager()->isLoaded("Menu/Loader/loader_bar.dds"));
    getGraphics()->setFade(255.0f);
}

TEST_F(Loading, TheStartScreenFallsOutOfViewFrameByFrame) {
    for (float interfaceSpeed : {1.0f, 0.5f, 3.0f}) {
        getTimer()->setRealSpeed(interfaceSpeed);
        auto loader = std::make_unique<cStartLoader>();
        loader->show();
        loader->setProgress(1, 2);
        loader->setProgress(2, 2);
        genv.saveFrame("start_loader.png");
        const float dt = getTimer()->getRealDelta();  // 16 ms per frame, at the interface speed
        ASSERT_NEAR(dt, 0.016f * interfaceSpeed, 1e-6f);
        const float y = loader->getCaption()->getPosition().y;
        loader.reset();
        EXPECT_EQ(cStartLoader::lastSlideFrames(), expectedSlideFrames(y, dt)) << interfaceSpeed;
    }
    getTimer()->setRealSpeed(1.0f);
    EXPECT_FALSE(getResourceManager()->isLoaded("Menu/Loader/start_caption.dds"));
}
