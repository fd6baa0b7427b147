#include "game/flow/cGameScreen.h"

#include "engine/media/cSound.h"
#include "engine/scene/cPicture.h"
#include "game/flow/GameConstants.h"
#include "game/flow/StateTransitions.h"
#include "game/flow/WorldTextures.h"
#include "game/flow/cGame.h"
#include "game/flow/cGameData.h"
#include "game/flow/cMusicManager.h"
#include "game/flow/cResourceGroupManager.h"

cGameScreen::cGameScreen(cSceneNode* parent) : cPausingScreen(parent, cStringA()) {
    setHelp(L"Enter or click: win the level   Escape: main menu   P: pause");
    startLevel();
}

cGameScreen::~cGameScreen() = default;

void cGameScreen::startLevel() {
    cGameData* data = getGameData();
    const int32_t level = data ? data->getLevel() : 1;
    const int32_t set = data ? data->getGraphicsSet() : 1;
    const int world = world_textures::worldOfGraphicsSet(set);
    if (cResourceGroupManager* groups = getResourceGroupManager()) groups->loadWorld(set, false);
    // The room's floor of the current upgrade, from the world list just loaded.
    delete m_floor;
    m_floor = new cPicture(this);
    m_floor->setPicture(world_textures::worldFolder(world) + "Interior/Room/floor" +
                        world_textures::bandSuffix(data ? data->getFloorLevel(0) : 0) + ".dds");
    m_floor->setPosition(cVector2(400, 300));
    m_floor->setDeep(10.0f);
    m_floor->show();
    setTitle(cStringW(L"GAME - LEVEL ") + intToString(level) + L" - WORLD " + intToString(world));
    if (cMusicManager* music = getMusicManager()) music->playGame(data ? data->getWorld() : 1);
    pauseMusicWhileInactive();
    ++m_level_starts;
}

void cGameScreen::continueAfterWin(bool counts) {
    cGameData* data = getGameData();
    if (!data || isFinished()) return;
    const int32_t level = data->getLevel();
    data->recordLevelResult(counts);
    if (level >= game::kLevelCount || data->isLastLevel()) {
        finish(GAME_RESULT_COMICS_4);
        return;
    }
    data->setLevel(level + 1);
    if (data->isNormalMode()) data->save();
    const int32_t next = data->getLevel();
    if (next == game::firstLevelOfWorld(2))
        finish(GAME_RESULT_COMICS_2);
    else if (next == game::firstLevelOfWorld(3))
        finish(GAME_RESULT_COMICS_3);
    else if (miniGameNumberOfLevel(next) != 0 && !data->isMiniGamePlayed(0))
        finish(GAME_RESULT_MINI_GAME);
    else if (next >= 5 && !data->isShopSoldOut(0) && data->isNormalMode())
        finish(GAME_RESULT_SHOP);
    else
        startLevel();  // the next level, in place
}

void cGameScreen::exitToMenu(bool) { finish(GAME_RESULT_MENU); }

void cGameScreen::restartLevel(int32_t) { startLevel(); }

void cGameScreen::noteCheat(const wchar_t* name) {
    m_last_cheat = name;
    setNotice(cStringW(L"cheat: ") + name);
}

void cGameScreen::cheatRestart() {
    noteCheat(L"restart");
    if (cResourceGroupManager* groups = getResourceGroupManager()) {
        groups->unloadConfig();
        groups->loadConfig();
    }
    startLevel();
}

void cGameScreen::cheatNextLevel() {
    noteCheat(L"next level");
    continueAfterWin(false);
}

void cGameScreen::cheatWin() {
    noteCheat(L"win");
    continueAfterWin(true);
}

void cGameScreen::cheatPreviousLevel() {
    noteCheat(L"previous level");
    cGameData* data = getGameData();
    if (data && data->getLevel() > 1) data->setLevel(data->getLevel() - 1);
    startLevel();
}

void cGameScreen::cheatTimeOut() { noteCheat(L"time out"); }
void cGameScreen::cheatReachExpert() {
    noteCheat(L"expert");
    if (cGameData* data = getGameData()) data->setScore(data->getExpertGoal());
}
void cGameScreen::cheatReachGoal() {
    noteCheat(L"goal");
    if (cGameData* data = getGameData()) data->setScore(data->getGoal());
}
void cGameScreen::cheatMood(int32_t delta) { noteCheat(delta < 0 ? L"mood -1" : L"mood +1"); }
void cGameScreen::cheatDecor(int32_t delta) {
    noteCheat(delta < 0 ? L"decor -1" : L"decor +1");
    startLevel();
}
void cGameScreen::cheatFillCombo() { noteCheat(L"fill combo"); }
void cGameScreen::cheatScore(int32_t delta) {
    noteCheat(delta < 0 ? L"score -100" : L"score +100");
    if (cGameData* data = getGameData()) data->setScore(data->getScore() + delta);
}
void cGameScreen::cheatThief() { noteCheat(L"thief"); }
