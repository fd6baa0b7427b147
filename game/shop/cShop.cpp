#include "game/shop/cShop.h"

#include "engine/media/cSound.h"
#include "game/flow/cGame.h"
#include "game/flow/cGameData.h"
#include "game/flow/cMusicManager.h"
#include "game/flow/cResourceGroupManager.h"

cShop::cShop(cSceneNode* parent) : cPausingScreen(parent, kBackground) {
    cGameData* data = getGameData();
    const int32_t level = data ? data->getLevel() : 1;
    setTitle(cStringW(L"SHOP - BEFORE LEVEL ") + intToString(level));
    setHelp(L"Enter or click: play   Escape: main menu   P: pause");
    if (data) m_cash = data->getCash(game::firstLevelOfWorld(data->getWorld()), level);
    refreshCash();
    if (cMusicManager* music = getMusicManager()) music->playGame(data ? data->getWorld() : 1);
    pauseMusicWhileInactive();
}

cShop::~cShop() {
    // The reload cheat reloads the configuration between the two shops.
    if (m_reload_config)
        if (cResourceGroupManager* groups = getResourceGroupManager()) {
            groups->unloadConfig();
            groups->loadConfig();
        }
}

void cShop::refreshCash() { setNotice(cStringW(L"cash ") + intToString(m_cash)); }

void cShop::cheatReload() {
    if (isFinished()) return;
    m_reload_config = true;
    finish(SHOP_RESULT_RESTART);
}

void cShop::cheatAddMoney() {
    m_cash += 1000;
    refreshCash();
}
