// Shown pictures reach the real sprite batch (over the recording device) through the frame's
// draw step and the engine's scene services.

#include <gtest/gtest.h>

#include <map>

#include "engine/scene/cEngineSceneServices.h"
#include "engine/scene/cPicture.h"
#include "engine/scene/cSceneNode.h"
#include "tests/engine/media/test_graphics_support.h"

using namespace render_test;

namespace {

// The engine's services, with textures from memory instead of the resource manager.
class MemoryTextureServices : public cEngineSceneServices {
public:
    std::map<std::string, cTexture*> textures;
    cTexture* getTexture(const cStringA& name) override {
        auto it = textures.find(name);
        return it == textures.end() ? nullptr : it->second;
    }
};

class SceneRender : public RecordingRenderer {
protected:
    MemoryTextureServices services;
    cSceneServices* previous = nullptr;
    std::unique_ptr<cTexture> texA, texB;

    void SetUp() override {
        RecordingRenderer::SetUp();
        texA = makeTexture(solidImage(4, 4, 0xFFFF0000u), "a.png");
        texB = makeTexture(solidImage(8, 2, 0xFF00FF00u), "b.png");
        services.textures["a.png"] = texA.get();
        services.textures["b.png"] = texB.get();
        previous = setSceneServices(&services);
    }
    void TearDown() override {
        setSceneServices(previous);
        EXPECT_EQ(getRenderSetCount(), 0u);
        texA.reset();
        texB.reset();
        RecordingRenderer::TearDown();
    }
    void drawFrame() {
        graphics->beginFrame();
        rec->clearCalls();
        rec->clearDraws();
        forEachInRenderSet(drawObject);
        graphics->endFrame();
    }
};

}  // namespace

TEST_F(SceneRender, PicturesAreBatchedInDepthOrderAtTheirPlaces) {
    cPicture front, back;
    front.setPicture("a.png");
    front.setPosition(cVector2(100, 100));
    front.setDeep(2);
    back.setPicture("b.png");
    back.setTransformFlags(TF_CENTERED, false);
    back.setPosition(cVector2(10, 10));
    back.setDeep(1);
    front.show();
    back.show();

    drawFrame();
    EXPECT_EQ(graphics->getLastChunkCount(), 2u);
    std::vector<cSpriteVertex> v = vertices(0, 8);
    ASSERT_EQ(v.size(), 8u);
    // back first: its top-left corner at its position, shifted to the pixel centre
    EXPECT_FLOAT_EQ(v[0].x, 9.5f);
    EXPECT_FLOAT_EQ(v[0].y, 9.5f);
    EXPECT_FLOAT_EQ(v[3].x, 17.5f);
    EXPECT_FLOAT_EQ(v[3].y, 11.5f);
    // front: 4 x 4 centred on (100, 100)
    EXPECT_FLOAT_EQ(v[4].x, 97.5f);
    EXPECT_FLOAT_EQ(v[7].y, 101.5f);
    EXPECT_EQ(v[4].color, 0xFFFFFFFFu);

    // Hidden pictures are not drawn.
    back.hide();
    drawFrame();
    EXPECT_EQ(graphics->getLastChunkCount(), 1u);
    front.hide();
}
