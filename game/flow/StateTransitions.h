#pragma once
// The table of the root game object: which application state follows a finished state, by
// its result and the play data of the current level. A pure function, so that the whole table
// is testable without a running game.

#include <cstdint>

#include "game/interface/cCompletion.h"

struct TransitionInput {
    AppState from = APP_STATE_LOGO;
    int32_t result = 0;
    int32_t level = 1;           // the game data's current level
    int32_t reachedLevel = 1;    // the highest level opened
    int32_t comicsNumber = 1;    // the comics being shown (from the comics state)
    bool shopSoldOut = false;    // of the current level
    bool miniGamePlayed = false; // of the current level
};

struct Transition {
    AppState next = APP_STATE_NONE;  // APP_STATE_NONE: no switch
    bool quit = false;               // ask the logic to quit (main menu, result 2)
    bool markReached = false;        // marked level := reached level, before anything else
    int32_t comicsNumber = 0;        // 0: unchanged; else the comics number to store
    bool openMenuAtPlayScreen = false;
};

Transition chooseTransition(const TransitionInput& in);

// The mini-game number of a level at whose start a mini game is played (8, 15, 28, 35, 48,
// 55 give 1 to 6); 0 for every other level.
int32_t miniGameNumberOfLevel(int32_t level);
