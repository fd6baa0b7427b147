#include "game/effects/cFxMessage.h"

#include <algorithm>

#include "game/effects/EffectRegistry.h"
#include "game/effects/EffectSupport.h"

cStringA cFxMessage::pictureOf(int type) {
    if (type == 1) return "Game/Interface/Surfaces/expert.dds";
    if (type == 2) return "Game/Interface/Surfaces/five_stars.dds";
    return "Game/Interface/Surfaces/goal.dds";
}

cFxMessage::cFxMessage(cSceneNode* parent, int type, const cVector2& position) : cPicture(parent) {
    loadFromIni(effectIni(fx_files::kMessage), L"COMMON");
    setPosition(position);
    setAlpha(0);
    setUniformScale(m_scale);
    setPicture(pictureOf(type));
    if (type == 1) setDeep(getDeep() + 1.0f);
    if (type == 2) setDeep(getDeep() + 2.0f);
    cEffectRegistry<cFxMessage>::registerInstance(this);
}

cFxMessage::~cFxMessage() {
    hide();
    cEffectRegistry<cFxMessage>::unregisterInstance(this);
}

void cFxMessage::update() {
    cPicture::update();
    const float dt = getDeltaTime();
    // 1. The bounce and the fade-in.
    if (m_stage != 3) {
        m_velocity += 3.0f * dt;
        m_scale += m_velocity * dt;
        m_alpha = std::min(m_alpha + 1300.0f * dt, 255.0f);
    }
    // 2. Down to 1, up past 1.3, down to 1, hold, swell and fade out.
    switch (m_stage) {
    case 0:
        if (m_scale <= 1.0f) {
            m_stage = 1;
            m_velocity = -m_velocity;
        }
        break;
    case 1:
        if (m_scale > 1.3f) {
            m_stage = 2;
            m_velocity = -m_velocity;
        }
        break;
    case 2:
        if (m_scale <= 1.0f) {
            m_stage = 3;
            m_velocity = -m_velocity;
            m_scale = 1.0f;
        }
        break;
    default:
        m_hold -= dt;
        if (m_hold <= 0.0f) {
            m_hold = 0.0f;
            m_scale += 5.0f * dt;
            if (m_scale > 1.2f) {
                m_alpha -= 1300.0f * dt;
                if (m_alpha < 0.0f) {
                    m_alpha = 0.0f;
                    scheduleDelete(this);
                }
            }
        }
        break;
    }
    // 3. Unfiltered exactly at scale 1.
    setRenderFlags(RF_USE_FILTERING, m_scale != 1.0f);
    setUniformScale(m_scale);
    setAlpha(toAlpha(m_alpha));
}
