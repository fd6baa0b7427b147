#pragma once
// Base of every resource: type, name (the lower-cased file name it was loaded from), group,
// and the notifications of a lost and a restored graphics device.
//
// Each resource class answers its typed accessor (asIni for cIniFile, asXml for an XML
// document, ...) with itself; the resource manager's typed getters use them, so this header
// needs only forward declarations.

#include <cstdint>

#include "engine/core/cString.h"

enum ResourceType : int32_t {
    RESOURCE_TEXTURE = 0,
    RESOURCE_MODEL = 1,
    RESOURCE_XML = 2,
    RESOURCE_INI = 3,
    RESOURCE_FONT = 4,
    RESOURCE_SHADER = 5,
    RESOURCE_CURVES = 6,
    RESOURCE_NONE = 100,   // not a resource: files of unregistered extensions
};

class cTexture;
class cModel;
class cXmlNode;
class cIniFile;
class cBitmapFont;
class cVertexShader;
class cCurveSet;
class cCurve;

class cResource {
public:
    cResource(ResourceType type, const cStringA& name, int group)
        : m_type(type), m_name(name), m_group(group) {}
    virtual ~cResource() = default;
    cResource(const cResource&) = delete;
    cResource& operator=(const cResource&) = delete;

    virtual ResourceType getType() const { return m_type; }
    virtual const cStringA& getName() const { return m_name; }
    virtual int getGroup() const { return m_group; }
    // Release and recreate device objects (textures, models, fonts, shaders).
    virtual void onLostDevice() {}
    virtual void onResetDevice() {}

    // Typed access: each class answers its own (the XML document answers its root element).
    virtual cTexture* asTexture() { return nullptr; }
    virtual cModel* asModel() { return nullptr; }
    virtual cXmlNode* asXml() { return nullptr; }
    virtual cIniFile* asIni() { return nullptr; }
    virtual cBitmapFont* asFont() { return nullptr; }
    virtual cVertexShader* asShader() { return nullptr; }
    virtual cCurveSet* asCurveSet() { return nullptr; }
    // Curve sets: the curve of that name (case-insensitive), or null.
    virtual cCurve* findCurve(const cStringA& curveName) { return nullptr; }

private:
    ResourceType m_type;
    cStringA m_name;
    int m_group;
};
