#include "engine/media/cTexture.h"

#include <memory>

#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cStream.h"
#include "engine/media/cGraphics.h"

cTexture::cTexture(const cStringA& name, int group) : cResource(RESOURCE_TEXTURE, name, group) {
    if (!getFileManager()) throw cStringA("Texture \"") + name + "\": there is no file manager.";
    std::unique_ptr<cStream> stream(getFileManager()->openRead(name));
    std::vector<uint8_t> bytes = readWholeStream(*stream);
    stream.reset();
    create(bytes.data(), uint32_t(bytes.size()));
}

cTexture::cTexture(const cStringA& name, int group, const void* data, uint32_t size)
    : cResource(RESOURCE_TEXTURE, name, group) {
    create(data, size);
}

cTexture::~cTexture() {
    if (m_texture) m_texture->release();
    m_texture = nullptr;
}

void cTexture::create(const void* data, uint32_t size) {
    cGraphicsFactory* factory = getGraphicsFactory();
    if (!factory) throw cStringA("Texture \"") + getName() + "\": the renderer is not running.";
    ImageInfo info;
    factory->createTexture(data, &size, &m_texture, MemoryPool::Managed, &info);
    m_texture_size[0] = m_texture->getWidth();
    m_texture_size[1] = m_texture->getHeight();
    m_image_size[0] = info.width;
    m_image_size[1] = info.height;
    m_uv_scale[0] = float(m_image_size[0]) / float(m_texture_size[0]);
    m_uv_scale[1] = float(m_image_size[1]) / float(m_texture_size[1]);
}

void cTexture::registerResourceFactory() {
    cResourceManager::registerFactory(RESOURCE_TEXTURE, [](const cStringA& name, int group) -> cResource* {
        return new cTexture(name, group);
    });
}
