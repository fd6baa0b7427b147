#include "game/shop/cAppearingCloud.h"

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"

cAppearingCloud::cAppearingCloud(cSceneNode* parent) : cTextCloud(parent) {
    loadFromIni(effectIni(kConfig), L"CLOUD");
}

cAppearingCloud::~cAppearingCloud() {
    cSceneNode::hide();
    cSceneNode::disable();
}

void cAppearingCloud::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cTextCloud::loadFromIni(ini, section);
    const wchar_t* params = L"APPEAR_DISAPPEAR_PARAM";
    m_appear_delay = m_disappear_delay = m_start_alpha = m_fade_time = 0.0f;
    readFloat(ini, params, L"appear_delay_time", &m_appear_delay);
    readFloat(ini, params, L"disappear_delay_time", &m_disappear_delay);
    readFloat(ini, params, L"start_alpha", &m_start_alpha);
    readFloat(ini, params, L"alpha_appear_time", &m_fade_time);
    m_countdown = m_appear_delay;
    m_full_alpha = static_cast<float>(getVertexAlpha(0));
    m_appear_rate = m_disappear_rate = 0.0f;
    if (m_fade_time > 0.0f) {
        m_appear_rate = (m_full_alpha - m_start_alpha) / m_fade_time;
        m_disappear_rate = (m_start_alpha - m_full_alpha) / m_fade_time;
        m_alpha = m_start_alpha;
    } else {
        m_alpha = m_full_alpha;
    }
}

void cAppearingCloud::update() {
    if (m_step) (this->*m_step)();
    cPicture::update();
}

bool cAppearingCloud::stepFade(float rate, float target, bool showWhenDue) {
    const float dt = getDeltaTime();
    // 1. The delay.
    m_countdown -= dt;
    if (m_countdown > 0.0f) return false;
    // 2. Due: the fade-in shows the cloud.
    m_countdown = 0.0f;
    if (showWhenDue) {
        show();
        enable();
    }
    // 3., 4. The alpha towards the target.
    m_alpha += rate * dt;
    bool done = false;
    if (rate == 0.0f) {
        done = true;
    } else if ((rate > 0.0f && m_alpha >= target) || (rate < 0.0f && m_alpha <= target)) {
        m_alpha = target;
        done = true;
    }
    // 5. The whole cloud takes the alpha.
    const float clamped = m_alpha < 0.0f ? 0.0f : (m_alpha > 255.0f ? 255.0f : m_alpha);
    setAlpha(static_cast<uint32_t>(clamped));
    return done;
}

void cAppearingCloud::stepAppear() {
    deactivate();
    if (stepFade(m_appear_rate, m_full_alpha, true)) {
        m_countdown = m_disappear_delay;
        m_step = nullptr;
    }
}

void cAppearingCloud::stepDisappear() {
    deactivate();
    if (stepFade(m_disappear_rate, m_start_alpha, false)) {
        m_countdown = m_appear_delay;
        hide();
        disable();
        m_step = nullptr;
    }
}
