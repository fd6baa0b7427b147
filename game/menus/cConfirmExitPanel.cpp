#include "game/menus/cConfirmExitPanel.h"

#include "engine/app/cLogic.h"
#include "engine/core/cResourceManager.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/flow/cGame.h"
#include "game/flow/cLevel.h"
#include "game/minigame/cMiniGame.h"

cConfirmExitPanel* getConfirmExitPanel() { return cConfirmExitPanel::instance(); }

namespace {

uint64_t serialOf(const cSceneNode* node) { return node ? node->getSerial() : 0; }

uint64_t stateSerial() {
    cGame* game = getGame();
    return game ? serialOf(game->getStateNode()) : 0;
}

}  // namespace

cConfirmExitPanel::cConfirmExitPanel(cSceneNode* parent) : cDialogPanel(parent) {
    m_title_picture = new cPicture(this);
    m_title_text = new cText(this);
    m_yes = new cButton(this);
    m_no = new cButton(this);
    // 1. The panel, its overlay (not attached), the title and the two answers.
    const cIniFile& ini = *getResourceManager()->getIni(kConfig);
    loadPanel(ini);
    m_title_picture->loadFromIni(ini, L"PIC_TITLE");
    m_title_text->loadFromIni(ini, L"TEXT_TITLE");
    m_yes->loadFromIni(ini, L"BUTTON_YES");
    m_no->loadFromIni(ini, L"BUTTON_NO");
    m_yes->setClickHandler(onButtonClick);
    m_no->setClickHandler(onButtonClick);
    for (cSprite* part : {static_cast<cSprite*>(m_title_picture), static_cast<cSprite*>(m_title_text),
                          static_cast<cSprite*>(m_yes), static_cast<cSprite*>(m_no)})
        attach(part);
    // 2. Parked above the screen, hidden and disabled until a close request.
    park();
}

cConfirmExitPanel::~cConfirmExitPanel() = default;

void cConfirmExitPanel::show(bool withSound) {
    // Coming or up already: everything is saved. Shown again while it leaves: the logic pause
    // saved first still holds (the panel has kept the logic paused since); the dim and the
    // mini game's pause were given back already and are saved again.
    if (isAppearing() || (isVisible() && !m_closing)) return;
    const bool fresh = !isVisible();
    m_closing = false;
    cPanel::show(withSound);
    if (!fresh) prepareSlideInFromHere();
    if (fresh) {
        m_logic_was_paused = isLogicPaused();
        m_state_serial = stateSerial();
    }
    m_level_serial = serialOf(getLevel());
    if (cLevel* level = getLevel()) {
        m_level_was_dimmed = level->isDimmed();
        level->setDimmed(true);
    }
    m_mini_game_serial = serialOf(getMiniGame());
    if (cMiniGame* miniGame = getMiniGame()) {
        m_mini_game_was_paused = miniGame->isPaused();
        miniGame->setPaused(true);
    }
}

void cConfirmExitPanel::hide(bool withSound) {
    cPanel::hide(withSound);
    cLevel* level = getLevel();
    if (level && level->getSerial() == m_level_serial) level->setDimmed(m_level_was_dimmed);
    cMiniGame* miniGame = getMiniGame();
    if (miniGame && miniGame->getSerial() == m_mini_game_serial) miniGame->setPaused(m_mini_game_was_paused);
    m_level_serial = 0;
    m_mini_game_serial = 0;
}

void cConfirmExitPanel::watchLogicPause() {
    cLogic* logic = getLogic();
    if (!logic) return;
    // The pause saved belongs to the state it was saved in: a state built under the question
    // does not inherit it (one that wants the logic paused, the game screen in its fade-in,
    // pauses it again each frame itself) ...
    const uint64_t serial = stateSerial();
    if (serial != m_state_serial) {
        m_state_serial = serial;
        m_logic_was_paused = false;
    }
    // ... and whoever released the pause since the last frame wants the logic to run.
    if (!logic->isPaused()) m_logic_was_paused = false;
}

void cConfirmExitPanel::update() {
    // From the first slide-in step until the slide-out has ended the logic stands still.
    if (isVisible() || isAppearing()) {
        watchLogicPause();
        freezeGame(true);
    }
    cPanel::update();
}

void cConfirmExitPanel::disappearStep() {
    cPanel::disappearStep();
    if (isComplete()) {
        m_closing = false;
        setLogicPaused(m_logic_was_paused);
    }
}

void cConfirmExitPanel::answer(bool yes) {
    if (m_closing) return;
    m_closing = true;
    prepareSlideOut();
    hide(true);
    if (yes)
        if (cLogic* logic = getLogic()) logic->quit();
}

bool cConfirmExitPanel::onButtonClick(cSceneNode* button) {
    auto* panel = static_cast<cConfirmExitPanel*>(button->getParent());
    panel->answer(button == panel->m_yes);
    return true;
}

void cConfirmExitPanel::onEnable() {
    prepareSlideInFromHere();
    cDialogPanel::onEnable();
}
