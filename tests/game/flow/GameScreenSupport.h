#pragma once
// Steps of the game screen that the headless game tests share: waiting for the screen to be
// at rest, a key press over one frame, closing the level-start panel as a player does.

#include "engine/media/cInput.h"
#include "game/flow/cGameScreen.h"
#include "game/flow/cLevel.h"
#include "game/interface/cPanelEsc.h"
#include "game/interface/cPanelLevel.h"
#include "tests/game/flow/test_game_env.h"

namespace game_test {

// A level exists and no fade runs.
inline bool waitScreenIdle(GameEnvironment& genv, cGameScreen* screen, int limit = 400) {
    return genv.framesUntil([&] { return screen->getLevelObject() && screen->isComplete(); }, limit);
}

// A panel that has slid in and reacts.
inline bool panelAtRest(const cPanel* panel) {
    return panel && panel->isVisible() && const_cast<cPanel*>(panel)->isComplete() && panel->isActive();
}

// The key goes down for one frame and is released.
inline void pressKeyOnce(GameEnvironment& genv, uint8_t key) {
    platform::input::injectKey(key, true);
    genv.frame();
    platform::input::injectKey(key, false);
}

// Waits for the level-start panel, closes it with Enter and waits until it has gone.
inline bool closeLevelStart(GameEnvironment& genv, cGameScreen* screen, int limit = 400) {
    if (!waitScreenIdle(genv, screen, limit)) return false;
    if (!genv.framesUntil([&] { return panelAtRest(screen->getLevelStartPanel()); }, limit)) return false;
    pressKeyOnce(genv, KEY_ENTER);
    return genv.framesUntil([&] { return !screen->getLevelStartPanel()->isVisible(); }, limit);
}

}  // namespace game_test
