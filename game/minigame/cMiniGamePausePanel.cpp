#include "game/minigame/cMiniGamePausePanel.h"

#include "engine/media/cSound.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectSupport.h"
#include "game/interface/cPanelConfirm.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/menus/cOptionsPanel.h"
#include "game/minigame/MiniGameFiles.h"
#include "game/minigame/cMiniGame.h"
#include "game/minigame/cMiniGameOwner.h"

cMiniGamePausePanel::cMiniGamePausePanel(cSceneNode* parent, cMiniGameOwner* owner)
    : cMiniGamePanel(parent, owner), m_game_owner(owner), m_title(new cText(this)),
      m_button_continue(new cButton(this)), m_button_options(new cButton(this)), m_button_menu(new cButton(this)),
      m_description(new cText(this)) {
    loadConfig(effectIni(minigame_files::kPausePanel), cStringW());
    setSlidePoints();
    prepareSlideInFromHidden();
    parkHidden();
}

cMiniGamePausePanel::~cMiniGamePausePanel() {
    cSceneNode::hide();
    cSceneNode::disable();
    delete m_title;
    delete m_button_continue;
    delete m_button_options;
    delete m_button_menu;
    delete m_description;
}

void cMiniGamePausePanel::loadConfig(const cIniFile& ini, const cStringW&) {
    cMiniGamePanel::loadConfig(ini, L"COMMON");
    m_title->loadFromIni(ini, L"TITLE");
    m_button_continue->loadFromIni(ini, L"BUTTON_CONTINUE");
    m_button_options->loadFromIni(ini, L"BUTTON_OPTIONS");
    m_button_menu->loadFromIni(ini, L"BUTTON_MENU");
    m_description->loadFromIni(ini, L"DESCRIPTION");
    for (cButton* button : {m_button_continue, m_button_options, m_button_menu})
        button->setClickHandler(&cMiniGamePausePanel::onButton);
    attach(m_title);
    attach(m_button_continue);
    attach(m_button_options);
    attach(m_button_menu);
    attach(m_description);
}

void cMiniGamePausePanel::update() {
    // Inactive under the confirm panel; active again once no game-wide dialog is up.
    cPanelConfirmMenu* confirm = m_game_owner ? m_game_owner->getConfirmPanel() : nullptr;
    cOptionsPanel* options = getOptionsPanel();
    cConfirmExitPanel* exitPanel = getConfirmExitPanel();
    if (confirm && confirm->isVisible())
        deactivateAll();
    else if (!(exitPanel && exitPanel->isVisible()) && !(options && options->isVisible()))
        activateAll();
    cMiniGamePanel::update();
}

void cMiniGamePausePanel::onEnable() {
    prepareSlideInFromHere();
    if (cMiniGame* game = getMiniGame()) game->setPaused(true);
    if (cSound* sound = getSound()) {
        sound->pauseMusic();
        sound->pauseAll();
    }
    cCompositePicture::onEnable();
}

void cMiniGamePausePanel::onHide() {
    cCompositePicture::onHide();
    if (cMiniGame* game = getMiniGame()) game->setPaused(false);
    if (m_resume_sounds)
        if (cSound* sound = getSound()) {
            sound->resumeAll();
            sound->resumeMusic();
        }
}

void cMiniGamePausePanel::hide() { close(); }

bool cMiniGamePausePanel::onButton(cSceneNode* button) {
    if (auto* panel = dynamic_cast<cMiniGamePausePanel*>(button ? button->getParent() : nullptr))
        panel->press(dynamic_cast<cButton*>(button));
    return true;
}

void cMiniGamePausePanel::press(cButton* button) {
    if (button == m_button_options) {
        m_resume_sounds = true;
        if (cOptionsPanel* options = getOptionsPanel()) options->show(true);
    } else if (button == m_button_menu) {
        m_resume_sounds = false;
        if (cPanelConfirmMenu* confirm = m_game_owner ? m_game_owner->getConfirmPanel() : nullptr) confirm->show(true);
    } else if (button == m_button_continue) {
        m_resume_sounds = true;
        hide();
    }
}
