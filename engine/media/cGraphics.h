#pragma once
// The renderer: owns the 3D device of the game window and what lives directly on it - the
// presentation derived from the "Graphics" settings, the dynamic vertex and index buffers of
// the sprite batch, the standard render states (recorded once in a state block), the
// orthographic projection (one unit = one back-buffer pixel, y down), the fade quad, the debug
// overlay, and the recovery of a lost device.
//
// A frame: beginFrame presents the previous frame and locks the buffers; drawSprite batches each
// visible sprite; endFrame clears, draws the chunks, the fade quad and the overlay. The frame is
// presented at the start of the next one.
//
// cGraphicsFactory is the narrow face through which resources create device objects; its
// instance is the cGraphics instance.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"
#include "platform/device/Device.h"

namespace platform {
struct Window;
}
struct cDrawRecord;
class cModel;
class cModelInstance;
struct cModelLoadRecord;   // the model loader's record (models)
class cDebugOverlay;

// What the image decoder found out about an image.
struct ImageInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t fileFormat = 0;   // 0 DDS, 1 PNG, 2 BMP
};

class cGraphicsFactory : public cSingleton<cGraphicsFactory> {
public:
    ~cGraphicsFactory() override = default;
    // Builds a model from .x file data through the loader installed with setModelLoader;
    // DEVERR_NOTAVAILABLE without one.
    virtual int32_t loadModel(const void* data, const uint32_t* size, cModelLoadRecord* record) = 0;
    // Creates a device vertex shader from a version 1.x token stream; *handle 0 on failure.
    virtual int32_t createVertexShader(const void* code, const uint32_t* size, uint32_t* handle) = 0;
    // Decodes a DDS, PNG or BMP image in memory into a new device texture of the image's size.
    // Throws the device error text (throwDxError) when the image cannot be read.
    virtual int32_t createTexture(const void* data, const uint32_t* size, cDeviceTexture** texture, MemoryPool pool,
                                  ImageInfo* info) = 0;
    virtual int32_t deleteVertexShader(const uint32_t* handle) = 0;
};
cGraphicsFactory* getGraphicsFactory();

// One part of a model instance as the renderer draws it: a mesh's buffers and its attribute
// ranges, drawn with the mesh's vertex format.
struct MeshAttributeRange {
    uint32_t attributeId = 0;
    uint32_t faceStart = 0;
    uint32_t faceCount = 0;
    uint32_t vertexStart = 0;
    uint32_t vertexCount = 0;
};
struct MeshDrawPart {
    uint32_t vertexFormat = 0;
    cVertexBuffer* vertices = nullptr;
    cIndexBuffer* indices = nullptr;
    std::vector<MeshAttributeRange> ranges;
};
// Installed by the model code: fills the instance's world matrix and its drawable parts
// (bone-matrix sets that have a mesh, in order). Returns false when there is nothing to draw.
using MeshPartsQuery = bool (*)(cModelInstance* instance, DeviceMatrix* world, std::vector<MeshDrawPart>* parts);
using ModelLoader = int32_t (*)(cDevice* device, const void* data, uint32_t size, cModelLoadRecord* record);
// Installed by the core: the timer's frame rate and the cursor position for the overlay.
using FpsSource = float (*)();
using CursorSource = void (*)(float* x, float* y);

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// One batched run of sprites that share their state.
struct cRenderChunk {
    cDeviceTexture* texture0 = nullptr;
    cDeviceTexture* texture1 = nullptr;
    cModel* model = nullptr;
    cModelInstance* modelInstance = nullptr;
    uint32_t modelColor = 0;
    void (*beginDrawCallback)(cDevice*) = nullptr;
    void (*drawCallback)(cDevice*) = nullptr;
    uint32_t firstIndex = 0;
    uint32_t triangleCount = 0;
    uint32_t vertexCount = 0;
    uint32_t renderFlags = 0;
    uint32_t firstVertex = 0;
    uint32_t shaderHandle = 0;
    const void* shaderConstants = nullptr;   // the quad's cShaderConstantList

    bool holdsSomething() const { return triangleCount != 0 || model != nullptr || drawCallback != nullptr; }
};

class cGraphics : public cSingleton<cGraphics>, public cGraphicsFactory {
public:
    // Builds the device on the game window (platform::window(); null: a headless device without
    // a window). Logs its steps on the channel "game"; throws a text when the device cannot be
    // made.
    explicit cGraphics(platform::Window* window);
    // The same on a device made by the caller (tests: the recording device).
    cGraphics(platform::Window* window, std::unique_ptr<cDevice> device);
    ~cGraphics() override;

    virtual void beginFrame();
    virtual void endFrame();
    virtual cDevice* getDevice() { return m_device.get(); }
    virtual unsigned getHeight() { return m_height; }
    virtual unsigned getWidth() { return m_width; }
    virtual void requestReset(bool reset) { m_reset_requested = reset; }
    virtual bool isResetRequested() { return m_reset_requested; }
    virtual unsigned getReservedSpriteCount() { return m_reserved_sprite_count; }
    // Recreates the sprite buffers for n sprites; returns the vertex-buffer creation's result.
    virtual int32_t setReservedSpriteCount(unsigned n);
    virtual void drawSprite(const cDrawRecord& record);
    // Appends the text and "\n" to this frame's overlay lines when show_custom_info is on.
    virtual void addCustomInfo(const cStringW& text);
    // Desktop coordinates -> back-buffer pixels of the window's client area. Throws the wide
    // text "GetWindowInfo operation failure." without a window.
    virtual void screenToClient(ScreenPoint* point);
    virtual void setWireframe(bool wireframe);
    virtual float getFade() { return m_fade; }
    // Stores v clamped to 0..255: 255 shows the scene, 0 covers it with black. Not a number
    // leaves the fade unchanged.
    virtual void setFade(float v);
    virtual bool isFullscreen() { return m_fullscreen; }
    // True when the desktop is wider than 800 pixels.
    virtual bool canRunWindowed() { return m_desktop_width > 800; }
    virtual platform::Window* getWindow() { return m_window; }

    // cGraphicsFactory
    int32_t loadModel(const void* data, const uint32_t* size, cModelLoadRecord* record) override;
    int32_t createVertexShader(const void* code, const uint32_t* size, uint32_t* handle) override;
    int32_t createTexture(const void* data, const uint32_t* size, cDeviceTexture** texture, MemoryPool pool,
                          ImageInfo* info) override;
    int32_t deleteVertexShader(const uint32_t* handle) override;

    // ---- Hooks installed by other parts of the program ----
    // Each setter returns the hook it replaced (tests restore it).
    static MeshPartsQuery setMeshPartsQuery(MeshPartsQuery query);
    static void setModelLoader(ModelLoader loader);
    static void setFpsSource(FpsSource source);
    static void setCursorSource(CursorSource source);
    // Tests: pretend the desktop has this width (0: ask the platform).
    static void setDesktopWidthOverride(int width);

    // ---- Statistics and inspection (overlay, tests) ----
    const std::vector<cRenderChunk>& getChunks() const { return m_chunks; }
    unsigned getLastChunkCount() const { return m_last_chunk_count; }
    unsigned getLastTriangleCount() const { return m_last_triangle_count; }
    // The overlay text drawn by the last endFrame.
    const std::wstring& getLastOverlayText() const { return m_last_overlay_text; }
    bool isFrameBegun() const { return m_frame_begun; }
    bool isPresentPending() const { return m_present_pending; }
    uint32_t getStandardStateBlock() const { return m_state_block; }
    const DeviceMatrix& getProjection() const { return m_projection; }
    const DeviceMatrix& getShaderMatrix() const { return m_shader_matrix; }
    unsigned getVertexCapacity() const { return m_vertex_capacity; }
    unsigned getIndexCapacity() const { return m_index_capacity; }
    float getDepthClearValue() const { return m_depth_clear; }
    // The 16-byte vertices of the fade quad as last written.
    struct FadeVertex { float x, y, z; uint32_t color; };
    const FadeVertex* getFadeVertices() const { return m_fade_vertices; }
    // A frame whose records (textures, vertices, colours, states, shader constants, in order), fade,
    // overlay text and device objects are those of the frame before is not drawn again: the render
    // target still holds that picture, and it is presented as usual. Frames with models or draw
    // callbacks are always drawn. On by default; benchmarks of the batch turn it off.
    void setSkipUnchangedFrames(bool on) {
        m_skip_unchanged = on;
        m_last_frame.clear();
    }
    bool wasLastFrameSkipped() const { return m_last_frame_skipped; }
    // Reads the back buffer of the last frame (headless pixel tests).
    int32_t readBackBuffer(std::vector<uint32_t>* pixels, uint32_t* width, uint32_t* height) {
        return m_device->readBackBuffer(pixels, width, height);
    }

private:
    void construct();
    void readSettings();
    void writeSettings();
    void selectFormats();
    void preparePresentation();
    int32_t createBuffers(unsigned n);
    void releaseBuffers();
    void createFadeBuffer();
    void setupRenderStates();
    void createSystemFont();
    void releaseSystemFont();
    void updateFadeQuad();
    // False when the device stayed lost: the reset is tried again at the next frame.
    bool resetDevice();
    // Clears and begins the scene once per frame (before the first chunks are drawn).
    void startScene();
    bool lockBuffers();
    void unlockBuffers();
    // The batch.
    void startChunk(const cDrawRecord& record);
    void takeState(cRenderChunk& chunk, const cDrawRecord& record);
    bool sameState(const cRenderChunk& chunk, const cDrawRecord& record) const;
    bool makeRoom(uint32_t vertices, uint32_t indices);
    void flushBatch();
    void writeQuad(const cDrawRecord& record);
    void writeGridQuad(const cDrawRecord& record);   // a quad of more than one cell
    void writeQuadIndicesOutOfStep(uint32_t base);    // a one-cell quad's indices after a grid quad
    void markIndicesOffPattern(uint32_t begin, uint32_t end);
    void renderChunks();
    // True when this frame draws what the last drawn or skipped frame drew; otherwise keeps this
    // frame's signature for the next. Reads the written vertices: call before unlocking.
    bool sameAsLastFrame();
    void drawMesh(const cRenderChunk& chunk);
    void drawFade();
    // This frame's overlay lines into *text.
    void buildOverlayText(std::wstring* text);

    platform::Window* m_window = nullptr;
    std::unique_ptr<cDevice> m_device;
    DeviceMatrix m_projection;
    DeviceMatrix m_identity;
    DeviceMatrix m_shader_matrix;
    unsigned m_width = 800;
    unsigned m_height = 600;
    unsigned m_refresh_rate = 0;
    unsigned m_v_sync = 0;
    unsigned m_color_depth = 1;
    unsigned m_vertex_shader_version = 0;
    bool m_reset_requested = false;
    PresentParams m_present;
    bool m_fullscreen = false;
    bool m_present_pending = false;
    bool m_frame_begun = false;
    uint32_t m_clear_color = 0xFF000000u;
    float m_near_z = -32752.0f;
    float m_far_z = 15000.0f;
    float m_depth_clear = 0.62824595f;
    float m_fade = 255.0f;
    bool m_fade_stale = true;
    DeviceMaterial m_material;
    cIndexBuffer* m_index_buffer = nullptr;
    cVertexBuffer* m_vertex_buffer = nullptr;
    cVertexBuffer* m_fade_buffer = nullptr;
    FadeVertex m_fade_vertices[4] = {};
    unsigned m_reserved_sprite_count = 1024;
    unsigned m_vertex_capacity = 0;
    unsigned m_index_capacity = 0;
    uint8_t* m_locked_vertices = nullptr;
    uint16_t* m_locked_indices = nullptr;
    // The index buffer holds quad i's indices at entries 6i..6i+5 except in this range, which
    // the next lock restores; while m_indices_in_step, the frame's one-cell quads sit on their
    // own entries and write no indices.
    uint32_t m_indices_off_pattern_begin = 0;
    uint32_t m_indices_off_pattern_end = 0;
    bool m_indices_in_step = true;
    cRenderChunk m_current;
    std::vector<cRenderChunk> m_chunks;
    unsigned m_frame_vertex_count = 0;
    unsigned m_frame_index_count = 0;
    unsigned m_chunks_drawn = 0;
    bool m_scene_started = false;
    unsigned m_grow_to = 0;                 // sprites to reserve at the next frame after an overflow
    std::vector<MeshDrawPart> m_mesh_parts;   // drawMesh's parts list
    std::unique_ptr<cDebugOverlay> m_overlay;
    std::wstring m_custom_info;
    unsigned m_triangle_count = 0;
    BackBufferFormat m_back_formats[2] = {BackBufferFormat::R5G6B5, BackBufferFormat::X8R8G8B8};
    DepthFormat m_depth_formats[2] = {DepthFormat::D16, DepthFormat::D32};
    bool m_show_triangles = false;
    bool m_show_fps = false;
    bool m_show_cursor_pos = false;
    bool m_show_custom_info = false;
    uint32_t m_state_block = 0;
    uint32_t m_overlay_color = 0xFFFFFFFFu;
    int m_desktop_width = 0;
    unsigned m_last_chunk_count = 0;
    unsigned m_last_triangle_count = 0;
    std::wstring m_last_overlay_text;
    std::wstring m_overlay_scratch;
    bool m_skip_unchanged = true;
    bool m_last_frame_skipped = false;
    std::vector<uint8_t> m_last_frame;       // the last frame's signature (empty: none to match)
    std::vector<uint8_t> m_frame_signature;  // this frame's, built at endFrame
};
cGraphics* getGraphics();

// Never returns: puts "Direct3D function call failed\n" + expression + "\n" + the result's
// name into the error call stack and throws it as a narrow cString.
[[noreturn]] void throwDxError(int32_t result, const cStringA& expression);
// The name of a device or input result ("DEVERR_DEVICELOST", ...), "Unknown" for others.
cStringA dxErrorName(int32_t result);
