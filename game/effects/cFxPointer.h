#pragma once
// The fading copy of a pointer marker that a click target hides: it holds alpha 255 for
// `delay_before_disappear` seconds, then fades to 0 in `time_disappear` seconds
// ("Config/Game/fx_pointer.ini" section "COMMON"). A `time_disappear` of 0 or less, or
// absent, makes it vanish as soon as the delay has run out. Game time.

#include "engine/scene/cPicture.h"

class cFxPointer : public cPicture {
public:
    cFxPointer(cSceneNode* parent, const cVector2& position, float deep);
    ~cFxPointer() override;
    void update() override;

private:
    float m_alpha = 255.0f;
    float m_rate = 0.0f;
    float m_delay = 0.0f;
    float m_time_disappear = 0.0f;
};
