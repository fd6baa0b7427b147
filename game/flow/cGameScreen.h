#pragma once
// Application state 4, the game: plays the game data's current level and the levels after it
// in place, and hands the root object the result that leaves the state (shop, menu, mini game,
// comics).
//
// Each level start builds the level with its six panels (pause, level start, results, the two
// confirmations, status), fades the screen in with the game time stopped, and shows the
// level-start panel once the screen is bright. When the level is over the results panel comes
// once. Every way out goes through a fade-out; one frame after black the state either finishes
// with its result or (result 0) deletes the level and its panels and starts the current level
// anew with the next frame.
//
// The outcomes book the level as the campaign does: the result and the marked level into the
// game data, the statistics' result, the save.

#include "engine/scene/cSceneNode.h"
#include "game/interface/cCompletion.h"
#include "game/interface/cPanelOwner.h"

class cCursor;
class cGameData;
class cLevel;
class cPanelStatus;

class cGameScreen : public cSceneNode, public cCompletion, public cLevelPanelOwner {
public:
    static constexpr float kFadeInSpeed = 300.0f;
    static constexpr float kFadeOutSpeed = 800.0f;
    // The fade-in shows the status panel from this brightness; the fade-out hides it from this.
    static constexpr float kStatusShowFade = 100.0f;
    static constexpr float kStatusHideFade = 200.0f;

    explicit cGameScreen(cSceneNode* parent);
    ~cGameScreen() override;

    void update() override;
    void onEnable() override;
    void onDisable() override;
    // Complete while no fade runs.
    bool isComplete() override { return !m_fade_step && !m_end_callback; }

    // Opens the pause panel silently; false while a fade runs or another panel is up.
    bool openPause();
    // The Escape binding.
    static void onEscape(void* screen);

    // The outcomes (also the panels' calls). Nothing happens while there is no level.
    void continueAfterWin(bool counts) override;
    void exitToMenu(bool record) override;
    // -1 plain restart, 0 cancelled, 1 played to its end, 2 failed.
    void restartLevel(int mode) override;
    // Leaves for the main menu at its play screen.
    void exitToPlayScreen();

    // The outcome rules over the game data's current level. A level counts when it is the
    // reached or the marked level; the shop rule sends to the shop when the level's shop is
    // not sold out and the level is above 4 and starts no world.
    static bool levelCounts(const cGameData& data);
    static int32_t shopRule(const cGameData& data);
    // The result after a won level and the level to play next.
    static int32_t resultAfterWin(const cGameData& data, int32_t* next);

    // The debug cheats of the game state: all but the score cheat act only while a level
    // exists and no fade runs.
    void cheatRestart();
    void cheatNextLevel();
    void cheatWin();
    void cheatPreviousLevel();
    void cheatTimeOut();
    void cheatReachExpert();
    void cheatReachGoal();
    void cheatMood(int32_t delta);
    void cheatDecor(int32_t direction);
    void cheatFillCombo();
    void cheatScore(int32_t delta);
    void cheatThief();

    cLevel* getLevelObject() const { return m_level; }
    cCursor* getOwnCursor() const { return m_cursor; }
    cPanelStatus* getStatus() const { return m_status; }
    bool isFadingIn() const { return m_fade_step == &cGameScreen::fadeInStep; }
    bool isFadingOut() const { return m_fade_step == &cGameScreen::fadeOutStep; }
    bool isResultsPending() const { return m_results_pending; }
    bool isPausePanelShown() const;
    // How many levels this state has started (the rebuilds included).
    int32_t getLevelStarts() const { return m_level_starts; }

    // ---- cPanelOwner / cLevelPanelOwner
    cPanel* getStatusPanel() override;
    void setDimmed(bool dimmed) override;
    cPanelEsc* getPausePanel() override { return m_pause; }
    cPanelLevel* getLevelStartPanel() override { return m_level_start; }
    cPanelContinue* getResultPanel() override { return m_results; }
    cPanelConfirmMenu* getConfirmMenuPanel() override { return m_confirm_menu; }
    cPanelConfirmTry* getConfirmPanel() override { return m_confirm_try; }
    bool isFading() override { return m_fade_step != nullptr; }
    bool isOptionsPanelVisible() override;
    bool isConfirmExitPanelVisible() override;
    void showOptionsPanel() override;
    bool wasGoalReached() override;
    cSceneNode* getLevelNode() override;
    uint32_t getScore() override;
    uint32_t getGoal() override;
    uint32_t getExpertGoal() override;
    float getLevelTime() override;
    int32_t getLevel() override;
    int32_t getLevelInWorld() override;
    int32_t getWorld() override;
    int32_t getGraphicsSet() override;
    int32_t getDifficulty() override;
    int32_t getReachedLevel() override;
    int32_t getMarkedLevel() override;
    uint32_t getBestScore() override;
    uint32_t getCountedBestScore() override;
    int32_t getCash(int32_t first, int32_t last) override;
    int32_t getTotalScore(int32_t n) override;

private:
    void startLevel(bool loadWorld);
    void deleteLevel();
    void beginFadeIn();
    void beginFadeOut();
    void fadeInStep();
    void fadeOutStep();
    void endLevel();
    // No level or a fade running: the cheats that touch the level do nothing.
    bool cheatsBlocked() const { return !m_level || m_fade_step; }

    cLevel* m_level = nullptr;
    cCursor* m_cursor = nullptr;
    cPanelStatus* m_status = nullptr;
    cPanelEsc* m_pause = nullptr;
    cPanelLevel* m_level_start = nullptr;
    cPanelContinue* m_results = nullptr;
    cPanelConfirmMenu* m_confirm_menu = nullptr;
    cPanelConfirmTry* m_confirm_try = nullptr;
    void (cGameScreen::*m_fade_step)() = nullptr;
    void (cGameScreen::*m_end_callback)() = nullptr;
    bool m_at_black = false;
    bool m_results_pending = false;
    bool m_reload_config = false;
    int32_t m_level_starts = 0;
};
