#include "game/interface/cPanelConfirm.h"

#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectSupport.h"
#include "game/interface/PanelFiles.h"
#include "game/interface/cPanelContinue.h"
#include "game/interface/cPanelEsc.h"

cPanelConfirm::cPanelConfirm(cSceneNode* parent, cPanelOwner* owner, const char* file)
    : cPanel(parent, owner), m_title(new cText(this)), m_button_yes(new cButton(this)),
      m_button_no(new cButton(this)) {
    m_modal = false;
    m_dim_level = false;
    m_freeze_time = false;
    loadConfig(effectIni(file), cStringW());
    setSlidePoints();
    prepareSlideInFromHidden();
    parkHidden();
}

cPanelConfirm::~cPanelConfirm() {
    cSceneNode::hide();
    cSceneNode::disable();
    delete m_title;
    delete m_button_yes;
    delete m_button_no;
}

void cPanelConfirm::loadConfig(const cIniFile& ini, const cStringW&) {
    cPanel::loadConfig(ini, L"COMMON");
    m_title->loadFromIni(ini, L"TITLE");
    m_button_yes->loadFromIni(ini, L"BUTTON_YES");
    m_button_no->loadFromIni(ini, L"BUTTON_NO");
    m_button_yes->setClickHandler(&cPanelConfirm::onButtonClick);
    m_button_no->setClickHandler(&cPanelConfirm::onButtonClick);
    attach(m_title);
    attach(m_button_yes);
    attach(m_button_no);
}

void cPanelConfirm::onEnable() {
    prepareSlideInFromHere();
    bindInput(kEnterPressed, &cPanelConfirm::onEnterKey, this);
    bindInput(kEscapePressed, &cPanelConfirm::onEscapeKey, this);
    cCompositePicture::onEnable();
}

void cPanelConfirm::onDisable() {
    unbindInput(kEnterPressed, &cPanelConfirm::onEnterKey, this);
    unbindInput(kEscapePressed, &cPanelConfirm::onEscapeKey, this);
    cCompositePicture::onDisable();
}

void cPanelConfirm::onEnterKey(void* object) {
    auto* panel = static_cast<cPanelConfirm*>(object);
    if (!isAltHeld() && panel->isActive()) panel->click(panel->m_button_yes);
}

void cPanelConfirm::onEscapeKey(void* object) {
    auto* panel = static_cast<cPanelConfirm*>(object);
    if (panel->isActive()) panel->click(panel->m_button_no);
}

bool cPanelConfirm::onButtonClick(cSceneNode* button) {
    auto* panel = dynamic_cast<cPanelConfirm*>(button ? button->getParent() : nullptr);
    if (panel) panel->click(dynamic_cast<cButton*>(button));
    return true;
}

void cPanelConfirm::click(cButton* button) {
    if (button && button == m_button_yes) onYes();
    prepareSlideOut();
    hide(true);
}

cPanelConfirmMenu::cPanelConfirmMenu(cSceneNode* parent, cPanelOwner* owner, int ownerKind)
    : cPanelConfirm(parent, owner, panel_files::kConfirmMenu), m_owner_kind(ownerKind) {}

void cPanelConfirmMenu::onYes() {
    if (!m_owner) return;
    if (m_owner_kind == CONFIRM_OWNER_SHOP || m_owner_kind == CONFIRM_OWNER_MINI_GAME) {
        m_owner->hidePauseAndQuitToMenu();
        return;
    }
    cLevelPanelOwner* game = m_owner->getLevelOwner();
    if (m_owner_kind != CONFIRM_OWNER_GAME_SCREEN || !game) return;
    cPanelContinue* results = game->getResultPanel();
    cPanelEsc* pause = game->getPausePanel();
    if (results && results->isVisible()) {
        results->hide();
        game->exitToMenu(true);
    } else if (pause && pause->isVisible()) {
        pause->hide();
        game->exitToMenu(false);
    } else {
        game->exitToMenu(true);
    }
}

cPanelConfirmTry::cPanelConfirmTry(cSceneNode* parent, cLevelPanelOwner* owner)
    : cPanelConfirm(parent, owner, panel_files::kConfirmTry) {}

void cPanelConfirmTry::onYes() {
    cLevelPanelOwner* game = m_owner ? m_owner->getLevelOwner() : nullptr;
    if (!game) return;
    cPanelContinue* results = game->getResultPanel();
    cPanelEsc* pause = game->getPausePanel();
    if (results && results->isVisible()) {
        results->hide();
        game->restartLevel(1);
    } else if (pause && pause->isVisible()) {
        pause->hide();
        game->restartLevel(-1);
    }
}

bool isConfirmPanelVisible(cLevelPanelOwner* game) {
    if (!game) return false;
    cPanelConfirmMenu* menu = game->getConfirmMenuPanel();
    cPanelConfirmTry* retry = game->getConfirmPanel();
    return (menu && menu->isVisible()) || (retry && retry->isVisible());
}
