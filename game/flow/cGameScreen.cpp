#include "game/flow/cGameScreen.h"

#include "engine/app/cLogic.h"
#include "engine/core/Ownership.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cTimer.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "game/data/GameConstants.h"
#include "game/data/LevelPack.h"
#include "game/data/cGameData.h"
#include "game/data/cStatistics.h"
#include "game/flow/cCursor.h"
#include "game/flow/cGame.h"
#include "game/flow/cLevel.h"
#include "game/flow/cMusicManager.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/interface/cPanelConfirm.h"
#include "game/interface/cPanelContinue.h"
#include "game/interface/cPanelEsc.h"
#include "game/interface/cPanelLevel.h"
#include "game/interface/cPanelStatus.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/menus/cOptionsPanel.h"

#include <utility>

namespace {

bool shown(const cSceneNode* node) { return node && node->isVisible(); }

}  // namespace

cGameScreen::cGameScreen(cSceneNode* parent) : cSceneNode(parent) {
    // 2. The cursor of this state.
    m_cursor = new cCursor(this);
    if (cResourceManager* resources = getResourceManager())
        m_cursor->loadFromIni(*resources->getIni(cCursor::kConfig), L"COMMON");
    // 3. The level (the state switch has loaded the world); 4. black.
    startLevel(false);
    if (cGraphics* graphics = getGraphics()) graphics->setFade(0.0f);
    // 5. Started without the focus: the music waits for it.
    cGame* game = getGame();
    if (game && !game->isActive())
        if (cSound* sound = getSound()) sound->pauseMusic();
    // 6. Shown and enabled: Escape is bound.
    show();
    enable();
}

cGameScreen::~cGameScreen() {
    if (cSound* sound = getSound()) sound->stopAll();
    if (cMusicManager* music = getMusicManager()) music->stop(true);
    hide();
    disable();
    deleteAndNull(m_cursor);
    deleteLevel();
}

void cGameScreen::deleteLevel() {
    // The level first: its registries empty while the panels still exist.
    deleteAndNull(m_level);
    deleteAndNull(m_status);
    deleteAndNull(m_pause);
    deleteAndNull(m_level_start);
    deleteAndNull(m_results);
    deleteAndNull(m_confirm_menu);
    deleteAndNull(m_confirm_try);
}

void cGameScreen::onEnable() {
    bindInput(kEscapePressed, &cGameScreen::onEscape, this);
    cSceneNode::onEnable();
}

void cGameScreen::onDisable() {
    unbindInput(kEscapePressed, &cGameScreen::onEscape, this);
    cSceneNode::onDisable();
}

void cGameScreen::startLevel(bool loadWorld) {
    // A level whose time cannot be played is refused before anything of it is built.
    if (const cGameData* data = getGameData()) {
        const std::vector<cStringA>& packs = data->getPackList();
        const size_t pack = static_cast<size_t>(data->getWorld() - 1);
        levelpack::requirePlayableTime(data->getLevelTime(), data->getLevelNode(),
                                       pack < packs.size() ? packs[pack] : cStringA(), data->getLevelInWorld());
    }
    // 1. The time of the build is no time step; game time stops meanwhile.
    if (cTimer* timer = getTimer()) timer->skipFrames(1);
    setLogicPaused(true);
    cResourceGroupManager* groups = getResourceGroupManager();
    // 2. A reload reads every configuration file afresh.
    if (m_reload_config) {
        if (groups) {
            groups->unloadConfig();
            groups->loadConfig();
        }
        m_reload_config = false;
    }
    cGameData* data = getGameData();
    // 3. The path graph of the level; 4. the world's files (the difference only).
    if (data) data->makePathsFileName();
    if (loadWorld && groups && data) groups->loadWorld(data->getGraphicsSet(), false);
    // 5. The level and its panels, in this order.
    m_level = new cLevel(this, cLevel::Build::Play);
    m_pause = new cPanelEsc(this, this);
    m_level_start = new cPanelLevel(this, this);
    m_results = new cPanelContinue(this, this);
    m_confirm_menu = new cPanelConfirmMenu(this, this, CONFIRM_OWNER_GAME_SCREEN);
    m_confirm_try = new cPanelConfirmTry(this, this);
    m_status = new cPanelStatus(this, this);
    m_level->setStatusPanel(m_status);
    ++m_level_starts;
    // 6.
    m_results_pending = false;
    beginFadeIn();
    // 7. The statistics of the level.
    if (cStatistics* stats = getStatistics()) {
        stats->startRecord(data ? data->getProfileName().toNarrow() : cStringA());
        if (data) {
            stats->setLevel(data->getLevel());
            stats->setGoal(data->getGoal());
            stats->setExpert(data->getExpertGoal());
        }
        stats->setLevelTime(static_cast<int32_t>(m_level->getTimeLeft()));
        stats->setAmountHumans(m_level->countWaitingCustomers());
    }
    // 8. What was typed or clicked during the build is dropped.
    if (cInput* input = getInput()) input->flush();
    setLogicPaused(false);
    // 9. The world's music (a track already playing goes on).
    if (cMusicManager* music = getMusicManager()) music->playGame(data ? data->getWorld() : 1);
}

void cGameScreen::update() {
    // 1. Shown and enabled; 2. a level after the last one ended in place.
    if (!isVisible()) {
        show();
        enable();
    }
    if (!m_level) startLevel(true);
    // 3. The level's end brings the results panel, once per level.
    if (m_level->isOver() && !shown(m_pause) && !shown(m_level_start) && !shown(m_results) && m_results_pending) {
        setLogicPaused(true);
        if (cSound* sound = getSound()) sound->stopAll();
        if (cMusicManager* music = getMusicManager()) music->stop(true);
        m_results->show(true);
        m_results_pending = false;
    }
    // 4. The displayed clock stands while a tutorial runs.
    if (m_status) m_status->setClockFrozen(m_level->hasTutorialScript());
    // 5. The fade.
    if (m_fade_step) (this->*m_fade_step)();
    // 6. The cursor's look over hot widgets; 7. the children.
    cCursor::testSubtree(this);
    cSceneNode::update();
}

void cGameScreen::beginFadeIn() { m_fade_step = &cGameScreen::fadeInStep; }

void cGameScreen::beginFadeOut() {
    m_fade_step = &cGameScreen::fadeOutStep;
    m_end_callback = &cGameScreen::endLevel;
    m_at_black = false;
}

void cGameScreen::fadeInStep() {
    if (!isLogicPaused()) setLogicPaused(true);
    cGraphics* graphics = getGraphics();
    float f = (graphics ? graphics->getFade() : 0.0f) + kFadeInSpeed * getDeltaTime2();
    if (f >= 255.0f) {
        f = 255.0f;
        m_fade_step = nullptr;
        setLogicPaused(false);
        if (m_level_start) m_level_start->show(true);
        m_results_pending = true;
    } else if (f >= kStatusShowFade && m_status) {
        m_status->show(false);
    }
    if (m_status) m_status->deactivateAll();
    if (graphics) graphics->setFade(f);
}

void cGameScreen::fadeOutStep() {
    if (!isLogicPaused()) setLogicPaused(true);
    cGraphics* graphics = getGraphics();
    float f = (graphics ? graphics->getFade() : 0.0f) - kFadeOutSpeed * getDeltaTime2();
    if (f <= 0.0f) {
        f = 0.0f;
        if (m_at_black) {
            // The callback may delete the level and its panels.
            void (cGameScreen::*callback)() = m_end_callback;
            m_end_callback = nullptr;
            m_fade_step = nullptr;
            if (callback) (this->*callback)();
        } else {
            m_at_black = true;
        }
        setLogicPaused(false);
    } else if (f <= kStatusHideFade && m_status && m_status->isVisible() && !m_status->isDisappearing()) {
        m_status->hide(false);
    }
    if (m_status) m_status->deactivateAll();
    if (graphics) graphics->setFade(f);
}

void cGameScreen::endLevel() {
    cGameData* data = getGameData();
    if (cStatistics* stats = getStatistics()) {
        stats->setTotal(data ? data->getScore() : 0);
        stats->writeLogs();
    }
    if (getResult() != GAME_RESULT_NEXT_LEVEL) {
        setFinished(true);
        return;
    }
    // The next frame starts the current level anew.
    deleteLevel();
}

bool cGameScreen::isPausePanelShown() const { return shown(m_pause); }

void cGameScreen::onEscape(void* object) {
    auto* self = static_cast<cGameScreen*>(object);
    cPanelEsc* pause = self->m_pause;
    if (!pause || self->m_fade_step) return;
    // Under the root object's own panels (quit question, options) the state ignores the key.
    if (!self->isActive()) return;
    if (!pause->isVisible()) {
        if (shown(self->m_level_start) || shown(self->m_results)) return;
        if (cSound* sound = getSound()) sound->pauseAll();
        pause->show(true);
    } else if (pause->isActive()) {
        cPanelEsc::onButtonClick(pause->getContinueButton());
    }
}

bool cGameScreen::openPause() {
    if (!m_pause || m_fade_step || shown(m_level_start) || shown(m_results)) return false;
    m_pause->disable();
    m_pause->show(false);
    return true;
}

// ---- outcomes

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
    if (!m_level || !data) return;
    cStatistics* stats = getStatistics();
    if (stats) stats->setLeftHumans(m_level->countWaitingCustomers());
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

void cGameScreen::restartLevel(int mode) {
    cGameData* data = getGameData();
    if (!m_level || !data) return;
    cStatistics* stats = getStatistics();
    if (mode == 0 && stats) stats->markCancelled();
    if (mode == 1) {
        if (stats) {
            stats->markWon();
            stats->setLeftHumans(m_level->countWaitingCustomers());
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
    beginFadeOut();
}

void cGameScreen::exitToMenu(bool record) {
    cGameData* data = getGameData();
    cStatistics* stats = getStatistics();
    if (stats) stats->markCancelled();
    if (m_level && data && record && data->getScore() >= data->getGoal()) {
        if (stats) stats->setLeftHumans(m_level->countWaitingCustomers());
        data->recordLevelResult(true);
        data->setMarkedLevel(data->getReachedLevel());
        const int32_t level = data->getLevel();
        if (!data->isLastLevel() && level + 1 == data->getReachedLevel()) data->setLevel(level + 1);
        restartLevel(-1);
        data->saveNow();
    }
    setResult(GAME_RESULT_MENU);
    beginFadeOut();
}

void cGameScreen::exitToPlayScreen() {
    exitToMenu(false);
    setResult(GAME_RESULT_MENU_PLAY_SCREEN);
}

// ---- cheats

void cGameScreen::cheatRestart() {
    if (cheatsBlocked()) return;
    m_reload_config = true;
    setResult(GAME_RESULT_NEXT_LEVEL);
    restartLevel(-1);
}

void cGameScreen::cheatNextLevel() {
    cGameData* data = getGameData();
    if (cheatsBlocked() || !data) return;
    setResult(GAME_RESULT_NEXT_LEVEL);
    if (!data->isLastLevel()) data->setLevel(data->getLevel() + 1);
    restartLevel(-1);
}

void cGameScreen::cheatWin() {
    if (cheatsBlocked()) return;
    cheatReachGoal();
    continueAfterWin(true);
}

void cGameScreen::cheatPreviousLevel() {
    cGameData* data = getGameData();
    if (cheatsBlocked() || !data) return;
    data->setLevel(data->getLevel() - 1);
    setResult(GAME_RESULT_NEXT_LEVEL);
    restartLevel(-1);
}

void cGameScreen::cheatTimeOut() {
    if (cheatsBlocked()) return;
    m_level->clearTime();
    if (m_status) m_status->finishClock();
}

void cGameScreen::cheatReachExpert() {
    if (!cheatsBlocked()) m_level->raiseScoreToExpert();
}

void cGameScreen::cheatReachGoal() {
    if (!cheatsBlocked()) m_level->raiseScoreToGoal();
}

void cGameScreen::cheatMood(int32_t delta) {
    if (!cheatsBlocked()) m_level->changeMoods(delta);
}

void cGameScreen::cheatFillCombo() {
    if (!cheatsBlocked()) m_level->fillComboBar();
}

void cGameScreen::cheatThief() {
    if (!cheatsBlocked()) m_level->sendThief();
}

void cGameScreen::cheatScore(int32_t delta) {
    if (cGameData* data = getGameData()) data->setScore(data->getScore() + delta);
}

void cGameScreen::cheatDecor(int32_t direction) {
    cGameData* data = getGameData();
    if (cheatsBlocked() || !data) return;
    using Get = int32_t (cGameData::*)(int32_t) const;
    using Set = void (cGameData::*)(int32_t, int32_t);
    static const std::pair<Get, Set> kDecor[6] = {
        {&cGameData::getFloorLevel, &cGameData::setFloorLevel},         {&cGameData::getWallLevel, &cGameData::setWallLevel},
        {&cGameData::getTablesLevel, &cGameData::setTablesLevel},       {&cGameData::getCounterLevel, &cGameData::setCounterLevel},
        {&cGameData::getInterior1Level, &cGameData::setInterior1Level}, {&cGameData::getInterior2Level, &cGameData::setInterior2Level}};
    const int32_t from = direction > 0 ? 1 : 2;
    for (int i = 0; i < 6; ++i) {
        const auto& [get, set] = kDecor[direction > 0 ? i : 5 - i];
        if ((data->*get)(0) != from) continue;
        (data->*set)(direction > 0 ? 2 : 1, 0);
        break;
    }
    // The level description is read again before the rebuild, as every other rebuild does:
    // the goals are then scaled once, from the description.
    data->loadLevelInfo();
    setResult(GAME_RESULT_NEXT_LEVEL);
    beginFadeOut();
}

// ---- what the panels ask

cPanel* cGameScreen::getStatusPanel() { return m_status; }

void cGameScreen::setDimmed(bool dimmed) {
    if (m_level) m_level->setDimmed(dimmed);
}

bool cGameScreen::isOptionsPanelVisible() {
    cOptionsPanel* options = getOptionsPanel();
    return options && options->isVisible();
}

bool cGameScreen::isConfirmExitPanelVisible() {
    cConfirmExitPanel* exit = getConfirmExitPanel();
    return exit && exit->isVisible();
}

void cGameScreen::showOptionsPanel() {
    if (cOptionsPanel* options = getOptionsPanel()) options->show(true);
}

bool cGameScreen::wasGoalReached() { return m_level && m_level->wasGoalReached(); }
cSceneNode* cGameScreen::getLevelNode() { return m_level; }

namespace {
template <class T, class F>
T fromData(F&& read, T fallback = T()) {
    const cGameData* data = getGameData();
    return data ? static_cast<T>(read(*data)) : fallback;
}
}  // namespace

uint32_t cGameScreen::getScore() { return fromData<uint32_t>([](const cGameData& d) { return d.getScore(); }); }
uint32_t cGameScreen::getGoal() { return fromData<uint32_t>([](const cGameData& d) { return d.getGoal(); }); }
uint32_t cGameScreen::getExpertGoal() { return fromData<uint32_t>([](const cGameData& d) { return d.getExpertGoal(); }); }
float cGameScreen::getLevelTime() { return fromData<float>([](const cGameData& d) { return d.getLevelTime(); }); }
int32_t cGameScreen::getLevel() { return fromData<int32_t>([](const cGameData& d) { return d.getLevel(); }, 1); }
int32_t cGameScreen::getLevelInWorld() { return fromData<int32_t>([](const cGameData& d) { return d.getLevelInWorld(); }, 1); }
int32_t cGameScreen::getWorld() { return fromData<int32_t>([](const cGameData& d) { return d.getWorld(); }, 1); }
int32_t cGameScreen::getGraphicsSet() { return fromData<int32_t>([](const cGameData& d) { return d.getGraphicsSet(); }, 1); }
int32_t cGameScreen::getDifficulty() { return fromData<int32_t>([](const cGameData& d) { return d.getDifficulty(); }, -1); }
int32_t cGameScreen::getReachedLevel() { return fromData<int32_t>([](const cGameData& d) { return d.getReachedLevel(); }, 1); }
int32_t cGameScreen::getMarkedLevel() { return fromData<int32_t>([](const cGameData& d) { return d.getMarkedLevel(); }, 1); }
uint32_t cGameScreen::getBestScore() { return fromData<uint32_t>([](const cGameData& d) { return d.getBestScore(0); }); }
uint32_t cGameScreen::getCountedBestScore() {
    return fromData<uint32_t>([](const cGameData& d) { return d.getCountedBestScore(0); });
}
int32_t cGameScreen::getCash(int32_t first, int32_t last) {
    return fromData<int32_t>([&](const cGameData& d) { return d.getCash(first, last); });
}
int32_t cGameScreen::getTotalScore(int32_t n) {
    return fromData<int32_t>([&](const cGameData& d) { return d.getTotalScore(n); });
}
