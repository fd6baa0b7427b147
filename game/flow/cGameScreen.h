#pragma once
// Application state 4, the game: plays the game data's current level and the levels after it
// in place, and hands the root object the result that leaves the state (shop, menu, mini game,
// comics). Until the level is built, a level is won with Enter or a click; Escape leaves for
// the main menu. Each level start loads the world's file list (the difference only) and plays
// the world's music.
//
// The outcomes book the level as the campaign does: the result and the marked level into the
// game data, the statistics' result, the save; then the level ends one frame later and either
// the state finishes with its result or the current level starts anew in place.

#include "game/flow/cPausingScreen.h"

class cPicture;
class cGameData;

class cGameScreen : public cPausingScreen {
public:
    explicit cGameScreen(cSceneNode* parent);
    ~cGameScreen() override;

    // Opens the pause panel; false when it cannot open now.
    bool openPause() { return openPausePanel(); }
    // The level was won: record it, advance, and go on by the campaign's rules.
    void continueAfterWin(bool counts);
    void exitToMenu(bool afterResults);
    // -1 plain restart, 0 cancelled, 1 played to its end, 2 failed (see the outcome rules).
    void restartLevel(int32_t mode);
    // Leaves for the main menu at its play screen.
    void exitToPlayScreen();

    // The outcome rules over the game data's current level. A level counts when it is the
    // reached or the marked level; the shop rule sends to the shop when the level's shop is
    // not sold out and the level is above 4 and starts no world.
    static bool levelCounts(const cGameData& data);
    static int32_t shopRule(const cGameData& data);
    // The result after a won level and the level to play next.
    static int32_t resultAfterWin(const cGameData& data, int32_t* next);

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
    void step(float dt) override;
    // Ends the level one frame later: the state finishes with its result, or (result 0) the
    // current level starts anew.
    void beginLeave() { m_leave_pending = true; }
    void endLevel();
    void noteCheat(const wchar_t* name);

    cPicture* m_floor = nullptr;
    cStringW m_last_cheat;
    int32_t m_level_starts = 0;
    bool m_leave_pending = false;
};
