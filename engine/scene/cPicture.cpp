#include "engine/scene/cPicture.h"

#include <bit>
#include <cmath>

#include "engine/core/cIniFile.h"
#include "engine/core/cXmlNode.h"

cPicture::cPicture(cSceneNode* parent) : cSprite(parent) {}

cPicture::~cPicture() {
    hide();
    disable();
}

void cPicture::update() {
    runControllers();
    cSceneNode::update();
}

void cPicture::onShow() {
    cSprite::onShow();
    addController(m_showController);
}

void cPicture::onHide() {
    cSprite::onHide();
    addController(m_hideController);
}

void cPicture::setUniformScale(float scale) {
    cSprite::setUniformScale(scale);
    applyAutoFiltering();
}

void cPicture::setScale(const cVector2& scale) {
    cSprite::setScale(scale);
    applyAutoFiltering();
}

void cPicture::setAngle(float degrees) {
    cSprite::setAngle(degrees);
    applyAutoFiltering();
}

bool cPicture::setShaderName(const cStringA& name) {
    if (name.equals(m_shaderName)) return false;
    m_shaderName = name;
    markShaderStale();
    return true;
}

bool cPicture::setModelName(const cStringA& name) {
    if (name.equals(m_modelName)) return false;
    m_modelName = name;
    markModelStale();
    return true;
}

cStringA cPicture::getLayerTexture(unsigned layer) const { return layer < 2 ? m_layerNames[layer] : cStringA(); }

bool cPicture::setLayerTexture(unsigned layer, const cStringA& name) {
    if (layer > 1 || name.equals(m_layerNames[layer])) return false;
    m_layerNames[layer] = name;
    markLayerTextureStale(layer);
    markLayerUvStale(layer);
    markVerticesStale();
    return true;
}

void cPicture::setAutoFiltering(bool on) {
    m_autoFiltering = on;
    applyAutoFiltering();
}

void cPicture::applyAutoFiltering() {
    if (!m_autoFiltering) return;
    const float sxLow = std::bit_cast<float>(0x3F7FE005u), sxHigh = std::bit_cast<float>(0x3F800FFEu);
    const float syLow = std::bit_cast<float>(0x3F7FD556u), syHigh = std::bit_cast<float>(0x3F801555u);
    const float angleLow = std::bit_cast<float>(0x3CE52DEDu), angleHigh = std::bit_cast<float>(0x42B3F1ADu);
    cVector2 scale = getScale();
    float r = std::fmod(std::fabs(getAngle()), 90.0f);
    bool unscaled = sxLow < scale.x && scale.x < sxHigh && syLow < scale.y && scale.y < syHigh;
    bool rightAngle = r < angleLow || r > angleHigh;
    setRenderFlags(RF_USE_FILTERING, !(unscaled && rightAngle));
}

template <class Get>
void cPicture::loadNames(const Get& get) {
    setLayerTexture(0, get(L"picture").toNarrow());
    setLayerTexture(1, get(L"picture2").toNarrow());
    setModelName(get(L"model").toNarrow());
    cStringA animationName = get(L"model_animation_name").toNarrow();
    float length = 0.0f, position = 0.0f;
    stringToFloat(&length, get(L"model_animation_length"));
    stringToFloat(&position, get(L"model_animation_position"));
    // Without a model this does nothing.
    if (!animationName.isEmpty() && length > 0.0f) setModelAnimation(animationName, length, position);
    setShaderName(get(L"shader").toNarrow());
    stringToBool(&m_autoFiltering, get(L"auto_filtering"));
    applyAutoFiltering();
}

void cPicture::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cSprite::loadFromIni(ini, section);
    loadNames([&](const wchar_t* key) { return ini.getValue(section.c_str(), key); });
}

void cPicture::loadFromNode(const cXmlNode& node) {
    cSprite::loadFromNode(node);
    loadNames([&](const wchar_t* key) { return node.getAttribute(key); });
}

void cPicture::assign(const cPicture& other) {
    if (&other == this) return;
    cSprite::assign(other);
    setLayerTexture(0, other.m_layerNames[0]);
    setLayerTexture(1, other.m_layerNames[1]);
    setModelName(other.m_modelName);
    setShaderName(other.m_shaderName);
}
