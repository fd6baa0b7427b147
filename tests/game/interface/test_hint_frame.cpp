// A frame of the demo data's first tutorial hints on the headless OpenGL device: the bubble at
// rest in its own colour with its words, and its arrow. The frame is kept as a screenshot under
// the build folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "engine/app/cLogic.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cTexture.h"
#include "engine/scene/cEngineSceneServices.h"
#include "engine/scene/cPicture.h"
#include "game/interface/cHint.h"
#include "game/interface/cHints.h"
#include "tests/engine/media/test_graphics_support.h"

namespace {

class DemoServices : public cEngineSceneServices {
public:
    float getGameDelta() override { return 1.0f / 60.0f; }
    float getRealDelta() override { return 1.0f / 60.0f; }
};

TEST(HintFrame, ABubbleAtRestWithItsArrow) {
    namespace fs = std::filesystem;
    cGraphics::setDesktopWidthOverride(1920);
    std::unique_ptr<cGraphics> graphics;
    try {
        graphics = std::make_unique<cGraphics>(nullptr);
    } catch (...) {
        FAIL() << "no headless OpenGL device could be made";
    }
    auto files = std::make_unique<cFileManager>(cStringA((fs::path(RW_DIST_DIR) / "Data").string()), cStringA("kbf"));
    cTexture::registerResourceFactory();
    auto resources = std::make_unique<cResourceManager>();
    DemoServices services;
    cSceneServices* previous = setSceneServices(&services);
    std::vector<uint32_t> pixels;
    {
        for (const char* folder : {"config/game", "game/interface/hints"}) resources->loadFolder(folder, true, 10);
        cSceneNode level;
        level.show();
        level.enable();
        auto* hints = new cHints(&level, 1);
        // Hint 3 of level 1 (table 2, with an arrow), faded in.
        for (int k = 0; k < 3; ++k) hints->nextStepAndShow();
        for (int i = 0; i < 60 && hints->isPending(); ++i) updateTopLevelNodes(&updateNode);
        ASSERT_FALSE(hints->isPending());
        const cHint* hint = hints->getHint(2);
        ASSERT_TRUE(hint->isVisible());
        ASSERT_NE(hint->getArrow1(), nullptr);

        graphics->beginFrame();
        forEachInRenderSet(drawObject);
        graphics->endFrame();
        uint32_t w = 0, h = 0;
        ASSERT_EQ(graphics->readBackBuffer(&pixels, &w, &h), DEV_OK);
        ASSERT_EQ(w, 800u);
        EXPECT_TRUE(render_test::saveTestFrame(pixels, 800, 600, "hints-level-1-frame.png"));
        auto at = [&](cVector2 p) { return pixels[size_t(p.y) * 800 + size_t(p.x)] & 0xFFFFFFu; };
        const cVector2 bubble = hint->getBubble()->getPosition();
        EXPECT_EQ(at(bubble + cVector2(-120, 0)), 0xFFF4C2u) << "the bubble's fill";
        EXPECT_EQ(at(bubble + cVector2(0, 60)), 0u) << "nothing below the bubble";
        EXPECT_NE(at(hint->getArrow1()->getPosition() + cVector2(0, -16)), 0u) << "the arrow";
    }
    updateTopLevelNodes(nullptr);
    setSceneServices(previous);
    resources.reset();
    files.reset();
    graphics.reset();
    cGraphics::setDesktopWidthOverride(0);
}

}  // namespace
