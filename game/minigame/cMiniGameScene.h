#pragma once
// Application state 6, the hidden-object mini game. With an empty level-file name it plays
// the game data's mini-game number. Enter or a click continues with the game (result 1), S
// goes to the shop (result 2), Escape to the main menu (result 3). Plays the mini-game music.

#include "engine/core/cString.h"
#include "game/flow/cPausingScreen.h"

class cMiniGameScene : public cPausingScreen {
public:
    static constexpr const char* kBackground = "MiniGame1/minigame_back.dds";
    static constexpr int32_t kLastMiniGame = 6;

    cMiniGameScene(cSceneNode* parent, const cStringA& levelFile);
    ~cMiniGameScene() override;

    bool pause() { return openPausePanel(); }
    void onEnable() override;
    void onDisable() override;

    void cheatRestart();
    void cheatNext();
    void cheatPrevious();
    void cheatTimeOver() { m_time_left = 0.0f; }
    void cheatAddScore(int32_t delta);
    void cheatHint() { m_hinted = true; }
    const cStringA& getLevelFile() const { return m_level_file; }
    float getTimeLeft() const { return m_time_left; }
    bool isHinted() const { return m_hinted; }

protected:
    void onPlayConfirm() override { finish(MINIGAME_RESULT_CONTINUE); }
    void onPlayBack() override { finish(MINIGAME_RESULT_MENU); }

private:
    static void shopKey(void* scene);
    void refreshTitle();

    cStringA m_level_file;
    float m_time_left = 120.0f;
    bool m_hinted = false;
    bool m_reload_config = false;
};
