#include "game/menus/cMenuPanel.h"

cMenuPanel::cMenuPanel(cSceneNode* parent) : cPicture(parent) {
    m_panel_motion.reset();
    m_overlay_motion.reset();
    m_overlay = new cPicture(this);
    setFinished(false);
}

cMenuPanel::~cMenuPanel() {
    cSceneNode::hide();
    disable();
    delete m_overlay;
}

void cMenuPanel::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    m_overlay->loadFromIni(ini, section + L"_ADD");
    m_shown = getPosition();
    m_overlay_shown = m_overlay->getPosition();
    m_hidden = cVector2(m_shown.x, kHiddenY);
    m_overlay_hidden = cVector2(m_overlay_shown.x, kHiddenY);
}

void cMenuPanel::update() {
    if (m_step == STEP_APPEAR)
        appearStep();
    else if (m_step == STEP_DISAPPEAR)
        disappearStep();
    cPicture::update();
}

void cMenuPanel::show() {
    setPosition(m_hidden);
    m_overlay->setPosition(m_overlay_hidden);
    m_panel_motion.initSlideIn(getPosition(), m_shown);
    m_overlay_motion.initSlideIn(m_overlay->getPosition(), m_overlay_shown);
    m_step = STEP_APPEAR;
}

void cMenuPanel::hide() {
    m_panel_motion.initSlideOut(getPosition(), m_hidden);
    m_overlay_motion.initSlideOut(m_overlay->getPosition(), m_overlay_hidden);
    m_step = STEP_DISAPPEAR;
}

void cMenuPanel::appearStep() {
    const float dt = getDeltaTime2();
    // 1. Nothing on the panel reacts while it moves.
    deactivate();
    cSceneNode::show();
    enable();
    // 2. The overlay leads ...
    m_overlay->setPosition(m_overlay_motion.step(dt));
    // 3. ... and the panel follows once the overlay's curve has passed the mark.
    if (m_overlay_motion.value() > kPanelFollowsAt) setPosition(m_panel_motion.step(dt));
    // 4. Arrived: both exactly on their resting points, and the panel listens again.
    if (m_panel_motion.isDone()) {
        m_overlay->setPosition(m_overlay_motion.step(0.0f));
        setPosition(m_panel_motion.step(0.0f));
        setFinished(false);
        m_step = STEP_NONE;
        activate();
    }
}

void cMenuPanel::disappearStep() {
    const float dt = getDeltaTime2();
    deactivate();
    // Both move together; the panel's move carries the overlay by the same offset.
    m_overlay->setPosition(m_overlay_motion.step(dt));
    setPosition(m_panel_motion.step(dt));
    if (m_panel_motion.isDone()) {
        m_overlay->setPosition(m_overlay_motion.step(0.0f));
        setPosition(m_panel_motion.step(0.0f));
        setFinished(true);
        cSceneNode::hide();
        disable();
        m_step = STEP_NONE;
    }
}
