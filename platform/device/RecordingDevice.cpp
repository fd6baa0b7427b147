#include "platform/device/RecordingDevice.h"

#include "platform/device/ShaderTranslator.h"

// Formats a call only while recording.
#define RECORD(...)                                  \
    do {                                             \
        if (m_recordingOn) log(format(__VA_ARGS__)); \
    } while (0)

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char* primitiveName(PrimitiveType type) {
    switch (type) {
    case PrimitiveType::PointList: return "PointList";
    case PrimitiveType::LineList: return "LineList";
    case PrimitiveType::LineStrip: return "LineStrip";
    case PrimitiveType::TriangleList: return "TriangleList";
    case PrimitiveType::TriangleStrip: return "TriangleStrip";
    case PrimitiveType::TriangleFan: return "TriangleFan";
    }
    return "?";
}

// Objects count themselves in a counter shared with the device, which may go first.
using Counter = std::shared_ptr<unsigned>;

template <class Base>
class cMemoryBuffer : public Base {
public:
    cMemoryBuffer(uint32_t bytes, MemoryPool pool, Counter counter, unsigned id)
        : m_bytes(bytes, 0), m_pool(pool), m_counter(std::move(counter)), m_id(id) { ++*m_counter; }
    ~cMemoryBuffer() override { --*m_counter; }
    uint32_t getSize() const override { return uint32_t(m_bytes.size()); }
    MemoryPool getPool() const override { return m_pool; }
    int32_t lock(uint32_t offset, uint32_t size, void** data, uint32_t) override {
        if (!data || m_locked || offset > m_bytes.size()) return DEVERR_INVALIDCALL;
        if (size == 0) size = uint32_t(m_bytes.size()) - offset;
        if (size > m_bytes.size() - offset) return DEVERR_INVALIDCALL;
        *data = m_bytes.data() + offset;
        m_locked = true;
        return DEV_OK;
    }
    int32_t unlock() override {
        if (!m_locked) return DEVERR_INVALIDCALL;
        m_locked = false;
        return DEV_OK;
    }
    unsigned id() const { return m_id; }
    const uint8_t* bytes() const { return m_bytes.data(); }

protected:
    std::vector<uint8_t> m_bytes;
    MemoryPool m_pool;
    Counter m_counter;
    unsigned m_id;
    bool m_locked = false;
};

class cRecVertexBuffer : public cMemoryBuffer<cVertexBuffer> {
public:
    cRecVertexBuffer(uint32_t bytes, uint32_t format, MemoryPool pool, Counter c, unsigned id)
        : cMemoryBuffer(bytes, pool, std::move(c), id), m_format(format) {}
    uint32_t getFormat() const override { return m_format; }

private:
    uint32_t m_format;
};

class cRecIndexBuffer : public cMemoryBuffer<cIndexBuffer> {
public:
    cRecIndexBuffer(uint32_t bytes, IndexFormat format, MemoryPool pool, Counter c, unsigned id)
        : cMemoryBuffer(bytes, pool, std::move(c), id), m_format(format) {}
    IndexFormat getFormat() const override { return m_format; }

private:
    IndexFormat m_format;
};

class cRecTexture : public cDeviceTexture {
public:
    cRecTexture(uint32_t w, uint32_t h, Counter c, unsigned id, std::shared_ptr<uint64_t> generation)
        : m_width(w), m_height(h), m_texels(size_t(w) * h, 0), m_counter(std::move(c)), m_id(id),
          m_generation(std::move(generation)) { ++*m_counter; }
    ~cRecTexture() override { --*m_counter; }
    uint32_t getWidth() const override { return m_width; }
    uint32_t getHeight() const override { return m_height; }
    int32_t upload(const uint32_t* argb) override {
        if (!argb) return DEVERR_INVALIDCALL;
        std::memcpy(m_texels.data(), argb, m_texels.size() * 4);
        ++*m_generation;
        return DEV_OK;
    }
    unsigned id() const { return m_id; }
    const std::vector<uint32_t>& texels() const { return m_texels; }

private:
    uint32_t m_width, m_height;
    std::vector<uint32_t> m_texels;
    Counter m_counter;
    unsigned m_id;
    std::shared_ptr<uint64_t> m_generation;
};

unsigned objectId(const cDeviceObject* object) {
    if (!object) return 0;
    if (auto* v = dynamic_cast<const cRecVertexBuffer*>(object)) return v->id();
    if (auto* i = dynamic_cast<const cRecIndexBuffer*>(object)) return i->id();
    if (auto* t = dynamic_cast<const cRecTexture*>(object)) return t->id();
    return 0;
}

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...) {
    char buffer[256];
    va_list args;
    va_start(args, fmt);
    vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    return buffer;
}

}  // namespace

const std::vector<uint32_t>* cRecordingDevice::texelsOf(const cDeviceTexture* texture) {
    auto* t = dynamic_cast<const cRecTexture*>(texture);
    return t ? &t->texels() : nullptr;
}

const char* cRecordingDevice::renderStateName(RenderState state) {
    static const char* names[] = {"AlphaBlendEnable", "AlphaTestEnable", "SrcBlend", "DestBlend", "BlendOp",
                                  "AlphaFunc", "AlphaRef", "Lighting", "CullMode", "ZEnable", "ZWriteEnable",
                                  "ZFunc", "FillMode", "StencilEnable", "TextureFactor"};
    static_assert(sizeof names / sizeof *names == size_t(RenderState::Count));
    return uint32_t(state) < uint32_t(RenderState::Count) ? names[uint32_t(state)] : "?";
}

const char* cRecordingDevice::stageStateName(StageState state) {
    static const char* names[] = {"ColorOp", "ColorArg1", "ColorArg2", "AlphaOp", "AlphaArg1", "AlphaArg2",
                                  "TexCoordIndex", "AddressU", "AddressV", "MagFilter", "MinFilter"};
    static_assert(sizeof names / sizeof *names == size_t(StageState::Count));
    return uint32_t(state) < uint32_t(StageState::Count) ? names[uint32_t(state)] : "?";
}

cRecordingDevice::cRecordingDevice(const PresentParams& params) : m_params(params) {}

cRecordingDevice::~cRecordingDevice() {
    unbindAll();
}

std::vector<std::string> cRecordingDevice::callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : m_calls)
        if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    return out;
}

void cRecordingDevice::log(std::string line) {
    if (m_recordingOn) m_calls.push_back(std::move(line));
}

void cRecordingDevice::snapshot(const std::string& call) {
    if (!m_recordingOn) return;
    DrawState s;
    s.call = call;
    for (uint32_t i = 0; i < uint32_t(RenderState::Count); ++i) s.render[i] = getRenderState(RenderState(i));
    for (uint32_t st = 0; st < kStageCount; ++st) {
        for (uint32_t i = 0; i < uint32_t(StageState::Count); ++i) s.stage[st][i] = getStageState(st, StageState(i));
        s.textures[st] = getTexture(st);
    }
    s.format = vertexFormat();
    s.shader = getVertexShader();
    s.constants.assign(shaderConstants(), shaderConstants() + 64);
    s.stream = streamBuffer();
    s.stride = streamStride();
    s.world = getTransform(TransformKind::World);
    m_draws.push_back(std::move(s));
}

int32_t cRecordingDevice::createVertexBuffer(uint32_t bytes, uint32_t usage, uint32_t fmt, MemoryPool pool,
                                             cVertexBuffer** out) {
    RECORD("createVertexBuffer %u 0x%x", bytes, fmt);
    if (!out || bytes == 0) return DEVERR_INVALIDCALL;
    *out = nullptr;
    if (m_createResult != DEV_OK) return m_createResult;
    *out = new cRecVertexBuffer(bytes, fmt, pool, m_counter, m_nextId++);
    return DEV_OK;
}

int32_t cRecordingDevice::createIndexBuffer(uint32_t bytes, uint32_t usage, IndexFormat fmt, MemoryPool pool,
                                            cIndexBuffer** out) {
    RECORD("createIndexBuffer %u", bytes);
    if (!out || bytes == 0) return DEVERR_INVALIDCALL;
    *out = nullptr;
    if (m_createResult != DEV_OK) return m_createResult;
    *out = new cRecIndexBuffer(bytes, fmt, pool, m_counter, m_nextId++);
    return DEV_OK;
}

int32_t cRecordingDevice::createTexture(uint32_t width, uint32_t height, MemoryPool pool, cDeviceTexture** out) {
    RECORD("createTexture %ux%u", width, height);
    if (!out || width == 0 || height == 0) return DEVERR_INVALIDCALL;
    *out = nullptr;
    if (m_createResult != DEV_OK) return m_createResult;
    if (m_powerOfTwo) {
        auto up = [](uint32_t v) {
            uint32_t p = 1;
            while (p < v) p <<= 1;
            return p;
        };
        width = up(width);
        height = up(height);
    }
    if (width > m_caps.maxTextureWidth || height > m_caps.maxTextureHeight) return DEVERR_INVALIDCALL;
    contentChanged();
    *out = new cRecTexture(width, height, m_counter, m_nextId++, generationCounter());
    return DEV_OK;
}

int32_t cRecordingDevice::createVertexShader(const uint32_t* tokens, size_t tokenCount, uint32_t usage,
                                             uint32_t* handle) {
    RECORD("createVertexShader %zu", tokenCount);
    if (!handle) return DEVERR_INVALIDCALL;
    *handle = 0;
    if (m_createResult != DEV_OK) return m_createResult;
    // The stream must translate as it would for the OpenGL device.
    ShaderTranslation translation;
    if (!translateVertexShader(tokens, tokenCount, &translation)) return DEVERR_INVALIDCALL;
    *handle = m_nextShader++;
    m_shaders.push_back(*handle);
    contentChanged();
    return DEV_OK;
}

int32_t cRecordingDevice::deleteVertexShader(uint32_t handle) {
    RECORD("deleteVertexShader %u", handle);
    for (auto it = m_shaders.begin(); it != m_shaders.end(); ++it) {
        if (*it == handle) {
            m_shaders.erase(it);
            contentChanged();
            if (getVertexShader() == handle) cStateDevice::setVertexShader(0);
            return DEV_OK;
        }
    }
    return DEVERR_INVALIDCALL;
}

int32_t cRecordingDevice::setRenderState(RenderState state, uint32_t value) {
    RECORD("renderState %s %u", renderStateName(state), value);
    return cStateDevice::setRenderState(state, value);
}

int32_t cRecordingDevice::setStageState(uint32_t stage, StageState state, uint32_t value) {
    RECORD("stageState %u %s %u", stage, stageStateName(state), value);
    return cStateDevice::setStageState(stage, state, value);
}

int32_t cRecordingDevice::setTexture(uint32_t stage, cDeviceTexture* texture) {
    RECORD("texture %u %u", stage, objectId(texture));
    return cStateDevice::setTexture(stage, texture);
}

int32_t cRecordingDevice::setTransform(TransformKind kind, const DeviceMatrix& matrix) {
    static const char* names[] = {"World", "View", "Projection"};
    RECORD("transform %s", uint32_t(kind) < 3 ? names[uint32_t(kind)] : "?");
    return cStateDevice::setTransform(kind, matrix);
}

int32_t cRecordingDevice::setVertexFormat(uint32_t fmt) {
    RECORD("vertexFormat 0x%x", fmt);
    return cStateDevice::setVertexFormat(fmt);
}

int32_t cRecordingDevice::setVertexShader(uint32_t handle) {
    RECORD("vertexShader %u", handle);
    return cStateDevice::setVertexShader(handle);
}

int32_t cRecordingDevice::setVertexShaderConstant(uint32_t reg, const float* values, uint32_t count) {
    RECORD("shaderConstant %u %u", reg, count);
    return cStateDevice::setVertexShaderConstant(reg, values, count);
}

int32_t cRecordingDevice::beginStateBlock() {
    log("beginStateBlock");
    return cStateDevice::beginStateBlock();
}

int32_t cRecordingDevice::endStateBlock(uint32_t* token) {
    int32_t r = cStateDevice::endStateBlock(token);
    RECORD("endStateBlock %u", token ? *token : 0);
    return r;
}

int32_t cRecordingDevice::applyStateBlock(uint32_t token) {
    RECORD("applyStateBlock %u", token);
    return cStateDevice::applyStateBlock(token);
}

int32_t cRecordingDevice::setStreamSource(uint32_t stream, cVertexBuffer* buffer, uint32_t stride) {
    RECORD("streamSource %u %u %u", stream, objectId(buffer), stride);
    return cStateDevice::setStreamSource(stream, buffer, stride);
}

int32_t cRecordingDevice::setIndices(cIndexBuffer* buffer, uint32_t baseVertex) {
    RECORD("indices %u %u", objectId(buffer), baseVertex);
    return cStateDevice::setIndices(buffer, baseVertex);
}

int32_t cRecordingDevice::drawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t count) {
    if (m_recordingOn) {
        std::string call = format("draw %s %u %u", primitiveName(type), startVertex, count);
        log(call);
        snapshot(call);
    }
    if (!streamBuffer()) return DEVERR_INVALIDCALL;
    uint64_t end = uint64_t(startVertex + primitiveVertexCount(type, count)) * streamStride();
    return end <= streamBuffer()->getSize() ? DEV_OK : DEVERR_INVALIDCALL;
}

int32_t cRecordingDevice::drawIndexedPrimitive(PrimitiveType type, uint32_t minIndex, uint32_t vertexCount,
                                               uint32_t startIndex, uint32_t count) {
    if (m_recordingOn) {
        std::string call =
            format("drawIndexed %s %u %u %u %u", primitiveName(type), minIndex, vertexCount, startIndex, count);
        log(call);
        snapshot(call);
    }
    if (!streamBuffer() || !indexBuffer()) return DEVERR_INVALIDCALL;
    uint32_t indexSize = indexBuffer()->getFormat() == IndexFormat::Index16 ? 2 : 4;
    uint64_t end = uint64_t(startIndex + primitiveVertexCount(type, count)) * indexSize;
    return end <= indexBuffer()->getSize() ? DEV_OK : DEVERR_INVALIDCALL;
}

int32_t cRecordingDevice::drawPrimitiveUp(PrimitiveType type, uint32_t count, const void* vertices, uint32_t stride) {
    if (m_recordingOn) {
        std::string call = format("drawUp %s %u %u", primitiveName(type), count, stride);
        log(call);
        snapshot(call);
    }
    cStateDevice::setStreamSource(0, nullptr, 0);
    return vertices ? DEV_OK : DEVERR_INVALIDCALL;
}

int32_t cRecordingDevice::clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) {
    RECORD("clear %u 0x%08X %.8g %u", flags, color, double(z), stencil);
    return DEV_OK;
}

int32_t cRecordingDevice::beginScene() {
    log("beginScene");
    if (m_inScene) return DEVERR_INVALIDCALL;
    m_inScene = true;
    return DEV_OK;
}

int32_t cRecordingDevice::endScene() {
    log("endScene");
    if (!m_inScene) return DEVERR_INVALIDCALL;
    m_inScene = false;
    return DEV_OK;
}

int32_t cRecordingDevice::present() {
    log("present");
    int32_t r = m_presentResult;
    m_presentResult = DEV_OK;
    return r;
}

int32_t cRecordingDevice::testCooperativeLevel() {
    int32_t r = DEV_OK;
    if (!m_coopAnswers.empty()) {
        r = m_coopAnswers.front();
        if (m_coopAnswers.size() > 1) m_coopAnswers.erase(m_coopAnswers.begin());
    }
    RECORD("testCooperativeLevel %d", r);
    return r;
}

int32_t cRecordingDevice::reset(const PresentParams& params) {
    RECORD("reset %ux%u %s", params.width, params.height, params.windowed ? "windowed" : "fullscreen");
    int32_t r = m_resetResult;
    m_resetResult = DEV_OK;
    if (r != DEV_OK) return r;
    m_params = params;
    m_coopAnswers.clear();
    contentChanged();
    return DEV_OK;
}

int32_t cRecordingDevice::readBackBuffer(std::vector<uint32_t>*, uint32_t*, uint32_t*) { return DEVERR_NOTAVAILABLE; }
