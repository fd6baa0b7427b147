#include "game/menus/cLogoPicture.h"

#include <cmath>

namespace {

// The progress of one frame of a fade of this length: all of it when the length is zero,
// negative or not a number, so that every fade ends.
float fadeStep(float dt, float length) { return length > 0.0f ? dt / length : 1.0f; }

}  // namespace

cLogoPicture::cLogoPicture(cSceneNode* parent) : cPicture(parent) {
    hide();
    disable();
}

cLogoPicture::~cLogoPicture() {
    hide();
    disable();
}

void cLogoPicture::setTimes(float appear, float hold, float disappear, float skipDisappear) {
    m_appear = appear;
    // A hold that is not a number would never end (and page 1 cannot be skipped).
    m_hold = std::isnan(hold) ? 0.0f : hold;
    m_disappear = disappear;
    m_skip_disappear = skipDisappear;
}

void cLogoPicture::skip() {
    m_disappear = m_skip_disappear;
    m_phase = PHASE_FADE_OUT;
}

void cLogoPicture::setProgress(float progress) {
    m_progress = progress < 0.0f ? 0.0f : (progress > 1.0f ? 1.0f : progress);
    if (std::isnan(progress)) m_progress = 0.0f;
    setAlpha(m_page == 1 ? 255u : static_cast<uint32_t>(255.0f * m_progress));
}

void cLogoPicture::update() {
    cPicture::update();
    const float dt = getDeltaTime();
    switch (m_phase) {
    case PHASE_START:
        setProgress(0.0f);
        show();
        m_phase = PHASE_FADE_IN;
        break;
    case PHASE_FADE_IN:
        if (m_progress == 1.0f) {
            m_held = 0.0f;
            m_phase = PHASE_HOLD;
        } else {
            setProgress(m_progress + fadeStep(dt, m_appear));
        }
        break;
    case PHASE_HOLD:
        if (m_held > m_hold)
            m_phase = PHASE_FADE_OUT;
        else
            m_held += dt;
        break;
    case PHASE_FADE_OUT:
        if (m_progress == 0.0f) {
            m_phase = PHASE_DONE;
            hide();
        } else {
            setProgress(m_progress - fadeStep(dt, m_disappear));
        }
        break;
    default: break;
    }
}
