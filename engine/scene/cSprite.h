#pragma once
// The transformable textured quad from which every visible scene object derives: position,
// scale, rotation, transform origin and depth, four vertex colours and offsets, two animation
// layers with their textures, an optional model instance, render flags and two draw callbacks.
// The render quad is recomputed lazily (dirty marks) in getQuad. cSprite stores no resource
// names: the derived class supplies them.

#include <cstdint>
#include <list>
#include <vector>

#include "engine/scene/cAnimation.h"
#include "engine/media/cDrawRecord.h"
#include "engine/core/cRect.h"
#include "engine/media/cRenderQuad.h"
#include "engine/scene/cSceneNode.h"
#include "engine/core/cVector2.h"

class cSprite;
class cCompositePicture;

// A per-frame controller: returns true when it has finished and is to be removed.
using Controller = bool (*)(cSprite* sprite);
// Called with its argument when a non-looped layer's time is clamped to the run.
using AnimEndCallback = void (*)(void* argument);

// Supplies the view offset of a sprite (and of its subtree) at every getQuad.
class cOffsetSource {
public:
    virtual ~cOffsetSource() = default;
    virtual cVector2 getOffset() const = 0;
};

struct cAnimLayer {
    uint32_t frameCount = 1;   // 0 and 1: static
    float length = 0.0f;       // seconds for one run through all frames
    float time = 0.0f;
    bool looped = true;
    cVector2 frameSize;        // (0, 0): the whole image
    uint32_t columns = 1;
    uint32_t rows = 1;
    AnimEndCallback endCallback = nullptr;
    void* endArgument = nullptr;
};

class cSprite : public cSceneNode {
public:
    explicit cSprite(cSceneNode* parent = nullptr);
    ~cSprite() override;

    int getTypeId() const override { return SCENE_SPRITE; }
    void loadFromNode(const cXmlNode& node) override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onShow() override;
    void onHide() override;

    // ---- Geometry ----
    virtual cVector2 getPosition() const { return m_position; }
    // Children move by the same delta.
    virtual void setPosition(const cVector2& position);
    virtual bool testTransformFlags(uint32_t bits) const { return (m_transformFlags & bits) != 0; }
    virtual void setTransformFlags(uint32_t bits, bool on);
    uint32_t getTransformFlags() const { return m_transformFlags; }
    virtual cVector2 getTransformOrigin() const { return m_origin; }
    virtual void setTransformOrigin(const cVector2& origin);
    virtual cVector2 getScale() const { return m_scale; }
    virtual void setUniformScale(float scale);
    virtual void setScale(const cVector2& scale);
    virtual float getAngle() const { return m_angle; }
    virtual void setAngle(float degrees);
    virtual cVector2 getVertexOffset(unsigned vertex) const;
    virtual void setVertexOffset(unsigned vertex, const cVector2& offset);
    virtual cVector2 getViewOffset() const { return m_quad.viewOffset; }
    virtual void setViewOffset(const cVector2& offset) { m_quad.viewOffset = offset; }
    virtual cOffsetSource* getOffsetSource() const { return m_offsetSource; }
    // Stores the source here and in the whole subtree.
    virtual void setOffsetSource(cOffsetSource* source);

    // ---- Resource names (supplied by the derived class) ----
    virtual cStringA getShaderName() const = 0;
    virtual bool setShaderName(const cStringA& name) = 0;
    virtual cStringA getModelName() const = 0;
    virtual bool setModelName(const cStringA& name) = 0;
    virtual cStringA getLayerTexture(unsigned layer) const = 0;
    // Returns true when the name changed.
    virtual bool setLayerTexture(unsigned layer, const cStringA& name) = 0;

    // ---- Depth ----
    float getDeep() const { return m_deep; }
    // Children shift by the same difference; re-sorts the render set.
    virtual void setDeep(float deep);

    // ---- Colours ----
    virtual uint32_t getVertexAlpha(unsigned vertex) const;  // 0 above vertex 3
    virtual void setAlpha(uint32_t alpha);                   // low 8 bits, all vertices
    virtual void setVertexAlpha(unsigned vertex, uint32_t alpha);
    virtual uint32_t getVertexColor(unsigned vertex) const;  // 0x00RRGGBB; 0 above vertex 3
    virtual void setColor(uint32_t rgb);                     // alpha kept
    virtual void setVertexColor(unsigned vertex, uint32_t rgb);
    virtual uint32_t getQuadWord() const { return m_quad.stencilValue; }
    virtual void setQuadWord(uint32_t value) { m_quad.stencilValue = value; }

    // ---- Layer wrappers ----
    cRect getLayer0TextureRect() const { return getLayerTextureRect(0); }
    void setLayer0TextureRect(const cRect& r) { setLayerTextureRect(0, r); }
    cRect getLayer1TextureRect() const { return getLayerTextureRect(1); }
    void setLayer1TextureRect(const cRect& r) { setLayerTextureRect(1, r); }
    float getLayer0Length() const { return getLayerLength(0); }
    void setLayer0Length(float v) { setLayerLength(0, v); }
    uint32_t getLayer0FrameCount() const { return getLayerFrameCount(0); }
    void setLayer0FrameCount(uint32_t v) { setLayerFrameCount(0, v); }
    cVector2 getLayer0FrameSize() const { return getLayerFrameSize(0); }
    void setLayer0FrameSize(const cVector2& v) { setLayerFrameSize(0, v); }
    float getLayer0Time() const { return getLayerTime(0); }
    void setLayer0Time(float v) { setLayerTime(0, v); }
    uint32_t getLayer0Frame() const { return getLayerFrame(0); }
    void setLayer0Frame(uint32_t v) { setLayerFrame(0, v); }
    bool isLayer0Looped() const { return isLayerLooped(0); }
    void setLayer0Looped(bool v) { setLayerLooped(0, v); }
    float getLayer1Length() const { return getLayerLength(1); }
    void setLayer1Length(float v) { setLayerLength(1, v); }
    uint32_t getLayer1FrameCount() const { return getLayerFrameCount(1); }
    void setLayer1FrameCount(uint32_t v) { setLayerFrameCount(1, v); }
    cVector2 getLayer1FrameSize() const { return getLayerFrameSize(1); }
    void setLayer1FrameSize(const cVector2& v) { setLayerFrameSize(1, v); }
    float getLayer1Time() const { return getLayerTime(1); }
    void setLayer1Time(float v) { setLayerTime(1, v); }
    uint32_t getLayer1Frame() const { return getLayerFrame(1); }
    void setLayer1Frame(uint32_t v) { setLayerFrame(1, v); }
    bool isLayer1Looped() const { return isLayerLooped(1); }
    void setLayer1Looped(bool v) { setLayerLooped(1, v); }

    // ---- Model (calls on a sprite without a model instance do nothing) ----
    virtual cStringA getModelAnimationName();
    virtual void setModelAnimation(const cStringA& name, float length, float position);
    virtual void advanceModelAnimation(float dt);
    virtual void setModelPosition(const cVector2& position);
    virtual cVector2 getModelPosition();
    virtual size_t getModelPartCount();
    virtual cStringA getModelPartName(size_t part);
    virtual size_t getModelPartBoneCount(size_t part);
    virtual cStringA getModelPartBoneName(size_t part, size_t bone);
    // Throws "The index has exceed the bound." when either index is out of range.
    virtual cMatrix4x4 getModelPartBoneMatrix(size_t part, size_t bone);
    virtual void setModelPartBoneMatrices(size_t part, const cMatrix4x4* matrices, size_t count);
    cModel* getModel() const { return m_model; }
    cModelInstance* getModelInstance() const { return m_modelInstance; }

    // ---- Drawing ----
    virtual DrawCallback getBeginDrawCallback() const { return m_beginDrawCallback; }
    virtual void setBeginDrawCallback(DrawCallback cb) { m_beginDrawCallback = cb; }
    virtual DrawCallback getDrawCallback() const { return m_drawCallback; }
    virtual void setDrawCallback(DrawCallback cb) { m_drawCallback = cb; }
    virtual uint32_t getRenderFlags() const { return m_renderFlags; }
    virtual bool testRenderFlags(uint32_t bits) const { return (m_renderFlags & bits) != 0; }
    virtual void setRenderFlags(uint32_t bits, bool on);
    void setLayer0Animation(const cAnimation& a, unsigned origin, float value) { setAnimation(0, a, origin, value); }
    void setLayer1Animation(const cAnimation& a, unsigned origin, float value) { setAnimation(1, a, origin, value); }
    // The quad with every stale part recomputed.
    virtual const cRenderQuad& getQuad();
    virtual void copyQuad(const cRenderQuad& quad);
    virtual void setQuadWord2(const cShaderConstantList* constants) { m_quad.shaderConstants = constants; }
    // Forgets textures, model, instance and shader and looks them all up again at once.
    virtual void resetResources();
    virtual void recomputeAll();
    // Runs the controllers in order; a controller returning true is removed.
    virtual void runControllers();
    void addController(Controller controller);
    size_t getControllerCount() const { return m_controllers.size(); }

    // ---- Animation layers ----
    virtual cRect getLayerTextureRect(unsigned layer) const;
    virtual void setLayerTextureRect(unsigned layer, const cRect& rect);
    virtual float getLayerLength(unsigned layer) const;
    virtual void setLayerLength(unsigned layer, float length);
    virtual uint32_t getLayerFrameCount(unsigned layer) const;
    virtual void setLayerFrameCount(unsigned layer, uint32_t count);
    virtual cVector2 getLayerFrameSize(unsigned layer) const;
    virtual void setLayerFrameSize(unsigned layer, const cVector2& size);
    virtual float getLayerTime(unsigned layer) const;
    virtual void setLayerTime(unsigned layer, float time);
    // Frame number 1..count from the layer's (raw) time.
    virtual uint32_t getLayerFrame(unsigned layer) const;
    // Throws "New value of animation frame is incorrect." outside 1..count + 1.
    virtual void setLayerFrame(unsigned layer, uint32_t frame);
    virtual bool isLayerLooped(unsigned layer) const;
    virtual void setLayerLooped(unsigned layer, bool looped);
    // Throws L"Bad animation origin has been specified." for an origin above 4.
    virtual void setAnimation(unsigned layer, const cAnimation& animation, unsigned origin, float value);
    void advanceLayerTime(unsigned layer, float dt);
    // The function called when a non-looped layer's time is clamped to its run.
    void setLayerEndCallback(unsigned layer, AnimEndCallback callback, void* argument);
    void advanceAnimation(float dt) { advanceLayerTime(0, dt); }
    const cAnimLayer& getAnimLayer(unsigned layer) const { return m_layers[layer > 1 ? 1 : layer]; }
    uint32_t getLayerColumns(unsigned layer) const { return getAnimLayer(layer).columns; }
    uint32_t getLayerRows(unsigned layer) const { return getAnimLayer(layer).rows; }

    // ---- Others ----
    void moveBy(const cVector2& delta) { setPosition(m_position + delta); }
    void changeDeepBy(float delta) { setDeep(m_deep + delta); }
    // Copies the look of another sprite (not the node part, controllers, resources).
    void assign(const cSprite& other);
    cVector2 getLayerTextureSize(unsigned layer);
    cVector2 getTextureSize() { return getLayerTextureSize(0); }
    cTexture* getLayerTextureObject(unsigned layer);  // after a pending look-up
    cVector2 getQuadSize() const { return m_quadSize; }
    // Builds the draw record of this sprite (looking up stale textures and model first).
    cDrawRecord makeDrawRecord();

    void reloadLayerTexture(unsigned layer);
    void reloadModel();
    void reloadShader();
    bool isLayerTextureStale(unsigned layer) const { return m_textureStale[layer > 1 ? 1 : layer]; }
    bool isModelStale() const { return m_modelStale; }
    bool isShaderStale() const { return m_shaderStale; }

protected:
    void markLayerTextureStale(unsigned layer);
    void markModelStale() { m_modelStale = true; }
    void markShaderStale() { m_shaderStale = true; }
    void markLayerUvStale(unsigned layer) { if (layer < 2) m_uvStale[layer] = true; }
    void markVerticesStale() { m_verticesStale = true; }
    void markMatrixStale() { m_matrixStale = true; }
    void markRecomputeAll() { m_recomputeAll = true; }
    void updateVertices();
    void updateMatrix();
    void updateLayerUV(unsigned layer);
    void updateLayerFrameGrid(unsigned layer);
    void setQuadSize(const cVector2& size);

private:
    friend void changeDeep(cSprite* sprite, float deep);
    friend void addToRenderSet(cSprite* sprite);
    friend void removeFromRenderSet(cSprite* sprite);
    friend bool isInRenderSet(const cSprite* sprite);
    friend class cCompositePicture;
    void destroyModelInstance();
    void setLayerFrameClamped(unsigned layer, uint32_t frame);
    // source names the section or element in warnings.
    template <class Get> void loadSpriteKeys(const Get& get, bool xml, const cStringA& source);

    bool m_recomputeAll = true;
    bool m_textureStale[2] = {false, false};
    bool m_uvStale[2] = {false, false};
    bool m_verticesStale = true;
    bool m_matrixStale = true;
    bool m_modelStale = true;
    bool m_shaderStale = true;
    cRenderQuad m_quad;
    float m_deep = 0.0f;
    cVector2 m_position;
    cVector2 m_origin;
    cVector2 m_scale{1.0f, 1.0f};
    float m_angle = 0.0f;
    uint32_t m_transformFlags = TF_CENTERED;
    cOffsetSource* m_offsetSource = nullptr;
    std::list<Controller> m_controllers;
    cTexture* m_textures[2] = {nullptr, nullptr};
    cStringA m_textureNames[2];   // names the held textures were looked up with
    cRect m_textureRects[2];
    cAnimLayer m_layers[2];
    cVector2 m_quadSize;
    cModel* m_model = nullptr;
    cStringA m_modelNameLoaded;
    cModelInstance* m_modelInstance = nullptr;
    cStringA m_shaderNameLoaded;
    uint32_t m_renderFlags = 0;
    DrawCallback m_beginDrawCallback = nullptr;
    DrawCallback m_drawCallback = nullptr;
    // Render-set membership: the depth key the sprite was inserted with.
    bool m_inRenderSet = false;
    float m_renderKey = 0.0f;
    // Composites this sprite is attached to; they forget it when it is destroyed.
    std::vector<cCompositePicture*> m_attachedTo;
};
