#include "game/menus/cOptionsPanel.h"

#include "engine/core/cResourceManager.h"
#include "engine/media/cSound.h"

cOptionsPanel* getOptionsPanel() { return cOptionsPanel::instance(); }

cOptionsPanel::cOptionsPanel(cSceneNode* parent) : cPanel(parent, nullptr), m_controls(this) {
    // The pause of the logic is this panel's own business (see the steps); it dims nothing.
    m_modal = false;
    m_dim_level = false;
    m_freeze_time = false;
    // 1. The panel, its overlay (not attached: it moves on its own) and the controls.
    const cIniFile& ini = *getResourceManager()->getIni(kConfig);
    cCompositePicture::loadFromIni(ini, L"COMMON");
    m_background->loadFromIni(ini, L"PANEL_ADD");
    m_controls.load(ini, apply, onVolumeSlider);
    m_controls.readSettings();
    m_controls.attachTo(*this);
    // 2. Parked above the screen, hidden and disabled until it is opened.
    setSlidePoints();
    prepareSlideInFromHidden();
    parkHidden();
    setFinished(false);
    cSceneNode::hide();
    cSceneNode::disable();
}

cOptionsPanel::~cOptionsPanel() {
    cSceneNode::hide();
    cSceneNode::disable();
}

void cOptionsPanel::onEnable() {
    prepareSlideInFromHere();
    m_controls.readSettings();
    m_controls.readVolumes();
    bindInput(kEnterPressed, onEnterKey, this);
    bindInput(kEscapePressed, onEscapeKey, this);
    cPanel::onEnable();
}

void cOptionsPanel::onDisable() {
    unbindInput(kEnterPressed, onEnterKey, this);
    unbindInput(kEscapePressed, onEscapeKey, this);
    cPanel::onDisable();
}

void cOptionsPanel::update() {
    // The slide step and the parts; then the full-screen box, which a slide step shows with
    // the panel, goes again on small desktops before anything is drawn.
    cPanel::update();
    m_controls.guardFullscreenBox();
}

void cOptionsPanel::appearStep() {
    // Every frame of the slide-in: the logic paused, the music playing.
    freezeGame(true);
    if (cSound* sound = getSound()) sound->resumeMusic();
    cPanel::appearStep();
}

void cOptionsPanel::disappearStep() {
    freezeGame(true);
    cPanel::disappearStep();
    // Gone: the music pauses again; the logic stays paused for the opener.
    if (isComplete())
        if (cSound* sound = getSound()) sound->pauseMusic();
}

void cOptionsPanel::answer(bool ok) {
    // A key and a click in one frame give one answer.
    if (isDisappearing()) return;
    if (ok)
        m_controls.applyOk();
    else
        m_controls.applyCancel();
    prepareSlideOut();
    hide(true);
}

bool cOptionsPanel::apply(cSceneNode* button) {
    auto* panel = static_cast<cOptionsPanel*>(button->getParent());
    panel->answer(panel->m_controls.isOkButton(button));
    return true;
}

bool cOptionsPanel::onVolumeSlider(cSceneNode* slider) {
    static_cast<cOptionsPanel*>(slider->getParent())->m_controls.onSliderChanged(slider);
    return true;
}

void cOptionsPanel::onEnterKey(void* object) {
    auto* panel = static_cast<cOptionsPanel*>(object);
    if (!isAltHeld() && panel->isActive()) panel->answer(true);
}

void cOptionsPanel::onEscapeKey(void* object) {
    auto* panel = static_cast<cOptionsPanel*>(object);
    if (panel->isActive()) panel->answer(false);
}
