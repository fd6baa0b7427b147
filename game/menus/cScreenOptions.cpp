#include "game/menus/cScreenOptions.h"

#include "engine/core/cResourceManager.h"
#include "engine/media/cInput.h"
#include "game/interface/cPanel.h"
#include "game/menus/cMenuPanel.h"

cScreenOptions::cScreenOptions(cSceneNode* parent)
    : cMenuScreen(parent), m_panel(new cMenuPanel(this)), m_controls(m_panel) {
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    // Nothing listens until the panel has arrived.
    deactivate();
    m_panel->show();
}

cScreenOptions::~cScreenOptions() {
    cSceneNode::hide();
    disable();
}

void cScreenOptions::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cMenuScreen::loadFromIni(ini, section);
    m_panel->loadFromIni(ini, L"PANEL");
    m_controls.load(ini, onButtonClick, onVolumeSlider);
    m_controls.readSettings();
    m_controls.readVolumes();
}

void cScreenOptions::setFinished(bool finished) {
    cMenuScreen::setFinished(finished);
    if (finished) return;
    // Back to what the screen read: the sliders (which set the volumes again) and the boxes.
    m_controls.applyCancel();
    m_controls.readVolumes();
    m_controls.readSettings();
}

void cScreenOptions::answer(bool ok) {
    // A key and a click in one frame give one answer.
    if (m_closing) return;
    if (ok)
        m_controls.applyOk();
    else
        m_controls.applyCancel();
    m_closing = true;
    m_panel->hide();
}

bool cScreenOptions::onButtonClick(cSceneNode* button) {
    // The buttons stand on the panel, the panel on the screen.
    auto* screen = static_cast<cScreenOptions*>(button->getParent()->getParent());
    screen->answer(screen->m_controls.isOkButton(button));
    return true;
}

bool cScreenOptions::onVolumeSlider(cSceneNode* slider) {
    static_cast<cScreenOptions*>(slider->getParent()->getParent())->m_controls.onSliderChanged(slider);
    return true;
}

void cScreenOptions::onEnterKey(void* object) {
    auto* screen = static_cast<cScreenOptions*>(object);
    if (!isAltHeld() && screen->m_panel->isActive()) screen->answer(true);
}

void cScreenOptions::onEscapeKey(void* object) {
    auto* screen = static_cast<cScreenOptions*>(object);
    if (screen->m_panel->isActive()) screen->answer(false);
}

void cScreenOptions::onEnable() {
    bindInput(kEnterPressed, onEnterKey, this);
    bindInput(kEscapePressed, onEscapeKey, this);
    cSceneNode::onEnable();
}

void cScreenOptions::onDisable() {
    unbindInput(kEnterPressed, onEnterKey, this);
    unbindInput(kEscapePressed, onEscapeKey, this);
    cSceneNode::onDisable();
}

void cScreenOptions::update() {
    // 1. Gone after an answer: the screen finishes.
    if (m_closing && !m_panel->isVisible()) {
        m_closing = false;
        cSceneNode::hide();
        disable();
        setFinished(true);
    }
    // 2. No windowed mode on a small desktop in full screen; 3. the parts.
    m_controls.guardFullscreenBox();
    cSceneNode::update();
}
