#pragma once
// Application state 1, the logo sequence: shown for a few seconds (Enter or a click ends it
// early), then finished. Always complete; the root object ignores its result.

#include "game/flow/cPlaceholderScreen.h"

class cLogo : public cPlaceholderScreen {
public:
    static constexpr const char* kBackground = "Menu/Custom/logo_back.dds";
    static constexpr float kDuration = 2.0f;  // seconds of interface time

    explicit cLogo(cSceneNode* parent);

protected:
    void onConfirm() override { finish(0); }
    void step(float dt) override;

private:
    float m_time = 0.0f;
};
