#pragma once
// One tutorial hint: a speech bubble with up to two animated arrows that point at the thing to
// click. It fades in on game time while it shrinks from 1.3 to its natural size, and fades out
// while it grows back; at rest it is drawn unscaled and without texture filtering. A hint that
// has faded out is hidden and disabled. startAppear and startDisappear may be called in any
// state: the fade goes on from the current alpha and scale.

#include "engine/scene/cSceneNode.h"

class cPicture;

class cHint : public cSceneNode {
public:
    static constexpr float kAlphaPerSecond = 1600.0f;
    static constexpr float kScalePerSecond = 2.0f;
    static constexpr float kHiddenScale = 1.3f;

    explicit cHint(cSceneNode* parent = nullptr);
    ~cHint() override;

    // The arrows' animations advance by the game-time step, the running fade steps, then the
    // children update.
    void update() override;

    void startAppear();
    void startDisappear();
    // No fade is running.
    bool isDone() const { return m_done; }
    bool isAppearing() const { return m_step == &cHint::appearStep; }
    bool isDisappearing() const { return m_step == &cHint::disappearStep; }

    // The pictures become the hint's (it deletes them); a replaced one is deleted.
    void setBubble(cPicture* bubble);
    void setArrow1(cPicture* arrow);
    void setArrow2(cPicture* arrow);
    cPicture* getBubble() const { return m_bubble; }
    cPicture* getArrow1() const { return m_arrow1; }
    cPicture* getArrow2() const { return m_arrow2; }
    float getAlpha() const { return m_alpha; }
    float getScale() const { return m_scale; }

private:
    using Step = void (cHint::*)(float dt);
    void appearStep(float dt);
    void disappearStep(float dt);
    // Alpha, scale and the filter flag onto every picture.
    void applyLook();
    static void replace(cPicture*& slot, cPicture* picture);

    cPicture* m_bubble = nullptr;
    cPicture* m_arrow1 = nullptr;
    cPicture* m_arrow2 = nullptr;
    bool m_done = true;
    float m_alpha = 0.0f;
    float m_scale = kHiddenScale;
    Step m_step = nullptr;
};
