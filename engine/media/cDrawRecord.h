#pragma once
// What each shown sprite hands to the renderer every frame, in this order: its quad, the
// textures of layer 0 and layer 1, the model and the model instance, the render flags, the
// begin-draw callback and the draw callback. The record lives only for the call.

#include <cstdint>

class cDevice;  // the 3D device interface (platform/device/Device.h)
class cTexture;
class cModel;
class cModelInstance;
struct cRenderQuad;

// Called with the 3D device: the begin-draw callback runs before the sprite's chunk (the
// standard render states are restored after that chunk); the draw callback, when set,
// replaces the drawing of the sprite's quad.
using DrawCallback = void (*)(cDevice* device);

// Render flag bits of a sprite.
enum RenderFlags : uint32_t {
    RF_OVERLAY = 1,            // blend by destination colour
    RF_ALPHALESS = 2,          // no alpha blending, no alpha test
    RF_WRITE_TO_STENCIL = 4,   // write the sprite's depth, depth test always passes
    RF_USE_STENCIL = 8,        // draw only where the stored depth equals the sprite's
    RF_CLEAR_STENCIL = 16,     // stored and loaded; no drawing step reads it
    RF_USE_FILTERING = 32,     // linear instead of point texture filtering
    RF_OVERLAY_LESS_1 = 64,    // blend by destination colour, like RF_OVERLAY
};

// Transform flag bits of a sprite.
enum TransformFlags : uint32_t {
    TF_MIRROR_X = 1,   // negates the vertical scale
    TF_MIRROR_Y = 2,   // negates the horizontal scale
    TF_CENTERED = 4,   // the default: the image centre is the anchor
};

struct cDrawRecord {
    const cRenderQuad* quad = nullptr;
    cTexture* texture0 = nullptr;
    cTexture* texture1 = nullptr;
    cModel* model = nullptr;
    cModelInstance* modelInstance = nullptr;
    uint32_t renderFlags = 0;
    DrawCallback beginDrawCallback = nullptr;
    DrawCallback drawCallback = nullptr;
};
