// The device's state keeping (state blocks, bound objects) and textures on a padding device.

#include <gtest/gtest.h>

#include "tests/engine/media/test_graphics_support.h"

using namespace render_test;

namespace {

TEST(DeviceStates, StateBlocksRecordWithoutApplyingAndRestoreWhenApplied) {
    cRecordingDevice d;
    d.setRenderState(RenderState::AlphaRef, 7);
    ASSERT_EQ(d.beginStateBlock(), DEV_OK);
    EXPECT_EQ(d.beginStateBlock(), DEVERR_INVALIDCALL);   // no nesting
    d.setRenderState(RenderState::AlphaRef, 1);
    d.setRenderState(RenderState::AlphaRef, 2);           // the later value wins
    d.setStageState(1, StageState::ColorOp, TOP_DISABLE);
    DeviceMatrix m;
    m.m[3][0] = 5.0f;
    d.setTransform(TransformKind::World, m);
    d.setVertexFormat(kFadeVertexFormat);
    uint32_t token = 0;
    ASSERT_EQ(d.endStateBlock(&token), DEV_OK);
    // Nothing was applied while recording.
    EXPECT_EQ(d.getRenderState(RenderState::AlphaRef), 7u);
    EXPECT_EQ(d.getTransform(TransformKind::World), DeviceMatrix::identity());
    EXPECT_EQ(d.vertexFormat(), kSpriteVertexFormat);
    // Changes after the block are undone by applying it; states outside it stay.
    d.setRenderState(RenderState::AlphaRef, 128);
    d.setStageState(1, StageState::ColorOp, TOP_MODULATE);
    d.setRenderState(RenderState::ZFunc, CMP_EQUAL);
    ASSERT_EQ(d.applyStateBlock(token), DEV_OK);
    EXPECT_EQ(d.getRenderState(RenderState::AlphaRef), 2u);
    EXPECT_EQ(d.getStageState(1, StageState::ColorOp), uint32_t(TOP_DISABLE));
    EXPECT_EQ(d.getTransform(TransformKind::World).m[3][0], 5.0f);
    EXPECT_EQ(d.vertexFormat(), kFadeVertexFormat);
    EXPECT_EQ(d.getRenderState(RenderState::ZFunc), uint32_t(CMP_EQUAL));
    EXPECT_EQ(d.deleteStateBlock(token), DEV_OK);
    EXPECT_EQ(d.applyStateBlock(token), DEVERR_INVALIDCALL);
}

TEST(DeviceStates, BadArgumentsAreRefusedNotStored) {
    cRecordingDevice d;
    float four[16] = {};
    struct Case {
        const char* name;
        int32_t result;
    } cases[] = {
        {"stage 2", d.setStageState(2, StageState::ColorOp, TOP_MODULATE)},
        {"texture stage 2", d.setTexture(2, nullptr)},
        {"render state past the table", d.setRenderState(RenderState::Count, 1)},
        {"constants past the registers", d.setVertexShaderConstant(94, four, 4)},
        {"stream 1", d.setStreamSource(1, nullptr, 0)},
        {"end without begin", d.endStateBlock(nullptr)},
        {"unknown shader", d.deleteVertexShader(99)},
    };
    for (const Case& c : cases) EXPECT_EQ(c.result, DEVERR_INVALIDCALL) << c.name;
    EXPECT_EQ(d.setVertexShaderConstant(92, four, 4), DEV_OK);
}

TEST(DeviceStates, BoundObjectsAreKeptAliveUntilUnbound) {
    cRecordingDevice d;
    cVertexBuffer* vb = nullptr;
    ASSERT_EQ(d.createVertexBuffer(64, 0, kFadeVertexFormat, MemoryPool::Default, &vb), DEV_OK);
    d.setStreamSource(0, vb, 16);
    EXPECT_EQ(vb->release(), 1u);     // the device still holds it
    EXPECT_EQ(d.liveObjects(), 1u);
    EXPECT_EQ(d.drawPrimitive(PrimitiveType::TriangleStrip, 0, 2), DEV_OK);
    EXPECT_EQ(d.drawPrimitive(PrimitiveType::TriangleStrip, 1, 2), DEVERR_INVALIDCALL);   // past the end
    d.setStreamSource(0, nullptr, 0);
    EXPECT_EQ(d.liveObjects(), 0u);
}

class PaddingDevice : public RecordingRenderer {
protected:
    void SetUp() override {
        RecordingRenderer::SetUp();
        rec->setPowerOfTwoTextures(true);
    }
};

TEST_F(PaddingDevice, TexturesReportTheirPaddingAndTheBatchScalesUvs) {
    cImage img = solidImage(100, 50, 0xFF102030u);
    img.pixels[99] = 0xFFFFFFFFu;   // the top-right pixel
    auto tex = makeTexture(img);
    EXPECT_EQ(tex->getTextureSize()[0], 128u);
    EXPECT_EQ(tex->getTextureSize()[1], 64u);
    EXPECT_EQ(tex->getImageSize()[0], 100u);
    EXPECT_EQ(tex->getImageSize()[1], 50u);
    EXPECT_FLOAT_EQ(tex->getUvScale()[0], 0.78125f);
    EXPECT_FLOAT_EQ(tex->getUvScale()[1], 0.78125f);
    // The image sits in the top-left corner of the texture; the rest is transparent.
    const std::vector<uint32_t>* texels = cRecordingDevice::texelsOf(tex->getDeviceTexture());
    ASSERT_NE(texels, nullptr);
    ASSERT_EQ(texels->size(), 128u * 64u);
    EXPECT_EQ((*texels)[99], 0xFFFFFFFFu);
    EXPECT_EQ((*texels)[100], 0u);
    EXPECT_EQ((*texels)[128 * 49], 0xFF102030u);
    EXPECT_EQ((*texels)[128 * 50], 0u);
    cRenderQuad q = quadAt(0, 0, 100, 50);
    frame({record(&q, tex.get())});
    std::vector<cSpriteVertex> v = vertices(0, 4);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_FLOAT_EQ(v[3].u0, 0.78135f);
    EXPECT_FLOAT_EQ(v[3].v0, 0.78135f);
    EXPECT_FLOAT_EQ(v[0].u0, 0.0001f);
}

}  // namespace
