#include "platform/device/StateDevice.h"

#include <algorithm>
#include <cstring>

cStateDevice::cStateDevice() : m_constants(kMaxShaderConstants * 4, 0.0f) { resetStates(); }

cStateDevice::~cStateDevice() {
    // Subclasses unbind before their objects go; nothing is owned here.
}

void cStateDevice::resetStates() {
    auto rs = [this](RenderState s, uint32_t v) { m_render[size_t(s)] = v; };
    rs(RenderState::AlphaBlendEnable, 0);
    rs(RenderState::AlphaTestEnable, 0);
    rs(RenderState::SrcBlend, BLEND_ONE);
    rs(RenderState::DestBlend, BLEND_ZERO);
    rs(RenderState::BlendOp, BLENDOP_ADD);
    rs(RenderState::AlphaFunc, CMP_ALWAYS);
    rs(RenderState::AlphaRef, 0);
    rs(RenderState::Lighting, 1);
    rs(RenderState::CullMode, CULL_CCW);
    rs(RenderState::ZEnable, 1);
    rs(RenderState::ZWriteEnable, 1);
    rs(RenderState::ZFunc, CMP_LESSEQUAL);
    rs(RenderState::FillMode, FILL_SOLID);
    rs(RenderState::StencilEnable, 0);
    rs(RenderState::TextureFactor, 0xFFFFFFFFu);
    for (uint32_t stage = 0; stage < kStageCount; ++stage) {
        auto& s = m_stage[stage];
        s[size_t(StageState::ColorOp)] = stage == 0 ? TOP_MODULATE : TOP_DISABLE;
        s[size_t(StageState::ColorArg1)] = TA_TEXTURE;
        s[size_t(StageState::ColorArg2)] = TA_CURRENT;
        s[size_t(StageState::AlphaOp)] = stage == 0 ? TOP_SELECTARG1 : TOP_DISABLE;
        s[size_t(StageState::AlphaArg1)] = TA_TEXTURE;
        s[size_t(StageState::AlphaArg2)] = TA_CURRENT;
        s[size_t(StageState::TexCoordIndex)] = stage;
        s[size_t(StageState::AddressU)] = TADDRESS_WRAP;
        s[size_t(StageState::AddressV)] = TADDRESS_WRAP;
        s[size_t(StageState::MagFilter)] = TEXF_POINT;
        s[size_t(StageState::MinFilter)] = TEXF_POINT;
    }
    for (auto& t : m_transforms) t = DeviceMatrix::identity();
    m_format = kSpriteVertexFormat;
    m_shader = 0;
}

void cStateDevice::unbindAll() {
    for (auto& t : m_textures) {
        if (t) t->release();
        t = nullptr;
    }
    if (m_stream) m_stream->release();
    m_stream = nullptr;
    if (m_indices) m_indices->release();
    m_indices = nullptr;
    for (auto& [token, block] : m_blocks)
        for (auto& e : block)
            if (e.texture) e.texture->release();
    m_blocks.clear();
    if (m_recording) {
        for (auto& e : *m_recording)
            if (e.texture) e.texture->release();
        delete m_recording;
        m_recording = nullptr;
    }
}

void cStateDevice::record(const BlockEntry& entry) {
    // A later setting of the same state replaces the earlier one.
    for (auto& e : *m_recording) {
        if (e.kind == entry.kind && e.key == entry.key && entry.kind != BlockEntry::Material) {
            if (e.texture) e.texture->release();
            e = entry;
            if (e.texture) e.texture->addRef();
            return;
        }
    }
    m_recording->push_back(entry);
    if (entry.texture) entry.texture->addRef();
}

int32_t cStateDevice::setRenderState(RenderState state, uint32_t value) {
    if (uint32_t(state) >= uint32_t(RenderState::Count)) return DEVERR_INVALIDCALL;
    if (m_recording) {
        BlockEntry e;
        e.kind = BlockEntry::Render;
        e.key = uint32_t(state);
        e.value = value;
        record(e);
        return DEV_OK;
    }
    m_render[size_t(state)] = value;
    return DEV_OK;
}

uint32_t cStateDevice::getRenderState(RenderState state) const {
    if (uint32_t(state) >= uint32_t(RenderState::Count)) return 0;
    return m_render[size_t(state)];
}

int32_t cStateDevice::setStageState(uint32_t stage, StageState state, uint32_t value) {
    if (stage >= kStageCount || uint32_t(state) >= uint32_t(StageState::Count)) return DEVERR_INVALIDCALL;
    if (m_recording) {
        BlockEntry e;
        e.kind = BlockEntry::Stage;
        e.key = stage << 16 | uint32_t(state);
        e.value = value;
        record(e);
        return DEV_OK;
    }
    m_stage[stage][size_t(state)] = value;
    return DEV_OK;
}

uint32_t cStateDevice::getStageState(uint32_t stage, StageState state) const {
    if (stage >= kStageCount || uint32_t(state) >= uint32_t(StageState::Count)) return 0;
    return m_stage[stage][size_t(state)];
}

int32_t cStateDevice::setTexture(uint32_t stage, cDeviceTexture* texture) {
    if (stage >= kStageCount) return DEVERR_INVALIDCALL;
    if (m_recording) {
        BlockEntry e;
        e.kind = BlockEntry::Texture;
        e.key = stage;
        e.texture = texture;
        record(e);
        return DEV_OK;
    }
    if (texture) texture->addRef();
    if (m_textures[stage]) m_textures[stage]->release();
    m_textures[stage] = texture;
    return DEV_OK;
}

cDeviceTexture* cStateDevice::getTexture(uint32_t stage) const {
    return stage < kStageCount ? m_textures[stage] : nullptr;
}

int32_t cStateDevice::setTransform(TransformKind kind, const DeviceMatrix& matrix) {
    if (uint32_t(kind) >= uint32_t(TransformKind::Count)) return DEVERR_INVALIDCALL;
    if (m_recording) {
        BlockEntry e;
        e.kind = BlockEntry::Transform;
        e.key = uint32_t(kind);
        e.matrix = matrix;
        record(e);
        return DEV_OK;
    }
    m_transforms[size_t(kind)] = matrix;
    return DEV_OK;
}

const DeviceMatrix& cStateDevice::getTransform(TransformKind kind) const {
    static const DeviceMatrix identity;
    if (uint32_t(kind) >= uint32_t(TransformKind::Count)) return identity;
    return m_transforms[size_t(kind)];
}

int32_t cStateDevice::setMaterial(const DeviceMaterial& material) {
    if (m_recording) {
        BlockEntry e;
        e.kind = BlockEntry::Material;
        e.materialValue = material;
        record(e);
        return DEV_OK;
    }
    m_material = material;
    return DEV_OK;
}

int32_t cStateDevice::setLight(uint32_t, const DeviceLight&) {
    // Lighting is never enabled by the program; lights are accepted and not kept.
    return DEV_OK;
}

int32_t cStateDevice::setVertexFormat(uint32_t format) {
    if (m_recording) {
        BlockEntry e;
        e.kind = BlockEntry::Format;
        e.value = format;
        record(e);
        return DEV_OK;
    }
    m_format = format;
    m_shader = 0;
    return DEV_OK;
}

int32_t cStateDevice::setVertexShader(uint32_t handle) {
    if (m_recording) {
        BlockEntry e;
        e.kind = BlockEntry::Shader;
        e.value = handle;
        record(e);
        return DEV_OK;
    }
    m_shader = handle;
    return DEV_OK;
}

int32_t cStateDevice::setVertexShaderConstant(uint32_t reg, const float* values, uint32_t count) {
    if (!values || reg >= kMaxShaderConstants || count > kMaxShaderConstants - reg) return DEVERR_INVALIDCALL;
    std::memcpy(&m_constants[size_t(reg) * 4], values, size_t(count) * 4 * sizeof(float));
    return DEV_OK;
}

int32_t cStateDevice::beginStateBlock() {
    if (m_recording) return DEVERR_INVALIDCALL;
    m_recording = new Block();
    return DEV_OK;
}

int32_t cStateDevice::endStateBlock(uint32_t* token) {
    if (!m_recording || !token) return DEVERR_INVALIDCALL;
    *token = m_nextBlock++;
    m_blocks[*token] = std::move(*m_recording);
    delete m_recording;
    m_recording = nullptr;
    return DEV_OK;
}

int32_t cStateDevice::applyStateBlock(uint32_t token) {
    auto it = m_blocks.find(token);
    if (it == m_blocks.end() || m_recording) return DEVERR_INVALIDCALL;
    for (const BlockEntry& e : it->second) {
        switch (e.kind) {
        case BlockEntry::Render: setRenderState(RenderState(e.key), e.value); break;
        case BlockEntry::Stage: setStageState(e.key >> 16, StageState(e.key & 0xFFFF), e.value); break;
        case BlockEntry::Transform: setTransform(TransformKind(e.key), e.matrix); break;
        case BlockEntry::Material: setMaterial(e.materialValue); break;
        case BlockEntry::Format: setVertexFormat(e.value); break;
        case BlockEntry::Shader: setVertexShader(e.value); break;
        case BlockEntry::Texture: setTexture(e.key, e.texture); break;
        }
    }
    return DEV_OK;
}

int32_t cStateDevice::deleteStateBlock(uint32_t token) {
    auto it = m_blocks.find(token);
    if (it == m_blocks.end()) return DEVERR_INVALIDCALL;
    for (auto& e : it->second)
        if (e.texture) e.texture->release();
    m_blocks.erase(it);
    return DEV_OK;
}

int32_t cStateDevice::setStreamSource(uint32_t stream, cVertexBuffer* buffer, uint32_t stride) {
    if (stream != 0) return DEVERR_INVALIDCALL;
    if (buffer) buffer->addRef();
    if (m_stream) m_stream->release();
    m_stream = buffer;
    m_stride = stride;
    return DEV_OK;
}

int32_t cStateDevice::setIndices(cIndexBuffer* buffer, uint32_t baseVertex) {
    if (buffer) buffer->addRef();
    if (m_indices) m_indices->release();
    m_indices = buffer;
    m_baseVertex = baseVertex;
    return DEV_OK;
}
