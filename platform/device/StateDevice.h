#pragma once
// The part of a device that only keeps states: render and stage states, textures, transforms,
// the vertex path and its constants, stream and indices, and the state blocks. The OpenGL and
// the recording devices derive from it and read the current states when they draw.

#include <array>
#include <map>
#include <memory>
#include <vector>

#include "platform/device/Device.h"

class cStateDevice : public cDevice {
public:
    cStateDevice();
    ~cStateDevice() override;

    int32_t setRenderState(RenderState state, uint32_t value) override;
    uint32_t getRenderState(RenderState state) const override;
    int32_t setStageState(uint32_t stage, StageState state, uint32_t value) override;
    uint32_t getStageState(uint32_t stage, StageState state) const override;
    int32_t setTexture(uint32_t stage, cDeviceTexture* texture) override;
    cDeviceTexture* getTexture(uint32_t stage) const override;
    int32_t setTransform(TransformKind kind, const DeviceMatrix& matrix) override;
    const DeviceMatrix& getTransform(TransformKind kind) const override;
    int32_t setMaterial(const DeviceMaterial& material) override;
    int32_t setLight(uint32_t index, const DeviceLight& light) override;
    int32_t setVertexFormat(uint32_t format) override;
    int32_t setVertexShader(uint32_t handle) override;
    uint32_t getVertexShader() const override { return m_shader; }
    int32_t setVertexShaderConstant(uint32_t reg, const float* values, uint32_t count) override;
    int32_t beginStateBlock() override;
    int32_t endStateBlock(uint32_t* token) override;
    int32_t applyStateBlock(uint32_t token) override;
    int32_t deleteStateBlock(uint32_t token) override;
    int32_t setStreamSource(uint32_t stream, cVertexBuffer* buffer, uint32_t stride) override;
    int32_t setIndices(cIndexBuffer* buffer, uint32_t baseVertex) override;
    uint64_t getContentGeneration() const override { return *m_generation; }

    static constexpr uint32_t kMaxShaderConstants = 96;

    uint32_t vertexFormat() const { return m_format; }
    const DeviceMaterial& material() const { return m_material; }
    const float* shaderConstants() const { return m_constants.data(); }
    cVertexBuffer* streamBuffer() const { return m_stream; }
    uint32_t streamStride() const { return m_stride; }
    cIndexBuffer* indexBuffer() const { return m_indices; }
    uint32_t baseVertex() const { return m_baseVertex; }
    bool isRecordingStateBlock() const { return m_recording != nullptr; }

protected:
    // The counter behind getContentGeneration, shared with the device's textures (which may
    // outlive the device); subclasses step it when they make or change such objects.
    using GenerationCounter = std::shared_ptr<uint64_t>;
    const GenerationCounter& generationCounter() const { return m_generation; }
    void contentChanged() { ++*m_generation; }
    // Drops the references to bound objects (stream, indices, textures).
    void unbindAll();
    // The defaults of a fresh device.
    void resetStates();

private:
    struct BlockEntry {
        enum Kind { Render, Stage, Transform, Material, Format, Shader, Texture } kind = Render;
        uint32_t key = 0;
        uint32_t value = 0;
        DeviceMatrix matrix;
        DeviceMaterial materialValue;
        cDeviceTexture* texture = nullptr;
    };
    using Block = std::vector<BlockEntry>;
    void record(const BlockEntry& entry);

    std::array<uint32_t, size_t(RenderState::Count)> m_render{};
    std::array<std::array<uint32_t, size_t(StageState::Count)>, kStageCount> m_stage{};
    std::array<cDeviceTexture*, kStageCount> m_textures{};
    std::array<DeviceMatrix, size_t(TransformKind::Count)> m_transforms{};
    DeviceMaterial m_material;
    uint32_t m_format = kSpriteVertexFormat;
    uint32_t m_shader = 0;
    std::vector<float> m_constants;
    cVertexBuffer* m_stream = nullptr;
    uint32_t m_stride = 0;
    cIndexBuffer* m_indices = nullptr;
    uint32_t m_baseVertex = 0;
    GenerationCounter m_generation = std::make_shared<uint64_t>(0);
    Block* m_recording = nullptr;
    std::map<uint32_t, Block> m_blocks;
    uint32_t m_nextBlock = 1;
};
