#include "game/minigame/cMiniGameScene.h"

#include "engine/app/cLogic.h"
#include "engine/core/Ownership.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cTimer.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "game/data/cGameData.h"
#include "game/data/cStatistics.h"
#include "game/effects/EffectSupport.h"
#include "game/flow/cCursor.h"
#include "game/flow/cGame.h"
#include "game/flow/cMusicManager.h"
#include "game/flow/cResourceGroupManager.h"
#include "game/interface/cPanelConfirm.h"
#include "game/minigame/cHiddenObject.h"
#include "game/minigame/cMiniGame.h"
#include "game/minigame/cMiniGameContinuePanel.h"
#include "game/minigame/cMiniGameNoticePanels.h"
#include "game/minigame/cMiniGamePausePanel.h"
#include "game/minigame/cMiniGameStatusPanel.h"
#include "platform/input/KeyCodes.h"


cMiniGameScene::cMiniGameScene(cSceneNode* parent, const cStringA& levelFile)
    : cSceneNode(parent), m_level_path(levelFile) {
    m_cursor = new cCursor(this);
    m_cursor->loadFromIni(effectIni(cCursor::kConfig), L"COMMON");
    build();
    setFade(0.0f);
    if (cGame* game = getGame(); game && !game->isActive())
        if (cSound* sound = getSound()) sound->pauseMusic();
    show();
    enable();
}

cMiniGameScene::~cMiniGameScene() {
    if (cSound* sound = getSound()) sound->stopAll();
    if (cMusicManager* music = getMusicManager()) music->stop(true);
    hide();
    disable();
    deleteAndNull(m_cursor);
    destroyParts();
}

void cMiniGameScene::destroyParts() {
    deleteAndNull(m_pause_panel);
    deleteAndNull(m_start_panel);
    deleteAndNull(m_continue_panel);
    deleteAndNull(m_alert_panel);
    deleteAndNull(m_game);
    deleteAndNull(m_status_panel);
    deleteAndNull(m_confirm_panel);
}

void cMiniGameScene::build() {
    // 1. No time passes while building.
    if (cTimer* timer = getTimer()) timer->skipFrames(1);
    setLogicPaused(true);
    // 2. The configuration again after a debug restart.
    if (m_reload_config) {
        if (cResourceGroupManager* groups = getResourceGroupManager()) {
            groups->unloadConfig();
            groups->loadConfig();
        }
        m_reload_config = false;
    }
    // 3. The status panel first (the mini game fills it), the mini game before the panels that
    // read its level file.
    m_status_panel = new cMiniGameStatusPanel(this, this);
    m_game = new cMiniGame(this, this, m_level_path);
    m_pause_panel = new cMiniGamePausePanel(this, this);
    m_start_panel = new cMiniGameStartPanel(this, this);
    m_continue_panel = new cMiniGameContinuePanel(this, this);
    m_alert_panel = new cMiniGameAlertPanel(this, this);
    m_confirm_panel = new cPanelConfirmMenu(this, this, CONFIRM_OWNER_MINI_GAME);
    // 4. The fade-in.
    m_started = false;
    m_fade_step = &cMiniGameScene::fadeInStep;
    // 5. The statistics record.
    if (cStatistics* statistics = getStatistics()) {
        cGameData* data = getGameData();
        statistics->startRecord(data ? data->getProfileName().toNarrow() : cStringA());
        if (data) statistics->setLevel(data->getLevel());
    }
    // 6. Nothing clicked meanwhile counts; 7. time runs; 8. the music.
    if (cInput* input = getInput()) input->flush();
    setLogicPaused(false);
    if (cMusicManager* music = getMusicManager()) music->playMiniGame();
}

bool cMiniGameScene::isUp(const cMiniGamePanel* panel) const { return panel && panel->isVisible(); }

void cMiniGameScene::update() {
    // 1. Shown and enabled.
    if (!isVisible()) {
        show();
        enable();
    }
    // 2. Built again after a debug restart.
    if (!m_game) build();
    // 3. The end of the game, once: the score stored, the continue panel.
    if (m_game->isComplete() && m_started && !isUp(m_pause_panel) && !isUp(m_start_panel) && !isUp(m_continue_panel)) {
        setLogicPaused(true);
        if (cSound* sound = getSound()) sound->stopAll();
        if (cGameData* data = getGameData()) data->setMiniGameResult(data->getMiniGameScore(), -1);
        m_continue_panel->appear(true);
        m_started = false;
    }
    // 4. The fade.
    if (m_fade_step) (this->*m_fade_step)();
    // 5. The cursor's widget mark, then the children.
    cCursor::testSubtree(this);
    cSceneNode::update();
}

float cMiniGameScene::getFade() const {
    cGraphics* graphics = getGraphics();
    return graphics ? graphics->getFade() : m_own_fade;
}

void cMiniGameScene::setFade(float fade) {
    m_own_fade = fade;
    if (cGraphics* graphics = getGraphics()) graphics->setFade(fade);
}

void cMiniGameScene::fadeInStep() {
    if (!isLogicPaused()) setLogicPaused(true);
    float a = getFade() + 300.0f * getDeltaTime2();
    if (a >= 255.0f) {
        a = 255.0f;
        m_fade_step = nullptr;
        setLogicPaused(false);
        m_start_panel->appear(true);
        m_started = true;
    }
    setFade(a);
}

void cMiniGameScene::startFadeOut() {
    m_fade_step = &cMiniGameScene::fadeOutStep;
    m_after_fade = &cMiniGameScene::onFadedOut;
    m_fade_out_waited = false;
}

void cMiniGameScene::fadeOutStep() {
    if (!isLogicPaused()) setLogicPaused(true);
    float a = getFade() - 800.0f * getDeltaTime2();
    if (a <= 0.0f) {
        a = 0.0f;
        if (m_fade_out_waited) {
            // Black for one more frame, then the action.
            auto after = m_after_fade;
            m_after_fade = nullptr;
            m_fade_step = nullptr;
            if (after) (this->*after)();
        } else {
            m_fade_out_waited = true;
        }
        setLogicPaused(false);
    }
    setFade(a);
}

void cMiniGameScene::onFadedOut() {
    if (getResult() != MINIGAME_RESULT_RESTART) {
        setFinished(true);
        return;
    }
    // The debug restart: everything goes; the next update builds it anew.
    destroyParts();
}

void cMiniGameScene::finish() {
    if (cGameData* data = getGameData()) data->setLevel(data->getLevel());
    startFadeOut();
}

void cMiniGameScene::continueGame() {
    if (!m_game) return;
    cGameData* data = getGameData();
    if (!data) {
        setResult(MINIGAME_RESULT_CONTINUE);
        startFadeOut();
        return;
    }
    const bool shop = !data->isShopSoldOut(0) && data->getLevel() == data->getReachedLevel();
    setResult(shop ? MINIGAME_RESULT_SHOP : MINIGAME_RESULT_CONTINUE);
    finish();
    data->setMiniGamePlayed(true, 0);
    data->saveNow();
}

void cMiniGameScene::quitToMenu() {
    setResult(MINIGAME_RESULT_MENU);
    startFadeOut();
}

void cMiniGameScene::hidePauseAndQuitToMenu() {
    if (m_pause_panel) m_pause_panel->hide();
    quitToMenu();
}

cPanel* cMiniGameScene::getStatusPanel() { return m_status_panel; }

void cMiniGameScene::showAlert() {
    if (isUp(m_pause_panel) || isUp(m_start_panel) || isUp(m_continue_panel) || isUp(m_alert_panel)) return;
    if (cSound* sound = getSound()) sound->pauseAll();
    m_alert_panel->appear(true);
}

bool cMiniGameScene::isPausePanelShown() const { return isUp(m_pause_panel); }

bool cMiniGameScene::isAlertShown() const { return isUp(m_alert_panel); }

bool cMiniGameScene::pause() {
    if (!m_pause_panel || m_fade_step || isUp(m_start_panel) || isUp(m_continue_panel) || isUp(m_alert_panel))
        return false;
    // Disabled first, so that its enable hook runs again.
    m_pause_panel->disable();
    m_pause_panel->appear(false);
    return true;
}

void cMiniGameScene::onEscape(void* scene) { static_cast<cMiniGameScene*>(scene)->escape(); }

void cMiniGameScene::escape() {
    if (!m_pause_panel || m_fade_step) return;
    if (!m_pause_panel->isVisible()) {
        if (isUp(m_start_panel) || isUp(m_continue_panel) || isUp(m_alert_panel)) return;
        if (cSound* sound = getSound()) sound->pauseAll();
        m_pause_panel->appear(true);
    } else if (m_pause_panel->isActive()) {
        m_pause_panel->press(m_pause_panel->getContinueButton());
    }
}

void cMiniGameScene::onEnable() {
    bindInput(keyPressedCode(KEY_ESCAPE), &cMiniGameScene::onEscape, this);
    cSceneNode::onEnable();
}

void cMiniGameScene::onDisable() {
    unbindInput(keyPressedCode(KEY_ESCAPE), &cMiniGameScene::onEscape, this);
    cSceneNode::onDisable();
}

bool cMiniGameScene::isReady() const { return m_game && !m_fade_step; }

void cMiniGameScene::cheatRestart() {
    if (!isReady()) return;
    m_reload_config = true;
    setResult(MINIGAME_RESULT_RESTART);
    finish();
}

void cMiniGameScene::restartWith(int32_t numberChange) {
    if (!isReady()) return;
    if (cGameData* data = getGameData()) {
        data->setMiniGameVariant(-1, -1);
        const int32_t number = data->getMiniGameNumber() + numberChange;
        if (number >= 1 && number <= kLastMiniGame) data->setMiniGameNumber(number);
    }
    cheatRestart();
}

void cMiniGameScene::cheatNext() { restartWith(1); }
void cMiniGameScene::cheatPrevious() { restartWith(-1); }

void cMiniGameScene::cheatTimeOver() {
    if (isReady()) m_game->clearTime();
}

void cMiniGameScene::cheatAddScore(int32_t delta) {
    if (cGameData* data = getGameData()) data->setMiniGameScore(data->getMiniGameScore() + delta);
}

void cMiniGameScene::cheatHint() {
    if (isReady()) m_game->hint();
}
