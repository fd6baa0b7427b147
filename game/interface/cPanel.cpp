#include "game/interface/cPanel.h"

#include "engine/app/cLogic.h"
#include "engine/scene/cButton.h"
#include "game/interface/PanelFiles.h"

bool isAltHeld() {
    cInput* input = getInput();
    return input && input->isAltWithKey();
}

cPanel::cPanel(cSceneNode* parent, cPanelOwner* owner)
    : cCompositePicture(parent), m_owner(owner), m_background(new cPicture(this)) {
    m_motion.reset();
    m_background_motion.reset();
    setFinished(false);
}

cPanel::~cPanel() {
    cSceneNode::hide();
    cSceneNode::disable();
    delete m_background;
    m_background = nullptr;
}

void cPanel::loadConfig(const cIniFile& ini, const cStringW& section) {
    cCompositePicture::loadFromIni(ini, section);
    m_background->loadFromIni(ini, L"ADD_PANEL");
}

void cPanel::show(bool sound) {
    m_step = &cPanel::appearStep;
    if (sound) widget_shape::playSound(panel_files::kSoundAppear);
    if (m_dim_level && m_owner) m_owner->setDimmed(true);
}

void cPanel::hide(bool sound) {
    m_step = &cPanel::disappearStep;
    if (sound) widget_shape::playSound(panel_files::kSoundDisappear);
    if (m_dim_level && m_owner) m_owner->setDimmed(false);
}

void cPanel::update() {
    // 1. A visible modal panel keeps the owner's status panel inactive.
    if (isVisible() && m_modal) setStatusPanelActive(false);
    // 2. The slide step.
    if (m_step) (this->*m_step)();
    // 3. Controllers, callback and children.
    cCompositePicture::update();
}

void cPanel::appearStep() {
    if (m_freeze_time) freezeGame(true);
    deactivateAll();
    if (m_modal) setStatusPanelActive(false);
    // The first step after the panel was hidden and disabled runs the derived enable handler.
    cSceneNode::show();
    cSceneNode::enable();
    float dt = getDeltaTime2();
    m_background->setPosition(m_background_motion.step(dt));
    if (m_background_motion.value() > 3.0f) setPosition(m_motion.step(dt));
    if (m_motion.isDone()) {
        m_background->setPosition(m_background_motion.step(0.0f));
        setPosition(m_motion.step(0.0f));
        setFinished(false);
        m_step = nullptr;
        activateAll();
    }
}

void cPanel::disappearStep() {
    if (m_freeze_time) freezeGame(true);
    deactivateAll();
    if (m_modal) setStatusPanelActive(false);
    float dt = getDeltaTime2();
    m_background->setPosition(m_background_motion.step(dt));
    setPosition(m_motion.step(dt));
    if (m_motion.isDone()) {
        if (m_modal) setStatusPanelActive(true);
        m_background->setPosition(m_background_motion.step(0.0f));
        setPosition(m_motion.step(0.0f));
        setFinished(true);
        cSceneNode::hide();
        cSceneNode::disable();
        m_step = nullptr;
        activateAll();
        if (m_freeze_time) freezeGame(false);
    }
}

void cPanel::setSlidePoints() {
    m_shown_position = getPosition();
    m_background_shown_position = m_background->getPosition();
    m_hidden_position = cVector2(m_shown_position.x, kHiddenY);
    m_background_hidden_position = cVector2(m_background_shown_position.x, kHiddenY);
}

void cPanel::prepareSlideIn(const cVector2& start, const cVector2& backgroundStart) {
    m_motion.initSlideIn(start, m_shown_position);
    m_background_motion.initSlideIn(backgroundStart, m_background_shown_position);
}

void cPanel::prepareSlideInFromHere() { prepareSlideIn(getPosition(), m_background->getPosition()); }

void cPanel::prepareSlideOut() {
    m_motion.initSlideOut(getPosition(), m_hidden_position);
    m_background_motion.initSlideOut(m_background->getPosition(), m_background_hidden_position);
}

void cPanel::parkHidden() {
    // The panel first (it carries the background along), then the background to its own point.
    setPosition(m_hidden_position);
    m_background->setPosition(m_background_hidden_position);
}

void cPanel::setStatusPanelActive(bool active) {
    cPanel* status = m_owner ? m_owner->getStatusPanel() : nullptr;
    if (!status || status == this) return;
    if (active)
        status->activateAll();
    else
        status->deactivateAll();
}

void cPanel::freezeGame(bool frozen) {
    setLogicPaused(frozen);
}
