#pragma once
// Loads files into typed, shared, named resources and hands them out by name. The type of a
// file follows its extension: "ini" 3, "xml" 2, "sh" 5, "dds"/"bmp"/"png" 0, "rwf" 4, "x" 1,
// "crv" 6 are known from the start ("qpk" is added by the core as 2). Each type's class has a
// registerResourceFactory() that registers its factory (registerFactory); they are all called
// at program start, the document types from cResourceManager.cpp and the media types from
// cGraphics.cpp. Loading a known type without a factory throws a clear text.
//
// Names are compared lower-cased. Groups let a state unload its files together.

#include <functional>
#include <map>
#include <vector>

#include "engine/core/cResource.h"
#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"

// Builds the resource of a (lower-cased) name in a group, reading the file through the file
// manager; throws a text when it cannot.
using ResourceFactory = std::function<cResource*(const cStringA& name, int group)>;

class cResourceManager : public cSingleton<cResourceManager> {
public:
    // Logs "  register standard extentions" on the channel "game" and registers the standard
    // extensions.
    cResourceManager();
    // Logs "  free loaded resources" and deletes every resource in ascending name order.
    ~cResourceManager() override;

    // Loads a file; a loaded name or an unregistered extension does nothing. The factory's
    // failure propagates and nothing is entered.
    virtual void load(const cStringA& name, int group);
    // Loads every file findFiles lists under the folder.
    virtual void loadFolder(const cStringA& folder, bool recursive, int group);
    // Unloads a name (any case); an unknown name does nothing.
    virtual void unload(const cStringA& name);
    // Unloads every resource of the group, in ascending name order.
    virtual void unloadGroup(int group);

    // Typed getters. Throw the standard string "Resource '<name>' is not loaded." for an unknown
    // name and the plain text "Wrong resource type." for a resource of another type.
    virtual cVertexShader* getShader(const cStringA& name);
    virtual cTexture* getTexture(const cStringA& name);
    virtual cModel* getModel(const cStringA& name);
    virtual cBitmapFont* getFont(const cStringA& name);
    // The root element of the XML document.
    virtual cXmlNode* getXml(const cStringA& name);
    virtual cIniFile* getIni(const cStringA& name);
    virtual cCurveSet* getCurveSet(const cStringA& name);
    // A curve of a curve set; a missing curve throws "The file '<set>' does not contain\nthe
    // function named '<curve>'.\n".
    virtual cCurve* getCurve(const cStringA& setName, const cStringA& curveName);

    // Device notifications, passed to textures, models, fonts and shaders in load order.
    virtual void onLostDevice();
    virtual void onResetDevice();

    // Sets the type of an extension (lower-case).
    virtual void registerExtension(const cStringA& extension, ResourceType type);
    // Removes a resource from the manager and deletes it.
    virtual void release(cResource* resource);

    // The type of a name by its extension (RESOURCE_NONE when unregistered).
    ResourceType typeOf(const cStringA& name) const;
    // The loaded resource of a name (any case), or null.
    cResource* find(const cStringA& name) const;
    bool isLoaded(const cStringA& name) const { return find(name) != nullptr; }
    size_t getLoadedCount() const { return m_resources.size(); }

    // Process-wide factories, one per type; registration may happen before or after the
    // manager exists. Returns the factory replaced (empty when none), so tests can restore it.
    static ResourceFactory registerFactory(ResourceType type, ResourceFactory factory);
    static bool hasFactory(ResourceType type);

private:
    cResource* findTyped(const cStringA& name, ResourceType type) const;

    std::map<cStringA, ResourceType> m_extension_types;
    std::map<cStringA, cResource*> m_resources;
    std::vector<cResource*> m_device_resources;
};

cResourceManager* getResourceManager();
