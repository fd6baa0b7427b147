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

// The engine's services, with textures from memory instead of the resource manager, and one
// stand-in model ("man.x") whose instances are never touched.
class MemoryTextureServices : public cEngineSceneServices {
public:
    std::map<std::string, cTexture*> textures;
    int modelByte = 0, instanceByte = 0;
    cTexture* getTexture(const cStringA& name) override {
        auto it = textures.find(name);
        return it == textures.end() ? nullptr : it->second;
    }
    cModel* getModel(const cStringA& name) override {
        return name == "man.x" ? reinterpret_cast<cModel*>(&modelByte) : nullptr;
    }
    cModelInstance* createModelInstance(cModel*) override { return reinterpret_cast<cModelInstance*>(&instanceByte); }
    void destroyModelInstance(cModelInstance*) override {}
    void setModelInstancePosition(cModelInstance*, const cVector2&) override {}
    void setModelInstanceDeep(cModelInstance*, float) override {}
    void setModelInstanceScale(cModelInstance*, const cVector2&) override {}
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

namespace {
int g_beginCalls = 0, g_drawCalls = 0;
void countBegin(cDevice*) { ++g_beginCalls; }
void countDraw(cDevice*) { ++g_drawCalls; }
}  // namespace

TEST_F(SceneRender, EveryWordOfTheDrawRecordReachesTheBatch) {
    // Layer 1, the depth word, a vertex offset, the view offset and filtering of one picture.
    cPicture masked;
    masked.setPicture("a.png");
    masked.setLayerTexture(1, "b.png");
    masked.setTransformFlags(TF_CENTERED, false);
    masked.setPosition(cVector2(10, 10));
    masked.setQuadWord(5);
    masked.setVertexOffset(0, cVector2(2, 3));
    masked.setViewOffset(cVector2(1, 1));
    masked.setRenderFlags(RF_USE_FILTERING | RF_USE_STENCIL, true);
    masked.show();
    drawFrame();
    ASSERT_EQ(rec->draws().size(), 1u);
    const auto& state = rec->draws()[0];
    EXPECT_EQ(state.stage[1][size_t(StageState::ColorOp)], uint32_t(TOP_MODULATE));
    EXPECT_EQ(state.stage[0][size_t(StageState::MagFilter)], uint32_t(TEXF_LINEAR));
    EXPECT_EQ(state.stage[1][size_t(StageState::MinFilter)], uint32_t(TEXF_LINEAR));
    EXPECT_EQ(state.render[size_t(RenderState::ZFunc)], uint32_t(CMP_EQUAL));
    std::vector<cSpriteVertex> v = vertices(0, 4);
    ASSERT_EQ(v.size(), 4u);
    // Corner 0: (8, 8) + offset (2, 3), moved by the half size (2, 2), view offset, pixel centre.
    EXPECT_FLOAT_EQ(v[0].x, 12.5f);
    EXPECT_FLOAT_EQ(v[0].y, 13.5f);
    EXPECT_FLOAT_EQ(v[3].x, 14.5f);
    EXPECT_EQ(v[0].z, stencilToDepth(5));
    EXPECT_EQ(v[0].z, v[3].z);
    EXPECT_FLOAT_EQ(v[3].u1, 1.0001f);
    masked.hide();

    // A begin-draw and a draw callback: the callbacks replace the quad; sprites that share
    // them share one chunk and one call; a model sprite draws no quad and tints by vertex 0.
    g_beginCalls = g_drawCalls = 0;
    cPicture first, second, model;
    for (cPicture* p : {&first, &second}) {
        p->setPicture("a.png");
        p->setBeginDrawCallback(countBegin);
        p->setDrawCallback(countDraw);
    }
    second.setDeep(1);
    model.setModelName("man.x");
    model.setColor(0x336699);
    model.setDeep(2);
    for (cPicture* p : {&first, &second, &model}) p->show();
    MeshPartsQuery query = cGraphics::setMeshPartsQuery(nullptr);  // the instance is a stand-in
    drawFrame();
    cGraphics::setMeshPartsQuery(query);
    EXPECT_EQ(g_beginCalls, 1);
    EXPECT_EQ(g_drawCalls, 1);
    EXPECT_EQ(graphics->getLastChunkCount(), 2u);
    EXPECT_TRUE(drawCalls().empty());
    EXPECT_EQ(rec->callsStartingWith("renderState TextureFactor"),
              (std::vector<std::string>{"renderState TextureFactor " + std::to_string(0xFF336699u)}));
    for (cPicture* p : {&first, &second, &model}) p->hide();
}
