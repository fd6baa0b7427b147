#include "game/minigame/cExcellentPopup.h"

#include <algorithm>

#include "game/effects/EffectSupport.h"
#include "game/minigame/MiniGameFiles.h"

cExcellentPopup::cExcellentPopup(cSceneNode* parent, bool keepPicture, const cVector2& position) : cPicture(parent) {
    cEffectRegistry<cExcellentPopup>::registerInstance(this);
    setAutoFiltering(true);
    setPosition(position);
    setAlpha(0);
    setUniformScale(m_scale);
    setDeep(kDeep);
    if (!keepPicture) setPicture(minigame_files::kExcellentTexture);
    show();
    enable();
}

cExcellentPopup::~cExcellentPopup() {
    hide();
    disable();
    cEffectRegistry<cExcellentPopup>::unregisterInstance(this);
}

void cExcellentPopup::update() {
    cPicture::update();
    const float step = getDeltaTime();
    // 1. Scale and alpha move unless the pop-up rests or leaves.
    if (m_phase != 3.0f) {
        m_scale_speed += 3.0f * step;
        m_scale += m_scale_speed * step;
        m_alpha = std::min(m_alpha + 1300.0f * step, 255.0f);
    }
    // 2.-5. The phases: shrink in, bounce up, settle, rest and leave.
    if (m_phase == 0.0f) {
        if (m_scale <= 1.0f) {
            m_phase = 1.0f;
            m_scale_speed = -m_scale_speed;
        }
    } else if (m_phase == 1.0f) {
        if (m_scale > 1.3f) {
            m_phase = 2.0f;
            m_scale_speed = -m_scale_speed;
        }
    } else if (m_phase == 2.0f) {
        if (m_scale <= 1.0f) {
            m_phase = 3.0f;
            m_scale_speed = -m_scale_speed;
            m_scale = 1.0f;
        }
    } else {
        m_hold -= step;
        if (m_hold <= 0.0f) {
            m_hold = 0.0f;
            m_scale += 5.0f * step;
            if (m_scale > 1.2f) {
                m_alpha = endAtZero(this, m_alpha - 1300.0f * step);
            }
        }
    }
    // 6. Apply.
    setUniformScale(m_scale);
    setAlpha(toAlpha(m_alpha));
}

const EffectRegistry& getExcellentPopups() { return cEffectRegistry<cExcellentPopup>::instances(); }
void clearExcellentPopups() { cEffectRegistry<cExcellentPopup>::clear(); }
