#pragma once
// The concrete sprite of almost every visible object: it holds the resource names (two layer
// textures, a model, a vertex shader), runs its controllers in its update, queues a show and a
// hide controller at every visibility change, and can choose texture filtering by itself from
// its scale and angle (auto filtering).

#include "engine/scene/cSprite.h"

class cPicture : public cSprite {
public:
    explicit cPicture(cSceneNode* parent = nullptr);
    ~cPicture() override;

    int getTypeId() const override { return SCENE_PICTURE; }
    // Controllers first, then the node update (callback, then children).
    void update() override;
    void loadFromNode(const cXmlNode& node) override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onShow() override;
    void onHide() override;
    void setUniformScale(float scale) override;
    void setScale(const cVector2& scale) override;
    void setAngle(float degrees) override;
    cStringA getShaderName() const override { return m_shaderName; }
    bool setShaderName(const cStringA& name) override;
    cStringA getModelName() const override { return m_modelName; }
    bool setModelName(const cStringA& name) override;
    cStringA getLayerTexture(unsigned layer) const override;
    bool setLayerTexture(unsigned layer, const cStringA& name) override;

    virtual Controller getHideController() const { return m_hideController; }
    virtual void setHideController(Controller c) { m_hideController = c; }
    virtual Controller getShowController() const { return m_showController; }
    virtual void setShowController(Controller c) { m_showController = c; }

    cStringA getPicture() const { return getLayerTexture(0); }
    bool setPicture(const cStringA& name) { return setLayerTexture(0, name); }
    const cStringA& getPictureName() const { return m_layerNames[0]; }
    void setAutoFiltering(bool on);
    bool getAutoFiltering() const { return m_autoFiltering; }
    // While auto filtering is on: use_filtering off exactly for an unscaled picture at a right
    // angle, on otherwise.
    void applyAutoFiltering();
    // Copies the sprite's look and the four names (not the controllers, not auto filtering).
    void assign(const cPicture& other);

private:
    template <class Source> void loadNames(const Source& get);

    cStringA m_layerNames[2];
    cStringA m_modelName;
    cStringA m_shaderName;
    Controller m_hideController = nullptr;
    Controller m_showController = nullptr;
    bool m_autoFiltering = false;
};
