#pragma once
// The one place where the engine meets the game: the creation and deletion of the root game
// object and the window-message hook it installs. The entry point calls nothing else of the game.

#include <string>
#include <vector>

#include "engine/app/cRenderWren.h"
#include "engine/core/cString.h"

struct GameEntry {
    // Builds the root game object from the first word of the command line; may throw.
    void* (*create)(const cStringA& commandWord);
    // Deletes what create returned (null is ignored); may throw.
    void (*destroy)(void* game);
    // The hook the core's window procedure calls before its own handling.
    MessageHook messageHook;
    // The files of "$common$/" that a user-data reset keeps (fnmatch patterns): the save.
    std::vector<std::string> filesKeptByReset;
};

// The game's entry, defined beside the game's root object.
const GameEntry& gameEntry();
