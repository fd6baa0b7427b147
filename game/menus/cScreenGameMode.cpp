#include "game/menus/cScreenGameMode.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "game/menus/MenuScreenEnd.h"
#include "game/menus/cMainMenu.h"

cScreenGameMode::cScreenGameMode(cSceneNode* parent) : cMenuScreen(parent) {
    m_panel = new cMenuPanel(this);
    m_choice.create(m_panel);
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    // Nothing listens until the panel has arrived.
    deactivate();
    m_panel->show();
}

cScreenGameMode::~cScreenGameMode() {
    cSceneNode::hide();
    disable();
    m_choice.destroy();
}

void cScreenGameMode::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cMenuScreen::loadFromIni(ini, section);
    m_panel->loadFromIni(ini, L"PANEL");
    m_choice.load(ini, onButton);
}

bool cScreenGameMode::onButton(cSceneNode* button) {
    // The buttons stand on the panel, the panel on the screen.
    auto* screen = static_cast<cScreenGameMode*>(button->getParent()->getParent());
    if (screen->m_closing) return true;
    const cGameModeChoice::Choice choice = screen->m_choice.choiceOf(button);
    if (choice == cGameModeChoice::CHOICE_NONE) return true;
    chooseGameMode(choice);
    screen->setResult(choice);
    screen->m_closing = true;
    screen->m_panel->hide();
    return true;
}

void cScreenGameMode::update() {
    if (m_closing && m_panel->getVertexAlpha(0) <= kEarlyFadeAlpha && getResult() != RESULT_BACK)
        if (auto* menu = dynamic_cast<cMainMenu*>(getParent())) menu->startFadeOut();
    finishOncePanelHidden(*this, *m_panel, &m_closing);
    cSceneNode::update();
}
