#include "game/minigame/cMiniGameScene.h"

#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "game/flow/cGame.h"
#include "game/flow/cGameData.h"
#include "game/flow/cMusicManager.h"
#include "game/flow/cResourceGroupManager.h"

cMiniGameScene::cMiniGameScene(cSceneNode* parent, const cStringA& levelFile)
    : cPausingScreen(parent, kBackground), m_level_file(levelFile) {
    refreshTitle();
    setHelp(L"Enter or click: continue   S: shop   Escape: main menu   P: pause");
    if (cMusicManager* music = getMusicManager()) music->playMiniGame();
    pauseMusicWhileInactive();
}

cMiniGameScene::~cMiniGameScene() {
    if (m_reload_config)
        if (cResourceGroupManager* groups = getResourceGroupManager()) {
            groups->unloadConfig();
            groups->loadConfig();
        }
    if (cMusicManager* music = getMusicManager()) music->stop(true);
}

void cMiniGameScene::refreshTitle() {
    if (!m_level_file.isEmpty()) {
        setTitle(cStringW(L"MINI GAME ") + m_level_file.toWide());
        return;
    }
    const int32_t number = getGameData() ? getGameData()->getMiniGameNumber() : 1;
    setTitle(cStringW(L"MINI GAME ") + intToString(number));
}

void cMiniGameScene::cheatRestart() {
    if (isFinished()) return;
    m_reload_config = true;
    finish(MINIGAME_RESULT_RESTART);
}

void cMiniGameScene::cheatNext() {
    cGameData* data = getGameData();
    if (isFinished() || !data) return;
    data->setMiniGameVariant(-1, 0);
    if (data->getMiniGameNumber() < kLastMiniGame) data->setMiniGameNumber(data->getMiniGameNumber() + 1);
    cheatRestart();
}

void cMiniGameScene::cheatPrevious() {
    cGameData* data = getGameData();
    if (isFinished() || !data) return;
    data->setMiniGameVariant(-1, 0);
    if (data->getMiniGameNumber() > 1) data->setMiniGameNumber(data->getMiniGameNumber() - 1);
    cheatRestart();
}

void cMiniGameScene::cheatAddScore(int32_t delta) {
    if (cGameData* data = getGameData()) data->setMiniGameScore(data->getMiniGameScore() + delta);
}

void cMiniGameScene::shopKey(void* scene) {
    auto* self = static_cast<cMiniGameScene*>(scene);
    if (self->isActive() && !self->isPausePanelShown()) self->finish(MINIGAME_RESULT_SHOP);
}

void cMiniGameScene::onEnable() {
    bindInput(keyPressedCode(KEY_S), shopKey, this);
    cPausingScreen::onEnable();
}

void cMiniGameScene::onDisable() {
    unbindInput(keyPressedCode(KEY_S), shopKey, this);
    cPausingScreen::onDisable();
}
