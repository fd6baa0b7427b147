#pragma once
// The current level as the restaurant objects see it when they are built: its graphics set,
// its upgrade values and the name of its paths document. They come from the game data; tests
// install their own with setLevelLookOverride.

#include "engine/core/cString.h"
#include "game/flow/WorldTextures.h"

struct cLevelLook {
    int graphicsSet = 1;
    world_textures::Upgrades upgrades;
    cStringA pathsFileName;
};

// The installed look, else the game data's current level, else the defaults above.
cLevelLook currentLevelLook();
// Installs a look (not owned; null removes it).
void setLevelLookOverride(const cLevelLook* look);
