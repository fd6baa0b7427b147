#include "game/restaurant/LevelLook.h"

#include "game/flow/cGameData.h"

namespace {
const cLevelLook* g_override = nullptr;
}

cLevelLook currentLevelLook() {
    if (g_override) return *g_override;
    cLevelLook look;
    look.upgrades = world_textures::currentUpgrades();
    if (const cGameData* data = getGameData()) {
        look.graphicsSet = data->getGraphicsSet();
        look.pathsFileName = data->getPathsFileName();
    }
    return look;
}

void setLevelLookOverride(const cLevelLook* look) { g_override = look; }
