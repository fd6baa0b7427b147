// The renderer on the headless OpenGL device: known sprites drawn into an 800 x 600 frame,
// pixels checked at chosen points. One frame is kept as a screenshot under the build folder.

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>


#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/media/cVertexShader.h"
#include "tests/engine/core/test_file_env.h"
#include "platform/Platform.h"
#include "tests/engine/media/test_graphics_support.h"

using namespace render_test;

namespace {

constexpr uint32_t kBlack = 0xFF000000u, kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu,
                   kWhite = 0xFFFFFFFFu;

class Pixels : public testing::Test {
protected:
    void SetUp() override {
        cGraphics::setDesktopWidthOverride(1920);
        try {
            graphics = std::make_unique<cGraphics>(nullptr);
        } catch (...) {
            FAIL() << "no headless OpenGL device could be made";
        }
        white = makeTexture(solidImage(4, 4, kWhite), "white.png");
    }
    void TearDown() override {
        white.reset();
        graphics.reset();
        cGraphics::setDesktopWidthOverride(0);
    }
    void frame(const std::vector<cDrawRecord>& records) {
        graphics->beginFrame();
        for (const cDrawRecord& r : records) graphics->drawSprite(r);
        graphics->endFrame();
        uint32_t w = 0, h = 0;
        ASSERT_EQ(graphics->readBackBuffer(&pixels, &w, &h), DEV_OK);
        ASSERT_EQ(w, 800u);
        ASSERT_EQ(h, 600u);
    }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * 800 + size_t(x)]; }
    static cDrawRecord record(const cRenderQuad* q, cTexture* t0, uint32_t flags = 0) {
        cDrawRecord r;
        r.quad = q;
        r.texture0 = t0;
        r.renderFlags = flags;
        return r;
    }
    static int channel(uint32_t c, int shift) { return int((c >> shift) & 0xFF); }

    std::unique_ptr<cGraphics> graphics;
    std::unique_ptr<cTexture> white;
    std::vector<uint32_t> pixels;
};

#define EXPECT_PIXEL(x, y, color) EXPECT_PRED3(nearColor, at(x, y), color, 1) << "at (" << (x) << ", " << (y) << ")"
bool nearColor(uint32_t a, uint32_t b, int tolerance) {
    for (int s : {0, 8, 16})
        if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > tolerance) return false;
    return true;
}

TEST_F(Pixels, APlainSpriteCoversExactlyItsPixels) {
    cRenderQuad q = quadAt(100, 100, 100, 50, kRed);
    frame({record(&q, white.get())});
    EXPECT_PIXEL(100, 100, kRed);
    EXPECT_PIXEL(199, 149, kRed);
    EXPECT_PIXEL(99, 100, kBlack);
    EXPECT_PIXEL(100, 99, kBlack);
    EXPECT_PIXEL(200, 120, kBlack);
    EXPECT_PIXEL(150, 150, kBlack);
    EXPECT_PIXEL(0, 0, kBlack);
}

TEST_F(Pixels, AnUnchangedFrameKeepsItsPictureWithoutDrawingAndAChangedOneIsDrawn) {
    cRenderQuad q = quadAt(100, 100, 100, 50, kRed), moved = quadAt(300, 100, 100, 50, kRed);
    frame({record(&q, white.get())});
    EXPECT_FALSE(graphics->wasLastFrameSkipped());
    const std::vector<uint32_t> first = pixels;
    frame({record(&q, white.get())});
    EXPECT_TRUE(graphics->wasLastFrameSkipped());
    EXPECT_TRUE(pixels == first) << "the skipped frame reads back as the drawn one";
    EXPECT_PIXEL(100, 100, kRed);
    frame({record(&moved, white.get())});
    EXPECT_FALSE(graphics->wasLastFrameSkipped());
    EXPECT_PIXEL(100, 100, kBlack);
    EXPECT_PIXEL(300, 100, kRed);
}

TEST_F(Pixels, TexelsMapOntoPixelsAndFilteringBlendsThem) {
    cImage checker;
    checker.width = 2;
    checker.height = 2;
    checker.pixels = {kRed, kGreen, kBlue, kWhite};
    auto tex = makeTexture(checker, "checker.png");
    cRenderQuad point = quadAt(10, 10, 8, 8);
    cRenderQuad linear = quadAt(100, 10, 8, 8);
    frame({record(&point, tex.get()), record(&linear, tex.get(), RF_USE_FILTERING)});
    // Point sampling: four 4 x 4 blocks.
    EXPECT_PIXEL(10, 10, kRed);
    EXPECT_PIXEL(13, 13, kRed);
    EXPECT_PIXEL(14, 10, kGreen);
    EXPECT_PIXEL(10, 14, kBlue);
    EXPECT_PIXEL(17, 17, kWhite);
    // Linear: pixel (102, 12) lies 1/8 texel from texel 0's centre towards the others:
    // red 7/8 x 7/8 + 1/8 x 1/8 (white), green and blue 7/8 x 1/8 + 1/8 x 1/8.
    EXPECT_PIXEL(102, 12, 0xFFC72020u);
    uint32_t middle = at(104, 14);
    EXPECT_GT(channel(middle, 16), 60);
    EXPECT_GT(channel(middle, 8), 60);
    EXPECT_GT(channel(middle, 0), 60);
    EXPECT_LT(channel(middle, 16), 250);
}

TEST_F(Pixels, BlendingOverlayAndAlphalessSprites) {
    cRenderQuad base = quadAt(0, 200, 300, 100, kRed);
    cRenderQuad half = quadAt(0, 200, 100, 100, 0x80FFFFFFu);        // white at half alpha
    cRenderQuad overlay = quadAt(100, 200, 100, 100, 0xFF808080u);   // dest colour x grey + dest
    cRenderQuad ghost = quadAt(200, 200, 50, 100, 0x000000FFu);       // alpha 0: alpha-tested away
    cRenderQuad solid = quadAt(250, 200, 50, 100, 0x000000FFu);       // the same, alphaless
    frame({record(&base, white.get()), record(&half, white.get()), record(&overlay, white.get(), RF_OVERLAY),
           record(&ghost, white.get()), record(&solid, white.get(), RF_ALPHALESS)});
    EXPECT_PIXEL(50, 250, 0xFFFF8080u);
    // red: 0.502 x 1 + 1 x 1 -> 1; green and blue stay 0.
    EXPECT_PIXEL(150, 250, kRed);
    EXPECT_PIXEL(220, 250, kRed);
    EXPECT_PIXEL(270, 250, kBlue);
}

TEST_F(Pixels, StencilSpritesDrawOnlyWhereTheirDepthWasWritten) {
    cRenderQuad mask = quadAt(400, 100, 50, 100, 0x00000000u);   // invisible, writes depth for 5
    mask.stencilValue = 5;
    cRenderQuad inside = quadAt(400, 100, 100, 100, kGreen);
    inside.stencilValue = 5;
    cRenderQuad other = quadAt(400, 100, 100, 100, kBlue);
    other.stencilValue = 6;
    frame({record(&mask, white.get(), RF_WRITE_TO_STENCIL | RF_ALPHALESS), record(&inside, white.get(), RF_USE_STENCIL),
           record(&other, white.get(), RF_USE_STENCIL)});
    // The mask itself is drawn alphaless in black; the green sprite shows only over it.
    EXPECT_PIXEL(420, 150, kGreen);
    EXPECT_PIXEL(449, 150, kGreen);
    EXPECT_PIXEL(450, 150, kBlack);
    EXPECT_PIXEL(490, 150, kBlack);
}

TEST_F(Pixels, TwoLayersModulateAndCallbacksChangeTheStages) {
    auto red = makeTexture(solidImage(2, 2, kRed), "red.png");
    auto yellow = makeTexture(solidImage(2, 2, 0xFFFFFF00u), "yellow.png");
    auto halfGreen = makeTexture(solidImage(2, 2, 0xFF00FF00u), "green.png");
    cRenderQuad layered = quadAt(0, 400, 50, 50);
    cDrawRecord two = record(&layered, yellow.get());
    two.texture1 = halfGreen.get();
    // A silhouette: the colour comes from the vertices only, the alpha from the texture.
    cRenderQuad silhouette = quadAt(100, 400, 50, 50, kBlue);
    cDrawRecord sil = record(&silhouette, red.get());
    sil.beginDrawCallback = [](cDevice* d) { d->setStageState(0, StageState::ColorOp, TOP_SELECTARG2); };
    // The next sprite is drawn with the standard states again.
    cRenderQuad after = quadAt(200, 400, 50, 50, kWhite);
    frame({two, sil, record(&after, red.get())});
    EXPECT_PIXEL(25, 425, kGreen);
    EXPECT_PIXEL(125, 425, kBlue);
    EXPECT_PIXEL(225, 425, kRed);
}

TEST_F(Pixels, LightsBlendTheTextureByItsAlphaOverTheVertexColour) {
    // Colour = texture x texture alpha + vertex colour x (1 - texture alpha); alpha stays
    // texture alpha x vertex alpha. Drawn alphaless to see the colour itself.
    auto light = makeTexture(solidImage(2, 2, 0x40FF0000u), "light.png");   // red, alpha 64
    cRenderQuad q = quadAt(700, 500, 20, 20, kBlue);
    cDrawRecord r = record(&q, light.get(), RF_ALPHALESS);
    r.beginDrawCallback = [](cDevice* d) { d->setStageState(0, StageState::ColorOp, TOP_BLENDTEXTUREALPHA); };
    frame({r});
    EXPECT_PRED3(nearColor, at(710, 510), 0xFF4000BFu, 1);
}

TEST_F(Pixels, AlphaReferenceAndTextureFactorSetByCallbacksReachThePixels) {
    // Left texel alpha 100, right texel alpha 200.
    cImage halves;
    halves.width = 2;
    halves.height = 1;
    halves.pixels = {0x64FFFFFFu, 0xC8FFFFFFu};
    auto tex = makeTexture(halves, "halves.png");
    // A highlight raises the alpha reference to 128: only the right half passes.
    cRenderQuad high = quadAt(300, 300, 40, 20);
    cDrawRecord highlighted = record(&high, tex.get());
    highlighted.beginDrawCallback = [](cDevice* d) { d->setRenderState(RenderState::AlphaRef, 128); };
    // The next sprite has the standard reference 0 again: both halves.
    cRenderQuad plain = quadAt(300, 350, 40, 20);
    // A tint through the texture factor, as a coloured model is drawn.
    cRenderQuad tinted = quadAt(400, 300, 20, 20);
    cDrawRecord tint = record(&tinted, white.get());
    tint.beginDrawCallback = [](cDevice* d) {
        d->setRenderState(RenderState::TextureFactor, 0xFF00FF00u);
        d->setStageState(0, StageState::ColorArg2, TA_TFACTOR);
    };
    frame({highlighted, record(&plain, tex.get()), tint});
    EXPECT_PIXEL(305, 310, kBlack);
    EXPECT_PRED3(nearColor, at(335, 310), 0xFFC8C8C8u, 2);
    EXPECT_PRED3(nearColor, at(305, 360), 0xFF646464u, 2);
    EXPECT_PRED3(nearColor, at(335, 360), 0xFFC8C8C8u, 2);
    EXPECT_PIXEL(410, 310, kGreen);
}

// A draw callback with a vertex buffer of its own (24-byte vertices), like the sparkles.
cVertexBuffer* g_own = nullptr;
void drawOwnBuffer(cDevice* d) {
    d->setRenderState(RenderState::SrcBlend, BLEND_SRCALPHA);
    d->setRenderState(RenderState::DestBlend, BLEND_ONE);
    d->setStreamSource(0, g_own, 24);
    d->drawPrimitive(PrimitiveType::TriangleList, 0, 2);
}

TEST_F(Pixels, DrawCallbacksDrawTheirOwnBuffers) {
    struct V {
        float x, y, z;
        uint32_t c;
        float u, v;
    };
    const uint32_t g = kGreen;
    V v[6] = {{599.5f, 399.5f, 0, g, 0, 0}, {649.5f, 399.5f, 0, g, 1, 0}, {599.5f, 449.5f, 0, g, 0, 1},
              {649.5f, 399.5f, 0, g, 1, 0}, {599.5f, 449.5f, 0, g, 0, 1}, {649.5f, 449.5f, 0, g, 1, 1}};
    ASSERT_EQ(graphics->getDevice()->createVertexBuffer(sizeof v, USAGE_WRITEONLY, VF_POSITION | VF_DIFFUSE | VF_TEX1,
                                                        MemoryPool::Managed, &g_own),
              DEV_OK);
    void* data = nullptr;
    ASSERT_EQ(g_own->lock(0, 0, &data, 0), DEV_OK);
    std::memcpy(data, v, sizeof v);
    g_own->unlock();
    cRenderQuad under = quadAt(600, 400, 50, 50, kRed);
    cRenderQuad holder = quadAt(0, 0, 1, 1);
    cDrawRecord cb = record(&holder, white.get());
    cb.drawCallback = drawOwnBuffer;
    frame({record(&under, white.get()), cb});
    g_own->release();
    g_own = nullptr;
    // Added onto red: yellow. The holder quad itself is not drawn.
    EXPECT_PIXEL(625, 425, 0xFFFFFF00u);
    EXPECT_PIXEL(0, 0, kBlack);
}

TEST_F(Pixels, DrawingFromCallerMemoryRefusesCountsBeyondAnyVertexList) {
    // A count that would make the copy run far past the caller's few vertices is refused.
    struct V {
        float x, y, z;
        uint32_t c;
        float u, v;
    } v[3] = {{10, 10, 0, kRed, 0, 0}, {20, 10, 0, kRed, 0, 0}, {10, 20, 0, kRed, 0, 0}};
    cDevice* d = graphics->getDevice();
    d->setVertexFormat(VF_POSITION | VF_DIFFUSE | VF_TEX1);
    EXPECT_EQ(d->drawPrimitiveUp(PrimitiveType::TriangleList, 0x7FFFFFFFu, v, sizeof(V)), DEVERR_INVALIDCALL);
    EXPECT_EQ(d->drawPrimitiveUp(PrimitiveType::TriangleList, 1, v, sizeof(V)), DEV_OK);
}

// The device keeps draws until their pixels are needed: each kept draw shows the vertices,
// the texture pixels and the states of the moment it was made, whatever changed afterwards.
TEST_F(Pixels, KeptDrawsShowWhatWasBoundWhenTheyWereMade) {
    struct V {
        float x, y, z;
        uint32_t c;
        float u, v;
    };
    auto square = [](float x, float y) {
        const uint32_t w = kWhite;
        return std::array<V, 6>{V{x, y, 0, w, 0, 0},           V{x + 20, y, 0, w, 1, 0}, V{x, y + 20, 0, w, 0, 1},
                                V{x + 20, y, 0, w, 1, 0}, V{x, y + 20, 0, w, 0, 1}, V{x + 20, y + 20, 0, w, 1, 1}};
    };
    cDevice* d = graphics->getDevice();
    DeviceMatrix toPixels;   // pixel coordinates onto the 800 x 600 target
    toPixels.m[0][0] = 2.0f / 800;
    toPixels.m[1][1] = -2.0f / 600;
    toPixels.m[3][0] = -1;
    toPixels.m[3][1] = 1;
    d->setTransform(TransformKind::World, DeviceMatrix());
    d->setTransform(TransformKind::View, DeviceMatrix());
    d->setTransform(TransformKind::Projection, toPixels);
    d->setVertexFormat(VF_POSITION | VF_DIFFUSE | VF_TEX1);
    for (RenderState off : {RenderState::ZEnable, RenderState::AlphaBlendEnable, RenderState::AlphaTestEnable})
        d->setRenderState(off, 0);
    d->setRenderState(RenderState::CullMode, CULL_NONE);
    d->setStageState(0, StageState::ColorOp, TOP_SELECTARG1);
    d->setStageState(0, StageState::ColorArg1, TA_TEXTURE);

    cDeviceTexture* texture = nullptr;
    ASSERT_EQ(d->createTexture(4, 4, MemoryPool::Managed, &texture), DEV_OK);
    std::vector<uint32_t> red(16, kRed), blue(16, kBlue);
    ASSERT_EQ(texture->upload(red.data()), DEV_OK);
    cVertexBuffer* buffer = nullptr;
    ASSERT_EQ(d->createVertexBuffer(sizeof(V) * 6, USAGE_WRITEONLY, VF_POSITION | VF_DIFFUSE | VF_TEX1,
                                    MemoryPool::Managed, &buffer),
              DEV_OK);
    auto fill = [&](float x, float y) {
        void* data = nullptr;
        ASSERT_EQ(buffer->lock(0, 0, &data, 0), DEV_OK);
        const auto v = square(x, y);
        std::memcpy(data, v.data(), sizeof v);
        buffer->unlock();
    };

    ASSERT_EQ(d->beginScene(), DEV_OK);
    d->clear(CLEAR_TARGET | CLEAR_ZBUFFER, kBlack, 1.0f, 0);
    d->setTexture(0, texture);
    d->setStreamSource(0, buffer, sizeof(V));
    fill(100, 100);
    ASSERT_EQ(d->drawPrimitive(PrimitiveType::TriangleList, 0, 2), DEV_OK);
    // The buffer and the texture change after the draw; a second draw uses the new ones.
    fill(200, 100);
    ASSERT_EQ(texture->upload(blue.data()), DEV_OK);
    ASSERT_EQ(d->drawPrimitive(PrimitiveType::TriangleList, 0, 2), DEV_OK);
    // Drawn from caller memory, then the texture goes before anything is read.
    const auto fromMemory = square(300, 100);
    ASSERT_EQ(d->drawPrimitiveUp(PrimitiveType::TriangleList, 2, fromMemory.data(), sizeof(V)), DEV_OK);
    d->setTexture(0, nullptr);
    d->setStreamSource(0, nullptr, 0);
    texture->release();

    // Indices naming a vertex past the buffer's end are refused; those inside it are drawn.
    cIndexBuffer* indices = nullptr;
    ASSERT_EQ(d->createIndexBuffer(12, USAGE_WRITEONLY, IndexFormat::Index16, MemoryPool::Managed, &indices), DEV_OK);
    void* data = nullptr;
    ASSERT_EQ(indices->lock(0, 0, &data, 0), DEV_OK);
    const uint16_t wrong[6] = {0, 1, 2, 1, 2, 6};
    std::memcpy(data, wrong, sizeof wrong);
    indices->unlock();
    fill(400, 100);
    d->setStageState(0, StageState::ColorArg1, TA_DIFFUSE);
    d->setStreamSource(0, buffer, sizeof(V));
    d->setIndices(indices, 0);
    EXPECT_EQ(d->drawIndexedPrimitive(PrimitiveType::TriangleList, 0, 6, 0, 2), DEVERR_INVALIDCALL);
    EXPECT_EQ(d->drawIndexedPrimitive(PrimitiveType::TriangleList, 0, 6, 0, 1), DEV_OK);
    d->setIndices(nullptr, 0);
    d->setStreamSource(0, nullptr, 0);
    indices->release();
    buffer->release();
    ASSERT_EQ(d->endScene(), DEV_OK);

    uint32_t w = 0, h = 0;
    ASSERT_EQ(d->readBackBuffer(&pixels, &w, &h), DEV_OK);
    EXPECT_PIXEL(110, 110, kRed);
    EXPECT_PIXEL(210, 110, kBlue);
    EXPECT_PIXEL(310, 110, kBlue);
    EXPECT_PIXEL(403, 103, kWhite);   // the first triangle only
    EXPECT_PIXEL(417, 117, kBlack);

    // A frame cleared over kept draws shows only what follows the clear.
    ASSERT_EQ(d->beginScene(), DEV_OK);
    d->setStageState(0, StageState::ColorArg1, TA_DIFFUSE);
    ASSERT_EQ(d->drawPrimitiveUp(PrimitiveType::TriangleList, 2, fromMemory.data(), sizeof(V)), DEV_OK);
    d->clear(CLEAR_TARGET | CLEAR_ZBUFFER, kGreen, 1.0f, 0);
    ASSERT_EQ(d->endScene(), DEV_OK);
    ASSERT_EQ(d->readBackBuffer(&pixels, &w, &h), DEV_OK);
    EXPECT_PIXEL(310, 110, kGreen);
    EXPECT_PIXEL(110, 110, kGreen);
}

TEST_F(Pixels, VertexShadersPlaceAndColourSprites) {
    std::vector<uint32_t> tokens = vs::spriteShader();
    cVertexShader shader("tint.sh", 0, tokens.data(), uint32_t(tokens.size() * 4));
    ASSERT_NE(shader.getHandle(), 0u);
    float tint[4] = {0.0f, 1.0f, 0.0f, 1.0f};   // r, g, b, a
    cShaderConstantList constants = {{4, tint, 1}};
    cRenderQuad q = quadAt(300, 300, 40, 40, kWhite);
    q.vertexShader = &shader;
    q.shaderConstants = &constants;
    frame({record(&q, white.get())});
    EXPECT_PIXEL(300, 300, kGreen);
    EXPECT_PIXEL(339, 339, kGreen);
    EXPECT_PIXEL(299, 300, kBlack);
    EXPECT_PIXEL(340, 339, kBlack);
}

TEST_F(Pixels, EveryTranslatedInstructionCompilesAndComputes) {
    using namespace vs;
    const uint32_t kSub = 3, kRcp = 6, kRsq = 7, kDp3 = 8, kDp4 = 9, kMin = 10, kMax = 11, kSlt = 12, kSge = 13,
                   kExp = 14, kLog = 15, kLit = 16, kDst = 17, kFrc = 19, kM4x3 = 21, kM3x4 = 22, kM3x3 = 23,
                   kM3x2 = 24, kExpp = 78, kLogp = 79;
    const uint32_t xxxx = 0x00, wwww = 0xFF;
    std::vector<uint32_t> t = {kVersion11,
        kM4x4, dst(RASTOUT, 0), src(INPUT, 0), src(CONST, 0),
        kSub, dst(TEMP, 1), src(CONST, 5), src(CONST, 6),
        kMad, dst(TEMP, 2), src(TEMP, 1), src(CONST, 5), src(CONST, 6, 0xE4, true),
        kRcp, dst(TEMP, 3, 0x1), src(CONST, 5, wwww),
        kRsq, dst(TEMP, 3, 0x2), src(CONST, 5, xxxx),
        kDp3, dst(TEMP, 3, 0x4), src(TEMP, 1), src(TEMP, 2),
        kDp4, dst(TEMP, 3, 0x8), src(TEMP, 1), src(TEMP, 2),
        kMin, dst(TEMP, 4), src(TEMP, 3), src(CONST, 5),
        kMax, dst(TEMP, 4), src(TEMP, 4), src(CONST, 6),
        kSlt, dst(TEMP, 5), src(TEMP, 4), src(CONST, 5),
        kSge, dst(TEMP, 5), src(TEMP, 5), src(CONST, 6),
        kExp, dst(TEMP, 6), src(CONST, 5, wwww),
        kLog, dst(TEMP, 6), src(CONST, 5, xxxx),
        kLit, dst(TEMP, 7), src(CONST, 5),
        kDst, dst(TEMP, 7), src(TEMP, 7), src(CONST, 5),
        kExpp, dst(TEMP, 8), src(CONST, 5, xxxx),
        kLogp, dst(TEMP, 8), src(CONST, 5, xxxx),
        kM4x3, dst(TEMP, 9), src(TEMP, 8), src(CONST, 0),
        kM3x4, dst(TEMP, 9), src(TEMP, 9), src(CONST, 0),
        kM3x3, dst(TEMP, 10), src(TEMP, 9), src(CONST, 0),
        kM3x2, dst(TEMP, 10), src(TEMP, 10), src(CONST, 0),
        kMov, dst(ADDR, 0, 0x1), src(CONST, 7),                       // a0.x = 2
        kAdd, dst(ATTROUT, 1), src(TEMP, 10), src(CONST, 5) | (1u << 13),   // c[a0.x + 5] = c7
        kMov, dst(RASTOUT, 1), src(TEMP, 6),
        kMov, dst(RASTOUT, 2), src(TEMP, 7),
        kMov, dst(TEXOUT, 7), src(TEMP, 5),
        kMov, dst(TEXOUT, 0), src(INPUT, 7),
        // The visible result: frc(c5).xyz with alpha 1 from c6.w.
        kFrc, dst(ATTROUT, 0, 0x7), src(CONST, 5),
        kMov, dst(ATTROUT, 0, 0x8), src(CONST, 6),
        kEnd};
    cVertexShader shader("all.sh", 0, t.data(), uint32_t(t.size() * 4));
    ASSERT_EQ(shader.getCreateResult(), DEV_OK);
    ASSERT_NE(shader.getHandle(), 0u);
    float values[12] = {1.25f, 2.5f, 3.75f, 4.0f, 0.5f, 0.5f, 0.5f, 1.0f, 2.0f, 2.0f, 2.0f, 2.0f};
    cShaderConstantList constants = {{5, values, 3}};
    cRenderQuad q = quadAt(500, 500, 20, 20);
    q.vertexShader = &shader;
    q.shaderConstants = &constants;
    frame({record(&q, white.get())});
    EXPECT_PIXEL(510, 510, 0xFF4080BFu);
}

TEST_F(Pixels, AFrameOfMoreSpritesThanSixteenBitIndicesReachIsDrawnWhole) {
    // 200 x 100 cells of 4 x 4 pixels: 20000 sprites, past the 16384 one buffer holds.
    std::vector<cRenderQuad> quads;
    quads.reserve(20000);
    for (int i = 0; i < 20000; ++i)
        quads.push_back(quadAt(float(i % 200) * 4.0f, float(i / 200) * 4.0f, 4, 4, (i % 2) ? kRed : kGreen));
    std::vector<cDrawRecord> records;
    for (const cRenderQuad& q : quads) records.push_back(record(&q, white.get()));
    frame(records);
    EXPECT_EQ(graphics->getLastTriangleCount(), 40000u);
    EXPECT_PIXEL(1, 1, kGreen);
    EXPECT_PIXEL(5, 1, kRed);
    EXPECT_PIXEL(797, 397, kRed);       // the last sprite, drawn after the first batch
    EXPECT_PIXEL(4 * 183 + 1, 4 * 81 + 1, (16383 % 2) ? kRed : kGreen);
    EXPECT_PIXEL(1, 401, kBlack);
}

TEST_F(Pixels, AResetDeviceHasTheNewSizeAndRefusesAnEmptyOne) {
    cDevice* d = graphics->getDevice();
    PresentParams params;
    params.width = 400;
    params.height = 300;
    ASSERT_EQ(d->reset(params), DEV_OK);
    d->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF00FF00u, 1.0f, 0);
    std::vector<uint32_t> px;
    uint32_t w = 0, h = 0;
    ASSERT_EQ(d->readBackBuffer(&px, &w, &h), DEV_OK);
    EXPECT_EQ(w, 400u);
    EXPECT_EQ(h, 300u);
    EXPECT_EQ(px[size_t(299) * 400 + 399], kGreen);
    params.width = 0;
    EXPECT_EQ(d->reset(params), DEVERR_INVALIDCALL);
    EXPECT_EQ(d->getPresentParams().width, 400u);
    params.width = 800;
    params.height = 600;
    ASSERT_EQ(d->reset(params), DEV_OK);
}

TEST_F(Pixels, TheFadeDarkensTheWholeFrameAndAScreenshotIsKept) {
    cRenderQuad q = quadAt(0, 0, 800, 600, kWhite);
    cRenderQuad sprite = quadAt(350, 250, 100, 100, kBlue);
    graphics->setFade(127.9f);   // alpha 127
    frame({record(&q, white.get()), record(&sprite, white.get(), RF_ALPHALESS | RF_WRITE_TO_STENCIL)});
    EXPECT_PIXEL(10, 10, 0xFF808080u);
    EXPECT_PIXEL(799, 599, 0xFF808080u);
    EXPECT_PIXEL(400, 300, 0xFF000080u);
    // The screenshot of a frame with a few kinds of sprites.
    graphics->setFade(255.0f);
    auto tex = makeTexture(solidImage(2, 2, 0xC0FFFFFFu), "soft.png");
    cRenderQuad a = quadAt(100, 100, 200, 150, kRed), b = quadAt(200, 180, 200, 150, 0xFF00FF00u);
    cRenderQuad c = quadAt(500, 300, 160, 160, kBlue);
    c.grid = 4;
    float m[9] = {0.8f, 0.6f, 0, -0.6f, 0.8f, 0, 300, -200, 1};   // a turn about the origin, moved
    std::memcpy(c.matrix, m, sizeof m);
    frame({record(&a, white.get()), record(&b, tex.get()), record(&c, white.get(), RF_USE_FILTERING)});
    std::filesystem::create_directories(RW_TEST_OUTPUT_DIR);
    cImage shot;
    shot.width = 800;
    shot.height = 600;
    shot.pixels = pixels;
    std::string path = std::string(RW_TEST_OUTPUT_DIR) + "/renderer-frame.png";
    ASSERT_TRUE(writePngFile(path, shot));
    EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace

// ---- On an SDL window, and the overlay over real settings ------------------------------------

// SDL's offscreen video driver keeps a little memory of the platform's GL libraries until the
// process ends; the window checks therefore run in a child that leaves with _exit, and report
// what failed on standard error.
std::string windowChecks() {
    std::string failures;
    auto check = [&](bool ok, const std::string& what) {
        if (!ok) failures += what + "\n";
    };
    try {
        platform::createWindow("render test", 800, 600, nullptr);
    } catch (const std::string& text) {
        return text;
    }
    platform::setWindowPosition(40, 30);
    platform::Window* window = platform::window();
    cGraphics::setDesktopWidthOverride(1920);
    {
        cGraphics graphics(window);
        check(graphics.getWindow() == window, "getWindow");
        check(std::string(graphics.getDevice()->getName()) == "opengl", "device name");
        auto white = makeTexture(solidImage(2, 2, kWhite));
        cRenderQuad q = quadAt(10, 10, 20, 20, kGreen);
        cDrawRecord r;
        r.quad = &q;
        r.texture0 = white.get();
        for (int i = 0; i < 2; ++i) {
            graphics.beginFrame();   // the second begin presents the first frame to the window
            graphics.drawSprite(r);
            graphics.endFrame();
        }
        std::vector<uint32_t> px;
        uint32_t w = 0, h = 0;
        check(graphics.readBackBuffer(&px, &w, &h) == DEV_OK && px[size_t(15) * w + 15] == kGreen, "green sprite");
        int wx = 0, wy = 0;
        platform::windowPosition(&wx, &wy);
        ScreenPoint p{wx + 10, wy + 20};
        graphics.screenToClient(&p);
        check(p.x == 10 && p.y == 20, "cursor in a window of the back buffer's size");
        // A window twice as wide and as tall: the back buffer is scaled by 2.
        platform::setClientSize(1600, 1200);
        platform::windowPosition(&wx, &wy);
        int ww = 0, wh = 0;
        platform::windowSize(&ww, &wh);
        if (ww == 1600 && wh == 1200) {
            p = ScreenPoint{wx + 100, wy + 300};
            graphics.screenToClient(&p);
            check(p.x == 50 && p.y == 150, "cursor in a letterboxed window");
            graphics.beginFrame();   // presents into the larger window
            graphics.endFrame();
        }
    }
    platform::destroyWindow();
    return failures;
}

TEST(PixelsOnAWindow, TheWindowDevicePresentsAndMapsTheCursorThroughTheLetterbox) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            std::string failures = windowChecks();
            if (!failures.empty()) std::fprintf(stderr, "%s", failures.c_str());
            std::fflush(stderr);
            _exit(failures.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(PixelsWithSettings, TheOverlayWritesItsTextInTheTopLeftCorner) {
    file_test::TempWorld world;
    world.put("config/config.ini", file_test::utf16Ini("[Game]\r\napp_folder=\"render-pixels\"\r\n\r\n[Graphics]\r\n"
                                                      "show_custom_info=\"1\"\r\n"));
    cFileManager files(cStringA(world.dataArg()), cStringA("kbf"));
    cResourceManager resources;
    cSettingsManager settings;
    cGraphics::setDesktopWidthOverride(1920);
    {
        cGraphics graphics(nullptr);
        graphics.addCustomInfo(L"WWWW");
        graphics.beginFrame();
        graphics.endFrame();
        EXPECT_EQ(graphics.getLastOverlayText(), L"WWWW\n");
        std::vector<uint32_t> px;
        uint32_t w = 0, h = 0;
        ASSERT_EQ(graphics.readBackBuffer(&px, &w, &h), DEV_OK);
        // Some fully lit white pixels within the first text line, none below it.
        int lit = 0, below = 0;
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < 200; ++x) {
                if (px[size_t(y) * w + x] != kWhite) continue;
                if (y < 20) ++lit;
                else ++below;
            }
        EXPECT_GT(lit, 20);
        EXPECT_EQ(below, 0);
    }
    cGraphics::setDesktopWidthOverride(0);
}
