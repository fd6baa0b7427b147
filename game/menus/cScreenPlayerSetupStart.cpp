#include "game/menus/cScreenPlayerSetupStart.h"

#include "engine/core/cResourceManager.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cEditBox.h"
#include "engine/scene/cText.h"
#include "game/data/cGameData.h"
#include "game/interface/cPanel.h"
#include "game/menus/ProfileNames.h"
#include "game/menus/cMenuPanel.h"

cScreenPlayerSetupStart::cScreenPlayerSetupStart(cSceneNode* parent) : cMenuScreen(parent) {
    m_panel = new cMenuPanel(this);
    m_text = new cText(m_panel);
    m_edit = new cEditBox(m_panel);
    m_ok = new cButton(m_panel);
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    // Nothing listens until the panel has arrived.
    deactivate();
    m_panel->show();
}

cScreenPlayerSetupStart::~cScreenPlayerSetupStart() {
    cSceneNode::hide();
    disable();
}

void cScreenPlayerSetupStart::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cMenuScreen::loadFromIni(ini, section);
    m_panel->loadFromIni(ini, L"PANEL");
    m_text->loadFromIni(ini, L"TEXT");
    m_edit->loadFromIni(ini, L"EDITBOX");
    m_ok->loadFromIni(ini, L"BUTTON_OK");
    m_ok->setClickHandler(onButtonClick);
}

void cScreenPlayerSetupStart::accept() {
    // One name only: after it the panel leaves and further answers wait.
    if (m_leaving) return;
    const cStringW name = profile_names::clean(m_edit->getText());
    if (name.isEmpty()) return;
    if (cGameData* data = getGameData()) {
        data->addProfile(name);
        data->saveNow();
    }
    m_leaving = true;
    m_panel->hide();
}

bool cScreenPlayerSetupStart::onButtonClick(cSceneNode* button) {
    auto* screen = static_cast<cScreenPlayerSetupStart*>(button->getParent()->getParent());
    if (button == screen->m_ok) screen->accept();
    return true;
}

void cScreenPlayerSetupStart::onEnterKey(void* object) {
    auto* screen = static_cast<cScreenPlayerSetupStart*>(object);
    if (!isAltHeld() && screen->m_panel->isActive()) screen->accept();
}

void cScreenPlayerSetupStart::onEnable() {
    bindInput(kEnterPressed, onEnterKey, this);
    cSceneNode::onEnable();
}

void cScreenPlayerSetupStart::onDisable() {
    unbindInput(kEnterPressed, onEnterKey, this);
    cSceneNode::onDisable();
}

void cScreenPlayerSetupStart::update() {
    if (m_leaving && !m_panel->isVisible()) {
        m_leaving = false;
        cSceneNode::hide();
        disable();
        setFinished(true);
    }
    cSceneNode::update();
}
