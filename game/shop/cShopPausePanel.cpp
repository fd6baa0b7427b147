#include "game/shop/cShopPausePanel.h"

#include "engine/media/cSound.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectSupport.h"
#include "game/interface/cPanelConfirm.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/menus/cOptionsPanel.h"

cShopPausePanel::cShopPausePanel(cSceneNode* parent, cShopPauseOwner* owner)
    : cPanel(parent, owner), m_shop(owner), m_title(new cText(this)), m_button_resume(new cButton(this)),
      m_button_options(new cButton(this)), m_button_menu(new cButton(this)), m_description(new cText(this)) {
    // No status panel to keep inactive; game time stops while the panel is up in any case.
    m_modal = false;
    m_freeze_time = true;
    loadConfig(effectIni(kConfig), cStringW());
    setSlidePoints();
    prepareSlideInFromHidden();
    parkHidden();
}

cShopPausePanel::~cShopPausePanel() {
    cSceneNode::hide();
    cSceneNode::disable();
    delete m_title;
    delete m_button_resume;
    delete m_button_options;
    delete m_button_menu;
    delete m_description;
}

void cShopPausePanel::loadConfig(const cIniFile& ini, const cStringW&) {
    cPanel::loadConfig(ini, L"COMMON");
    m_title->loadFromIni(ini, L"TITLE");
    m_button_resume->loadFromIni(ini, L"BUTTON_RESUME");
    m_button_options->loadFromIni(ini, L"BUTTON_OPTIONS");
    m_button_menu->loadFromIni(ini, L"BUTTON_MENU");
    m_description->loadFromIni(ini, L"DESCRIPTION");
    for (cButton* button : {m_button_resume, m_button_options, m_button_menu})
        button->setClickHandler(&cShopPausePanel::onButtonClick);
    attach(m_title);
    attach(m_button_resume);
    attach(m_button_options);
    attach(m_button_menu);
    attach(m_description);
}

void cShopPausePanel::update() {
    // 1. Under the confirm-menu panel it does not react; otherwise it does, except while the
    //    options or confirm-exit panel covers it.
    cPanelConfirmMenu* confirm = m_shop ? m_shop->getConfirmMenuPanel() : nullptr;
    cOptionsPanel* options = getOptionsPanel();
    cConfirmExitPanel* exit = getConfirmExitPanel();
    if (confirm && confirm->isVisible())
        deactivateAll();
    else if (!(exit && exit->isVisible()) && !(options && options->isVisible()))
        activateAll();
    // 2. The slide step deactivates it again while it moves.
    cPanel::update();
}

void cShopPausePanel::onEnable() {
    prepareSlideInFromHere();
    if (cSound* sound = getSound()) {
        sound->pauseMusic();
        sound->pauseAll();
    }
    cCompositePicture::onEnable();
}

void cShopPausePanel::onHide() {
    cCompositePicture::onHide();
    if (!m_resume_sounds) return;
    if (cSound* sound = getSound()) {
        sound->resumeAll();
        sound->resumeMusic();
    }
}

bool cShopPausePanel::onButtonClick(cSceneNode* button) {
    auto* panel = dynamic_cast<cShopPausePanel*>(button ? button->getParent() : nullptr);
    if (panel) panel->click(dynamic_cast<cButton*>(button));
    return true;
}

void cShopPausePanel::click(cButton* button) {
    m_resume_sounds = true;
    if (button == m_button_options) {
        if (cOptionsPanel* options = getOptionsPanel()) options->show(true);
    } else if (button == m_button_menu) {
        if (cPanelConfirmMenu* confirm = m_shop ? m_shop->getConfirmMenuPanel() : nullptr) confirm->show(true);
        m_resume_sounds = false;
    } else {
        hide();
    }
}

void cShopPausePanel::resume() { click(m_button_resume); }

void cShopPausePanel::hide() {
    prepareSlideOut();
    cPanel::hide(true);
}
