#include "game/interface/cPanelEsc.h"

#include "engine/media/cSound.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectSupport.h"
#include "game/interface/PanelFiles.h"
#include "game/interface/cPanelConfirm.h"

cPanelEsc::cPanelEsc(cSceneNode* parent, cLevelPanelOwner* owner)
    : cPanel(parent, owner), m_game(owner), m_title(new cText(this)), m_button_continue(new cButton(this)),
      m_button_restart(new cButton(this)), m_button_options(new cButton(this)), m_button_menu(new cButton(this)),
      m_description(new cText(this)) {
    loadConfig(effectIni(panel_files::kEsc), cStringW());
    setSlidePoints();
    prepareSlideInFromHidden();
    parkHidden();
}

cPanelEsc::~cPanelEsc() {
    cSceneNode::hide();
    cSceneNode::disable();
    delete m_title;
    delete m_button_continue;
    delete m_button_restart;
    delete m_button_options;
    delete m_button_menu;
    delete m_description;
}

void cPanelEsc::loadConfig(const cIniFile& ini, const cStringW&) {
    cPanel::loadConfig(ini, L"COMMON");
    m_title->loadFromIni(ini, L"TITLE");
    m_button_continue->loadFromIni(ini, L"BUTTON_CONTINUE");
    m_button_restart->loadFromIni(ini, L"BUTTON_RESTART");
    m_button_options->loadFromIni(ini, L"BUTTON_OPTIONS");
    m_button_menu->loadFromIni(ini, L"BUTTON_MENU");
    m_description->loadFromIni(ini, L"DESCRIPTION");
    for (cButton* button : {m_button_continue, m_button_restart, m_button_options, m_button_menu})
        button->setClickHandler(&cPanelEsc::onButtonClick);
    attach(m_title);
    attach(m_button_continue);
    attach(m_button_restart);
    attach(m_button_options);
    attach(m_button_menu);
    attach(m_description);
}

void cPanelEsc::onEnable() {
    prepareSlideInFromHere();
    if (cSound* sound = getSound()) {
        sound->pauseMusic();
        sound->pauseAll();
    }
    cCompositePicture::onEnable();
}

void cPanelEsc::onHide() {
    cCompositePicture::onHide();
    if (!m_resume_sounds) return;
    if (cSound* sound = getSound()) {
        sound->resumeAll();
        sound->resumeMusic();
    }
}

void cPanelEsc::update() {
    // 1. Under a confirm panel the pause panel does not react.
    if (isConfirmPanelVisible(m_game))
        deactivateAll();
    // 2. Otherwise it reacts again, except while the options or confirm-exit panel covers it.
    else if (!m_game || (!m_game->isConfirmExitPanelVisible() && !m_game->isOptionsPanelVisible()))
        activateAll();
    // 3. The slide steps deactivate it again while it moves.
    cPanel::update();
}

bool cPanelEsc::onButtonClick(cSceneNode* button) {
    auto* panel = dynamic_cast<cPanelEsc*>(button ? button->getParent() : nullptr);
    if (panel) panel->click(dynamic_cast<cButton*>(button));
    return true;
}

void cPanelEsc::click(cButton* button) {
    m_resume_sounds = true;
    if (button == m_button_menu) {
        if (m_game && m_game->getConfirmMenuPanel()) m_game->getConfirmMenuPanel()->show(true);
        m_resume_sounds = false;
    } else if (button == m_button_restart) {
        if (m_game && m_game->getConfirmPanel()) m_game->getConfirmPanel()->show(true);
    } else if (button == m_button_options) {
        if (m_game) m_game->showOptionsPanel();
    } else {
        hide();
    }
}

void cPanelEsc::hide() {
    prepareSlideOut();
    cPanel::hide(true);
}
