#include "game/restaurant/LevelLook.h"

#include "game/data/cGameData.h"

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
        look.world = data->getWorld();
        look.level = data->getLevel();
        look.waitressLevel = data->getWaitressLevel(0);
    }
    return look;
}

int lookWorld(const cLevelLook& look) {
    return look.world >= 1 ? look.world : world_textures::worldOfGraphicsSet(look.graphicsSet);
}

void setLevelLookOverride(const cLevelLook* look) { g_override = look; }
