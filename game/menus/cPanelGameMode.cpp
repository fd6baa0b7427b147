#include "game/menus/cPanelGameMode.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/scene/cText.h"
#include "game/data/cGameData.h"
#include "game/menus/cScreenPlay.h"

void cGameModeChoice::create(cSceneNode* panel) {
    heading = new cText(panel);
    commonDescription = new cText(panel);
    easy = new cButton(panel);
    hard = new cButton(panel);
    back = new cButton(panel);
    easyDescription = new cText(panel);
    hardDescription = new cText(panel);
}

void cGameModeChoice::load(const cIniFile& ini, ButtonHandler handler) {
    heading->loadFromIni(ini, L"TEXT");
    commonDescription->loadFromIni(ini, L"COMMON_DESC");
    easy->loadFromIni(ini, L"BUTTON_EASY");
    hard->loadFromIni(ini, L"BUTTON_HARD");
    back->loadFromIni(ini, L"BUTTON_BACK");
    easyDescription->loadFromIni(ini, L"EASY_DESC");
    hardDescription->loadFromIni(ini, L"HARD_DESC");
    easy->setClickHandler(handler);
    hard->setClickHandler(handler);
    back->setClickHandler(handler);
}

void cGameModeChoice::destroy() {
    delete heading;
    delete commonDescription;
    delete easy;
    delete hard;
    delete back;
    delete easyDescription;
    delete hardDescription;
    *this = cGameModeChoice();
}

cGameModeChoice::Choice cGameModeChoice::choiceOf(const cSceneNode* button) const {
    if (button && button == easy) return CHOICE_EASY;
    if (button && button == hard) return CHOICE_HARD;
    if (button && button == back) return CHOICE_BACK;
    return CHOICE_NONE;
}

void chooseGameMode(cGameModeChoice::Choice choice) {
    if (choice != cGameModeChoice::CHOICE_EASY && choice != cGameModeChoice::CHOICE_HARD) return;
    if (cGameData* data = getGameData()) {
        data->setDifficulty(choice);
        data->saveNow();
    }
}

cPanelGameMode::cPanelGameMode(cSceneNode* parent) : cMenuPanel(parent) {
    m_choice.create(this);
    loadFromIni(*getResourceManager()->getIni(kConfig), L"PANEL");
    // Only START brings the panel in.
    cSceneNode::hide();
    disable();
}

cPanelGameMode::~cPanelGameMode() {
    cSceneNode::hide();
    disable();
    m_choice.destroy();
}

void cPanelGameMode::loadFromIni(const cIniFile&, const cStringW&) {
    const cIniFile& ini = *getResourceManager()->getIni(kConfig);
    cMenuPanel::loadFromIni(ini, L"PANEL");
    m_choice.load(ini, onButton);
}

bool cPanelGameMode::onButton(cSceneNode* button) {
    auto* panel = static_cast<cPanelGameMode*>(button->getParent());
    const cGameModeChoice::Choice choice = panel->m_choice.choiceOf(button);
    chooseGameMode(choice);
    if (choice == cGameModeChoice::CHOICE_EASY || choice == cGameModeChoice::CHOICE_HARD)
        if (auto* play = dynamic_cast<cScreenPlay*>(panel->getParent())) play->start();
    panel->hide();
    return true;
}

void cPanelGameMode::onEnable() {
    if (cSceneNode* parent = getParent()) parent->deactivate();
    cMenuPanel::onEnable();
}

void cPanelGameMode::onDisable() {
    if (cSceneNode* parent = getParent()) parent->activate();
    cMenuPanel::onDisable();
}
