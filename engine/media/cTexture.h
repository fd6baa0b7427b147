#pragma once
// A texture resource (type 0; files "dds", "bmp", "png"): the whole file is read through the
// file manager and handed to the graphics factory, which decodes it and makes the device
// texture. The texture has the size of the image (no padding), so the u/v scale is (1, 1)
// unless a device pads.

#include <cstdint>

#include "engine/core/cResource.h"
#include "engine/core/cString.h"

class cDeviceTexture;

class cTexture : public cResource {
public:
    // Reads the file name through the file manager; throws the file manager's text when the
    // file is missing and the device error text (throwDxError) when the image cannot be made
    // into a texture. Needs the graphics factory.
    cTexture(const cStringA& name, int group);
    // The same from bytes already in memory (tools and tests).
    cTexture(const cStringA& name, int group, const void* data, uint32_t size);
    ~cTexture() override;

    cTexture* asTexture() override { return this; }
    // The texture lives for the whole life of the resource: nothing to do on a reset.
    void onLostDevice() override {}
    void onResetDevice() override {}

    // Each returns its pair: (u, v) scale = image size / texture size; texture size; image size.
    const float* getUvScale() const { return m_uv_scale; }
    const uint32_t* getTextureSize() const { return m_texture_size; }
    const uint32_t* getImageSize() const { return m_image_size; }

    cDeviceTexture* getDeviceTexture() const { return m_texture; }

    // Registers the factory of type 0 with the resource manager (repeating it does no harm).
    static void registerResourceFactory();

private:
    void create(const void* data, uint32_t size);

    cDeviceTexture* m_texture = nullptr;
    float m_uv_scale[2] = {1.0f, 1.0f};
    uint32_t m_texture_size[2] = {0, 0};
    uint32_t m_image_size[2] = {0, 0};
};
