#include "game/menus/cOptionsPanel.h"

#include "engine/core/cResourceManager.h"
#include "engine/media/cSound.h"

cOptionsPanel* getOptionsPanel() { return cOptionsPanel::instance(); }

cOptionsPanel::cOptionsPanel(cSceneNode* parent) : cDialogPanel(parent), m_controls(this) {
    // 1. The panel, its overlay and the controls; 2. parked, hidden and disabled until opened.
    const cIniFile& ini = *getResourceManager()->getIni(kConfig);
    loadPanel(ini);
    m_controls.load(ini, apply, onVolumeSlider);
    m_controls.readSettings();
    m_controls.attachTo(*this);
    park();
}

cOptionsPanel::~cOptionsPanel() = default;

void cOptionsPanel::onEnable() {
    prepareSlideInFromHere();
    m_controls.readSettings();
    m_controls.readVolumes();
    cDialogPanel::onEnable();
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
