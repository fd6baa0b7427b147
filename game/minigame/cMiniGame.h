#pragma once
// The hidden-object search of the mini-game state. Only its pause is built so far: the game-wide
// dialogs freeze it while they are up.

#include "engine/core/cSingleton.h"
#include "engine/scene/cSceneNode.h"

class cMiniGame : public cSceneNode, public cSingleton<cMiniGame> {
public:
    explicit cMiniGame(cSceneNode* parent = nullptr);
    ~cMiniGame() override;

    bool isPaused() const { return m_paused; }
    void setPaused(bool paused) { m_paused = paused; }

private:
    bool m_paused = false;
};

// The mini game while the mini-game state exists, else null.
cMiniGame* getMiniGame();
