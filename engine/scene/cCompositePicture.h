#pragma once
// A picture that keeps a list of attached sprites (normally its children, not owned here) and
// makes them follow its position, depth, alpha, visibility, enabling and activation. Panels
// and dialogs are built from it: load it first, then attach its objects.

#include <vector>

#include "engine/scene/cPicture.h"

class cCompositePicture : public cPicture {
public:
    explicit cCompositePicture(cSceneNode* parent = nullptr);
    ~cCompositePicture() override;

    int getTypeId() const override { return SCENE_COMPOSITE_PICTURE; }
    // The picture's loader, then base position and base depth from the loaded values.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onShow() override;
    void onHide() override;
    void onEnable() override;
    void onDisable() override;
    void setPosition(const cVector2& position) override;
    void setDeep(float deep) override;
    void setAlpha(uint32_t alpha) override;
    virtual void activateAll();
    virtual void deactivateAll();

    // Appends the sprite (its position read relative to the base position); attaching it again
    // only refreshes its stored position.
    void attach(cSprite* sprite);
    // Forgets an attached sprite (it is not deleted); nothing when it is not attached.
    void detach(cSprite* sprite);
    size_t getAttachedCount() const { return m_attached.size(); }
    cSprite* getAttached(size_t i) const { return i < m_attached.size() ? m_attached[i] : nullptr; }
    cVector2 getBasePosition() const { return m_basePosition; }
    float getBaseDeep() const { return m_baseDeep; }

private:
    friend class cSprite;
    // Called by an attached sprite's destructor.
    void forgetAttached(cSprite* sprite);

    std::vector<cSprite*> m_attached;
    std::vector<cVector2> m_storedPositions;
    std::vector<float> m_storedDepths;
    cVector2 m_basePosition;
    float m_baseDeep = 0.0f;
};
