#include "game/menus/cMainMenu.h"

#include "engine/media/cSound.h"
#include "game/flow/cGame.h"
#include "game/flow/cGameData.h"
#include "game/flow/cMusicManager.h"
#include "game/flow/cResourceGroupManager.h"

cMainMenu::cMainMenu(cSceneNode* parent, int32_t firstScreen)
    : cPlaceholderScreen(parent, kBackground, true), m_first_screen(firstScreen) {
    showScreen(firstScreen == kPlayScreen ? kPlayScreen : kMainScreen);
    if (cMusicManager* music = getMusicManager()) music->playMainMenu();
    if (getGame() && !getGame()->isActive())
        if (cSound* sound = getSound()) sound->pauseMusic();
}

cMainMenu::~cMainMenu() {
    if (cMusicManager* music = getMusicManager()) music->stop(true);
}

void cMainMenu::showScreen(int32_t screen) {
    m_screen = screen;
    const int32_t level = getGameData() ? getGameData()->getLevel() : 1;
    if (screen == kExitScreen) {
        setTitle(L"MAIN MENU - EXIT");
        setHelp(L"Enter: quit   Escape: back");
        return;
    }
    setTitle(screen == kPlayScreen ? cStringW(L"MAIN MENU - PLAY") : cStringW(L"MAIN MENU"));
    setHelp(cStringW(L"Enter or click: play level ") + intToString(level) + L"   Escape: exit");
}

void cMainMenu::refreshScreens() { showScreen(m_screen); }

void cMainMenu::cheatOpenAllLevels() { m_all_levels_open = true; }

void cMainMenu::cheatReload() {
    if (cResourceGroupManager* groups = getResourceGroupManager()) {
        groups->unloadConfig();
        groups->loadConfig();
    }
    showScreen(m_screen);
}

void cMainMenu::onConfirm() {
    if (m_screen == kExitScreen)
        finish(MENU_RESULT_QUIT);
    else
        finish(MENU_RESULT_PLAY);
}

void cMainMenu::onBack() {
    showScreen(m_screen == kExitScreen ? m_first_screen : kExitScreen);
}
