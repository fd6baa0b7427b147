#include "engine/media/cGraphics.h"


#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/core/cTimer.h"
#include "engine/media/ImageDecoder.h"
#include "engine/media/cDebugOverlay.h"
#include "engine/media/cBitmapFont.h"
#include "engine/media/cInput.h"
#include "engine/media/cModel.h"
#include "engine/media/cTexture.h"
#include "engine/media/cVertexShader.h"
#include "engine/media/cDrawRecord.h"
#include "engine/media/cRenderQuad.h"
#include "platform/Lifetime.h"
#include "platform/Platform.h"
#include "platform/device/DeviceMatrixMath.h"

namespace {

MeshPartsQuery s_mesh_query = static_cast<bool (*)(cModelInstance*, DeviceMatrix*, std::vector<MeshDrawPart>*)>(
    &queryModelMeshParts);
ModelLoader s_model_loader = nullptr;
FpsSource s_fps_source = nullptr;
CursorSource s_cursor_source = nullptr;
int s_desktop_width_override = 0;

// 16-bit indices address 65536 vertices: the most sprites one buffer can hold.
constexpr unsigned kMaxBufferSprites = 65536 / 4;

void logLine(const char* text) {
    if (getLogManager()) logText("game", cStringA(text));
}

const wchar_t* kSection = L"Graphics";

DeviceMatrix orthoOffCenterLH(float l, float r, float b, float t, float zn, float zf) {
    DeviceMatrix m;
    m.m[0][0] = 2.0f / (r - l);
    m.m[1][1] = 2.0f / (t - b);
    m.m[2][2] = 1.0f / (zf - zn);
    m.m[3][0] = (l + r) / (l - r);
    m.m[3][1] = (t + b) / (b - t);
    m.m[3][2] = zn / (zn - zf);
    m.m[3][3] = 1.0f;
    return m;
}

DeviceMatrix transpose(const DeviceMatrix& a) {
    DeviceMatrix out;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out.m[i][j] = a.m[j][i];
    return out;
}

cDeviceTexture* deviceTextureOf(cTexture* texture) { return texture ? texture->getDeviceTexture() : nullptr; }

uint32_t shaderHandleOf(const cRenderQuad* quad) {
    return quad && quad->vertexShader ? quad->vertexShader->getHandle() : 0;
}

// Four single-precision lanes. Every lane does exactly the operations of the scalar grid
// formula, in the same order (no fused multiply-add), so the vertices are the same bits.
using Lanes = float __attribute__((vector_size(16)));

Lanes loadLanes(const void* p) {
    Lanes l;
    std::memcpy(&l, p, sizeof l);
    return l;
}

// (x y) from a and (x y) from b.
Lanes loadPairs(const float* a, const float* b) {
    using Pair = float __attribute__((vector_size(8)));
    Pair low, high;
    std::memcpy(&low, a, sizeof low);
    std::memcpy(&high, b, sizeof high);
    return __builtin_shufflevector(low, high, 0, 1, 2, 3);
}

// Stores (u v) of vertices 0 and 1 (uv01) and of vertices 2 and 3 (uv23) from `first`, the
// coordinates of vertex 0, on in steps of one vertex.
void storeUvPairs(Lanes uv01, Lanes uv23, float* first) {
    constexpr size_t step = sizeof(cSpriteVertex) / sizeof(float);
    const Lanes high01 = __builtin_shufflevector(uv01, uv01, 2, 3, 2, 3);
    const Lanes high23 = __builtin_shufflevector(uv23, uv23, 2, 3, 2, 3);
    std::memcpy(first, &uv01, 2 * sizeof(float));
    std::memcpy(first + step, &high01, 2 * sizeof(float));
    std::memcpy(first + 2 * step, &uv23, 2 * sizeof(float));
    std::memcpy(first + 3 * step, &high23, 2 * sizeof(float));
}

// Writes the four vertices of a quad with grid 1: the grid formula with s and t each 0 or 1,
// where the mixed colours are the corner colours themselves. Lanes hold (x, y) of two corners;
// multiplying by the 0 and 1 of s, t and st keeps every product of the formula (x * 1 is x,
// x * 0 a signed zero, or NaN for an endless x).
[[gnu::always_inline]] inline void writeSingleCellQuad(const cDrawRecord& record, cSpriteVertex* out) {
    const cRenderQuad& q = *record.quad;
    const float z = stencilToDepth(q.stencilValue);
    const cTexture* textures[2] = {record.texture0, record.texture1};
    static_assert(sizeof(cQuadVertex) == 12 && sizeof(cVector2) == 8 && sizeof(cRect) == 16,
                  "the quad is read as packed floats");
    const cQuadVertex* v = q.vertices;
    const Lanes xy01 = loadPairs(&v[0].x, &v[1].x), xy23 = loadPairs(&v[2].x, &v[3].x);
    // The corners: (vertex + offset) * matrix + view offset.
    const Lanes s01 = xy01 + loadLanes(&q.vertexOffsets[0]);
    const Lanes s23 = xy23 + loadLanes(&q.vertexOffsets[2]);
    const float* m = q.matrix;
    const Lanes mx = {m[0], m[1], m[0], m[1]}, my = {m[3], m[4], m[3], m[4]}, mt = {m[6], m[7], m[6], m[7]};
    const Lanes view = {q.viewOffset.x, q.viewOffset.y, q.viewOffset.x, q.viewOffset.y};
    const Lanes p01 = __builtin_shufflevector(s01, s01, 0, 0, 2, 2) * mx + __builtin_shufflevector(s01, s01, 1, 1, 3, 3) * my +
                      mt + view;
    const Lanes p23 = __builtin_shufflevector(s23, s23, 0, 0, 2, 2) * mx + __builtin_shufflevector(s23, s23, 1, 1, 3, 3) * my +
                      mt + view;
    const Lanes p0 = __builtin_shufflevector(p01, p01, 0, 1, 0, 1), p1 = __builtin_shufflevector(p01, p01, 2, 3, 2, 3);
    const Lanes p2 = __builtin_shufflevector(p23, p23, 0, 1, 0, 1), p3 = __builtin_shufflevector(p23, p23, 2, 3, 2, 3);
    // Bilinear positions from corner 0 with the edges to corners 1 and 2 and the twist.
    const Lanes d1 = p1 - p0, d2 = p2 - p0, d3 = p3 - p1 - p2 + p0;
    const Lanes zero = {0.0f, 0.0f, 0.0f, 0.0f}, one = {1.0f, 1.0f, 1.0f, 1.0f}, right = {0.0f, 0.0f, 1.0f, 1.0f};
    const Lanes half = {0.5f, 0.5f, 0.5f, 0.5f};
    const Lanes pos01 = p0 + d1 * right + d2 * zero + d3 * zero - half;   // corners 0 (s 0, t 0) and 1 (s 1, t 0)
    const Lanes pos23 = p0 + d1 * right + d2 * one + d3 * right - half;   // corners 2 (s 0, t 1) and 3 (s 1, t 1)
    // (x y z colour) of each vertex; colours travel as bits.
    Lanes colors;
    for (int k = 0; k < 4; ++k) std::memcpy(reinterpret_cast<float*>(&colors) + k, &v[k].color, sizeof(float));
    const Lanes zz = {z, z, z, z};
    const Lanes zc01 = __builtin_shufflevector(zz, colors, 0, 4, 0, 5), zc23 = __builtin_shufflevector(zz, colors, 0, 6, 0, 7);
    const Lanes head[4] = {__builtin_shufflevector(pos01, zc01, 0, 1, 4, 5), __builtin_shufflevector(pos01, zc01, 2, 3, 6, 7),
                           __builtin_shufflevector(pos23, zc23, 0, 1, 4, 5), __builtin_shufflevector(pos23, zc23, 2, 3, 6, 7)};
    for (int k = 0; k < 4; ++k) std::memcpy(&out[k].x, &head[k], sizeof head[k]);
    // (u v) of each vertex per layer: (left + (right - left) s) uScale + 0.0001, the same with
    // top, bottom and t; a layer without texture leaves its coordinates as they are.
    const Lanes st01 = {0.0f, 0.0f, 1.0f, 0.0f}, st23 = {0.0f, 1.0f, 1.0f, 1.0f};
    const auto layerUv = [&](int layer, Lanes* uv01, Lanes* uv23) __attribute__((always_inline)) {
        const Lanes r = loadLanes(&q.uvRects[layer]);
        const Lanes start = __builtin_shufflevector(r, r, 0, 1, 0, 1);
        const Lanes size = __builtin_shufflevector(r, r, 2, 3, 2, 3) - start;
        const float* uvScale = textures[layer]->getUvScale();
        const Lanes scale = {uvScale[0], uvScale[1], uvScale[0], uvScale[1]};
        const Lanes bias = {0.0001f, 0.0001f, 0.0001f, 0.0001f};
        *uv01 = (start + size * st01) * scale + bias;
        *uv23 = (start + size * st23) * scale + bias;
    };
    Lanes uv01[2], uv23[2];
    if (textures[0] && !textures[1]) {   // the usual sprite
        layerUv(0, &uv01[0], &uv23[0]);
        storeUvPairs(uv01[0], uv23[0], &out[0].u0);
    } else if (textures[0]) {
        layerUv(0, &uv01[0], &uv23[0]);
        layerUv(1, &uv01[1], &uv23[1]);
        const Lanes tail[4] = {__builtin_shufflevector(uv01[0], uv01[1], 0, 1, 4, 5),
                               __builtin_shufflevector(uv01[0], uv01[1], 2, 3, 6, 7),
                               __builtin_shufflevector(uv23[0], uv23[1], 0, 1, 4, 5),
                               __builtin_shufflevector(uv23[0], uv23[1], 2, 3, 6, 7)};
        for (int k = 0; k < 4; ++k) std::memcpy(&out[k].u0, &tail[k], sizeof tail[k]);
    } else if (textures[1]) {
        layerUv(1, &uv01[1], &uv23[1]);
        storeUvPairs(uv01[1], uv23[1], &out[0].u1);
    }
}

// The six indices of a one-cell quad on vertices base..base+3: triangles (0, 2, 1), (1, 2, 3).
void writeOneQuadIndices(uint16_t* idx, uint32_t base) {
    idx[0] = uint16_t(base);
    idx[1] = uint16_t(base + 2);
    idx[2] = uint16_t(base + 1);
    idx[3] = uint16_t(base + 1);
    idx[4] = uint16_t(base + 2);
    idx[5] = uint16_t(base + 3);
}

// Quad i of the batch uses vertices 4i..4i+3. Writes its indices into the entries [begin, end),
// widened to whole quads; end stays within the buffer, whose size is a whole number of quads.
void writeQuadIndices(uint16_t* indices, uint32_t begin, uint32_t end) {
    for (uint32_t quad = begin / 6; quad * 6 < end; ++quad) writeOneQuadIndices(indices + quad * 6, quad * 4);
}

uint8_t mixChannel(float c0, float c1, float c2, float c3, float w0, float w1, float w2, float w3) {
    float c = c0 * w0 + c1 * w1 + c2 * w2 + c3 * w3;
    if (c >= 1.0f) return 255;
    if (c <= 0.0f) return 0;
    return uint8_t(uint32_t(c * 255.0f + 0.5f));
}

}  // namespace

// ---- Errors --------------------------------------------------------------------------------

cStringA dxErrorName(int32_t result) {
    switch (result) {
    case DEV_OK: return "DEV_OK";
    case DEV_FALSE: return "DEV_FALSE";
    case DEVERR_DEVICELOST: return "DEVERR_DEVICELOST";
    case DEVERR_DEVICENOTRESET: return "DEVERR_DEVICENOTRESET";
    case DEVERR_INVALIDCALL: return "DEVERR_INVALIDCALL";
    case DEVERR_OUTOFVIDEOMEMORY: return "DEVERR_OUTOFVIDEOMEMORY";
    case DEVERR_NOTAVAILABLE: return "DEVERR_NOTAVAILABLE";
    case DEVERR_INVALIDDATA: return "DEVERR_INVALIDDATA";
    case DEVERR_UNSUPPORTEDFORMAT: return "DEVERR_UNSUPPORTEDFORMAT";
    case DEVERR_CONTEXTFAILED: return "DEVERR_CONTEXTFAILED";
    case DEVERR_SHADERCOMPILE: return "DEVERR_SHADERCOMPILE";
    case DEVERR_OUTOFMEMORY: return "DEVERR_OUTOFMEMORY";
    case INPERR_INPUTLOST: return "INPERR_INPUTLOST";
    case INPERR_NOTACQUIRED: return "INPERR_NOTACQUIRED";
    case INPERR_BUFFEROVERFLOW: return "INPERR_BUFFEROVERFLOW";
    default: return "Unknown";
    }
}

[[noreturn]] void throwDxError(int32_t result, const cStringA& expression) {
    cStringA text = cStringA("Direct3D function call failed\n") + expression + "\n" + dxErrorName(result);
    getErrorCallStack() = text;
    throw text;
}

// ---- Hooks ---------------------------------------------------------------------------------

MeshPartsQuery cGraphics::setMeshPartsQuery(MeshPartsQuery query) {
    MeshPartsQuery old = s_mesh_query;
    s_mesh_query = query;
    return old;
}
void cGraphics::setModelLoader(ModelLoader loader) { s_model_loader = loader; }
void cGraphics::setFpsSource(FpsSource source) { s_fps_source = source; }
void cGraphics::setCursorSource(CursorSource source) { s_cursor_source = source; }
void cGraphics::setDesktopWidthOverride(int width) { s_desktop_width_override = width; }

cGraphicsFactory* getGraphicsFactory() { return cGraphicsFactory::instance(); }
namespace {
// The media resource types are registered here, at program start: every program that has a
// renderer can load every one of them, whatever the linker keeps of the classes' own files.
[[maybe_unused]] const bool mediaTypes = (cTexture::registerResourceFactory(), cVertexShader::registerResourceFactory(),
                                          cBitmapFont::registerResourceFactory(), cModel::registerResourceFactory(), true);
}  // namespace

cGraphics* getGraphics() { return cSingleton<cGraphics>::instance(); }

// ---- Construction --------------------------------------------------------------------------

cGraphics::cGraphics(platform::Window* window) : m_window(window) { construct(); }

cGraphics::cGraphics(platform::Window* window, std::unique_ptr<cDevice> device) : m_window(window), m_device(std::move(device)) {
    construct();
}

void cGraphics::construct() {
    m_material.diffuse = m_material.ambient = m_material.specular = m_material.emissive = {1.0f, 1.0f, 1.0f, 1.0f};
    m_material.power = 1.0f;
    cTexture::registerResourceFactory();
    cVertexShader::registerResourceFactory();

    logLine("  init Direct3D");
    logLine("  enum display modes");
    selectFormats();
    logLine("  read graphics parameters");
    readSettings();
    logLine("  prepare Direct3D presentation parameters");
    m_present = PresentParams();
    preparePresentation();
    logLine("  read device caps");
    logLine("  create device");
    if (!m_device) {
        int32_t result = DEV_OK;
        if (m_window) {
            m_device = createGlWindowDevice(m_window, m_present, &result);
            if (!m_device) throwDxError(result, "createGlWindowDevice(...)");
        } else {
            m_device = createGlHeadlessDevice(m_present, &result);
            if (!m_device) throwDxError(result, "createGlHeadlessDevice(...)");
        }
    } else {
        int32_t result = m_device->reset(m_present);
        if (devFailed(result)) throwDxError(result, "cDevice::reset(...)");
    }
    m_vertex_shader_version = (m_device->getCaps().vertexShaderVersion >> 8) & 0xFF;
    logLine("  prepare buffers");
    int32_t result = createBuffers(m_reserved_sprite_count);
    if (devFailed(result)) throwDxError(result, "cGraphics::createBuffers(...)");
    logLine("  init common material");
    logLine("  setup standard render states");
    setupRenderStates();
    logLine("  prepare fade sprite");
    try {
        createFadeBuffer();
    } catch (...) {
        // The object is never finished, so no destructor runs: the buffers go here.
        releaseBuffers();
        throw;
    }
    m_fade_stale = true;
    m_overlay = std::make_unique<cDebugOverlay>();
    createSystemFont();
    if (m_desktop_width <= 800 && !m_fullscreen) {
        m_fullscreen = true;
        requestReset(true);
        writeSettings();
    }
}

cGraphics::~cGraphics() {
    logLine("  release fade sprite");
    if (m_fade_buffer) m_fade_buffer->release();
    m_fade_buffer = nullptr;
    logLine("  release buffers");
    unlockBuffers();
    releaseBuffers();
    logLine("  release system font");
    releaseSystemFont();
    logLine("  release device");
    m_device.reset();
    m_overlay.reset();
    logLine("  release Direct3D");
    logLine("  save graphics parameters");
    writeSettings();
}

// ---- Settings and presentation -------------------------------------------------------------

void cGraphics::readSettings() {
    cSettingsManager* settings = getSettingsManager();
    if (!settings) return;
    unsigned width = m_width, height = m_height;
    settings->getUnsigned(kSection, L"width", width);
    settings->getUnsigned(kSection, L"height", height);
    // A back buffer of no pixels (or absurd size) cannot be made: such values are ignored.
    const unsigned largest = platform::kMaxWindowSide;
    if (width >= 1 && width <= largest) m_width = width;
    if (height >= 1 && height <= largest) m_height = height;
    unsigned colorbit = 32;
    settings->getUnsigned(kSection, L"colorbit", colorbit);
    m_color_depth = colorbit == 16 ? 0 : 1;
    settings->getUnsigned(kSection, L"refrashrate", m_refresh_rate);
    settings->getUnsigned(kSection, L"v_sync", m_v_sync);
    settings->getBool(kSection, L"fullscreen", m_fullscreen);
    settings->getUnsigned(kSection, L"reserve_sprite_count", m_reserved_sprite_count);
    settings->getBool(kSection, L"show_triangles", m_show_triangles);
    settings->getBool(kSection, L"show_fps", m_show_fps);
    settings->getBool(kSection, L"show_cursor_pos", m_show_cursor_pos);
    settings->getBool(kSection, L"show_custom_info", m_show_custom_info);
}

void cGraphics::writeSettings() {
    cSettingsManager* settings = getSettingsManager();
    if (!settings) return;
    settings->setUnsigned(kSection, L"width", m_width);
    settings->setUnsigned(kSection, L"height", m_height);
    settings->setUnsigned(kSection, L"colorbit", m_color_depth == 0 ? 16 : 32);
    settings->setUnsigned(kSection, L"refrashrate", m_refresh_rate);
    settings->setUnsigned(kSection, L"v_sync", m_v_sync);
    settings->setBool(kSection, L"fullscreen", m_fullscreen);
    settings->setUnsigned(kSection, L"reserve_sprite_count", m_reserved_sprite_count);
    settings->setBool(kSection, L"show_triangles", m_show_triangles);
    settings->setBool(kSection, L"show_fps", m_show_fps);
    settings->setBool(kSection, L"show_cursor_pos", m_show_cursor_pos);
    settings->setBool(kSection, L"show_custom_info", m_show_custom_info);
}

void cGraphics::selectFormats() {
    // OpenGL always offers a 32-bit depth buffer; the 16-bit colour depth keeps its own format.
    m_back_formats[0] = BackBufferFormat::R5G6B5;
    m_back_formats[1] = BackBufferFormat::X8R8G8B8;
    m_depth_formats[0] = DepthFormat::D32;
    m_depth_formats[1] = DepthFormat::D32;
}

void cGraphics::preparePresentation() {
    if (s_desktop_width_override > 0) {
        m_desktop_width = s_desktop_width_override;
    } else {
        int w = 0, h = 0;
        platform::desktopSize(&w, &h);
        m_desktop_width = w;
    }
    if (m_reset_requested && m_window) {
        platform::sendMessage(platform::MSG_SYSCOMMAND, platform::SYSCMD_MINIMIZE);
        platform::sendMessage(platform::MSG_SYSCOMMAND, platform::SYSCMD_RESTORE);
    }
    m_present.width = m_width;
    m_present.height = m_height;
    m_present.depthFormat = m_depth_formats[m_color_depth];
    if (m_fullscreen) {
        if (m_window) platform::setFullscreen(true, int(m_width), int(m_height));
        m_present.format = m_back_formats[m_color_depth];
        m_present.windowed = false;
        m_present.vsync = m_v_sync != 0;
    } else {
        if (m_window) {
            int bits = platform::desktopBitsPerPixel();
            if (bits > 0 && bits < 16)
                throw "The 256 color mode is not supported.\nPlease, set the display color mode to 16 or 32 bit.\n"
                      "(Control Panel -> Display -> Settings tab -> Color quality)\n";
            platform::setFullscreen(false, int(m_width), int(m_height));
        }
        m_present.format = BackBufferFormat::X8R8G8B8;
        m_present.windowed = true;
        m_present.vsync = m_v_sync != 0;
    }
}

// ---- Device objects ------------------------------------------------------------------------

void cGraphics::releaseBuffers() {
    if (m_index_buffer) m_index_buffer->release();
    if (m_vertex_buffer) m_vertex_buffer->release();
    m_index_buffer = nullptr;
    m_vertex_buffer = nullptr;
}

int32_t cGraphics::createBuffers(unsigned n) {
    unlockBuffers();
    releaseBuffers();
    n = std::clamp(n, 1u, kMaxBufferSprites);
    m_vertex_capacity = 4 * n;
    m_index_capacity = 6 * n;
    int32_t ir = m_device->createIndexBuffer(12 * n, USAGE_DYNAMIC | USAGE_WRITEONLY, IndexFormat::Index16,
                                             MemoryPool::Default, &m_index_buffer);
    if (devFailed(ir)) m_index_buffer = nullptr;
    int32_t vr = m_device->createVertexBuffer(32 * 4 * n, USAGE_DYNAMIC | USAGE_WRITEONLY, kSpriteVertexFormat,
                                              MemoryPool::Default, &m_vertex_buffer);
    if (devFailed(vr)) m_vertex_buffer = nullptr;
    m_reserved_sprite_count = n;
    // A new index buffer holds no quad indices yet: the next lock writes them.
    m_indices_off_pattern_begin = 0;
    m_indices_off_pattern_end = m_index_capacity;
    if (!m_index_buffer || !m_vertex_buffer) {
        releaseBuffers();
        m_vertex_capacity = m_index_capacity = 0;
        return devFailed(vr) ? vr : ir;
    }
    return vr;
}

int32_t cGraphics::setReservedSpriteCount(unsigned n) {
    bool wasBegun = m_frame_begun;
    if (wasBegun) {
        // The sprites of this frame so far are drawn first; the new buffers start empty.
        flushBatch();
        unlockBuffers();
    }
    int32_t result = createBuffers(n);
    if (wasBegun) m_frame_begun = lockBuffers();
    return result;
}

void cGraphics::createFadeBuffer() {
    if (m_fade_buffer) m_fade_buffer->release();
    m_fade_buffer = nullptr;
    int32_t r = m_device->createVertexBuffer(64, USAGE_DYNAMIC | USAGE_WRITEONLY, kFadeVertexFormat, MemoryPool::Default,
                                             &m_fade_buffer);
    if (devFailed(r)) {
        m_fade_buffer = nullptr;
        throwDxError(r, "cDevice::createVertexBuffer(...)");
    }
}

void cGraphics::setupRenderStates() {
    cDevice* d = m_device.get();
    if (m_state_block) d->deleteStateBlock(m_state_block);
    m_state_block = 0;
    d->beginStateBlock();
    d->setRenderState(RenderState::AlphaBlendEnable, 1);
    d->setRenderState(RenderState::AlphaTestEnable, 1);
    d->setRenderState(RenderState::SrcBlend, BLEND_SRCALPHA);
    d->setRenderState(RenderState::DestBlend, BLEND_INVSRCALPHA);
    d->setRenderState(RenderState::AlphaFunc, CMP_GREATER);
    d->setRenderState(RenderState::BlendOp, BLENDOP_ADD);
    d->setRenderState(RenderState::AlphaRef, 0);
    d->setRenderState(RenderState::Lighting, 0);
    d->setRenderState(RenderState::CullMode, CULL_NONE);
    for (uint32_t stage = 0; stage < 2; ++stage) {
        d->setStageState(stage, StageState::TexCoordIndex, stage);
        d->setStageState(stage, StageState::AlphaOp, TOP_MODULATE);
        d->setStageState(stage, StageState::AlphaArg1, TA_TEXTURE);
        d->setStageState(stage, StageState::AlphaArg2, stage == 0 ? TA_DIFFUSE : TA_CURRENT);
        d->setStageState(stage, StageState::ColorOp, stage == 0 ? TOP_MODULATE : TOP_DISABLE);
        d->setStageState(stage, StageState::ColorArg1, TA_TEXTURE);
        d->setStageState(stage, StageState::ColorArg2, stage == 0 ? TA_DIFFUSE : TA_CURRENT);
        d->setStageState(stage, StageState::AddressU, TADDRESS_WRAP);
        d->setStageState(stage, StageState::AddressV, TADDRESS_WRAP);
    }
    m_projection = orthoOffCenterLH(0.0f, float(m_width), float(m_height), 0.0f, m_near_z, m_far_z);
    d->setMaterial(m_material);
    d->setTransform(TransformKind::Projection, m_projection);
    d->setTransform(TransformKind::View, m_identity);
    d->setTransform(TransformKind::World, m_identity);
    m_shader_matrix = transpose(multiplyDeviceMatrices(m_identity, m_projection));
    d->endStateBlock(&m_state_block);
    d->applyStateBlock(m_state_block);
    DeviceLight light;
    light.diffuse = light.ambient = {1.0f, 1.0f, 1.0f, 0.0f};
    light.range = 1000.0f;
    d->setLight(0, light);
}

void cGraphics::createSystemFont() {
    if (m_overlay) m_overlay->createDeviceObjects(m_device.get());
}

void cGraphics::releaseSystemFont() {
    if (m_overlay) m_overlay->releaseDeviceObjects();
}

void cGraphics::setFade(float v) {
    // Not a number has no place between black and clear: the fade stays as it was.
    if (std::isnan(v)) return;
    m_fade = std::clamp(v, 0.0f, 255.0f);
    m_fade_stale = true;
}

void cGraphics::updateFadeQuad() {
    uint32_t color = uint32_t(255.0f - m_fade) << 24;
    const float w = float(m_width), h = float(m_height);
    m_fade_vertices[0] = {0.0f, 0.0f, 0.0f, color};
    m_fade_vertices[1] = {w, 0.0f, 0.0f, color};
    m_fade_vertices[2] = {0.0f, h, 0.0f, color};
    m_fade_vertices[3] = {w, h, 0.0f, color};
    void* data = nullptr;
    if (m_fade_buffer && !devFailed(m_fade_buffer->lock(0, 64, &data, LOCK_DISCARD))) {
        std::memcpy(data, m_fade_vertices, sizeof m_fade_vertices);
        m_fade_buffer->unlock();
    }
    m_fade_stale = false;
}

void cGraphics::setWireframe(bool wireframe) {
    m_device->setRenderState(RenderState::FillMode, wireframe ? FILL_WIREFRAME : FILL_SOLID);
}

void cGraphics::addCustomInfo(const cStringW& text) {
    if (!m_show_custom_info) return;
    m_custom_info += text;
    m_custom_info += L"\n";
}

void cGraphics::screenToClient(ScreenPoint* point) {
    if (!m_window || !point) throw L"GetWindowInfo operation failure.";
    int wx = 0, wy = 0, ww = 0, wh = 0;
    platform::windowPosition(&wx, &wy);
    platform::windowSize(&ww, &wh);
    float x = float(point->x - wx), y = float(point->y - wy);
    if (ww > 0 && wh > 0 && (unsigned(ww) != m_width || unsigned(wh) != m_height)) {
        // Letterboxed: the back buffer is scaled uniformly and centred in the window.
        float scale = std::min(float(ww) / float(m_width), float(wh) / float(m_height));
        float ox = (float(ww) - float(m_width) * scale) * 0.5f, oy = (float(wh) - float(m_height) * scale) * 0.5f;
        x = (x - ox) / scale;
        y = (y - oy) / scale;
    }
    point->x = int32_t(x < 0 ? x - 0.5f : x);
    point->y = int32_t(y < 0 ? y - 0.5f : y);
}

// ---- Frames --------------------------------------------------------------------------------

bool cGraphics::lockBuffers() {
    if (!m_vertex_buffer || !m_index_buffer) return false;
    void* indices = nullptr;
    void* vertices = nullptr;
    // The index buffer keeps its contents: the quad indices are written once, and again only
    // where a grid quad or the quads after it overwrote them.
    if (devFailed(m_index_buffer->lock(0, m_index_capacity * 2, &indices, 0))) return false;
    if (devFailed(m_vertex_buffer->lock(0, m_vertex_capacity * 32, &vertices, LOCK_DISCARD))) {
        m_index_buffer->unlock();
        return false;
    }
    m_locked_indices = static_cast<uint16_t*>(indices);
    m_locked_vertices = static_cast<uint8_t*>(vertices);
    if (m_indices_off_pattern_begin < m_indices_off_pattern_end) {
        writeQuadIndices(m_locked_indices, m_indices_off_pattern_begin,
                         std::min(m_indices_off_pattern_end, m_index_capacity));
        m_indices_off_pattern_begin = m_indices_off_pattern_end = 0;
    }
    m_indices_in_step = true;
    return true;
}

void cGraphics::unlockBuffers() {
    if (m_locked_indices && m_index_buffer) m_index_buffer->unlock();
    if (m_locked_vertices && m_vertex_buffer) m_vertex_buffer->unlock();
    m_locked_indices = nullptr;
    m_locked_vertices = nullptr;
}

void cGraphics::beginFrame() {
    if (m_frame_begun) return;
    if (m_present_pending) {
        int32_t r = m_device->present();
        if (r == DEVERR_DEVICELOST) {
            bool canReset = m_device->testCooperativeLevel() == DEVERR_DEVICENOTRESET;
            for (int i = 0; i < 100 && !canReset; ++i) {
                platform::sleepMs(10);
                canReset = m_device->testCooperativeLevel() == DEVERR_DEVICENOTRESET;
            }
            if (!canReset) return;   // still lost: the frame is skipped and presented again next time
            if (!resetDevice()) return;
        }
        m_present_pending = false;
    }
    if (m_reset_requested && !resetDevice()) return;
    if (m_grow_to > m_reserved_sprite_count) {
        // The last frame needed more room than reserved: make it so, without changing the setting.
        unsigned keep = m_reserved_sprite_count;
        if (devFailed(createBuffers(m_grow_to))) createBuffers(keep);
        m_reserved_sprite_count = keep;
        m_grow_to = 0;
    }
    if (!lockBuffers()) return;
    m_current = cRenderChunk();
    m_chunks.clear();
    m_frame_vertex_count = 0;
    m_frame_index_count = 0;
    m_chunks_drawn = 0;
    m_scene_started = false;
    m_frame_begun = true;
}

void cGraphics::startScene() {
    if (m_scene_started) return;
    if (m_fade_stale) updateFadeQuad();
    m_device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, m_clear_color, m_depth_clear, 0);
    m_device->beginScene();
    m_scene_started = true;
}

void cGraphics::endFrame() {
    if (!m_frame_begun) return;
    if (m_current.holdsSomething()) m_chunks.push_back(m_current);
    bool skip = sameAsLastFrame();
    unlockBuffers();
    if (skip) {
        // The same records give the same statistics; the overlay must show the same text too.
        m_triangle_count = m_last_triangle_count;
        m_chunks_drawn = m_last_chunk_count;
        buildOverlayText(&m_overlay_scratch);
        skip = !m_overlay || m_overlay_scratch == m_last_overlay_text;
        if (!skip) m_triangle_count = m_chunks_drawn = 0;
    }
    m_last_frame_skipped = skip;
    if (skip) {
        // The render target still holds this picture: it is only presented again.
        m_last_overlay_text.swap(m_overlay_scratch);
        m_triangle_count = 0;
        m_custom_info.clear();
        m_frame_begun = false;
        m_present_pending = true;
        m_frame_vertex_count = 0;
        m_frame_index_count = 0;
        return;
    }
    startScene();
    renderChunks();
    if (m_fade < 255.0f) drawFade();
    m_device->setRenderState(RenderState::StencilEnable, 0);
    buildOverlayText(&m_last_overlay_text);
    m_last_triangle_count = m_triangle_count;
    m_last_chunk_count = m_chunks_drawn;
    m_triangle_count = 0;
    if (m_overlay) m_overlay->draw(m_device.get(), m_last_overlay_text, m_width, m_height, m_overlay_color);
    m_custom_info.clear();
    m_device->endScene();
    m_frame_begun = false;
    m_present_pending = true;
    m_frame_vertex_count = 0;
    m_frame_index_count = 0;
}

void cGraphics::buildOverlayText(std::wstring* text) {
    // Nothing to show (the usual frame): no stream is built and the text keeps its storage.
    if (!m_show_fps && !m_show_cursor_pos && !m_show_triangles) {
        text->assign(m_custom_info);
        return;
    }
    std::wostringstream out;
    if (m_show_fps) {
        float fps = s_fps_source ? s_fps_source() : (getTimer() ? getTimer()->getFps() : 0.0f);
        out << L"FPS: " << fps << L"\n";
    }
    if (m_show_cursor_pos) {
        float x = 0.0f, y = 0.0f;
        if (s_cursor_source) s_cursor_source(&x, &y);
        else if (getInput()) getInput()->getMousePosition(&x, &y);
        out << L"X: " << x << L"\n" << L"Y: " << y << L"\n";
    }
    if (m_show_triangles) out << L"Triangles: " << m_triangle_count << L"\n" << L"Chunks: " << m_chunks_drawn << L"\n";
    if (m_show_fps || m_show_triangles) out << L"\n";
    *text = out.str();
    *text += m_custom_info;
}

void cGraphics::drawFade() {
    cDevice* d = m_device.get();
    // The fade has a state of its own, whatever the last chunk left.
    d->setTexture(0, nullptr);
    d->setTexture(1, nullptr);
    d->setRenderState(RenderState::AlphaBlendEnable, 1);
    d->setRenderState(RenderState::AlphaTestEnable, 0);
    d->setRenderState(RenderState::SrcBlend, BLEND_SRCALPHA);
    d->setRenderState(RenderState::DestBlend, BLEND_INVSRCALPHA);
    d->setRenderState(RenderState::ZEnable, 0);
    d->setRenderState(RenderState::ZWriteEnable, 0);
    d->setStageState(0, StageState::ColorOp, TOP_MODULATE);
    d->setStageState(0, StageState::AlphaOp, TOP_MODULATE);
    d->setStageState(1, StageState::ColorOp, TOP_DISABLE);
    d->setVertexFormat(kFadeVertexFormat);
    d->setStreamSource(0, m_fade_buffer, 16);
    d->drawPrimitive(PrimitiveType::TriangleStrip, 0, 2);
}

bool cGraphics::resetDevice() {
    unlockBuffers();
    if (m_fade_buffer) m_fade_buffer->release();
    m_fade_buffer = nullptr;
    releaseBuffers();
    releaseSystemFont();
    readSettings();
    if (getResourceManager()) getResourceManager()->onLostDevice();
    preparePresentation();
    int32_t r = m_device->reset(m_present);
    if (r == DEVERR_DEVICELOST) {
        // Lost again while resetting: try again at the next frame.
        m_reset_requested = true;
        return false;
    }
    if (devFailed(r)) throwDxError(r, "cDevice::reset(...)");
    setupRenderStates();
    createSystemFont();
    if (getResourceManager()) getResourceManager()->onResetDevice();
    r = createBuffers(m_reserved_sprite_count);
    if (devFailed(r)) throwDxError(r, "cGraphics::createBuffers(...)");
    createFadeBuffer();
    m_reset_requested = false;
    m_fade_stale = true;
    return true;
}

// ---- The batch -----------------------------------------------------------------------------

// The state changes and the grid path are kept out of line: the usual record (same state, one
// cell) then runs without them.
[[gnu::noinline]] void cGraphics::takeState(cRenderChunk& chunk, const cDrawRecord& record) {
    chunk.texture0 = deviceTextureOf(record.texture0);
    chunk.texture1 = deviceTextureOf(record.texture1);
    chunk.model = record.model;
    chunk.modelInstance = record.modelInstance;
    chunk.renderFlags = record.renderFlags;
    chunk.beginDrawCallback = record.beginDrawCallback;
    chunk.drawCallback = record.drawCallback;
    chunk.shaderHandle = shaderHandleOf(record.quad);
    chunk.shaderConstants = record.quad ? record.quad->shaderConstants : nullptr;
}

// Every field is compared and the differences are gathered into one word: one branch per
// record instead of one per field.
bool cGraphics::sameState(const cRenderChunk& c, const cDrawRecord& r) const {
    const auto bits = [](const void* p) { return reinterpret_cast<uintptr_t>(p); };
    const uintptr_t differ =
        (bits(c.texture0) ^ bits(deviceTextureOf(r.texture0))) | (bits(c.texture1) ^ bits(deviceTextureOf(r.texture1))) |
        (bits(c.model) ^ bits(r.model)) | (bits(c.modelInstance) ^ bits(r.modelInstance)) |
        uintptr_t(c.renderFlags ^ r.renderFlags) |
        (reinterpret_cast<uintptr_t>(c.beginDrawCallback) ^ reinterpret_cast<uintptr_t>(r.beginDrawCallback)) |
        (reinterpret_cast<uintptr_t>(c.drawCallback) ^ reinterpret_cast<uintptr_t>(r.drawCallback)) |
        uintptr_t(c.shaderHandle ^ shaderHandleOf(r.quad)) |
        (bits(c.shaderConstants) ^ bits(r.quad ? r.quad->shaderConstants : nullptr));
    return differ == 0;
}

[[gnu::noinline]] void cGraphics::startChunk(const cDrawRecord& record) {
    m_chunks.push_back(m_current);
    uint32_t firstVertex = m_current.firstVertex + m_current.vertexCount;
    uint32_t modelColor = m_current.modelColor;
    takeState(m_current, record);
    m_current.firstVertex = firstVertex;
    m_current.firstIndex = m_frame_index_count;
    m_current.triangleCount = 0;
    m_current.vertexCount = 0;
    m_current.modelColor = modelColor;
}

void cGraphics::drawSprite(const cDrawRecord& record) {
    if (!m_frame_begun || !record.quad) return;
    if (!m_current.holdsSomething())
        takeState(m_current, record);
    else if (!sameState(m_current, record))
        startChunk(record);
    // The current chunk has the record's state now: its model and draw callback are the record's.
    if (record.model) {
        m_current.modelColor = record.quad->vertices[0].color;
        return;
    }
    if (record.drawCallback) return;
    writeQuad(record);
}

void cGraphics::flushBatch() {
    // Draws what the frame holds so far and starts the buffers again: the frame goes on with
    // an empty batch in the current chunk's state.
    if (!m_frame_begun) return;
    unlockBuffers();
    cRenderChunk state = m_current;
    if (m_current.holdsSomething()) m_chunks.push_back(m_current);
    startScene();
    renderChunks();
    m_chunks.clear();
    m_frame_vertex_count = 0;
    m_frame_index_count = 0;
    // A model or callback chunk has been drawn now; only a chunk of quads goes on.
    m_current = (state.model || state.drawCallback) ? cRenderChunk() : state;
    m_current.firstVertex = 0;
    m_current.firstIndex = 0;
    m_current.triangleCount = 0;
    m_current.vertexCount = 0;
    if (!lockBuffers()) m_frame_begun = false;
}

bool cGraphics::makeRoom(uint32_t vertices, uint32_t indices) {
    if (m_frame_vertex_count + vertices <= m_vertex_capacity && m_frame_index_count + indices <= m_index_capacity)
        return true;
    // One quad larger than the largest buffer can never be drawn.
    if (vertices > 4 * kMaxBufferSprites || indices > 6 * kMaxBufferSprites) return false;
    // Grow the buffers for the rest of this frame, keeping what is written.
    unsigned need = std::max((m_frame_vertex_count + vertices + 3) / 4, (m_frame_index_count + indices + 5) / 6);
    unsigned sprites = std::min(std::max(need, m_vertex_capacity / 4 * 2), kMaxBufferSprites);
    if (sprites >= need && sprites > m_vertex_capacity / 4) {
        cVertexBuffer* vb = nullptr;
        cIndexBuffer* ib = nullptr;
        void* vdata = nullptr;
        void* idata = nullptr;
        bool ok = !devFailed(m_device->createVertexBuffer(32 * 4 * sprites, USAGE_DYNAMIC | USAGE_WRITEONLY,
                                                          kSpriteVertexFormat, MemoryPool::Default, &vb)) &&
                  !devFailed(m_device->createIndexBuffer(12 * sprites, USAGE_DYNAMIC | USAGE_WRITEONLY,
                                                         IndexFormat::Index16, MemoryPool::Default, &ib)) &&
                  !devFailed(vb->lock(0, 32 * 4 * sprites, &vdata, LOCK_DISCARD));
        if (ok && devFailed(ib->lock(0, 12 * sprites, &idata, LOCK_DISCARD))) {
            vb->unlock();
            ok = false;
        }
        if (ok) {
            std::memcpy(vdata, m_locked_vertices, size_t(m_frame_vertex_count) * 32);
            writeQuadIndices(static_cast<uint16_t*>(idata), m_frame_index_count, 6 * sprites);
            std::memcpy(idata, m_locked_indices, size_t(m_frame_index_count) * 2);
            unlockBuffers();
            releaseBuffers();
            m_vertex_buffer = vb;
            m_index_buffer = ib;
            m_locked_vertices = static_cast<uint8_t*>(vdata);
            m_locked_indices = static_cast<uint16_t*>(idata);
            m_vertex_capacity = 4 * sprites;
            m_index_capacity = 6 * sprites;
            m_grow_to = std::max(m_grow_to, sprites);
            return true;
        }
        if (vb) vb->release();
        if (ib) ib->release();
    }
    // The buffers cannot grow further: draw what is batched and start them again.
    flushBatch();
    return m_frame_begun && vertices <= m_vertex_capacity && indices <= m_index_capacity;
}

[[gnu::always_inline]] inline void cGraphics::writeQuad(const cDrawRecord& record) {
    const cRenderQuad& q = *record.quad;
    const uint32_t n = q.grid;
    if (n != 1) {
        if (n != 0) writeGridQuad(record);
        return;
    }
    // The usual sprite: 4 vertices, 2 triangles (0, 2, 1) and (1, 2, 3).
    const bool fits = m_frame_vertex_count + 4 <= m_vertex_capacity && m_frame_index_count + 6 <= m_index_capacity;
    if (!fits && !makeRoom(4, 6)) return;
    const uint32_t base = m_frame_vertex_count;
    writeSingleCellQuad(record, reinterpret_cast<cSpriteVertex*>(m_locked_vertices) + base);
    // In step (no grid quad before it since the buffers were locked), the quad's index entries hold
    // its indices.
    if (!m_indices_in_step) writeQuadIndicesOutOfStep(base);
    m_current.vertexCount += 4;
    m_current.triangleCount += 2;
    m_frame_vertex_count += 4;
    m_frame_index_count += 6;
}

[[gnu::noinline]] void cGraphics::writeQuadIndicesOutOfStep(uint32_t base) {
    const uint32_t first = m_frame_index_count;
    writeOneQuadIndices(m_locked_indices + first, base);
    markIndicesOffPattern(first, first + 6);
}

void cGraphics::markIndicesOffPattern(uint32_t begin, uint32_t end) {
    if (m_indices_off_pattern_begin >= m_indices_off_pattern_end) {
        m_indices_off_pattern_begin = begin;
        m_indices_off_pattern_end = end;
        return;
    }
    m_indices_off_pattern_begin = std::min(m_indices_off_pattern_begin, begin);
    m_indices_off_pattern_end = std::max(m_indices_off_pattern_end, end);
}

[[gnu::noinline]] void cGraphics::writeGridQuad(const cDrawRecord& record) {
    const cRenderQuad& q = *record.quad;
    const uint32_t n = q.grid;
    const uint32_t k = n + 1;
    const uint64_t vertexCount64 = uint64_t(k) * k, indexCount64 = 6ull * n * n;
    if (vertexCount64 > 4ull * kMaxBufferSprites || indexCount64 > 6ull * kMaxBufferSprites) return;
    const uint32_t vertexCount = uint32_t(vertexCount64), indexCount = uint32_t(indexCount64);
    if (!makeRoom(vertexCount, indexCount)) return;

    const uint32_t base = m_frame_vertex_count;
    const uint32_t firstIndex = m_frame_index_count;
    const float z = stencilToDepth(q.stencilValue);
    const bool hasLayer[2] = {record.texture0 != nullptr, record.texture1 != nullptr};
    float uvScale[2][2] = {{1.0f, 1.0f}, {1.0f, 1.0f}};
    if (hasLayer[0]) std::memcpy(uvScale[0], record.texture0->getUvScale(), sizeof uvScale[0]);
    if (hasLayer[1]) std::memcpy(uvScale[1], record.texture1->getUvScale(), sizeof uvScale[1]);

    cSpriteVertex* out = reinterpret_cast<cSpriteVertex*>(m_locked_vertices) + base;
    cVector2 p[4];
    for (int c = 0; c < 4; ++c) p[c] = q.transformedCorner(c);
    float ch[4][4];   // corner, channel (a, r, g, b) in 0..1
    for (int c = 0; c < 4; ++c) {
        uint32_t col = q.vertices[c].color;
        ch[c][0] = float((col >> 24) & 0xFF) / 255.0f;
        ch[c][1] = float((col >> 16) & 0xFF) / 255.0f;
        ch[c][2] = float((col >> 8) & 0xFF) / 255.0f;
        ch[c][3] = float(col & 0xFF) / 255.0f;
    }
    const float fn = float(n);
    for (uint32_t i = 0; i <= n; ++i) {
        const float t = float(i) / fn;
        for (uint32_t j = 0; j <= n; ++j) {
            const float s = float(j) / fn;
            cSpriteVertex& v = out[i * k + j];
            v.x = p[0].x + (p[1].x - p[0].x) * s + (p[2].x - p[0].x) * t + (p[3].x - p[1].x - p[2].x + p[0].x) * s * t;
            v.y = p[0].y + (p[1].y - p[0].y) * s + (p[2].y - p[0].y) * t + (p[3].y - p[1].y - p[2].y + p[0].y) * s * t;
            v.x -= 0.5f;
            v.y -= 0.5f;
            v.z = z;
            const float w0 = (1.0f - s) * (1.0f - t), w1 = s * (1.0f - t), w2 = (1.0f - s) * t, w3 = s * t;
            uint32_t a = mixChannel(ch[0][0], ch[1][0], ch[2][0], ch[3][0], w0, w1, w2, w3);
            uint32_t r = mixChannel(ch[0][1], ch[1][1], ch[2][1], ch[3][1], w0, w1, w2, w3);
            uint32_t g = mixChannel(ch[0][2], ch[1][2], ch[2][2], ch[3][2], w0, w1, w2, w3);
            uint32_t b = mixChannel(ch[0][3], ch[1][3], ch[2][3], ch[3][3], w0, w1, w2, w3);
            v.color = a << 24 | r << 16 | g << 8 | b;
            if (hasLayer[0]) {
                const cRect& uv = q.uvRects[0];
                v.u0 = (uv.left + (uv.right - uv.left) * s) * uvScale[0][0] + 0.0001f;
                v.v0 = (uv.top + (uv.bottom - uv.top) * t) * uvScale[0][1] + 0.0001f;
            }
            if (hasLayer[1]) {
                const cRect& uv = q.uvRects[1];
                v.u1 = (uv.left + (uv.right - uv.left) * s) * uvScale[1][0] + 0.0001f;
                v.v1 = (uv.top + (uv.bottom - uv.top) * t) * uvScale[1][1] + 0.0001f;
            }
        }
    }
    uint16_t* idx = m_locked_indices + firstIndex;
    for (uint32_t i = 0; i < n; ++i) {
        for (uint32_t j = 0; j < n; ++j) {
            const uint32_t a = base + i * k + j, b = a + 1, c = a + k, d = c + 1;
            uint16_t* cell = idx + (i * n + j) * 6;
            cell[0] = uint16_t(a);
            cell[1] = uint16_t(c);
            cell[2] = uint16_t(b);
            cell[3] = uint16_t(b);
            cell[4] = uint16_t(c);
            cell[5] = uint16_t(d);
        }
    }
    // The quads after this one no longer meet the index entries of their vertices.
    m_indices_in_step = false;
    markIndicesOffPattern(firstIndex, firstIndex + indexCount);
    m_current.vertexCount += vertexCount;
    m_current.triangleCount += 2 * n * n;
    m_frame_vertex_count += vertexCount;
    m_frame_index_count += indexCount;
}

namespace {
template <typename T>
void appendBytes(std::vector<uint8_t>* out, const T& value) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    out->insert(out->end(), bytes, bytes + sizeof(T));
}
// Frames with more vertices than this are always drawn: comparing them would cost about as much
// as the batch itself, and such frames are busy scenes anyway.
constexpr unsigned kMaxComparedVertices = 4 * 2048;
}  // namespace

bool cGraphics::sameAsLastFrame() {
    std::vector<uint8_t>& sig = m_frame_signature;
    sig.clear();
    // Part of the frame already went to the device, or the batch cannot be read: it is drawn.
    bool comparable = m_skip_unchanged && !m_scene_started && m_locked_vertices && m_locked_indices &&
                      m_frame_vertex_count <= kMaxComparedVertices;
    for (const cRenderChunk& chunk : m_chunks) {
        if (!comparable) break;
        // Models and callbacks draw from what the renderer cannot see.
        if (chunk.model || chunk.modelInstance || chunk.beginDrawCallback || chunk.drawCallback) comparable = false;
    }
    if (!comparable) {
        m_last_frame.clear();
        return false;
    }
    cDevice* d = m_device.get();
    appendBytes(&sig, d->getContentGeneration());
    appendBytes(&sig, m_width);
    appendBytes(&sig, m_height);
    appendBytes(&sig, m_clear_color);
    appendBytes(&sig, m_depth_clear);
    appendBytes(&sig, m_fade);
    appendBytes(&sig, m_overlay_color);
    appendBytes(&sig, m_shader_matrix);
    // The states the frame does not set itself (drawing sets blending, depth, stencil, filters
    // and the second stage's colour) come from the device as it is now.
    for (uint32_t i = 0; i < uint32_t(RenderState::Count); ++i) {
        switch (RenderState(i)) {
        case RenderState::SrcBlend: case RenderState::DestBlend: case RenderState::AlphaBlendEnable:
        case RenderState::AlphaTestEnable: case RenderState::ZEnable: case RenderState::ZWriteEnable:
        case RenderState::ZFunc: case RenderState::StencilEnable: continue;
        default: appendBytes(&sig, d->getRenderState(RenderState(i)));
        }
    }
    for (uint32_t stage = 0; stage < kStageCount; ++stage)
        for (uint32_t i = 0; i < uint32_t(StageState::Count); ++i) {
            const StageState state = StageState(i);
            if (state == StageState::MagFilter || state == StageState::MinFilter) continue;
            if (stage == 1 && state == StageState::ColorOp) continue;
            appendBytes(&sig, d->getStageState(stage, state));
        }
    for (uint32_t i = 0; i < uint32_t(TransformKind::Count); ++i) appendBytes(&sig, d->getTransform(TransformKind(i)));
    appendBytes(&sig, uint32_t(m_chunks.size()));
    for (const cRenderChunk& chunk : m_chunks) {
        appendBytes(&sig, chunk.texture0);
        appendBytes(&sig, chunk.texture1);
        appendBytes(&sig, chunk.modelColor);
        appendBytes(&sig, chunk.firstIndex);
        appendBytes(&sig, chunk.triangleCount);
        appendBytes(&sig, chunk.vertexCount);
        appendBytes(&sig, chunk.renderFlags);
        appendBytes(&sig, chunk.firstVertex);
        appendBytes(&sig, chunk.shaderHandle);
        if (!chunk.shaderHandle || !chunk.shaderConstants) continue;
        for (const cShaderConstant& c : *static_cast<const cShaderConstantList*>(chunk.shaderConstants)) {
            appendBytes(&sig, c.startRegister);
            appendBytes(&sig, c.count);
            if (c.values) {
                const auto* bytes = reinterpret_cast<const uint8_t*>(c.values);
                sig.insert(sig.end(), bytes, bytes + size_t(c.count) * 4 * sizeof(float));
            }
        }
    }
    sig.insert(sig.end(), m_locked_vertices, m_locked_vertices + size_t(m_frame_vertex_count) * 32);
    const auto* indices = reinterpret_cast<const uint8_t*>(m_locked_indices);
    sig.insert(sig.end(), indices, indices + size_t(m_frame_index_count) * 2);
    if (sig == m_last_frame) return true;
    m_last_frame.swap(sig);
    return false;
}

void cGraphics::renderChunks() {
    cDevice* d = m_device.get();
    d->setTexture(0, nullptr);
    d->setTexture(1, nullptr);
    cDeviceTexture* stageTexture[2] = {nullptr, nullptr};
    for (const cRenderChunk& chunk : m_chunks) {
        const uint32_t flags = chunk.renderFlags;
        if (flags & (RF_OVERLAY | RF_OVERLAY_LESS_1)) {
            d->setRenderState(RenderState::SrcBlend, BLEND_DESTCOLOR);
            d->setRenderState(RenderState::DestBlend, BLEND_SRCALPHA);
        } else {
            d->setRenderState(RenderState::SrcBlend, BLEND_SRCALPHA);
            d->setRenderState(RenderState::DestBlend, BLEND_INVSRCALPHA);
        }
        const uint32_t blend = (flags & RF_ALPHALESS) ? 0 : 1;
        d->setRenderState(RenderState::AlphaBlendEnable, blend);
        d->setRenderState(RenderState::AlphaTestEnable, blend);
        if (flags & RF_USE_STENCIL) {
            d->setRenderState(RenderState::ZEnable, 1);
            d->setRenderState(RenderState::ZWriteEnable, 0);
            d->setRenderState(RenderState::ZFunc, CMP_EQUAL);
        }
        if (flags & RF_WRITE_TO_STENCIL) {
            d->setRenderState(RenderState::ZEnable, 1);
            d->setRenderState(RenderState::ZWriteEnable, 1);
            d->setRenderState(RenderState::ZFunc, CMP_ALWAYS);
        }
        if (!(flags & (RF_USE_STENCIL | RF_WRITE_TO_STENCIL))) {
            if (chunk.modelInstance) {
                d->setRenderState(RenderState::ZEnable, 1);
                d->setRenderState(RenderState::ZWriteEnable, 1);
                d->setRenderState(RenderState::ZFunc, CMP_GREATEREQUAL);
            } else {
                d->setRenderState(RenderState::ZEnable, 0);
                d->setRenderState(RenderState::ZWriteEnable, 0);
            }
        }
        cDeviceTexture* textures[2] = {chunk.texture0, chunk.texture1};
        const uint32_t filter = (flags & RF_USE_FILTERING) ? TEXF_LINEAR : TEXF_POINT;
        for (uint32_t stage = 0; stage < 2; ++stage) {
            if (!textures[stage]) continue;
            d->setStageState(stage, StageState::MagFilter, filter);
            d->setStageState(stage, StageState::MinFilter, filter);
        }
        if (chunk.shaderHandle) {
            d->setVertexShader(chunk.shaderHandle);
            d->setVertexShaderConstant(0, &m_shader_matrix.m[0][0], 4);
            if (chunk.shaderConstants) {
                for (const cShaderConstant& c : *static_cast<const cShaderConstantList*>(chunk.shaderConstants))
                    d->setVertexShaderConstant(c.startRegister, c.values, c.count);
            }
        } else {
            d->setVertexFormat(kSpriteVertexFormat);
        }
        for (uint32_t stage = 0; stage < 2; ++stage) {
            if (textures[stage] != stageTexture[stage]) {
                d->setTexture(stage, textures[stage]);
                stageTexture[stage] = textures[stage];
            }
        }
        d->setStageState(1, StageState::ColorOp, chunk.texture1 ? TOP_MODULATE : TOP_DISABLE);
        if (chunk.beginDrawCallback) chunk.beginDrawCallback(d);
        if (chunk.drawCallback) {
            chunk.drawCallback(d);
        } else if (chunk.model && chunk.modelInstance) {
            drawMesh(chunk);
        } else if (chunk.triangleCount) {
            d->setIndices(m_index_buffer, 0);
            d->setStreamSource(0, m_vertex_buffer, 32);
            d->drawIndexedPrimitive(PrimitiveType::TriangleList, chunk.firstVertex, chunk.vertexCount, chunk.firstIndex,
                                    chunk.triangleCount);
            m_triangle_count += chunk.triangleCount;
        }
        if (chunk.beginDrawCallback) d->applyStateBlock(m_state_block);
        ++m_chunks_drawn;
    }
}

void cGraphics::drawMesh(const cRenderChunk& chunk) {
    cDevice* d = m_device.get();
    DeviceMatrix world;
    std::vector<MeshDrawPart>& parts = m_mesh_parts;   // kept between frames: no list allocated per model
    parts.clear();
    bool any = s_mesh_query && s_mesh_query(chunk.modelInstance, &world, &parts);
    d->setTransform(TransformKind::World, world);
    const bool colored = chunk.modelColor != 0xFFFFFFFFu;
    if (colored) {
        d->setRenderState(RenderState::TextureFactor, chunk.modelColor);
        d->setStageState(0, StageState::AlphaArg2, TA_TFACTOR);
        d->setStageState(0, StageState::ColorArg2, TA_TFACTOR);
    }
    if (any) {
        for (MeshDrawPart& part : parts) {
            d->setVertexFormat(part.vertexFormat);
            for (const MeshAttributeRange& range : part.ranges) {
                d->setIndices(part.indices, 0);
                d->setStreamSource(0, part.vertices, vertexFormatSize(part.vertexFormat));
                d->drawIndexedPrimitive(PrimitiveType::TriangleList, range.vertexStart, range.vertexCount,
                                        range.faceStart * 3, range.faceCount);
            }
        }
    }
    for (MeshDrawPart& part : parts) {
        if (part.vertices) part.vertices->release();
        if (part.indices) part.indices->release();
    }
    parts.clear();
    if (colored) {
        d->setStageState(0, StageState::AlphaArg2, TA_DIFFUSE);
        d->setStageState(0, StageState::ColorArg2, TA_DIFFUSE);
    }
    d->setVertexFormat(kSpriteVertexFormat);
    d->setTransform(TransformKind::World, m_identity);
}

// ---- The factory ---------------------------------------------------------------------------

int32_t cGraphics::loadModel(const void* data, const uint32_t* size, cModelLoadRecord* record) {
    if (!s_model_loader) return DEVERR_NOTAVAILABLE;
    return s_model_loader(m_device.get(), data, size ? *size : 0, record);
}

int32_t cGraphics::createVertexShader(const void* code, const uint32_t* size, uint32_t* handle) {
    if (!handle) return DEVERR_INVALIDCALL;
    *handle = 0;
    if (!code || !size || *size < 8 || *size % 4 != 0) return DEVERR_INVALIDDATA;
    std::vector<uint32_t> tokens(*size / 4);
    std::memcpy(tokens.data(), code, tokens.size() * 4);
    uint32_t usage = m_vertex_shader_version == 0 ? uint32_t(USAGE_SOFTWAREPROCESSING) : 0u;
    return m_device->createVertexShader(tokens.data(), tokens.size(), usage, handle);
}

int32_t cGraphics::createTexture(const void* data, const uint32_t* size, cDeviceTexture** texture, MemoryPool pool,
                                 ImageInfo* info) {
    static const char* kExpression = "D3DXCreateTextureFromFileInMemoryEx(...)";
    if (!texture) throwDxError(DEVERR_INVALIDCALL, kExpression);
    *texture = nullptr;
    cImage image;
    try {
        image = decodeImage(data, size ? *size : 0);
    } catch (const std::string& reason) {
        throwDxError(DEVERR_INVALIDDATA, cStringA(kExpression) + " [" + reason + "]");
    }
    int32_t r = m_device->createTexture(image.width, image.height, pool, texture);
    if (devFailed(r)) {
        *texture = nullptr;
        throwDxError(r, kExpression);
    }
    // A device that pads textures gets the image in the top-left corner, transparent around it.
    const uint32_t tw = (*texture)->getWidth(), th = (*texture)->getHeight();
    if (tw != image.width || th != image.height) {
        if (tw < image.width || th < image.height) {
            (*texture)->release();
            *texture = nullptr;
            throwDxError(DEVERR_INVALIDCALL, kExpression);
        }
        std::vector<uint32_t> padded(size_t(tw) * th, 0);
        for (uint32_t y = 0; y < image.height; ++y)
            std::memcpy(&padded[size_t(y) * tw], &image.pixels[size_t(y) * image.width], size_t(image.width) * 4);
        image.pixels.swap(padded);
    }
    r = (*texture)->upload(image.pixels.data());
    if (devFailed(r)) {
        (*texture)->release();
        *texture = nullptr;
        throwDxError(r, kExpression);
    }
    if (info) {
        info->width = image.width;
        info->height = image.height;
        info->fileFormat = image.fileFormat;
    }
    return DEV_OK;
}

int32_t cGraphics::deleteVertexShader(const uint32_t* handle) {
    if (!handle) return DEVERR_INVALIDCALL;
    return m_device->deleteVertexShader(*handle);
}
