#include "engine/core/LogHooks.h"
#include "engine/core/cResourceManager.h"

#include <algorithm>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/cCurveSet.h"
#include "engine/core/cFileManager.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cLogManager.h"
#include "engine/core/cXmlNode.h"

namespace {

std::map<ResourceType, ResourceFactory>& factories() {
    static std::map<ResourceType, ResourceFactory> registry;
    return registry;
}

bool holdsDeviceObjects(ResourceType type) {
    return type == RESOURCE_TEXTURE || type == RESOURCE_MODEL || type == RESOURCE_FONT || type == RESOURCE_SHADER;
}

[[noreturn]] void wrongType() { throw "Wrong resource type."; }

// The loader of a resource type, as a frame of the error call stack names it.
const char* loaderSignature(ResourceType type) {
    switch (type) {
    case RESOURCE_TEXTURE: return "cTexture::cTexture";
    case RESOURCE_MODEL: return "cModel::cModel";
    case RESOURCE_XML: return "cXmlNode::cXmlNode";
    case RESOURCE_INI: return "cIniFile::cIniFile";
    case RESOURCE_FONT: return "cBitmapFont::cBitmapFont";
    case RESOURCE_SHADER: return "cVertexShader::cVertexShader";
    case RESOURCE_CURVES: return "cCurveSet::cCurveSet";
    default: return "cResourceManager::load";
    }
}

// Passes the running failure on with the loader and the file's name as one more frame of the
// error call stack, so that every report of a failed load says which file it was; a nested
// load (a font's texture) adds its own frame first.
[[noreturn]] void rethrowWithLoaderFrame(ResourceType type, const cStringA& name) {
    const std::string frame = std::string(loaderSignature(type)) + "(\"" + name.str() + "\")";
    std::string text;
    if (failureText(std::current_exception(), &text)) throw cStringA(text + "\n" + frame);
    cStringA& stack = getErrorCallStack();
    stack.append("\n" + frame);
    throw;
}

}  // namespace

namespace {
// The document types are registered here, at program start: every program that has a resource
// manager can load every one of them, whatever the linker keeps of the classes' own files.
// Media types are registered likewise beside the renderer.
[[maybe_unused]] const bool documentTypes = (cIniFile::registerResourceFactory(), cXmlNode::registerResourceFactory(),
                                             cCurveSet::registerResourceFactory(), true);
}  // namespace

cResourceManager* getResourceManager() { return cResourceManager::instance(); }

ResourceFactory cResourceManager::registerFactory(ResourceType type, ResourceFactory factory) {
    ResourceFactory previous = std::move(factories()[type]);
    factories()[type] = std::move(factory);
    return previous;
}

bool cResourceManager::hasFactory(ResourceType type) {
    auto it = factories().find(type);
    return it != factories().end() && static_cast<bool>(it->second);
}

cResourceManager::cResourceManager() {
    logGameQuietly("  register standard extentions");
    registerExtension(cStringA("ini"), RESOURCE_INI);
    registerExtension(cStringA("xml"), RESOURCE_XML);
    registerExtension(cStringA("sh"), RESOURCE_SHADER);
    registerExtension(cStringA("dds"), RESOURCE_TEXTURE);
    registerExtension(cStringA("bmp"), RESOURCE_TEXTURE);
    registerExtension(cStringA("png"), RESOURCE_TEXTURE);
    registerExtension(cStringA("rwf"), RESOURCE_FONT);
    registerExtension(cStringA("x"), RESOURCE_MODEL);
    registerExtension(cStringA("crv"), RESOURCE_CURVES);
}

cResourceManager::~cResourceManager() {
    logGameQuietly("  free loaded resources");
    // Each resource is taken out of the maps before it is deleted, so a destructor that asks
    // the manager sees a consistent state.
    while (!m_resources.empty()) {
        auto it = m_resources.begin();
        cResource* resource = it->second;
        m_resources.erase(it);
        m_device_resources.erase(std::remove(m_device_resources.begin(), m_device_resources.end(), resource),
                                 m_device_resources.end());
        delete resource;
    }
    m_device_resources.clear();
    m_extension_types.clear();
}

ResourceType cResourceManager::typeOf(const cStringA& name) const {
    auto it = m_extension_types.find(cFileManager::getExtension(name));
    return it == m_extension_types.end() ? RESOURCE_NONE : it->second;
}

void cResourceManager::load(const cStringA& name, int group) {
    ResourceType type = typeOf(name);
    if (type == RESOURCE_NONE) return;
    cStringA key = name.toLower();
    if (m_resources.count(key)) return;
    auto factory = factories().find(type);
    if (factory == factories().end() || !factory->second)
        throw std::string("Resource '" + name + "' cannot be loaded: no loader is registered for resource type " +
                          std::to_string(static_cast<int>(type)) + ".");
    cResource* resource = nullptr;
    try {
        resource = factory->second(key, group);
    } catch (...) {
        rethrowWithLoaderFrame(type, name);
    }
    if (!resource) throw std::string("Resource '" + name + "' cannot be loaded.");
    // A loader may have loaded the same name while it ran (a loading screen's frame): keep the
    // first one.
    if (m_resources.count(key)) {
        delete resource;
        return;
    }
    m_resources[key] = resource;
    if (holdsDeviceObjects(resource->getType())) m_device_resources.push_back(resource);
}

void cResourceManager::loadFolder(const cStringA& folder, bool recursive, int group) {
    cFileManager* files = getFileManager();
    if (!files) return;
    std::vector<cStringA> names;
    files->findFiles(names, folder, recursive);
    for (const cStringA& name : names) load(name, group);
}

void cResourceManager::unload(const cStringA& name) {
    if (cResource* resource = find(name)) release(resource);
}

void cResourceManager::unloadGroup(int group) {
    // By name: a resource whose destructor unloads another one of the group leaves no
    // dangling pointer behind in this list.
    std::vector<cStringA> doomed;
    for (const auto& [name, resource] : m_resources)
        if (resource->getGroup() == group) doomed.push_back(name);
    for (const cStringA& name : doomed) {
        auto it = m_resources.find(name);
        if (it != m_resources.end() && it->second->getGroup() == group) release(it->second);
    }
}

void cResourceManager::release(cResource* resource) {
    if (!resource) return;
    for (auto it = m_resources.begin(); it != m_resources.end();) {
        if (it->second == resource) it = m_resources.erase(it);
        else ++it;
    }
    m_device_resources.erase(std::remove(m_device_resources.begin(), m_device_resources.end(), resource),
                             m_device_resources.end());
    delete resource;
}

cResource* cResourceManager::find(const cStringA& name) const {
    auto it = m_resources.find(name.toLower());
    return it == m_resources.end() ? nullptr : it->second;
}

cResource* cResourceManager::findTyped(const cStringA& name, ResourceType type) const {
    cResource* resource = find(name);
    if (!resource) throw std::string("Resource '" + name + "' is not loaded.");
    if (resource->getType() != type) wrongType();
    return resource;
}

cVertexShader* cResourceManager::getShader(const cStringA& name) {
    if (cVertexShader* p = findTyped(name, RESOURCE_SHADER)->asShader()) return p;
    wrongType();
}

cTexture* cResourceManager::getTexture(const cStringA& name) {
    if (cTexture* p = findTyped(name, RESOURCE_TEXTURE)->asTexture()) return p;
    wrongType();
}

cModel* cResourceManager::getModel(const cStringA& name) {
    if (cModel* p = findTyped(name, RESOURCE_MODEL)->asModel()) return p;
    wrongType();
}

cBitmapFont* cResourceManager::getFont(const cStringA& name) {
    if (cBitmapFont* p = findTyped(name, RESOURCE_FONT)->asFont()) return p;
    wrongType();
}

cXmlNode* cResourceManager::getXml(const cStringA& name) {
    if (cXmlNode* p = findTyped(name, RESOURCE_XML)->asXml()) return p;
    wrongType();
}

cIniFile* cResourceManager::getIni(const cStringA& name) {
    if (cIniFile* p = findTyped(name, RESOURCE_INI)->asIni()) return p;
    wrongType();
}

cCurveSet* cResourceManager::getCurveSet(const cStringA& name) {
    if (cCurveSet* p = findTyped(name, RESOURCE_CURVES)->asCurveSet()) return p;
    wrongType();
}

cCurve* cResourceManager::getCurve(const cStringA& setName, const cStringA& curveName) {
    cResource* set = findTyped(setName, RESOURCE_CURVES);
    if (cCurve* curve = set->findCurve(curveName)) return curve;
    throw std::string("The file '" + setName + "' does not contain\nthe function named '" + curveName + "'.\n");
}

void cResourceManager::onLostDevice() {
    std::vector<cResource*> snapshot = m_device_resources;
    for (cResource* resource : snapshot) resource->onLostDevice();
}

void cResourceManager::onResetDevice() {
    std::vector<cResource*> snapshot = m_device_resources;
    for (cResource* resource : snapshot) resource->onResetDevice();
}

void cResourceManager::registerExtension(const cStringA& extension, ResourceType type) {
    m_extension_types[extension] = type;
}
