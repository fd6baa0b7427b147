#pragma once
// A text cloud that configures itself from "Config/Common/cloud.ini" (section CLOUD) and, on
// request, fades in after a delay and out after another, on game time. appear and disappear
// only switch the running step: the countdown and the alpha reached carry over, so a caller
// may repeat appear every frame while the same thing stays under the mouse.

#include "game/shop/cTextCloud.h"

class cAppearingCloud : public cTextCloud {
public:
    static constexpr const char* kConfig = "Config/Common/cloud.ini";

    explicit cAppearingCloud(cSceneNode* parent);
    ~cAppearingCloud() override;

    // The text cloud's loader, then APPEAR_DISAPPEAR_PARAM of the same file.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void update() override;

    void appear() { m_step = &cAppearingCloud::stepAppear; }
    void disappear() { m_step = &cAppearingCloud::stepDisappear; }
    bool isAppearing() const { return m_step == &cAppearingCloud::stepAppear; }
    bool isDisappearing() const { return m_step == &cAppearingCloud::stepDisappear; }
    bool isIdle() const { return m_step == nullptr; }
    float getCurrentAlpha() const { return m_alpha; }
    float getCountdown() const { return m_countdown; }

private:
    void stepAppear();
    void stepDisappear();
    // One fade frame; true when the target is reached.
    bool stepFade(float rate, float target, bool showWhenDue);

    float m_appear_delay = 0.0f;
    float m_disappear_delay = 0.0f;
    float m_countdown = 0.0f;
    float m_start_alpha = 0.0f;
    float m_full_alpha = 255.0f;
    float m_fade_time = 0.0f;
    float m_appear_rate = 0.0f;
    float m_disappear_rate = 0.0f;
    float m_alpha = 255.0f;
    void (cAppearingCloud::*m_step)() = nullptr;
};
