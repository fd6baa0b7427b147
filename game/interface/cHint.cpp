#include "game/interface/cHint.h"

#include "engine/media/cDrawRecord.h"
#include "engine/scene/cPicture.h"

cHint::cHint(cSceneNode* parent) : cSceneNode(parent) {}

cHint::~cHint() {
    delete m_bubble;
    delete m_arrow1;
    delete m_arrow2;
}

void cHint::replace(cPicture*& slot, cPicture* picture) {
    if (slot == picture) return;
    delete slot;
    slot = picture;
}

void cHint::setBubble(cPicture* bubble) { replace(m_bubble, bubble); }
void cHint::setArrow1(cPicture* arrow) { replace(m_arrow1, arrow); }
void cHint::setArrow2(cPicture* arrow) { replace(m_arrow2, arrow); }

void cHint::update() {
    const float dt = getDeltaTime();
    if (m_arrow1) m_arrow1->advanceLayerTime(0, dt);
    if (m_arrow2) m_arrow2->advanceLayerTime(0, dt);
    if (m_step) (this->*m_step)(dt);
    cSceneNode::update();
}

void cHint::startAppear() {
    m_step = &cHint::appearStep;
    m_done = false;
}

void cHint::startDisappear() {
    m_step = &cHint::disappearStep;
    m_done = false;
}

void cHint::appearStep(float dt) {
    if (!isOwnVisible()) {
        show();
        enable();
    }
    m_alpha += kAlphaPerSecond * dt;
    m_scale -= kScalePerSecond * dt;
    if (m_scale < 1.0f) m_scale = 1.0f;
    if (m_alpha >= 255.0f) {
        m_alpha = 255.0f;
        m_scale = 1.0f;
        m_step = nullptr;
        m_done = true;
    }
    applyLook();
}

void cHint::disappearStep(float dt) {
    m_alpha -= kAlphaPerSecond * dt;
    m_scale += kScalePerSecond * dt;
    if (m_scale > kHiddenScale) m_scale = kHiddenScale;
    if (m_alpha <= 0.0f) {
        m_alpha = 0.0f;
        m_scale = kHiddenScale;
        m_step = nullptr;
        m_done = true;
        hide();
        disable();
    }
    applyLook();
}

void cHint::applyLook() {
    const bool filtering = m_scale != 1.0f;
    const auto alpha = static_cast<uint32_t>(static_cast<int>(m_alpha));
    for (cPicture* picture : {m_bubble, m_arrow1, m_arrow2}) {
        if (!picture) continue;
        picture->setRenderFlags(RF_USE_FILTERING, filtering);
        picture->setAlpha(alpha);
        picture->setUniformScale(m_scale);
    }
}
