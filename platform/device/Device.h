#pragma once
// Our 3D device: the small set of operations the renderer, the sprite batch, the models and the
// draw callbacks of sprites use. The conventions are those of the renderer, not of OpenGL:
// - row-vector matrices (a point is transformed as p * world * view * projection), y downwards,
//   one unit one back-buffer pixel with the projection the renderer sets;
// - clip-space depth runs from 0 (near) to 1 (far); pixel centres lie on integer coordinates;
// - colours are 32-bit 0xAARRGGBB words.
// Implementations: the OpenGL 3.3 device (on an SDL window's context, or on an EGL surfaceless
// context for headless runs, with pixel read-back) and the recording device of the unit tests.
//
// Results are int32_t codes: 0 success, negative values failures (see DeviceResult);
// dxErrorName (engine/media/cGraphics.h) gives each code's name.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
struct Window;
}

// ---- Results --------------------------------------------------------------------------
enum DeviceResult : int32_t {
    DEV_OK = 0,
    DEV_FALSE = 1,                       // success, but nothing was done
    DEVERR_DEVICELOST = -100,            // the device is lost and cannot be reset yet
    DEVERR_DEVICENOTRESET = -101,        // the device is lost and can be reset now
    DEVERR_INVALIDCALL = -102,           // bad arguments or a call in the wrong state
    DEVERR_OUTOFVIDEOMEMORY = -103,
    DEVERR_NOTAVAILABLE = -104,          // the driver lacks a needed feature
    DEVERR_INVALIDDATA = -105,           // an image or shader that cannot be read
    DEVERR_UNSUPPORTEDFORMAT = -106,     // a well-formed image of a kind we do not read
    DEVERR_CONTEXTFAILED = -107,         // no OpenGL 3.3 context could be made
    DEVERR_SHADERCOMPILE = -108,         // the translated shader was refused by the driver
    DEVERR_OUTOFMEMORY = -109,
    // Results of the input layer, named by the same table.
    INPERR_INPUTLOST = -200,             // the input device was taken away (focus lost)
    INPERR_NOTACQUIRED = -201,           // the input device is not acquired
    INPERR_BUFFEROVERFLOW = -202,        // events were dropped from the buffer
};
inline bool devFailed(int32_t result) { return result < 0; }

// ---- States ---------------------------------------------------------------------------
enum class RenderState : uint32_t {
    AlphaBlendEnable, AlphaTestEnable, SrcBlend, DestBlend, BlendOp, AlphaFunc, AlphaRef,
    Lighting, CullMode, ZEnable, ZWriteEnable, ZFunc, FillMode, StencilEnable, TextureFactor,
    Count
};
enum BlendFactor : uint32_t {
    BLEND_ZERO = 1, BLEND_ONE, BLEND_SRCCOLOR, BLEND_INVSRCCOLOR, BLEND_SRCALPHA, BLEND_INVSRCALPHA,
    BLEND_DESTALPHA, BLEND_INVDESTALPHA, BLEND_DESTCOLOR, BLEND_INVDESTCOLOR
};
enum BlendOperation : uint32_t { BLENDOP_ADD = 1, BLENDOP_SUBTRACT, BLENDOP_REVSUBTRACT, BLENDOP_MIN, BLENDOP_MAX };
enum CompareFunc : uint32_t {
    CMP_NEVER = 1, CMP_LESS, CMP_EQUAL, CMP_LESSEQUAL, CMP_GREATER, CMP_NOTEQUAL, CMP_GREATEREQUAL, CMP_ALWAYS
};
enum CullMode : uint32_t { CULL_NONE = 1, CULL_CW, CULL_CCW };
enum FillMode : uint32_t { FILL_POINT = 1, FILL_WIREFRAME, FILL_SOLID };

enum class StageState : uint32_t {
    ColorOp, ColorArg1, ColorArg2, AlphaOp, AlphaArg1, AlphaArg2, TexCoordIndex,
    AddressU, AddressV, MagFilter, MinFilter,
    Count
};
enum TextureOp : uint32_t {
    TOP_DISABLE = 1, TOP_SELECTARG1, TOP_SELECTARG2, TOP_MODULATE, TOP_MODULATE2X, TOP_ADD,
    TOP_BLENDTEXTUREALPHA, TOP_BLENDDIFFUSEALPHA
};
enum TextureArg : uint32_t { TA_DIFFUSE = 0, TA_CURRENT = 1, TA_TEXTURE = 2, TA_TFACTOR = 3 };
enum TextureAddress : uint32_t { TADDRESS_WRAP = 1, TADDRESS_MIRROR, TADDRESS_CLAMP };
enum TextureFilter : uint32_t { TEXF_NONE = 0, TEXF_POINT = 1, TEXF_LINEAR = 2 };

constexpr unsigned kStageCount = 2;

enum class TransformKind : uint32_t { World, View, Projection, Count };

// Row-major 4x4 matrix applied to row vectors.
struct DeviceMatrix {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    static DeviceMatrix identity() { return DeviceMatrix(); }
    bool operator==(const DeviceMatrix&) const = default;
};

struct DeviceColorValue { float r = 0, g = 0, b = 0, a = 0; bool operator==(const DeviceColorValue&) const = default; };
struct DeviceMaterial {
    DeviceColorValue diffuse, ambient, specular, emissive;
    float power = 0;
    bool operator==(const DeviceMaterial&) const = default;
};
struct DeviceLight {
    DeviceColorValue diffuse, specular, ambient;
    float direction[3] = {0, 0, 1};
    float range = 0;
};

// ---- Vertex formats -------------------------------------------------------------------
// A fixed-function vertex is described by these bits; the fields follow each other in this
// order: position (3 floats), normal (3 floats), diffuse colour (0xAARRGGBB), then the texture
// coordinate pairs (2 floats each).
enum VertexFormatBits : uint32_t {
    VF_POSITION = 0x002,
    VF_NORMAL = 0x010,
    VF_DIFFUSE = 0x040,
    VF_TEXCOUNT_SHIFT = 8,
    VF_TEX1 = 0x100,
    VF_TEX2 = 0x200,
};
constexpr uint32_t kSpriteVertexFormat = VF_POSITION | VF_DIFFUSE | VF_TEX2;  // 32 bytes
constexpr uint32_t kFadeVertexFormat = VF_POSITION | VF_DIFFUSE;              // 16 bytes
inline uint32_t vertexFormatTexCount(uint32_t format) { return (format >> VF_TEXCOUNT_SHIFT) & 0xF; }
// Bytes of one vertex of the format.
inline uint32_t vertexFormatSize(uint32_t format) {
    uint32_t size = 0;
    if (format & VF_POSITION) size += 12;
    if (format & VF_NORMAL) size += 12;
    if (format & VF_DIFFUSE) size += 4;
    size += 8 * vertexFormatTexCount(format);
    return size;
}

enum class PrimitiveType : uint32_t { PointList = 1, LineList, LineStrip, TriangleList, TriangleStrip, TriangleFan };
enum class IndexFormat : uint32_t { Index16, Index32 };
enum class MemoryPool : uint32_t { Default, Managed, SystemMem };

enum UsageBits : uint32_t { USAGE_WRITEONLY = 0x8, USAGE_DYNAMIC = 0x200, USAGE_SOFTWAREPROCESSING = 0x10 };
enum LockBits : uint32_t { LOCK_DISCARD = 0x2000, LOCK_NOOVERWRITE = 0x1000, LOCK_READONLY = 0x10 };
enum ClearBits : uint32_t { CLEAR_TARGET = 1, CLEAR_ZBUFFER = 2, CLEAR_STENCIL = 4 };

// ---- Device objects -------------------------------------------------------------------
// Reference counted like the original's device objects: created with one reference; release()
// drops one and deletes the object at zero.
class cDeviceObject {
public:
    virtual ~cDeviceObject() = default;
    void addRef() { ++m_refs; }
    unsigned release() {
        unsigned left = --m_refs;
        if (left == 0) delete this;
        return left;
    }
    unsigned refCount() const { return m_refs; }

private:
    unsigned m_refs = 1;
};

class cVertexBuffer : public cDeviceObject {
public:
    virtual uint32_t getSize() const = 0;        // bytes
    virtual uint32_t getFormat() const = 0;      // vertex format bits given at creation
    virtual MemoryPool getPool() const = 0;
    // Maps [offset, offset + size) (size 0: to the end); the memory stays valid until unlock.
    virtual int32_t lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) = 0;
    virtual int32_t unlock() = 0;
};

class cIndexBuffer : public cDeviceObject {
public:
    virtual uint32_t getSize() const = 0;
    virtual IndexFormat getFormat() const = 0;
    virtual MemoryPool getPool() const = 0;
    virtual int32_t lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) = 0;
    virtual int32_t unlock() = 0;
};

// A 2D texture of 32-bit 0xAARRGGBB texels (one level: the renderer never samples mip levels).
class cDeviceTexture : public cDeviceObject {
public:
    virtual uint32_t getWidth() const = 0;
    virtual uint32_t getHeight() const = 0;
    // Replaces all texels; rows top first, width * height words.
    virtual int32_t upload(const uint32_t* argb) = 0;
};

// ---- Presentation ---------------------------------------------------------------------
enum class BackBufferFormat : uint32_t { Unknown, R5G6B5, X8R8G8B8 };
enum class DepthFormat : uint32_t { D16, D24, D32 };

struct PresentParams {
    uint32_t width = 800;
    uint32_t height = 600;
    BackBufferFormat format = BackBufferFormat::X8R8G8B8;
    DepthFormat depthFormat = DepthFormat::D32;
    bool windowed = true;
    bool vsync = false;      // wait for the vertical retrace when presenting
};

struct DeviceCaps {
    uint32_t vertexShaderVersion = 0x0101;   // major << 8 | minor
    uint32_t maxTextureWidth = 4096;
    uint32_t maxTextureHeight = 4096;
    uint32_t maxVertexShaderConsts = 96;
    uint64_t videoMemoryBytes = 0;           // 0: unknown
};

// ---- The device -----------------------------------------------------------------------
class cDevice {
public:
    virtual ~cDevice() = default;

    virtual const char* getName() const = 0;
    virtual DeviceCaps getCaps() const = 0;
    virtual const PresentParams& getPresentParams() const = 0;

    // Resources.
    virtual int32_t createVertexBuffer(uint32_t bytes, uint32_t usage, uint32_t format, MemoryPool pool,
                                       cVertexBuffer** out) = 0;
    virtual int32_t createIndexBuffer(uint32_t bytes, uint32_t usage, IndexFormat format, MemoryPool pool,
                                      cIndexBuffer** out) = 0;
    virtual int32_t createTexture(uint32_t width, uint32_t height, MemoryPool pool, cDeviceTexture** out) = 0;
    // tokens: a compiled vertex shader (version 1.x token stream) for the sprite vertex layout:
    // v0 position, v5 colour, v7 first and v8 second texture coordinates.
    virtual int32_t createVertexShader(const uint32_t* tokens, size_t tokenCount, uint32_t usage,
                                       uint32_t* handle) = 0;
    virtual int32_t deleteVertexShader(uint32_t handle) = 0;

    // States.
    virtual int32_t setRenderState(RenderState state, uint32_t value) = 0;
    virtual uint32_t getRenderState(RenderState state) const = 0;
    virtual int32_t setStageState(uint32_t stage, StageState state, uint32_t value) = 0;
    virtual uint32_t getStageState(uint32_t stage, StageState state) const = 0;
    virtual int32_t setTexture(uint32_t stage, cDeviceTexture* texture) = 0;
    virtual cDeviceTexture* getTexture(uint32_t stage) const = 0;
    virtual int32_t setTransform(TransformKind kind, const DeviceMatrix& matrix) = 0;
    virtual const DeviceMatrix& getTransform(TransformKind kind) const = 0;
    virtual int32_t setMaterial(const DeviceMaterial& material) = 0;
    virtual int32_t setLight(uint32_t index, const DeviceLight& light) = 0;

    // Vertex processing: either the fixed path with a vertex format, or a vertex shader.
    virtual int32_t setVertexFormat(uint32_t format) = 0;     // selects the fixed path
    virtual int32_t setVertexShader(uint32_t handle) = 0;     // 0: the fixed path again
    virtual uint32_t getVertexShader() const = 0;             // 0 on the fixed path
    virtual int32_t setVertexShaderConstant(uint32_t reg, const float* values, uint32_t count) = 0;

    // State blocks: between begin and end the state calls are recorded, not applied.
    virtual int32_t beginStateBlock() = 0;
    virtual int32_t endStateBlock(uint32_t* token) = 0;
    virtual int32_t applyStateBlock(uint32_t token) = 0;
    virtual int32_t deleteStateBlock(uint32_t token) = 0;

    // Drawing.
    virtual int32_t setStreamSource(uint32_t stream, cVertexBuffer* buffer, uint32_t stride) = 0;
    virtual int32_t setIndices(cIndexBuffer* buffer, uint32_t baseVertex) = 0;
    virtual int32_t drawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) = 0;
    virtual int32_t drawIndexedPrimitive(PrimitiveType type, uint32_t minIndex, uint32_t vertexCount,
                                         uint32_t startIndex, uint32_t primitiveCount) = 0;
    // Draws vertices from caller memory (stream 0 is unbound afterwards).
    virtual int32_t drawPrimitiveUp(PrimitiveType type, uint32_t primitiveCount, const void* vertices,
                                    uint32_t stride) = 0;
    virtual int32_t clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) = 0;
    virtual int32_t beginScene() = 0;
    virtual int32_t endScene() = 0;

    // Presentation and loss.
    virtual int32_t present() = 0;
    virtual int32_t testCooperativeLevel() = 0;            // DEV_OK, DEVERR_DEVICELOST or DEVERR_DEVICENOTRESET
    virtual int32_t reset(const PresentParams& params) = 0;
    // A number that changes whenever something a frame draws from may have changed behind the
    // caller's back: a texture made or its texels replaced, a vertex shader made or deleted, the
    // device reset. Equal numbers before two frames mean those objects are as they were.
    virtual uint64_t getContentGeneration() const = 0;

    // The back buffer as it is now (after endFrame: the frame waiting to be presented), rows top
    // first, 0xAARRGGBB with alpha 0xFF. Devices without pixels return DEVERR_NOTAVAILABLE.
    virtual int32_t readBackBuffer(std::vector<uint32_t>* pixels, uint32_t* width, uint32_t* height) = 0;
};

// Number of primitives -> number of vertices they use.
inline uint32_t primitiveVertexCount(PrimitiveType type, uint32_t count) {
    switch (type) {
    case PrimitiveType::PointList: return count;
    case PrimitiveType::LineList: return count * 2;
    case PrimitiveType::LineStrip: return count ? count + 1 : 0;
    case PrimitiveType::TriangleList: return count * 3;
    case PrimitiveType::TriangleStrip:
    case PrimitiveType::TriangleFan: return count ? count + 2 : 0;
    }
    return 0;
}

// ---- Creating devices -----------------------------------------------------------------
// OpenGL 3.3 core on the game window (platform::window()). The
// frame is drawn into an offscreen framebuffer of the back-buffer size and copied to the window
// by present (letterboxed when the window's size differs). On failure returns null and sets
// *result.
std::unique_ptr<cDevice> createGlWindowDevice(platform::Window* window, const PresentParams& params, int32_t* result);
// OpenGL without a window: an EGL surfaceless context on Mesa. present only flushes; the frame
// stays for readBackBuffer.
std::unique_ptr<cDevice> createGlHeadlessDevice(const PresentParams& params, int32_t* result);
// True when an OpenGL 3.3 context can be made: EGL surfaceless, else a hidden SDL window of the
// current video driver.
bool canCreateGlContext();
