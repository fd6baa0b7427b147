#include "engine/media/cVertexShader.h"

#include <cstring>
#include <memory>

#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cStream.h"
#include "engine/media/cGraphics.h"

cVertexShader::cVertexShader(const cStringA& name, int group) : cResource(RESOURCE_SHADER, name, group) {
    if (!getFileManager()) throw cStringA("Shader \"") + name + "\": there is no file manager.";
    std::unique_ptr<cStream> stream(getFileManager()->openRead(name));
    m_code = readWholeStream(*stream);
    stream.reset();
    create();
}

cVertexShader::cVertexShader(const cStringA& name, int group, const void* code, uint32_t size)
    : cResource(RESOURCE_SHADER, name, group) {
    if (code && size) m_code.assign(static_cast<const uint8_t*>(code), static_cast<const uint8_t*>(code) + size);
    create();
}

cVertexShader::~cVertexShader() {
    // The device shader goes with the resource.
    if (m_handle && getGraphicsFactory()) getGraphicsFactory()->deleteVertexShader(&m_handle);
    m_handle = 0;
}

void cVertexShader::create() {
    m_handle = 0;
    cGraphicsFactory* factory = getGraphicsFactory();
    if (!factory) {
        m_create_result = DEVERR_NOTAVAILABLE;
        return;
    }
    uint32_t size = uint32_t(m_code.size());
    m_create_result = factory->createVertexShader(m_code.data(), &size, &m_handle);
    if (devFailed(m_create_result)) m_handle = 0;
}

void cVertexShader::onLostDevice() {
    if (m_handle && getGraphicsFactory()) getGraphicsFactory()->deleteVertexShader(&m_handle);
    m_handle = 0;
}

void cVertexShader::onResetDevice() { create(); }

void cVertexShader::registerResourceFactory() {
    cResourceManager::registerFactory(RESOURCE_SHADER, [](const cStringA& name, int group) -> cResource* {
        return new cVertexShader(name, group);
    });
}
