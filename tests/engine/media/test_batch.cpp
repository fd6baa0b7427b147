// The sprite batch on the recording device: chunks by state, vertex and index layout, depth,
// colours, UVs, render flags, callbacks, models, shaders and buffer overflow.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "engine/media/cVertexShader.h"
#include "tests/engine/media/test_graphics_support.h"

using namespace render_test;

namespace {

int g_begin_calls = 0;
int g_draw_calls = 0;
void countBegin(cDevice* d) {
    ++g_begin_calls;
    d->setRenderState(RenderState::AlphaRef, 128);
}
void countDraw(cDevice*) { ++g_draw_calls; }
void otherDraw(cDevice*) { ++g_draw_calls; }

std::vector<uint16_t> indicesOf(cRecordingDevice* rec, uint32_t first, uint32_t count) {
    std::vector<uint16_t> out(count);
    cIndexBuffer* ib = rec->indexBuffer();
    void* data = nullptr;
    if (!ib || devFailed(ib->lock(first * 2, count * 2, &data, LOCK_READONLY))) return {};
    std::memcpy(out.data(), data, count * 2);
    ib->unlock();
    return out;
}

class Batch : public RecordingRenderer {
protected:
    void SetUp() override {
        RecordingRenderer::SetUp();
        g_begin_calls = g_draw_calls = 0;
        texA = makeTexture(solidImage(4, 4, 0xFFFF0000u), "a.png");
        texB = makeTexture(solidImage(8, 2, 0xFF00FF00u), "b.png");
    }
    void TearDown() override {
        texA.reset();
        texB.reset();
        RecordingRenderer::TearDown();
    }
    std::unique_ptr<cTexture> texA, texB;
};

// ---- Chunks ------------------------------------------------------------------------------

TEST_F(Batch, EqualStatesShareOneChunkAndOneDrawCall) {
    cRenderQuad q1 = quadAt(0, 0, 10, 10), q2 = quadAt(20, 0, 10, 10), q3 = quadAt(40, 0, 10, 10);
    frame({record(&q1, texA.get()), record(&q2, texA.get()), record(&q3, texA.get())});
    EXPECT_EQ(graphics->getLastChunkCount(), 1u);
    EXPECT_EQ(graphics->getLastTriangleCount(), 6u);
    ASSERT_EQ(drawCalls(), (std::vector<std::string>{"drawIndexed TriangleList 0 12 0 6"}));
}

TEST_F(Batch, TextureChangesStartChunksInDepthOrderAndSkipUnchangedTextures) {
    cRenderQuad q = quadAt(0, 0, 10, 10);
    frame({record(&q, texA.get()), record(&q, texB.get()), record(&q, texA.get()), record(&q, texA.get())});
    EXPECT_EQ(graphics->getLastChunkCount(), 3u);
    EXPECT_EQ(drawCalls(), (std::vector<std::string>{"drawIndexed TriangleList 0 4 0 2",
                                                     "drawIndexed TriangleList 4 4 6 2",
                                                     "drawIndexed TriangleList 8 8 12 4"}));
    // Both stages emptied first, then one texture change per chunk on stage 0 only.
    std::vector<std::string> textures = rec->callsStartingWith("texture ");
    ASSERT_EQ(textures.size(), 5u);
    EXPECT_EQ(textures[0], "texture 0 0");
    EXPECT_EQ(textures[1], "texture 1 0");
    const auto& draws = rec->draws();
    EXPECT_EQ(draws[0].textures[0], texA->getDeviceTexture());
    EXPECT_EQ(draws[1].textures[0], texB->getDeviceTexture());
    EXPECT_EQ(draws[2].textures[0], texA->getDeviceTexture());
}

TEST_F(Batch, DrawCallbackChunksAreCalledOnceAndWriteNoVertices) {
    cRenderQuad q = quadAt(0, 0, 10, 10);
    cDrawRecord cb = record(&q, texA.get());
    cb.drawCallback = countDraw;
    // Two equal callback records share a chunk; a plain sprite follows; the last record is a
    // callback of another function and must still be drawn.
    cDrawRecord last = cb;
    last.drawCallback = otherDraw;
    frame({cb, cb, record(&q, texA.get()), last});
    EXPECT_EQ(graphics->getLastChunkCount(), 3u);
    EXPECT_EQ(g_draw_calls, 2);
    // The plain sprite's vertices start at 0: the callbacks wrote none.
    EXPECT_EQ(drawCalls(), (std::vector<std::string>{"drawIndexed TriangleList 0 4 0 2"}));
}

TEST_F(Batch, BeginCallbackStateLastsForItsChunkOnly) {
    cRenderQuad q = quadAt(0, 0, 10, 10);
    cDrawRecord highlighted = record(&q, texA.get());
    highlighted.beginDrawCallback = countBegin;
    frame({highlighted, highlighted, record(&q, texA.get())});
    EXPECT_EQ(g_begin_calls, 1);
    ASSERT_EQ(rec->draws().size(), 2u);
    EXPECT_EQ(rec->draws()[0].render[size_t(RenderState::AlphaRef)], 128u);
    EXPECT_EQ(rec->draws()[1].render[size_t(RenderState::AlphaRef)], 0u);
    // The standard block is applied right after the callback's chunk.
    auto calls = rec->calls();
    auto firstDraw = std::find(calls.begin(), calls.end(), "drawIndexed TriangleList 0 8 0 4");
    ASSERT_NE(firstDraw, calls.end());
    EXPECT_EQ(*(firstDraw + 1), "applyStateBlock " + std::to_string(graphics->getStandardStateBlock()));
}

// Models are drawn through the installed mesh query.
cVertexBuffer* g_mesh_vb = nullptr;
cIndexBuffer* g_mesh_ib = nullptr;
bool fakeMeshQuery(cModelInstance*, DeviceMatrix* world, std::vector<MeshDrawPart>* parts) {
    world->m[3][0] = 100.0f;
    MeshDrawPart part;
    part.vertexFormat = VF_POSITION | VF_NORMAL | VF_TEX1;
    part.vertices = g_mesh_vb;
    part.indices = g_mesh_ib;
    g_mesh_vb->addRef();
    g_mesh_ib->addRef();
    part.ranges.push_back({0, 0, 2, 0, 4});
    part.ranges.push_back({1, 2, 1, 4, 3});
    parts->push_back(part);
    return true;
}

TEST_F(Batch, ModelChunkDrawsItsRangesWithTheModelColourAndRestoresStates) {
    ASSERT_EQ(rec->createVertexBuffer(7 * 32, 0, VF_POSITION | VF_NORMAL | VF_TEX1, MemoryPool::Managed, &g_mesh_vb), DEV_OK);
    ASSERT_EQ(rec->createIndexBuffer(9 * 2, 0, IndexFormat::Index16, MemoryPool::Managed, &g_mesh_ib), DEV_OK);
    MeshPartsQuery previous = cGraphics::setMeshPartsQuery(fakeMeshQuery);
    auto* model = reinterpret_cast<cModel*>(0x1000);
    auto* instance = reinterpret_cast<cModelInstance*>(0x2000);
    cRenderQuad mq = quadAt(0, 0, 10, 10, 0x80FF0000u);
    cDrawRecord m = record(&mq, texA.get());
    m.model = model;
    m.modelInstance = instance;
    cRenderQuad q = quadAt(0, 0, 10, 10);
    frame({m, record(&q, texA.get())});
    cGraphics::setMeshPartsQuery(previous);

    EXPECT_EQ(graphics->getLastChunkCount(), 2u);
    EXPECT_EQ(drawCalls(), (std::vector<std::string>{"drawIndexed TriangleList 0 4 0 2", "drawIndexed TriangleList 4 3 6 1",
                                                     "drawIndexed TriangleList 0 4 0 2"}));
    const auto& d = rec->draws();
    EXPECT_EQ(d[0].render[size_t(RenderState::TextureFactor)], 0x80FF0000u);
    EXPECT_EQ(d[0].stage[0][size_t(StageState::ColorArg2)], uint32_t(TA_TFACTOR));
    EXPECT_EQ(d[0].render[size_t(RenderState::ZFunc)], uint32_t(CMP_GREATEREQUAL));
    EXPECT_EQ(d[0].world.m[3][0], 100.0f);
    EXPECT_EQ(d[0].stride, 32u);   // position, normal, one texture pair
    // The sprite after the model: diffuse again, identity world, sprite format, no depth.
    EXPECT_EQ(d[2].stage[0][size_t(StageState::ColorArg2)], uint32_t(TA_DIFFUSE));
    EXPECT_EQ(d[2].world, DeviceMatrix::identity());
    EXPECT_EQ(d[2].format, kSpriteVertexFormat);
    EXPECT_EQ(d[2].render[size_t(RenderState::ZEnable)], 0u);
    // The renderer released the references the query handed out.
    EXPECT_EQ(g_mesh_vb->refCount(), 1u);
    g_mesh_vb->release();
    g_mesh_ib->release();
}

// ---- Vertices and indices ----------------------------------------------------------------

TEST_F(Batch, GridQuadWritesItsVerticesAndIndicesInRowOrder) {
    cRenderQuad first = quadAt(0, 0, 10, 10);
    cRenderQuad grid = quadAt(0, 0, 30, 30);
    grid.grid = 3;
    frame({record(&first, texA.get()), record(&grid, texA.get())});
    EXPECT_EQ(drawCalls(), (std::vector<std::string>{"drawIndexed TriangleList 0 20 0 20"}));
    // The single quad: (0, 2, 1) and (1, 2, 3).
    EXPECT_EQ(indicesOf(rec, 0, 6), (std::vector<uint16_t>{0, 2, 1, 1, 2, 3}));
    // The grid starts at vertex 4; cell (1, 2) is a = 4 + 1*4 + 2.
    std::vector<uint16_t> gi = indicesOf(rec, 6, 54);
    ASSERT_EQ(gi.size(), 54u);
    EXPECT_EQ(std::vector<uint16_t>(gi.begin(), gi.begin() + 6), (std::vector<uint16_t>{4, 8, 5, 5, 8, 9}));
    EXPECT_EQ(std::vector<uint16_t>(gi.begin() + 30, gi.begin() + 36), (std::vector<uint16_t>{10, 14, 11, 11, 14, 15}));
    std::vector<cSpriteVertex> v = vertices(4, 16);
    ASSERT_EQ(v.size(), 16u);
    for (uint32_t i = 0; i < 4; ++i)
        for (uint32_t j = 0; j < 4; ++j) {
            EXPECT_FLOAT_EQ(v[i * 4 + j].x, 10.0f * float(j) - 0.5f) << i << "," << j;
            EXPECT_FLOAT_EQ(v[i * 4 + j].y, 10.0f * float(i) - 0.5f) << i << "," << j;
        }
}

// The one-cell quads' indices are kept in the index buffer between frames; quads after a grid
// quad, the next frame over the grid's entries and grown buffers must still get their own.
TEST_F(Batch, OneCellQuadsGetTheirIndicesAroundGridsAcrossFramesAndGrowth) {
    // Repeated frames must be drawn here: their indices are what is checked.
    graphics->setSkipUnchangedFrames(false);
    const auto quadIndices = [](uint16_t base) {
        return std::vector<uint16_t>{base, uint16_t(base + 2), uint16_t(base + 1), uint16_t(base + 1),
                                     uint16_t(base + 2), uint16_t(base + 3)};
    };
    ASSERT_EQ(graphics->setReservedSpriteCount(4), DEV_OK);
    cRenderQuad q = quadAt(0, 0, 10, 10), grid = quadAt(0, 0, 20, 20);
    grid.grid = 2;   // 9 vertices, 24 indices
    // After the grid (vertices 4..12, entries 6..29) the quads sit at vertices 13 and 17.
    frame({record(&q, texA.get()), record(&grid, texA.get()), record(&q, texA.get()), record(&q, texA.get())});
    EXPECT_EQ(drawCalls(), (std::vector<std::string>{"drawIndexed TriangleList 0 21 0 14"}));
    EXPECT_EQ(indicesOf(rec, 0, 6), quadIndices(0));
    EXPECT_EQ(indicesOf(rec, 30, 6), quadIndices(13));
    EXPECT_EQ(indicesOf(rec, 36, 6), quadIndices(17));
    // Without the grid, quad k again uses entries 6k.. and vertices 4k..: first in buffers grown
    // within the frame, then in buffers made for six quads at the frame's start.
    ASSERT_EQ(graphics->setReservedSpriteCount(4), DEV_OK);
    std::vector<cDrawRecord> six(6, record(&q, texA.get()));
    for (int pass = 0; pass < 2; ++pass) {
        frame(six);
        EXPECT_EQ(drawCalls(), (std::vector<std::string>{"drawIndexed TriangleList 0 24 0 12"})) << pass;
        for (uint16_t k = 0; k < 6; ++k) EXPECT_EQ(indicesOf(rec, 6u * k, 6), quadIndices(uint16_t(4 * k))) << pass << "," << k;
    }
}

TEST_F(Batch, CornersGoThroughOffsetsMatrixAndViewOffset) {
    cRenderQuad q = quadAt(0, 0, 10, 20);
    q.vertexOffsets[3] = cVector2(5, 5);
    // Scale x by 2 and move by (100, 50); then the view offset (1, 2).
    float m[9] = {2, 0, 0, 0, 1, 0, 100, 50, 1};
    std::memcpy(q.matrix, m, sizeof m);
    q.viewOffset = cVector2(1, 2);
    frame({record(&q, texA.get())});
    std::vector<cSpriteVertex> v = vertices(0, 4);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_FLOAT_EQ(v[0].x, 100.5f);
    EXPECT_FLOAT_EQ(v[0].y, 51.5f);
    EXPECT_FLOAT_EQ(v[1].x, 120.5f);
    EXPECT_FLOAT_EQ(v[3].x, 130.5f);
    EXPECT_FLOAT_EQ(v[3].y, 76.5f);
}

TEST_F(Batch, StencilValuesBecomeDepths) {
    struct Case {
        uint32_t stencil;
        float z;
    } cases[] = {{0, -16384.0f}, {1, -16386.0f}, {100, -16584.0f}, {8191, -32766.0f}};
    for (const Case& c : cases) {
        cRenderQuad q = quadAt(0, 0, 10, 10);
        q.stencilValue = c.stencil;
        cRenderQuad same = q;
        frame({record(&q, texA.get()), record(&same, texA.get())});
        std::vector<cSpriteVertex> v = vertices(0, 8);
        ASSERT_EQ(v.size(), 8u);
        for (const cSpriteVertex& vertex : v) EXPECT_EQ(vertex.z, c.z) << c.stencil;
    }
}

TEST_F(Batch, ColoursMixPerChannelAndRound) {
    cRenderQuad q = quadAt(0, 0, 20, 20);
    q.grid = 2;
    q.vertices[0].color = 0xFF000000u;
    q.vertices[1].color = 0xFFFF0000u;
    q.vertices[2].color = 0x0000FF00u;
    q.vertices[3].color = 0x010000FFu;
    frame({record(&q, texA.get())});
    std::vector<cSpriteVertex> v = vertices(0, 9);
    ASSERT_EQ(v.size(), 9u);
    EXPECT_EQ(v[0].color, 0xFF000000u);
    EXPECT_EQ(v[2].color, 0xFFFF0000u);
    EXPECT_EQ(v[6].color, 0x0000FF00u);
    EXPECT_EQ(v[8].color, 0x010000FFu);
    // Top edge middle: a 255, r 127.5 -> 128.
    EXPECT_EQ(v[1].color, 0xFF800000u);
    // Centre: a (255 + 255 + 0 + 1) / 4 = 127.75 -> 128; r, g, b 63.75 -> 64.
    EXPECT_EQ(v[4].color, 0x80404040u);
}

namespace {
// Equal bits, or both NaN (a NaN's payload is not part of the result).
bool sameFloat(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}
}  // namespace

TEST_F(Batch, ASingleCellQuadEqualsTheCornersOfAGrid) {
    // The one-cell quad has a path of its own; its vertices must be the grid's corners bit for
    // bit, whichever layers are textured and whatever the numbers are.
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* name;
        float x, y, w, h;
        float matrix[9];
        cVector2 offset2, view;
        bool layer0, layer1;
    } cases[] = {
        {"rotated, both layers", 10.3f, 20.7f, 33.1f, 17.9f, {0.8f, 0.6f, 0, -0.6f, 0.8f, 0, 123.4f, -56.7f, 1},
         cVector2(-1.3f, 2.2f), cVector2(0.1f, 0.2f), true, true},
        {"layer 0 only", -5.5f, 3.25f, 7.0f, 9.5f, {1.5f, 0, 0, 0, -2.0f, 0, 0.3f, 0.7f, 1}, cVector2(0.5f, 0),
         cVector2(), true, false},
        {"layer 1 only", 1e6f, -1e6f, 0.001f, 3e5f, {1, 0, 0, 0, 1, 0, 0, 0, 1}, cVector2(), cVector2(-0.0f, 0.0f),
         false, true},
        {"no texture, negative zeros", -0.0f, -0.0f, 0.0f, 0.0f, {-1, 0, 0, 0, -1, 0, -0.0f, 0, 1}, cVector2(),
         cVector2(-0.0f, -0.0f), false, false},
        {"endless corner", 0, 0, 10, 10, {1, 0, 0, 0, 1, 0, 0, 0, 1}, cVector2(inf, 0), cVector2(), true, false},
        {"overflowing matrix", 3e38f, 1, 2e38f, 1, {10, 0, 0, 0, 1, 0, 0, 0, 1}, cVector2(), cVector2(), true, true},
    };
    for (const Case& c : cases) {
        cRenderQuad q = quadAt(c.x, c.y, c.w, c.h);
        std::memcpy(q.matrix, c.matrix, sizeof c.matrix);
        q.vertexOffsets[2] = c.offset2;
        q.viewOffset = c.view;
        const uint32_t colors[4] = {0x01020304u, 0xFF7F80FEu, 0x80000000u, 0x12345678u};
        for (int k = 0; k < 4; ++k) q.vertices[k].color = colors[k];
        q.uvRects[0] = cRect(0.1f, 0.3f, 0.7f, 0.9f);
        q.uvRects[1] = cRect(0.9f, 0.1f, 0.2f, 0.6f);
        q.stencilValue = 77;
        cRenderQuad grid = q;
        grid.grid = 2;
        cDrawRecord one = record(&q, c.layer0 ? texA.get() : nullptr), two = record(&grid, one.texture0);
        one.texture1 = two.texture1 = c.layer1 ? texB.get() : nullptr;
        frame({one, two});
        std::vector<cSpriteVertex> v = vertices(0, 13);
        ASSERT_EQ(v.size(), 13u) << c.name;
        const int corners[4] = {4, 6, 10, 12};
        for (int k = 0; k < 4; ++k) {
            const cSpriteVertex &a = v[k], &b = v[corners[k]];
            EXPECT_TRUE(sameFloat(a.x, b.x) && sameFloat(a.y, b.y) && sameFloat(a.z, b.z)) << c.name << " corner " << k;
            EXPECT_EQ(a.color, colors[k]) << c.name;
            EXPECT_EQ(a.color, b.color) << c.name;
            EXPECT_TRUE(!c.layer0 || (sameFloat(a.u0, b.u0) && sameFloat(a.v0, b.v0))) << c.name << " corner " << k;
            EXPECT_TRUE(!c.layer1 || (sameFloat(a.u1, b.u1) && sameFloat(a.v1, b.v1))) << c.name << " corner " << k;
        }
    }
}

TEST_F(Batch, UvsFollowTheRectsOfTexturedLayersOnly) {
    cRenderQuad q = quadAt(0, 0, 20, 20);
    q.grid = 2;
    q.uvRects[0] = cRect(0.25f, 0.5f, 0.75f, 1.0f);
    q.uvRects[1] = cRect(0, 0, 1, 1);
    cDrawRecord r = record(&q, texA.get());
    r.texture1 = texB.get();
    frame({r});
    std::vector<cSpriteVertex> v = vertices(0, 9);
    ASSERT_EQ(v.size(), 9u);
    EXPECT_FLOAT_EQ(v[0].u0, 0.2501f);
    EXPECT_FLOAT_EQ(v[0].v0, 0.5001f);
    EXPECT_FLOAT_EQ(v[4].u0, 0.5001f);
    EXPECT_FLOAT_EQ(v[8].v0, 1.0001f);
    EXPECT_FLOAT_EQ(v[8].u1, 1.0001f);
    // Stage 1 is switched on for the chunk with a second texture.
    EXPECT_EQ(rec->draws()[0].stage[1][size_t(StageState::ColorOp)], uint32_t(TOP_MODULATE));
}

// ---- States of a chunk --------------------------------------------------------------------

TEST_F(Batch, RenderFlagsSelectBlendingDepthAndFiltering) {
    struct Case {
        uint32_t flags;
        uint32_t src, dest, blend, zEnable, zWrite, zFunc, filter;
    } cases[] = {
        {0, BLEND_SRCALPHA, BLEND_INVSRCALPHA, 1, 0, 0, 0, TEXF_POINT},
        {RF_OVERLAY, BLEND_DESTCOLOR, BLEND_SRCALPHA, 1, 0, 0, 0, TEXF_POINT},
        {RF_OVERLAY_LESS_1, BLEND_DESTCOLOR, BLEND_SRCALPHA, 1, 0, 0, 0, TEXF_POINT},
        {RF_ALPHALESS, BLEND_SRCALPHA, BLEND_INVSRCALPHA, 0, 0, 0, 0, TEXF_POINT},
        {RF_WRITE_TO_STENCIL, BLEND_SRCALPHA, BLEND_INVSRCALPHA, 1, 1, 1, CMP_ALWAYS, TEXF_POINT},
        {RF_USE_STENCIL, BLEND_SRCALPHA, BLEND_INVSRCALPHA, 1, 1, 0, CMP_EQUAL, TEXF_POINT},
        {RF_USE_STENCIL | RF_WRITE_TO_STENCIL, BLEND_SRCALPHA, BLEND_INVSRCALPHA, 1, 1, 1, CMP_ALWAYS, TEXF_POINT},
        {RF_CLEAR_STENCIL, BLEND_SRCALPHA, BLEND_INVSRCALPHA, 1, 0, 0, 0, TEXF_POINT},
        {RF_USE_FILTERING, BLEND_SRCALPHA, BLEND_INVSRCALPHA, 1, 0, 0, 0, TEXF_LINEAR},
    };
    for (const Case& c : cases) {
        cRenderQuad q = quadAt(0, 0, 10, 10);
        frame({record(&q, texA.get(), c.flags)});
        ASSERT_EQ(rec->draws().size(), 1u) << c.flags;
        const auto& d = rec->draws()[0];
        EXPECT_EQ(d.render[size_t(RenderState::SrcBlend)], c.src) << c.flags;
        EXPECT_EQ(d.render[size_t(RenderState::DestBlend)], c.dest) << c.flags;
        EXPECT_EQ(d.render[size_t(RenderState::AlphaBlendEnable)], c.blend) << c.flags;
        EXPECT_EQ(d.render[size_t(RenderState::AlphaTestEnable)], c.blend) << c.flags;
        EXPECT_EQ(d.render[size_t(RenderState::ZEnable)], c.zEnable) << c.flags;
        EXPECT_EQ(d.render[size_t(RenderState::ZWriteEnable)], c.zWrite) << c.flags;
        if (c.zEnable) {
            EXPECT_EQ(d.render[size_t(RenderState::ZFunc)], c.zFunc) << c.flags;
        }
        EXPECT_EQ(d.stage[0][size_t(StageState::MagFilter)], c.filter) << c.flags;
        EXPECT_EQ(d.stage[0][size_t(StageState::MinFilter)], c.filter) << c.flags;
    }
}

TEST_F(Batch, FilteringTouchesOnlyStagesWithATexture) {
    cRenderQuad q = quadAt(0, 0, 10, 10);
    frame({record(&q, texA.get(), RF_USE_FILTERING)});
    EXPECT_TRUE(rec->callsStartingWith("stageState 1 MagFilter").empty());
    EXPECT_EQ(rec->callsStartingWith("stageState 0 MagFilter"), (std::vector<std::string>{"stageState 0 MagFilter 2"}));
}

TEST_F(Batch, ShaderChunksGetTheMatrixThenTheirConstantsInOrder) {
    std::vector<uint32_t> tokens = vs::spriteShader();
    cVertexShader shader("s.sh", 0, tokens.data(), uint32_t(tokens.size() * 4));
    ASSERT_NE(shader.getHandle(), 0u);
    float red[4] = {1, 0, 0, 1}, pair[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    cShaderConstantList constants = {{4, red, 1}, {10, pair, 2}};
    cRenderQuad q = quadAt(0, 0, 10, 10);
    q.vertexShader = &shader;
    q.shaderConstants = &constants;
    cRenderQuad plain = quadAt(0, 0, 10, 10);
    frame({record(&q, texA.get()), record(&plain, texA.get())});
    EXPECT_EQ(graphics->getLastChunkCount(), 2u);
    EXPECT_EQ(rec->callsStartingWith("shaderConstant"),
              (std::vector<std::string>{"shaderConstant 0 4", "shaderConstant 4 1", "shaderConstant 10 2"}));
    const auto& d = rec->draws();
    EXPECT_EQ(d[0].shader, shader.getHandle());
    EXPECT_EQ(d[0].constants[0], graphics->getShaderMatrix().m[0][0]);
    EXPECT_EQ(d[0].constants[16], 1.0f);
    EXPECT_EQ(d[0].constants[43], 4.0f);
    EXPECT_EQ(d[0].constants[47], 8.0f);
    EXPECT_EQ(d[1].shader, 0u);
    EXPECT_EQ(d[1].format, kSpriteVertexFormat);
}

// ---- Capacity ------------------------------------------------------------------------------

TEST_F(Batch, AFrameBeyondTheReservedCountGrowsTheBuffersAndIsDrawnWhole) {
    ASSERT_EQ(graphics->setReservedSpriteCount(4), DEV_OK);
    std::vector<cRenderQuad> quads(10, quadAt(0, 0, 10, 10));
    quads[9].grid = 3;   // 16 more vertices
    std::vector<cDrawRecord> records;
    for (const cRenderQuad& q : quads) records.push_back(record(&q, texA.get()));
    frame(records);
    EXPECT_EQ(graphics->getLastTriangleCount(), 9u * 2 + 18);
    EXPECT_EQ(drawCalls(), (std::vector<std::string>{"drawIndexed TriangleList 0 52 0 36"}));
    ASSERT_EQ(rec->draws().size(), 1u);
    EXPECT_GE(rec->draws()[0].stream->getSize(), 52u * 32);
    // The setting keeps its value; the next frame starts with room for the whole frame.
    EXPECT_EQ(graphics->getReservedSpriteCount(), 4u);
    frame(records);
    EXPECT_GE(graphics->getVertexCapacity(), 52u);
    EXPECT_EQ(graphics->getLastTriangleCount(), 36u);
}

TEST_F(Batch, AFrameBeyondSixteenBitIndicesIsDrawnInSeveralBatches) {
    const unsigned count = 16384 + 100;
    std::vector<cRenderQuad> quads(count, quadAt(0, 0, 2, 2));
    std::vector<cDrawRecord> records;
    for (const cRenderQuad& q : quads) records.push_back(record(&q, texA.get()));
    frame(records);
    EXPECT_EQ(graphics->getLastTriangleCount(), count * 2);
    std::vector<std::string> draws = drawCalls();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0], "drawIndexed TriangleList 0 65536 0 32768");
    EXPECT_EQ(draws[1], "drawIndexed TriangleList 0 400 0 200");
    // The scene is cleared once, before the first batch.
    EXPECT_EQ(rec->callsStartingWith("clear").size(), 1u);
    EXPECT_EQ(rec->callsStartingWith("beginScene").size(), 1u);
}

TEST_F(Batch, TheLargestGridLoadersAllowIsDrawnAndOneMoreIsNot) {
    // Sprite loaders clamp their grid to kMaxQuadGrid; the batch must draw that grid whole.
    cRenderQuad largest = quadAt(0, 0, 256, 256);
    largest.grid = kMaxQuadGrid;
    frame({record(&largest, texA.get())});
    EXPECT_EQ(graphics->getLastTriangleCount(), 2u * kMaxQuadGrid * kMaxQuadGrid);
    cRenderQuad beyond = largest;
    beyond.grid = kMaxQuadGrid + 1;
    frame({record(&beyond, texA.get())});
    EXPECT_EQ(graphics->getLastTriangleCount(), 0u) << "the loaders' limit can be raised to the batch's";
}

TEST_F(Batch, ResizingTheBuffersInAFrameDrawsWhatCameBeforeOnce) {
    cRenderQuad q = quadAt(0, 0, 10, 10);
    cDrawRecord cb = record(&q, texA.get());
    cb.drawCallback = countDraw;
    graphics->beginFrame();
    rec->clearCalls();
    graphics->drawSprite(record(&q, texA.get()));
    graphics->drawSprite(cb);
    EXPECT_EQ(graphics->setReservedSpriteCount(8), DEV_OK);
    graphics->drawSprite(record(&q, texB.get()));
    graphics->endFrame();
    EXPECT_EQ(g_draw_calls, 1);
    EXPECT_EQ(drawCalls(), (std::vector<std::string>{"drawIndexed TriangleList 0 4 0 2", "drawIndexed TriangleList 0 4 0 2"}));
    EXPECT_EQ(graphics->getVertexCapacity(), 32u);
    EXPECT_EQ(rec->callsStartingWith("clear").size(), 1u);
}

TEST_F(Batch, RecordsOutsideAFrameAndEmptyGridsAreDropped) {
    cRenderQuad q = quadAt(0, 0, 10, 10);
    graphics->drawSprite(record(&q, texA.get()));   // no frame begun
    cRenderQuad none = quadAt(0, 0, 10, 10);
    none.grid = 0;
    frame({record(&none, texA.get())});
    EXPECT_TRUE(drawCalls().empty());
    EXPECT_EQ(graphics->getLastChunkCount(), 0u);
}

}  // namespace
