#pragma once
// The current level as the restaurant objects see it when they are built: its graphics set,
// its upgrade values and the name of its paths document. They come from the game data; tests
// install their own with setLevelLookOverride.

#include "engine/core/cString.h"
#include "game/data/WorldTextures.h"

struct cLevelLook {
    int graphicsSet = 1;
    // The world 1..3 (it decides the sauce stations and the cotton stand's layout); 0 takes the
    // graphics set's world.
    int world = 0;
    world_textures::Upgrades upgrades;
    // The waitress's upgrade value (above 1: she walks faster).
    int waitressLevel = 0;
    cStringA pathsFileName;
    // The campaign level 1..60 (it sets the room's time of day); 0 when unknown.
    int level = 0;
};

// The world of a look: its own, else its graphics set's.
int lookWorld(const cLevelLook& look);

// The installed look, else the game data's current level, else the defaults above.
cLevelLook currentLevelLook();
// Installs a look (not owned; null removes it).
void setLevelLookOverride(const cLevelLook* look);
