#pragma once
// Application state 4, the game: plays the game data's current level and the levels after it
// in place, and hands the root object the result that leaves the state (shop, menu, mini game,
// comics). Until the level is built, a level is won with Enter or a click; Escape leaves for
// the main menu. Each level start loads the world's file list (the difference only) and plays
// the world's music.

#include "game/flow/cPausingScreen.h"

class cPicture;

class cGameScreen : public cPausingScreen {
public:
    explicit cGameScreen(cSceneNode* parent);
    ~cGameScreen() override;

    // Opens the pause panel; false when it cannot open now.
    bool openPause() { return openPausePanel(); }
    // The level was won: record it, advance, and go on by the campaign's rules.
    void continueAfterWin(bool counts);
    void exitToMenu(bool afterResults);
    void restartLevel(int32_t mode);

    // The debug cheats of the game state.
    void cheatRestart();
    void cheatNextLevel();
    void cheatWin();
    void cheatPreviousLevel();
    void cheatTimeOut();
    void cheatReachExpert();
    void cheatReachGoal();
    void cheatMood(int32_t delta);
    void cheatDecor(int32_t delta);
    void cheatFillCombo();
    void cheatScore(int32_t delta);
    void cheatThief();
    // The last cheat that acted, as shown on the screen.
    const cStringW& getLastCheat() const { return m_last_cheat; }
    int32_t getLevelStarts() const { return m_level_starts; }

protected:
    void onPlayConfirm() override { continueAfterWin(true); }
    void onPlayBack() override { exitToMenu(false); }

private:
    void startLevel();
    void noteCheat(const wchar_t* name);

    cPicture* m_floor = nullptr;
    cStringW m_last_cheat;
    int32_t m_level_starts = 0;
};
