#pragma once
// A device that draws nothing: it keeps the states like any device and writes every call as a
// line of text ("renderState ZFunc 3", "drawIndexed TriangleList 0 4 0 2", ...), so that tests
// can check what the renderer asked for. Buffers are plain memory; tests read them back.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/device/StateDevice.h"

class cRecordingDevice : public cStateDevice {
public:
    explicit cRecordingDevice(const PresentParams& params = PresentParams());
    ~cRecordingDevice() override;

    // ---- What the tests look at ----
    const std::vector<std::string>& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    // Calls whose text starts with prefix.
    std::vector<std::string> callsStartingWith(const std::string& prefix) const;
    // Snapshot of the states at each draw call.
    struct DrawState {
        std::string call;
        std::array<uint32_t, size_t(RenderState::Count)> render{};
        std::array<std::array<uint32_t, size_t(StageState::Count)>, kStageCount> stage{};
        std::array<cDeviceTexture*, kStageCount> textures{};
        uint32_t format = 0;
        uint32_t shader = 0;
        std::vector<float> constants;    // the first 16 registers
        cVertexBuffer* stream = nullptr;
        uint32_t stride = 0;
        DeviceMatrix world;
    };
    const std::vector<DrawState>& draws() const { return m_draws; }
    void clearDraws() { m_draws.clear(); }
    // Off: calls are neither written nor snapshotted (benchmarks measure the caller alone).
    void setRecording(bool on) { m_recordingOn = on; }

    // ---- Simulated faults ----
    // Result of the next present (then DEV_OK again).
    void failNextPresent(int32_t result) { m_presentResult = result; }
    // What testCooperativeLevel answers: a list consumed one per call; the last value stays.
    void setCooperativeAnswers(std::vector<int32_t> answers) { m_coopAnswers = std::move(answers); }
    void failNextReset(int32_t result) { m_resetResult = result; }
    // Creations fail with this result while set (0: they succeed).
    void setCreateFailure(int32_t result) { m_createResult = result; }
    void setCaps(const DeviceCaps& caps) { m_caps = caps; }
    // Textures get power-of-two sizes, as on devices that need them.
    void setPowerOfTwoTextures(bool on) { m_powerOfTwo = on; }
    // The texels last uploaded to a texture of this device (rows top first).
    static const std::vector<uint32_t>* texelsOf(const cDeviceTexture* texture);
    unsigned liveObjects() const { return *m_counter; }
    unsigned liveShaders() const { return unsigned(m_shaders.size()); }

    // ---- cDevice ----
    const char* getName() const override { return "recording"; }
    DeviceCaps getCaps() const override { return m_caps; }
    const PresentParams& getPresentParams() const override { return m_params; }
    int32_t createVertexBuffer(uint32_t bytes, uint32_t usage, uint32_t format, MemoryPool pool,
                               cVertexBuffer** out) override;
    int32_t createIndexBuffer(uint32_t bytes, uint32_t usage, IndexFormat format, MemoryPool pool,
                              cIndexBuffer** out) override;
    int32_t createTexture(uint32_t width, uint32_t height, MemoryPool pool, cDeviceTexture** out) override;
    int32_t createVertexShader(const uint32_t* tokens, size_t tokenCount, uint32_t usage, uint32_t* handle) override;
    int32_t deleteVertexShader(uint32_t handle) override;
    int32_t setRenderState(RenderState state, uint32_t value) override;
    int32_t setStageState(uint32_t stage, StageState state, uint32_t value) override;
    int32_t setTexture(uint32_t stage, cDeviceTexture* texture) override;
    int32_t setTransform(TransformKind kind, const DeviceMatrix& matrix) override;
    int32_t setVertexFormat(uint32_t format) override;
    int32_t setVertexShader(uint32_t handle) override;
    int32_t setVertexShaderConstant(uint32_t reg, const float* values, uint32_t count) override;
    int32_t beginStateBlock() override;
    int32_t endStateBlock(uint32_t* token) override;
    int32_t applyStateBlock(uint32_t token) override;
    int32_t setStreamSource(uint32_t stream, cVertexBuffer* buffer, uint32_t stride) override;
    int32_t setIndices(cIndexBuffer* buffer, uint32_t baseVertex) override;
    int32_t drawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) override;
    int32_t drawIndexedPrimitive(PrimitiveType type, uint32_t minIndex, uint32_t vertexCount, uint32_t startIndex,
                                 uint32_t primitiveCount) override;
    int32_t drawPrimitiveUp(PrimitiveType type, uint32_t primitiveCount, const void* vertices, uint32_t stride) override;
    int32_t clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override;
    int32_t beginScene() override;
    int32_t endScene() override;
    int32_t present() override;
    int32_t testCooperativeLevel() override;
    int32_t reset(const PresentParams& params) override;
    int32_t readBackBuffer(std::vector<uint32_t>* pixels, uint32_t* width, uint32_t* height) override;

    // Names used in the call texts.
    static const char* renderStateName(RenderState state);
    static const char* stageStateName(StageState state);

private:
    void log(std::string line);
    void snapshot(const std::string& call);

    PresentParams m_params;
    DeviceCaps m_caps;
    std::vector<std::string> m_calls;
    std::vector<DrawState> m_draws;
    int32_t m_presentResult = DEV_OK;
    std::vector<int32_t> m_coopAnswers;
    int32_t m_resetResult = DEV_OK;
    int32_t m_createResult = DEV_OK;
    std::shared_ptr<unsigned> m_counter = std::make_shared<unsigned>(0);  // shared with the objects
    unsigned m_nextId = 1;
    std::vector<uint32_t> m_shaders;
    uint32_t m_nextShader = 1;
    bool m_inScene = false;
    bool m_recordingOn = true;
    bool m_powerOfTwo = false;
};
