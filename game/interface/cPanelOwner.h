#pragma once
// What a panel asks of the state object that owns it. A panel never casts its scene parent:
// the owner hands itself in through these interfaces at construction.
//
// cPanelOwner is all that the panel base needs (the shop and the mini game implement it too);
// cLevelPanelOwner adds what the in-game panels read and call on the game screen, its level
// and the game data. The game screen implements both; the tests implement a recording fake.

#include <cstdint>

class cPanel;
class cPanelEsc;
class cPanelLevel;
class cPanelContinue;
class cPanelConfirmMenu;
class cPanelConfirmTry;
class cLevelPanelOwner;
class cSceneNode;

class cPanelOwner {
public:
    virtual ~cPanelOwner() = default;
    // The owner's status panel, kept inactive under a modal panel; null when it has none.
    virtual cPanel* getStatusPanel() { return nullptr; }
    // Dims (true) or undims the level behind the panels; nothing when no level exists.
    virtual void setDimmed(bool dimmed) {}
    // Yes on the confirm-menu panel of the shop or the mini game: hide the owner's pause panel,
    // then leave for the main menu.
    virtual void hidePauseAndQuitToMenu() {}
    // The game screen's side of the owner, or null for any other owner.
    virtual cLevelPanelOwner* getLevelOwner() { return nullptr; }
};

class cLevelPanelOwner : public cPanelOwner {
public:
    cLevelPanelOwner* getLevelOwner() override { return this; }

    // The game screen's panels; null while one does not exist.
    virtual cPanelEsc* getPausePanel() = 0;
    virtual cPanelLevel* getLevelStartPanel() = 0;
    virtual cPanelContinue* getResultPanel() = 0;
    virtual cPanelConfirmMenu* getConfirmMenuPanel() = 0;
    virtual cPanelConfirmTry* getConfirmPanel() = 0;
    // True while the game screen fades in or out.
    virtual bool isFading() = 0;

    // The game-wide options and confirm-exit panels.
    virtual bool isOptionsPanelVisible() = 0;
    virtual bool isConfirmExitPanelVisible() = 0;
    virtual void showOptionsPanel() = 0;

    // Leaving the level. exitToMenu(true) books a run that reached the goal first;
    // restartLevel: -1 plain restart, 1 played to its end, 2 after a failed level;
    // continueAfterWin(true) books the run and goes on.
    virtual void exitToMenu(bool record) = 0;
    virtual void restartLevel(int mode) = 0;
    virtual void continueAfterWin(bool record) = 0;

    // The level: its goal was reached at some moment of play; the level as a scene parent
    // (of the status panel's sparkles), null while none exists.
    virtual bool wasGoalReached() = 0;
    virtual cSceneNode* getLevelNode() = 0;

    // The game data of the level being played (scores are never negative).
    virtual uint32_t getScore() = 0;
    virtual uint32_t getGoal() = 0;
    virtual uint32_t getExpertGoal() = 0;
    virtual float getLevelTime() = 0;
    virtual int32_t getLevel() = 0;          // 1..60
    virtual int32_t getLevelInWorld() = 0;   // 1..20
    virtual int32_t getWorld() = 0;          // 1..3
    virtual int32_t getGraphicsSet() = 0;    // 1..3 in the level data
    virtual int32_t getDifficulty() = 0;     // -1 none, 0 easy, 1 hard
    virtual int32_t getReachedLevel() = 0;
    virtual int32_t getMarkedLevel() = 0;
    // Best score and best counted score of the current level; 0 when none.
    virtual uint32_t getBestScore() = 0;
    virtual uint32_t getCountedBestScore() = 0;
    // The money for the shop over levels first..last, and the total score of the first n levels.
    virtual int32_t getCash(int32_t first, int32_t last) = 0;
    virtual int32_t getTotalScore(int32_t n) = 0;
};
