#pragma once
// What the mini game and its panels ask of the mini-game state that owns them. They never
// cast their scene parent: the state hands itself in at construction. The panel base's side
// (status panel, quitting through the confirm panel) comes from cPanelOwner.

#include "game/interface/cPanelOwner.h"

class cMiniGamePausePanel;
class cPanelConfirmMenu;

class cMiniGameOwner : public cPanelOwner {
public:
    // Opens the alert panel when no other mini-game panel is up.
    virtual void showAlert() {}
    // The continue panel's button: choose the next state, mark the mini game played, save, leave.
    virtual void continueGame() {}
    // The state's pause panel and confirm-menu panel; null while they do not exist.
    virtual cMiniGamePausePanel* getMiniGamePausePanel() { return nullptr; }
    virtual cPanelConfirmMenu* getConfirmPanel() { return nullptr; }
};
