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
#include "game/flow/cStatistics.h"

#include <utility>

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

bool cGameScreen::levelCounts(const cGameData& data) {
    return data.getLevel() == data.getReachedLevel() || data.getLevel() == data.getMarkedLevel();
}

int32_t cGameScreen::shopRule(const cGameData& data) {
    const int32_t level = data.getLevel();
    const bool worldStart = level == game::firstLevelOfWorld(2) || level == game::firstLevelOfWorld(3);
    return !data.isShopSoldOut(0) && level > 4 && !worldStart ? GAME_RESULT_SHOP : GAME_RESULT_NEXT_LEVEL;
}

int32_t cGameScreen::resultAfterWin(const cGameData& data, int32_t* next) {
    const int32_t level = data.getLevel();
    *next = level + 1;
    if (data.isLastLevel()) {
        *next = 1;
        return GAME_RESULT_COMICS_4;
    }
    for (int mini : game::kMiniGameLevels)
        if (level == mini) return GAME_RESULT_MINI_GAME;
    if (level == game::firstLevelOfWorld(2) - 1) return GAME_RESULT_COMICS_2;
    if (level == game::firstLevelOfWorld(3) - 1) return GAME_RESULT_COMICS_3;
    if (!data.isShopSoldOut(0) && level > 3 && level + 1 == data.getReachedLevel()) return GAME_RESULT_SHOP;
    return GAME_RESULT_NEXT_LEVEL;
}

void cGameScreen::continueAfterWin(bool counts) {
    cGameData* data = getGameData();
    if (!data || isFinished()) return;
    cStatistics* stats = getStatistics();
    if (stats) stats->setLeftHumans(0);
    if (counts) {
        data->recordLevelResult(levelCounts(*data));
        data->setMarkedLevel(data->getReachedLevel());
    }
    if (stats && (data->getScore() >= data->getExpertGoal() || data->getScore() >= data->getGoal())) stats->markWon();
    int32_t next = 1;
    setResult(resultAfterWin(*data, &next));
    data->setLevel(next);
    restartLevel(-1);
    data->saveNow();
}

void cGameScreen::restartLevel(int32_t mode) {
    cGameData* data = getGameData();
    if (!data || isFinished()) return;
    cStatistics* stats = getStatistics();
    if (mode == 0 && stats) stats->markCancelled();
    if (mode == 1) {
        if (stats) {
            stats->markWon();
            stats->setLeftHumans(0);
        }
        const bool counts = levelCounts(*data);
        data->recordLevelResult(counts);
        data->saveNow();
        setResult(counts ? shopRule(*data) : GAME_RESULT_NEXT_LEVEL);
    }
    if (mode == 2) {
        if (stats) stats->markFailed();
        setResult(shopRule(*data));
    }
    data->loadLevelInfo();
    beginLeave();
}

void cGameScreen::exitToMenu(bool record) {
    cGameData* data = getGameData();
    if (!data || isFinished()) return;
    cStatistics* stats = getStatistics();
    if (stats) stats->markCancelled();
    if (record && data->getScore() >= data->getGoal()) {
        if (stats) stats->setLeftHumans(0);
        data->recordLevelResult(true);
        data->setMarkedLevel(data->getReachedLevel());
        const int32_t level = data->getLevel();
        if (!data->isLastLevel() && level + 1 == data->getReachedLevel()) data->setLevel(level + 1);
        restartLevel(-1);
        data->saveNow();
    }
    setResult(GAME_RESULT_MENU);
    beginLeave();
}

void cGameScreen::exitToPlayScreen() {
    exitToMenu(false);
    setResult(GAME_RESULT_MENU_PLAY_SCREEN);
}

void cGameScreen::step(float) {
    if (m_leave_pending) endLevel();
}

void cGameScreen::endLevel() {
    m_leave_pending = false;
    if (cStatistics* stats = getStatistics()) {
        if (cGameData* data = getGameData()) stats->setTotal(data->getScore());
        stats->writeLogs();
    }
    if (getResult() != GAME_RESULT_NEXT_LEVEL)
        finish(getResult());
    else
        startLevel();
}

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
    setResult(GAME_RESULT_NEXT_LEVEL);
    restartLevel(-1);
}

void cGameScreen::cheatNextLevel() {
    noteCheat(L"next level");
    cGameData* data = getGameData();
    if (!data) return;
    setResult(GAME_RESULT_NEXT_LEVEL);
    if (!data->isLastLevel()) data->setLevel(data->getLevel() + 1);
    restartLevel(-1);
}

void cGameScreen::cheatWin() {
    noteCheat(L"win");
    if (cGameData* data = getGameData())
        if (data->getScore() < data->getGoal()) data->setScore(data->getGoal());
    continueAfterWin(true);
}

void cGameScreen::cheatPreviousLevel() {
    noteCheat(L"previous level");
    cGameData* data = getGameData();
    if (!data) return;
    data->setLevel(data->getLevel() - 1);
    setResult(GAME_RESULT_NEXT_LEVEL);
    restartLevel(-1);
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
    cGameData* data = getGameData();
    if (!data) return;
    using Get = int32_t (cGameData::*)(int32_t) const;
    using Set = void (cGameData::*)(int32_t, int32_t);
    static const std::pair<Get, Set> kDecor[6] = {
        {&cGameData::getFloorLevel, &cGameData::setFloorLevel},         {&cGameData::getWallLevel, &cGameData::setWallLevel},
        {&cGameData::getTablesLevel, &cGameData::setTablesLevel},       {&cGameData::getCounterLevel, &cGameData::setCounterLevel},
        {&cGameData::getInterior1Level, &cGameData::setInterior1Level}, {&cGameData::getInterior2Level, &cGameData::setInterior2Level}};
    for (int i = 0; i < 6; ++i) {
        const auto& [get, set] = kDecor[delta > 0 ? i : 5 - i];
        const int32_t from = delta > 0 ? 1 : 2;
        if ((data->*get)(0) != from) continue;
        (data->*set)(delta > 0 ? 2 : 1, 0);
        break;
    }
    // The level description is read again before the rebuild, as every other rebuild does.
    data->loadLevelInfo();
    setResult(GAME_RESULT_NEXT_LEVEL);
    beginLeave();
}
void cGameScreen::cheatFillCombo() { noteCheat(L"fill combo"); }
void cGameScreen::cheatScore(int32_t delta) {
    noteCheat(delta < 0 ? L"score -100" : L"score +100");
    if (cGameData* data = getGameData()) data->setScore(data->getScore() + delta);
}
void cGameScreen::cheatThief() { noteCheat(L"thief"); }
