#include "engine/scene/cSprite.h"

#include <cmath>
#include <limits>

#include "engine/core/LogHooks.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cXmlNode.h"
#include "engine/scene/cCompositePicture.h"

namespace {

// 3 x 3 row-major matrices applied to row vectors.
struct Mat3 {
    float m[9];
};

Mat3 multiply(const Mat3& a, const Mat3& b) {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r.m[i * 3 + j] = a.m[i * 3 + 0] * b.m[0 * 3 + j] + a.m[i * 3 + 1] * b.m[1 * 3 + j] +
                             a.m[i * 3 + 2] * b.m[2 * 3 + j];
    return r;
}

Mat3 translation(float x, float y) { return Mat3{{1, 0, 0, 0, 1, 0, x, y, 1}}; }
Mat3 scaling(float x, float y) { return Mat3{{x, 0, 0, 0, y, 0, 0, 0, 1}}; }
Mat3 rotation(float a) {
    float c = static_cast<float>(std::cos(static_cast<double>(a)));
    float s = sinFloat(a);
    return Mat3{{c, -s, 0, s, c, 0, 0, 0, 1}};
}

constexpr unsigned layerIndex(unsigned layer) { return layer > 1 ? 1 : layer; }

}  // namespace

cSprite::cSprite(cSceneNode* parent) : cSceneNode(parent) {}

cSprite::~cSprite() {
    hide();
    disable();
    removeFromRenderSet(this);
    // Composites that hold this sprite forget it.
    std::vector<cCompositePicture*> attachedTo;
    attachedTo.swap(m_attachedTo);
    for (cCompositePicture* composite : attachedTo) composite->forgetAttached(this);
    destroyModelInstance();
    m_textures[0] = m_textures[1] = nullptr;
    m_controllers.clear();
    m_quad.vertexShader = nullptr;
    m_quad.shaderConstants = nullptr;
}

void cSprite::onShow() { addToRenderSet(this); }
void cSprite::onHide() { removeFromRenderSet(this); }

// ---- Geometry ----

void cSprite::setPosition(const cVector2& position) {
    cVector2 delta = position - m_position;
    const std::vector<cSceneNode*>& children = getChildren();
    for (size_t i = 0; i < children.size(); ++i)
        if (cSprite* child = dynamic_cast<cSprite*>(children[i])) child->moveBy(delta);
    m_position = position;
    if (m_modelStale) reloadModel();
    if (m_modelInstance) getSceneServices()->setModelInstancePosition(m_modelInstance, m_position);
    m_verticesStale = true;
    m_matrixStale = true;
}

void cSprite::setTransformFlags(uint32_t bits, bool on) {
    if (on) m_transformFlags |= bits; else m_transformFlags &= ~bits;
    m_matrixStale = true;
}

void cSprite::setTransformOrigin(const cVector2& origin) {
    m_origin = origin;
    m_matrixStale = true;
}

void cSprite::setUniformScale(float scale) { cSprite::setScale(cVector2(scale, scale)); }

void cSprite::setScale(const cVector2& scale) {
    m_scale = scale;
    if (m_modelStale) reloadModel();
    if (m_modelInstance) getSceneServices()->setModelInstanceScale(m_modelInstance, m_scale);
    m_matrixStale = true;
}

void cSprite::setAngle(float degrees) {
    m_angle = degrees;
    m_matrixStale = true;
}

cVector2 cSprite::getVertexOffset(unsigned vertex) const {
    return vertex < 4 ? m_quad.vertexOffsets[vertex] : cVector2();
}

void cSprite::setVertexOffset(unsigned vertex, const cVector2& offset) {
    if (vertex < 4) m_quad.vertexOffsets[vertex] = offset;
}

void cSprite::setOffsetSource(cOffsetSource* source) {
    m_offsetSource = source;
    const std::vector<cSceneNode*>& children = getChildren();
    for (size_t i = 0; i < children.size(); ++i)
        if (cSprite* child = dynamic_cast<cSprite*>(children[i])) child->setOffsetSource(source);
}

void cSprite::setDeep(float deep) {
    if (deep == m_deep) return;
    float delta = deep - m_deep;
    const std::vector<cSceneNode*>& children = getChildren();
    for (size_t i = 0; i < children.size(); ++i)
        if (cSprite* child = dynamic_cast<cSprite*>(children[i])) child->changeDeepBy(delta);
    changeDeep(this, deep);
    if (m_modelStale) reloadModel();
    if (m_modelInstance) getSceneServices()->setModelInstanceDeep(m_modelInstance, m_deep);
}

// ---- Colours ----

uint32_t cSprite::getVertexAlpha(unsigned vertex) const {
    return vertex < 4 ? m_quad.vertices[vertex].color >> 24 : 0;
}

void cSprite::setAlpha(uint32_t alpha) {
    for (unsigned i = 0; i < 4; ++i) cSprite::setVertexAlpha(i, alpha);
}

void cSprite::setVertexAlpha(unsigned vertex, uint32_t alpha) {
    if (vertex > 3) return;
    uint32_t& c = m_quad.vertices[vertex].color;
    c = (c & 0x00FFFFFFu) | ((alpha & 0xFFu) << 24);
}

uint32_t cSprite::getVertexColor(unsigned vertex) const {
    return vertex < 4 ? m_quad.vertices[vertex].color & 0x00FFFFFFu : 0;
}

void cSprite::setColor(uint32_t rgb) {
    for (unsigned i = 0; i < 4; ++i) cSprite::setVertexColor(i, rgb);
}

void cSprite::setVertexColor(unsigned vertex, uint32_t rgb) {
    if (vertex > 3) return;
    uint32_t& c = m_quad.vertices[vertex].color;
    c = (c & 0xFF000000u) | (rgb & 0x00FFFFFFu);
}

void cSprite::setRenderFlags(uint32_t bits, bool on) {
    if (on) m_renderFlags |= bits; else m_renderFlags &= ~bits;
}

// ---- Model ----

void cSprite::destroyModelInstance() {
    if (m_modelInstance) {
        getSceneServices()->destroyModelInstance(m_modelInstance);
        m_modelInstance = nullptr;
    }
}

void cSprite::reloadModel() {
    if (!m_modelStale) return;
    cStringA name = getModelName();
    if (!m_model || !name.equals(m_modelNameLoaded)) {
        destroyModelInstance();
        m_model = name.isEmpty() ? nullptr : getSceneServices()->getModel(name);
        m_modelNameLoaded = m_model ? name : cStringA();
    }
    if (m_model && !m_modelInstance) {
        cSceneServices* services = getSceneServices();
        m_modelInstance = services->createModelInstance(m_model);
        if (m_modelInstance) {
            services->setModelInstancePosition(m_modelInstance, m_position);
            services->setModelInstanceDeep(m_modelInstance, m_deep);
            services->setModelInstanceScale(m_modelInstance, m_scale);
        }
    }
    m_modelStale = false;
}

cStringA cSprite::getModelAnimationName() {
    if (m_modelStale) reloadModel();
    return m_modelInstance ? getSceneServices()->getModelAnimationName(m_modelInstance) : cStringA();
}

void cSprite::setModelAnimation(const cStringA& name, float length, float position) {
    if (m_modelStale) reloadModel();
    if (m_modelInstance) getSceneServices()->setModelAnimation(m_modelInstance, name, length, position);
}

void cSprite::advanceModelAnimation(float dt) {
    if (m_modelStale) reloadModel();
    if (m_modelInstance) getSceneServices()->advanceModelAnimation(m_modelInstance, dt);
}

void cSprite::setModelPosition(const cVector2& position) {
    if (m_modelStale) reloadModel();
    if (m_modelInstance) getSceneServices()->setModelInstancePosition(m_modelInstance, position);
}

cVector2 cSprite::getModelPosition() {
    if (m_modelStale) reloadModel();
    return m_modelInstance ? getSceneServices()->getModelInstancePosition(m_modelInstance) : cVector2();
}

size_t cSprite::getModelPartCount() {
    return m_modelInstance ? getSceneServices()->getModelPartCount(m_modelInstance) : 0;
}

cStringA cSprite::getModelPartName(size_t part) {
    return m_modelInstance ? getSceneServices()->getModelPartName(m_modelInstance, part) : cStringA();
}

size_t cSprite::getModelPartBoneCount(size_t part) {
    return m_modelInstance ? getSceneServices()->getModelPartBoneCount(m_modelInstance, part) : 0;
}

cStringA cSprite::getModelPartBoneName(size_t part, size_t bone) {
    return m_modelInstance ? getSceneServices()->getModelPartBoneName(m_modelInstance, part, bone) : cStringA();
}

cMatrix4x4 cSprite::getModelPartBoneMatrix(size_t part, size_t bone) {
    cMatrix4x4 result;
    if (!m_modelInstance || !getSceneServices()->getModelPartBoneMatrix(m_modelInstance, part, bone, &result))
        throw "The index has exceed the bound.";
    return result;
}

void cSprite::setModelPartBoneMatrices(size_t part, const cMatrix4x4* matrices, size_t count) {
    if (m_modelInstance) getSceneServices()->setModelPartBoneMatrices(m_modelInstance, part, matrices, count);
}

// ---- Resources ----

void cSprite::markLayerTextureStale(unsigned layer) {
    if (layer < 2) m_textureStale[layer] = true;
}

void cSprite::reloadLayerTexture(unsigned layer) {
    if (layer > 1 || !m_textureStale[layer]) return;
    cStringA name = getLayerTexture(layer);
    if (!m_textures[layer] || !name.equals(m_textureNames[layer])) {
        m_textures[layer] = name.isEmpty() ? nullptr : getSceneServices()->getTexture(name);
        m_textureNames[layer] = m_textures[layer] ? name : cStringA();
    }
    updateLayerFrameGrid(layer);
    m_textureStale[layer] = false;
}

void cSprite::reloadShader() {
    if (!m_shaderStale) return;
    cStringA name = getShaderName();
    if (!m_quad.vertexShader || !name.equals(m_shaderNameLoaded)) {
        m_quad.vertexShader = name.isEmpty() ? nullptr : getSceneServices()->getShader(name);
        m_shaderNameLoaded = m_quad.vertexShader ? name : cStringA();
    }
    m_shaderStale = false;
}

void cSprite::resetResources() {
    m_textures[0] = m_textures[1] = nullptr;
    m_textureNames[0].clear();
    m_textureNames[1].clear();
    m_model = nullptr;
    m_modelNameLoaded.clear();
    // The instance is owned: it is deleted, not forgotten.
    destroyModelInstance();
    m_quad.vertexShader = nullptr;
    m_shaderNameLoaded.clear();
    m_textureStale[0] = m_textureStale[1] = true;
    m_modelStale = true;
    m_shaderStale = true;
    reloadLayerTexture(0);
    reloadLayerTexture(1);
    reloadModel();
    reloadShader();
}

cTexture* cSprite::getLayerTextureObject(unsigned layer) {
    layer = layerIndex(layer);
    if (m_textureStale[layer]) reloadLayerTexture(layer);
    return m_textures[layer];
}

cVector2 cSprite::getLayerTextureSize(unsigned layer) {
    cTexture* texture = getLayerTextureObject(layer);
    return texture ? getSceneServices()->getTextureSize(texture) : cVector2();
}

// ---- Quad ----

const cRenderQuad& cSprite::getQuad() {
    if (m_recomputeAll) recomputeAll();
    for (unsigned layer = 0; layer < 2; ++layer)
        if (m_uvStale[layer]) updateLayerUV(layer);
    if (m_verticesStale) updateVertices();
    if (m_matrixStale) updateMatrix();
    if (m_shaderStale) reloadShader();
    if (m_offsetSource) m_quad.viewOffset = m_offsetSource->getOffset();
    return m_quad;
}

void cSprite::copyQuad(const cRenderQuad& quad) {
    m_quad = quad;
    m_recomputeAll = true;
}

void cSprite::recomputeAll() {
    updateLayerUV(0);
    updateLayerUV(1);
    updateVertices();
    updateMatrix();
    m_recomputeAll = false;
}

void cSprite::updateVertices() {
    float hw = m_quadSize.x / 2.0f, hh = m_quadSize.y / 2.0f;
    m_quad.vertices[0].x = m_position.x - hw;
    m_quad.vertices[0].y = m_position.y - hh;
    m_quad.vertices[1].x = m_position.x + hw;
    m_quad.vertices[1].y = m_position.y - hh;
    m_quad.vertices[2].x = m_position.x - hw;
    m_quad.vertices[2].y = m_position.y + hh;
    m_quad.vertices[3].x = m_position.x + hw;
    m_quad.vertices[3].y = m_position.y + hh;
    m_verticesStale = false;
}

void cSprite::updateMatrix() {
    float sx = testTransformFlags(TF_MIRROR_Y) ? -m_scale.x : m_scale.x;
    float sy = testTransformFlags(TF_MIRROR_X) ? -m_scale.y : m_scale.y;
    cVector2 pivot = m_origin + m_position;
    Mat3 m = translation(-pivot.x, -pivot.y);
    m = multiply(m, scaling(sx, sy));
    m = multiply(m, rotation(-m_angle * 0.017453292f));
    m = multiply(m, translation(m_position.x, m_position.y));
    if (!testTransformFlags(TF_CENTERED)) m = multiply(m, translation(m_quadSize.x * 0.5f, m_quadSize.y * 0.5f));
    for (int i = 0; i < 9; ++i) m_quad.matrix[i] = m.m[i];
    m_matrixStale = false;
}

// ---- Animation layers ----

cRect cSprite::getLayerTextureRect(unsigned layer) const { return m_textureRects[layerIndex(layer)]; }

void cSprite::setLayerTextureRect(unsigned layer, const cRect& rect) {
    if (layer > 1) return;
    m_textureRects[layer] = rect;
    m_uvStale[layer] = true;
    m_verticesStale = m_matrixStale = true;
}

float cSprite::getLayerLength(unsigned layer) const { return m_layers[layerIndex(layer)].length; }

void cSprite::setLayerLength(unsigned layer, float length) {
    if (layer < 2) m_layers[layer].length = length;
}

uint32_t cSprite::getLayerFrameCount(unsigned layer) const { return m_layers[layerIndex(layer)].frameCount; }

void cSprite::setLayerFrameCount(unsigned layer, uint32_t count) {
    if (layer > 1) return;
    m_layers[layer].frameCount = count;
    m_uvStale[layer] = true;
}

cVector2 cSprite::getLayerFrameSize(unsigned layer) const { return m_layers[layerIndex(layer)].frameSize; }

void cSprite::setLayerFrameSize(unsigned layer, const cVector2& size) {
    if (layer > 1) return;
    m_layers[layer].frameSize = size;
    updateLayerFrameGrid(layer);
    m_uvStale[layer] = true;
    m_verticesStale = m_matrixStale = true;
}

float cSprite::getLayerTime(unsigned layer) const { return m_layers[layerIndex(layer)].time; }

void cSprite::setLayerTime(unsigned layer, float time) {
    if (layer > 1) return;
    m_layers[layer].time = time;
    m_uvStale[layer] = true;
    m_verticesStale = true;
}

void cSprite::advanceLayerTime(unsigned layer, float dt) {
    if (layer > 1) return;
    m_layers[layer].time += dt;
    m_uvStale[layer] = true;
    m_verticesStale = true;
}

void cSprite::setLayerEndCallback(unsigned layer, AnimEndCallback callback, void* argument) {
    if (layer > 1) return;
    m_layers[layer].endCallback = callback;
    m_layers[layer].endArgument = argument;
}

uint32_t cSprite::getLayerFrame(unsigned layer) const {
    const cAnimLayer& l = m_layers[layerIndex(layer)];
    uint32_t count = l.frameCount;
    // Time 0 is the first frame even without a length; once advanced, a layer without a
    // length rests on its last frame.
    if (l.time == 0.0f) return 1;
    if (!(l.length > 0.0f)) return count > 0 ? count : 1;
    float x = l.time / l.length * static_cast<float>(count);
    if (x != x) return 1;
    // A negative frame number compares as a large unsigned number: the last frame.
    if (x <= -1.0f || x >= static_cast<float>(count)) return count > 0 ? count : 1;
    return static_cast<uint32_t>(std::trunc(x)) + 1;
}

void cSprite::setLayerFrame(unsigned layer, uint32_t frame) {
    if (layer > 1) return;
    cAnimLayer& l = m_layers[layer];
    float time;
    if (l.frameCount == 0 || !(l.length > 0.0f)) {
        // No frames or no run (a zero, negative or unreadable length): the start, always valid.
        l.time = 0.0f;
        m_uvStale[layer] = true;
        m_verticesStale = m_matrixStale = true;
        return;
    } else if (frame - 1u == l.frameCount) {
        time = l.length;  // the end of the run, free of rounding
    } else {
        time = static_cast<float>(frame - 1u) * l.length / static_cast<float>(l.frameCount);
    }
    l.time = time;
    if (time < 0.0f || time > l.length) throw "New value of animation frame is incorrect.";
    m_uvStale[layer] = true;
    m_verticesStale = m_matrixStale = true;
}

void cSprite::setLayerFrameClamped(unsigned layer, uint32_t frame) {
    cAnimLayer& l = m_layers[layer];
    if (frame < 1) frame = 1;
    if (l.frameCount != 0 && frame > l.frameCount + 1) frame = l.frameCount + 1;
    setLayerFrame(layer, frame);
}

bool cSprite::isLayerLooped(unsigned layer) const { return m_layers[layerIndex(layer)].looped; }

void cSprite::setLayerLooped(unsigned layer, bool looped) {
    if (layer < 2) m_layers[layer].looped = looped;
}

namespace {
// Wraps a looped layer's time into 0..length (length > 0).
float wrapTime(float time, float length) {
    if (!std::isfinite(time)) return 0.0f;
    if (time > length) time = time - length * std::trunc(time / length);
    if (time < 0.0f) time = time - length * (std::trunc(time / length) - 1.0f);
    if (time < 0.0f || time > length) time = 0.0f;
    return time;
}
}  // namespace

void cSprite::setAnimation(unsigned layer, const cAnimation& animation, unsigned origin, float value) {
    if (origin > 4) throw L"Bad animation origin has been specified.";
    if (layer > 1) return;
    cAnimLayer& l = m_layers[layer];
    float t = 0.0f;
    switch (origin) {
    case ORIGIN_START: t = 0.0f; break;
    case ORIGIN_KEEP:
        t = l.time;
        if (l.looped && l.length > 0.0f) t = wrapTime(t, l.length);
        break;
    case ORIGIN_END: t = animation.length; break;
    case ORIGIN_PERCENT: t = value * 0.01f * animation.length; break;
    case ORIGIN_SECONDS: t = value; break;
    }
    setLayerTexture(layer, animation.picture);
    l.looped = animation.looped;
    l.length = animation.length;
    l.frameCount = animation.frameCount;
    if (animation.frameSize.x != 0.0f) l.frameSize = animation.frameSize;
    // The starting time stays within the run, so rounding never makes the frame invalid.
    if (!(t >= 0.0f)) t = 0.0f;
    if (t > l.length) t = l.length > 0.0f ? l.length : 0.0f;
    uint32_t frame;
    if (l.frameCount == 0 || !(l.length > 0.0f)) {
        frame = l.frameCount;
    } else {
        float f = static_cast<float>(l.frameCount) / l.length * t;
        if (!(f >= 0.0f)) f = 0.0f;  // an endless run (0 x infinity) has no position: the start
        frame = f >= static_cast<float>(l.frameCount) ? l.frameCount + 1 : static_cast<uint32_t>(std::trunc(f)) + 1;
    }
    setLayerFrameClamped(layer, frame);
}

void cSprite::updateLayerFrameGrid(unsigned layer) {
    if (layer > 1) return;
    cAnimLayer& l = m_layers[layer];
    l.columns = 1;
    l.rows = 1;
    cTexture* texture = m_textures[layer];
    if (texture && l.frameSize.x > 0.0f && l.frameSize.y > 0.0f) {
        cVector2 image = getSceneServices()->getTextureImageSize(texture);
        float columns = std::trunc(image.x / l.frameSize.x);
        float rows = std::trunc(image.y / l.frameSize.y);
        // A frame larger than the image still makes a grid of one cell.
        if (columns >= 1.0f) l.columns = columns < 65536.0f ? static_cast<uint32_t>(columns) : 65536u;
        if (rows >= 1.0f) l.rows = rows < 65536.0f ? static_cast<uint32_t>(rows) : 65536u;
    }
    m_uvStale[layer] = true;
    m_verticesStale = m_matrixStale = true;
}

void cSprite::setQuadSize(const cVector2& size) {
    // The corners and the corner anchoring depend on the size: whatever changed it (a frame
    // count, a texture rect, another image), they follow in the same getQuad.
    if (size.notEquals(m_quadSize)) m_verticesStale = m_matrixStale = true;
    m_quadSize = size;
}

void cSprite::updateLayerUV(unsigned layer) {
    if (layer > 1) return;
    if (m_textureStale[layer]) reloadLayerTexture(layer);
    cTexture* texture = m_textures[layer];
    if (!texture) {
        m_uvStale[layer] = false;
        return;
    }
    cVector2 image = getSceneServices()->getTextureImageSize(texture);
    float w = image.x, h = image.y;
    cAnimLayer& l = m_layers[layer];
    cRect& uv = m_quad.uvRects[layer];
    if (l.frameCount < 2) {
        const cRect& r = m_textureRects[layer];
        if (r.right == 0.0f || r.bottom == 0.0f || !(w > 0.0f) || !(h > 0.0f)) {
            uv.set(0.0f, 0.0f, 1.0f, 1.0f);
            if (layer == 0) setQuadSize(cVector2(w, h));
        } else {
            uv.set(r.left / w, r.top / h, r.right / w, r.bottom / h);
            if (layer == 0) setQuadSize(cVector2(r.right - r.left, r.bottom - r.top));
        }
    } else {
        if (l.length > 0.0f) {
            if (!std::isfinite(l.time)) l.time = 0.0f;
            if (l.time > l.length) {
                if (l.looped) {
                    l.time = l.time - l.length * std::trunc(l.time / l.length);
                } else {
                    l.time = l.length;
                    if (l.endCallback) l.endCallback(l.endArgument);
                }
            }
            if (l.time < 0.0f) {
                if (l.looped) {
                    l.time = l.time - l.length * (std::trunc(l.time / l.length) - 1.0f);
                    if (l.time > l.length) l.time = l.length;
                } else {
                    l.time = 0.0f;
                    if (l.endCallback) l.endCallback(l.endArgument);
                }
            }
        } else if (l.time != 0.0f) {
            // No run to wrap or clamp the time into: an advanced layer rests on its last frame
            // (getLayerFrame), and a layer that does not loop has run past its end.
            if (!l.looped && l.endCallback) l.endCallback(l.endArgument);
        }
        uint32_t f = getLayerFrame(layer);
        uint32_t columns = l.columns ? l.columns : 1;
        uint32_t column = (f - 1) % columns;
        uint32_t row = (f - 1) / columns;
        // A frame size with a zero component stands for the whole image.
        float fw = l.frameSize.x > 0.0f && l.frameSize.y > 0.0f ? l.frameSize.x : w;
        float fh = l.frameSize.x > 0.0f && l.frameSize.y > 0.0f ? l.frameSize.y : h;
        float u = w > 0.0f ? fw / w : 0.0f;
        float v = h > 0.0f ? fh / h : 0.0f;
        uv.set(column * u, row * v, column * u + u, row * v + v);
        if (layer == 0) setQuadSize(cVector2(fw, fh));
    }
    m_uvStale[layer] = false;
}

// ---- Controllers ----

void cSprite::addController(Controller controller) {
    if (controller) m_controllers.push_back(controller);
}

void cSprite::runControllers() {
    auto it = m_controllers.begin();
    while (it != m_controllers.end()) {
        auto next = std::next(it);
        if ((*it)(this)) m_controllers.erase(it);
        it = next;
    }
}

// ---- Copy ----

void cSprite::assign(const cSprite& other) {
    if (&other == this) return;
    setDeep(other.m_deep);
    m_position = other.m_position;
    m_origin = other.m_origin;
    m_scale = other.m_scale;
    m_angle = other.m_angle;
    m_transformFlags = other.m_transformFlags;
    m_offsetSource = other.m_offsetSource;
    cVertexShader* shader = m_quad.vertexShader;
    m_quad = other.m_quad;
    // The shader belongs to this sprite's own name; it is looked up by name, not copied.
    m_quad.vertexShader = shader;
    m_renderFlags = other.m_renderFlags;
    m_beginDrawCallback = other.m_beginDrawCallback;
    m_drawCallback = other.m_drawCallback;
    for (unsigned i = 0; i < 2; ++i) {
        m_textureRects[i] = other.m_textureRects[i];
        m_layers[i] = other.m_layers[i];
    }
    m_recomputeAll = true;
}

cDrawRecord cSprite::makeDrawRecord() {
    cDrawRecord record;
    record.quad = &getQuad();
    for (unsigned layer = 0; layer < 2; ++layer)
        if (m_textureStale[layer]) reloadLayerTexture(layer);
    record.texture0 = m_textures[0];
    record.texture1 = m_textures[1];
    if (m_modelStale) reloadModel();
    record.model = m_model;
    record.modelInstance = m_modelInstance;
    record.renderFlags = getRenderFlags();
    record.beginDrawCallback = getBeginDrawCallback();
    record.drawCallback = getDrawCallback();
    return record;
}

// ---- Loaders ----

template <class Get>
void cSprite::loadSpriteKeys(const Get& get, bool xml, const cStringA& source) {
    float v2[2];
    auto readVector = [&](const wchar_t* key, cVector2& target) {
        v2[0] = target.x;
        v2[1] = target.y;
        parseVector2(v2, get(key));
        target = cVector2(v2[0], v2[1]);
    };
    auto readFlag = [&](const wchar_t* key, uint32_t& flags, uint32_t bit) {
        bool on = (flags & bit) != 0;
        stringToBool(&on, get(key));
        if (on) flags |= bit; else flags &= ~bit;
    };

    float deep = 0.0f;
    stringToFloat(&deep, get(L"deep"));
    setDeep(deep);
    readVector(L"position", m_position);
    readVector(L"transform_origin", m_origin);
    if (xml) {
        stringToUnsigned(&m_transformFlags, get(L"transform_flags"));
        stringToFloat(&m_angle, get(L"angle"));
        // Without the attribute the scale stays as it is.
        cVector2 scale = m_scale;
        readVector(L"scale", scale);
        setScale(scale);
    } else {
        readVector(L"scale", m_scale);
        stringToFloat(&m_angle, get(L"angle"));
        stringToUnsigned(&m_transformFlags, get(L"transform_flags"));
    }

    uint32_t alpha = 255;
    stringToULong(&alpha, get(L"alpha"));
    setAlpha(alpha);
    static const wchar_t* const alphaKeys[4] = {L"vertex0_alpha", L"vertex1_alpha", L"vertex2_alpha", L"vertex3_alpha"};
    for (unsigned i = 0; i < 4; ++i) {
        uint32_t a = getVertexAlpha(i);
        stringToULong(&a, get(alphaKeys[i]));
        setVertexAlpha(i, a);
    }
    setColor(parseColor(0xFFFFFF, get(L"color")));
    static const wchar_t* const colorKeys[4] = {L"vertex0_color", L"vertex1_color", L"vertex2_color", L"vertex3_color"};
    for (unsigned i = 0; i < 4; ++i) setVertexColor(i, parseColor(getVertexColor(i), get(colorKeys[i])));

    readFlag(L"mirror_x", m_transformFlags, TF_MIRROR_X);
    readFlag(L"mirror_y", m_transformFlags, TF_MIRROR_Y);
    readFlag(L"centered", m_transformFlags, TF_CENTERED);
    if (!xml) {
        readFlag(L"overlay", m_renderFlags, RF_OVERLAY);
        readFlag(L"alphaless", m_renderFlags, RF_ALPHALESS);
        readFlag(L"write_to_stencil", m_renderFlags, RF_WRITE_TO_STENCIL);
        readFlag(L"use_stencil", m_renderFlags, RF_USE_STENCIL);
        readFlag(L"clear_stencil", m_renderFlags, RF_CLEAR_STENCIL);
        readFlag(L"use_filtering", m_renderFlags, RF_USE_FILTERING);
        readFlag(L"overlay_less_1", m_renderFlags, RF_OVERLAY_LESS_1);
    }
    // The grid keeps 1..kMaxQuadGrid cells per side: zero cells would divide by zero in the
    // batch, and the batch skips a quad with more cells than its buffers hold.
    uint32_t grid = m_quad.grid;
    stringToULong(&grid, get(L"multiplier"));
    if (grid < 1) grid = 1;
    if (grid > kMaxQuadGrid) {
        logGameQuietly("  warning: the sprite " + source + " asks for a grid of " + int64ToNarrowString(grid) +
                       " cells; it is drawn with " + int64ToNarrowString(kMaxQuadGrid));
        grid = kMaxQuadGrid;
    }
    m_quad.grid = grid;
    static const wchar_t* const offsetKeys[4] = {L"vertex0_offset", L"vertex1_offset", L"vertex2_offset", L"vertex3_offset"};
    for (unsigned i = 0; i < 4; ++i) readVector(offsetKeys[i], m_quad.vertexOffsets[i]);

    for (unsigned layer = 0; layer < 2; ++layer) {
        std::wstring anim = layer == 0 ? L"anim" : L"anim2";
        std::wstring texture = layer == 0 ? L"texture" : L"texture2";
        cAnimLayer& l = m_layers[layer];
        stringToUnsigned(&l.frameCount, get((anim + L"_frame_count").c_str()));
        stringToFloat(&l.length, get((anim + L"_length").c_str()));
        stringToBool(&l.looped, get((anim + L"_looped").c_str()));
        readVector((anim + L"_frame_size").c_str(), l.frameSize);
        float rect[4] = {m_textureRects[layer].left, m_textureRects[layer].top, m_textureRects[layer].right,
                         m_textureRects[layer].bottom};
        parseRect(rect, get((texture + L"_rect").c_str()));
        m_textureRects[layer].set(rect[0], rect[1], rect[2], rect[3]);
    }
    m_recomputeAll = true;
}

void cSprite::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cSceneNode::loadFromIni(ini, section);
    loadSpriteKeys([&](const wchar_t* key) { return ini.getValue(section.c_str(), key); }, false,
                   "[" + section.toNarrow() + "] of \"" + ini.getName() + "\"");
}

void cSprite::loadFromNode(const cXmlNode& node) {
    cSceneNode::loadFromNode(node);
    loadSpriteKeys([&](const wchar_t* key) { return node.getAttribute(key); }, true,
                   node.getName().empty() ? cStringA("of an XML element") : cStringA("of \"" + node.getName() + "\""));
}
