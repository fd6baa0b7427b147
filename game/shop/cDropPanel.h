#pragma once
// A composite picture that drops in from above on a damped spring when it is shown and lifts
// away upwards when it is opened, with the panel sounds. Nothing in the game creates one:
// its target and rest points stay at (0, 0).

#include <cstdint>

#include "engine/core/cVector2.h"
#include "engine/scene/cCompositePicture.h"

class cDropPanel : public cCompositePicture {
public:
    static constexpr float kSpringFactor = 200.0f;
    static constexpr float kSpringScale = 0.017f;   // with the factor: 3.4 per second
    static constexpr float kSpringStart = -2.5f;
    static constexpr float kLiftSpeed = 1800.0f;    // pixels per second of interface time

    explicit cDropPanel(cSceneNode* parent);
    ~cDropPanel() override;

    void update() override;
    void onShow() override;
    virtual void setOpen(bool open);
    virtual int32_t getValue() const { return m_value; }
    void setValue(int32_t value) { m_value = value; }

    bool isDropping() const { return m_step == &cDropPanel::dropInStep; }
    bool isLifting() const { return m_step == &cDropPanel::liftStep; }
    float getSpringParameter() const { return m_t; }

protected:
    virtual void dropInStep();
    virtual void liftStep();

private:
    void setStep(void (cDropPanel::*step)());
    void clearStep();
    void springStep();
    bool consumeOpen();

    cVector2 m_target;
    float m_moving = 1.0f;
    float m_t = kSpringStart;
    int m_phase = 0;
    cVector2 m_rest;
    bool m_open = false;
    int32_t m_value = 0;
    void (cDropPanel::*m_step)() = nullptr;
    bool m_play_sound = true;
};
