#pragma once
// Application state 6, the hidden-object mini game. It builds the mini game and its panels,
// fades in, opens the start panel, and when the game is complete stores the score for the
// level before the current one and opens the continue panel. Its result for the root object:
// 1 the game, 2 the shop (not sold out and the current level is the reached one), 3 the main
// menu (Menu, Yes: nothing stored, nothing marked, nothing saved). A debug restart (result 0)
// deletes everything after the fade-out and builds it again inside the state.
//
// Esc opens the pause panel (or presses its Continue while it is up and active); losing the
// window focus opens it silently; neither acts during a fade or while the start, continue or
// alert panel is up. Debug commands act only while the mini game exists and no fade runs
// (the score commands always).

#include "engine/core/cString.h"
#include "engine/scene/cSceneNode.h"
#include "game/interface/cCompletion.h"
#include "game/minigame/cMiniGameOwner.h"

class cCursor;
class cMiniGame;
class cMiniGameAlertPanel;
class cMiniGameContinuePanel;
class cMiniGamePanel;
class cMiniGameStartPanel;
class cMiniGameStatusPanel;

class cMiniGameScene : public cSceneNode, public cCompletion, public cMiniGameOwner {
public:
    static constexpr int32_t kLastMiniGame = 6;

    // levelFile: the level file named on the command line, or empty.
    cMiniGameScene(cSceneNode* parent, const cStringA& levelFile);
    ~cMiniGameScene() override;

    void update() override;
    void onEnable() override;
    void onDisable() override;
    // Complete while no fade step and no after-fade action is installed.
    bool isComplete() override { return !m_fade_step && !m_after_fade; }

    // Opens the pause panel silently; false when it cannot open now.
    bool pause();
    static void onEscape(void* scene);
    void escape();
    // Result 3, then the fade-out.
    void quitToMenu();
    // The mini game exists and no fade runs.
    bool isReady() const;
    // The pause panel is up (also while it slides): it holds the music and the sounds paused.
    bool isPausePanelShown() const;
    // The alert is up: it holds the sounds paused, not the music.
    bool isAlertShown() const;

    // cMiniGameOwner
    cPanel* getStatusPanel() override;
    void hidePauseAndQuitToMenu() override;
    void showAlert() override;
    void continueGame() override;
    cMiniGamePausePanel* getMiniGamePausePanel() override { return m_pause_panel; }
    cPanelConfirmMenu* getConfirmPanel() override { return m_confirm_panel; }

    void cheatRestart();
    void cheatNext();
    void cheatPrevious();
    void cheatTimeOver();
    void cheatAddScore(int32_t delta);
    void cheatHint();

    const cStringA& getLevelFile() const { return m_level_path; }
    cMiniGame* getMiniGameObject() const { return m_game; }
    cMiniGameStatusPanel* getStatus() const { return m_status_panel; }
    cMiniGameStartPanel* getStartPanel() const { return m_start_panel; }
    cMiniGameContinuePanel* getContinuePanel() const { return m_continue_panel; }
    cMiniGameAlertPanel* getAlertPanel() const { return m_alert_panel; }
    bool isFading() const { return m_fade_step != nullptr; }
    bool isStarted() const { return m_started; }

private:
    void build();
    void destroyParts();
    void fadeInStep();
    void fadeOutStep();
    void startFadeOut();
    void onFadedOut();
    // Step 2 of Continue, also used by the debug restart.
    void finish();
    void restartWith(int32_t numberChange);
    bool isUp(const cMiniGamePanel* panel) const;
    float getFade() const;
    void setFade(float fade);

    cMiniGame* m_game = nullptr;
    cCursor* m_cursor = nullptr;
    cMiniGameStatusPanel* m_status_panel = nullptr;
    cMiniGamePausePanel* m_pause_panel = nullptr;
    cMiniGameStartPanel* m_start_panel = nullptr;
    cMiniGameContinuePanel* m_continue_panel = nullptr;
    cMiniGameAlertPanel* m_alert_panel = nullptr;
    cPanelConfirmMenu* m_confirm_panel = nullptr;
    void (cMiniGameScene::*m_fade_step)() = nullptr;
    void (cMiniGameScene::*m_after_fade)() = nullptr;
    bool m_fade_out_waited = false;
    bool m_started = false;
    bool m_reload_config = false;
    cStringA m_level_path;
    float m_own_fade = 255.0f;   // the brightness when there is no renderer
};
