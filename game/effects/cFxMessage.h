#pragma once
// A message picture bounced onto the screen: goal reached (type 0), expert goal reached
// (type 1, one depth step up) or bonus mode (type 2, two steps up). It shrinks from scale 1.5
// to 1, bounces up past 1.3 and back to 1 while fading in, holds 0.7 s at scale 1 (drawn
// without filtering exactly then), then swells past 1.2 and fades out. The level does not end
// while a message is alive. Game time. "Config/Game/fx_message.ini" section "COMMON".

#include "engine/scene/cPicture.h"

class cFxMessage : public cPicture {
public:
    cFxMessage(cSceneNode* parent, int type, const cVector2& position);
    ~cFxMessage() override;
    void update() override;

    int getStage() const { return m_stage; }
    float getCurrentScale() const { return m_scale; }
    // The picture of a type; types other than 1 and 2 show the goal picture.
    static cStringA pictureOf(int type);

private:
    float m_alpha = 0.0f;
    float m_scale = 1.5f;
    float m_velocity = -4.0f;   // scale units per second
    int m_stage = 0;
    float m_hold = 0.7f;
};
