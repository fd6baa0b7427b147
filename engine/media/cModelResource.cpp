// The model as a resource of the resource manager: reading its file through the file manager
// and the registration of resource type 1. Kept apart from cModel.cpp so that code building
// models from memory needs neither manager.
#include <memory>
#include <vector>

#include "engine/core/cFileManager.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cStream.h"
#include "engine/media/XFileReader.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cModel.h"

namespace {
std::vector<uint8_t> readWholeFile(const cStringA& name) {
    cFileManager* files = cFileManager::instance();
    if (!files) throw std::string("Model '" + name.str() + "': there is no file manager");
    std::unique_ptr<cStream> stream = files->openReadUnique(name);
    if (!stream) throw std::string("Model '" + name.str() + "': the file cannot be opened");
    std::vector<uint8_t> bytes = readWholeStream(*stream);
    if (bytes.size() != stream->getSize()) throw std::string("Model '" + name.str() + "': the file cannot be read");
    return bytes;
}
}  // namespace

cModel::cModel(const cStringA& name, int group) : cResource(RESOURCE_MODEL, name, group) {
    const std::vector<uint8_t> bytes = readWholeFile(name);
    build(bytes.data(), bytes.size());
}

bool queryModelMeshParts(cModelInstance* instance, DeviceMatrix* world, std::vector<MeshDrawPart>* parts) {
    cGraphics* graphics = cSingleton<cGraphics>::instance();
    return queryModelMeshParts(graphics ? graphics->getDevice() : nullptr, instance, world, parts);
}

void cModel::registerResourceFactory() {
    cResourceManager::registerFactory(RESOURCE_MODEL, [](const cStringA& name, int group) -> cResource* {
        return new cModel(name, group);
    });
    cGraphics::setModelLoader([](cDevice*, const void* data, uint32_t size, cModelLoadRecord* record) -> int32_t {
        if (!record) return DEVERR_INVALIDCALL;
        loadXModel(data, size, *record);
        return DEV_OK;
    });
}
