#include "game/shop/cDropPanel.h"

#include <cmath>

#include "engine/app/cLogic.h"
#include "engine/scene/cButton.h"
#include "game/interface/PanelFiles.h"

cDropPanel::cDropPanel(cSceneNode* parent) : cCompositePicture(parent) {}

cDropPanel::~cDropPanel() {
    cSceneNode::hide();
    cSceneNode::disable();
}

void cDropPanel::onShow() {
    cCompositePicture::onShow();
    m_value = 0;
    setStep(&cDropPanel::dropInStep);
}

void cDropPanel::update() {
    if (m_step) (this->*m_step)();
    cCompositePicture::update();
}

void cDropPanel::setStep(void (cDropPanel::*step)()) {
    deactivateAll();
    m_step = step;
}

void cDropPanel::clearStep() {
    m_step = nullptr;
    activateAll();
}

void cDropPanel::dropInStep() {
    if (m_play_sound) {
        widget_shape::playSound(panel_files::kSoundAppear);
        m_play_sound = false;
    }
    if (isActive()) deactivateAll();
    if (m_moving != 0.0f) {
        if (m_phase == 0) m_phase = 1;
        springStep();
    }
    if (m_moving == 0.0f) {
        clearStep();
        m_play_sound = true;
    }
}

void cDropPanel::springStep() {
    if (m_phase <= 0 || m_moving == 0.0f) return;
    const float y = getPosition().y;
    m_t += getDeltaTime2() * kSpringFactor * kSpringScale;
    if (m_phase == 1 && m_t >= -1.0f)
        m_phase = 2;
    else if (m_phase == 2 && y <= m_target.y)
        m_moving = 0.0f;
    if (m_moving == 0.0f)
        setPosition(m_target);
    else
        setPosition(cVector2(getPosition().x, std::sin(2.0f * m_t) * (-100.0f * m_t * m_t) + m_target.y - 60.0f));
}

void cDropPanel::liftStep() {
    if (m_play_sound) {
        widget_shape::playSound(panel_files::kSoundDisappear);
        m_play_sound = false;
    }
    if (isActive()) deactivateAll();
    if (getPosition().y > m_rest.y) {
        setPosition(getPosition() - cVector2(0.0f, kLiftSpeed * getDeltaTime2()));
        return;
    }
    setPosition(m_rest);
    clearStep();
    cSceneNode::hide();
    cSceneNode::disable();
    setLogicPaused(false);
    m_play_sound = true;
}

bool cDropPanel::consumeOpen() {
    if (!m_open || m_step) return false;
    m_open = false;
    return true;
}

void cDropPanel::setOpen(bool open) {
    if (open && !consumeOpen())
        setStep(&cDropPanel::liftStep);
    else
        m_value = 0;
    m_open = open;
}
