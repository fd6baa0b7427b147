// Drawing model instances: the device buffers handed to the renderer, and the demo arm drawn
// in two poses on the headless OpenGL device.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/media/cBoneMatrixSet.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cModel.h"
#include "engine/media/cModelInstance.h"
#include "engine/media/cModelMesh.h"
#include "platform/device/Device.h"
#include "platform/device/RecordingDevice.h"

namespace {

std::unique_ptr<cModel> demoModel() {
    std::ifstream in(std::string(RW_SOURCE_DIR) + "/data/models/demo_arm.x", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return std::make_unique<cModel>("models/demo_arm.x", 10, text.data(), text.size());
}

std::vector<cModelVertex> readVertices(cVertexBuffer* buffer) {
    void* data = nullptr;
    std::vector<cModelVertex> out;
    if (buffer->lock(0, 0, &data, LOCK_READONLY) != DEV_OK || !data) return out;
    out.resize(buffer->getSize() / sizeof(cModelVertex));
    std::memcpy(out.data(), data, out.size() * sizeof(cModelVertex));
    buffer->unlock();
    return out;
}

}  // namespace

TEST(ModelDraw, PartsCarryThePosedVerticesAndReleaseOnDeviceLoss) {
    cRecordingDevice device;
    auto model = demoModel();
    cModelInstance* instance = model->createInstance();
    instance->setPosition(400.0f, 300.0f);
    instance->setAnimation("swing", 2.0f, 1.0f);

    DeviceMatrix world;
    std::vector<MeshDrawPart> parts;
    ASSERT_TRUE(queryModelMeshParts(&device, instance, &world, &parts));
    EXPECT_FLOAT_EQ(world.m[3][0], 400.0f);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].vertexFormat, kSpriteVertexFormat);
    ASSERT_EQ(parts[0].ranges.size(), 1u);
    EXPECT_EQ(parts[0].ranges[0].faceCount, 4u);
    EXPECT_EQ(readVertices(parts[0].vertices)[4].x, instance->getBoneMatrixSets()[0]->getMesh()->getVertices()[4].x);
    for (auto& part : parts) {
        part.vertices->release();
        part.indices->release();
    }

    // A new pose reaches the device copy at the next query.
    instance->update(1.0f);
    ASSERT_TRUE(queryModelMeshParts(&device, instance, &world, &parts));
    EXPECT_NEAR(readVertices(parts[0].vertices)[4].x, -10.0f, 1e-4f);
    for (auto& part : parts) {
        part.vertices->release();
        part.indices->release();
    }

    EXPECT_EQ(drawModelInstance(&device, instance), 4u);
    EXPECT_EQ(device.callsStartingWith("drawIndexed").size(), 1u);

    // Losing the device gives back every device object; a reset draws again.
    model->onLostDevice();
    EXPECT_EQ(device.liveObjects(), 0u);
    model->onResetDevice();
    EXPECT_EQ(drawModelInstance(&device, instance), 4u);
    delete instance;
    model.reset();
    EXPECT_EQ(device.liveObjects(), 0u);
}

TEST(ModelDraw, RefusedBuffersDrawNothing) {
    cRecordingDevice device;
    device.setCreateFailure(DEVERR_OUTOFVIDEOMEMORY);
    auto model = demoModel();
    cModelInstance* instance = model->createInstance();
    EXPECT_EQ(drawModelInstance(&device, instance), 0u);
    EXPECT_TRUE(device.callsStartingWith("drawIndexed").empty());
    delete instance;
}

TEST(ModelDraw, DemoArmMovesOnScreenBetweenPoses) {
    PresentParams params;
    params.width = 800;
    params.height = 600;
    int32_t result = DEV_OK;
    std::unique_ptr<cDevice> device = createGlHeadlessDevice(params, &result);
    ASSERT_TRUE(device) << "no headless OpenGL device: " << result;

    // One unit one pixel, y down, depth 0..1.
    DeviceMatrix projection;
    projection.m[0][0] = 2.0f / 800.0f;
    projection.m[1][1] = -2.0f / 600.0f;
    projection.m[2][2] = 1.0f;
    projection.m[3][0] = -1.0f;
    projection.m[3][1] = 1.0f;
    device->setTransform(TransformKind::Projection, projection);
    device->setRenderState(RenderState::ZEnable, 0);
    device->setRenderState(RenderState::AlphaBlendEnable, 0);
    device->setRenderState(RenderState::AlphaTestEnable, 0);
    device->setRenderState(RenderState::Lighting, 0);
    device->setRenderState(RenderState::CullMode, CULL_NONE);
    device->setStageState(0, StageState::ColorOp, TOP_SELECTARG2);
    device->setStageState(0, StageState::ColorArg2, TA_DIFFUSE);
    device->setStageState(0, StageState::AlphaOp, TOP_SELECTARG2);
    device->setStageState(0, StageState::AlphaArg2, TA_DIFFUSE);
    device->setStageState(1, StageState::ColorOp, TOP_DISABLE);

    auto model = demoModel();
    cModelInstance* instance = model->createInstance();
    instance->setPosition(400.0f, 300.0f);
    instance->setDepth(0.5f);

    auto drawPose = [&](float time) {
        instance->setAnimation("swing", 2.0f, time);
        device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        device->beginScene();
        const unsigned triangles = drawModelInstance(device.get(), instance);
        device->endScene();
        device->present();
        std::vector<uint32_t> pixels;
        uint32_t width = 0, height = 0;
        EXPECT_EQ(device->readBackBuffer(&pixels, &width, &height), DEV_OK);
        EXPECT_EQ(triangles, 4u);
        EXPECT_EQ(width, 800u);
        return pixels;
    };
    auto lit = [](const std::vector<uint32_t>& pixels, int x, int y) {
        if (pixels.size() < 800u * 600u) return false;
        return ((pixels[size_t(y) * 800 + size_t(x)] >> 16) & 0xFF) > 128;   // the arm is red
    };

    const std::vector<uint32_t> rest = drawPose(0.0f);
    const std::vector<uint32_t> bent = drawPose(1.0f);
    // At rest the bar hangs from (400, 300) to (400, 400); bent, its lower half points left.
    EXPECT_TRUE(lit(rest, 400, 320));
    EXPECT_TRUE(lit(rest, 400, 390));
    EXPECT_FALSE(lit(rest, 370, 350));
    EXPECT_TRUE(lit(bent, 400, 320));
    EXPECT_FALSE(lit(bent, 400, 390));
    EXPECT_TRUE(lit(bent, 370, 350));
    size_t changed = 0;
    for (size_t i = 0; i < rest.size() && i < bent.size(); ++i) changed += rest[i] != bent[i];
    EXPECT_GT(changed, 1000u);
    delete instance;
    model.reset();
}
