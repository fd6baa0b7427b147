#pragma once
// The texture names of the work stations, the trash, the ovens and the cotton stand of a
// level, by its graphics set, its world and its upgrade values: the one rule that the stations
// set on themselves, that the world file list loads and that the placeholder art ships.
//
// Names are resource names ("Game/Worlds/2/Oven/open02.dds"). A graphics set other than 2 and
// 3 is set 1, as everywhere else. A name is empty where the station (or its part) is not
// built: a station with upgrade 0, a sauce whose world is too small, cotton machine 2 without
// its upgrade, item parts outside their layout.

#include <string>
#include <vector>

#include "game/data/WorldTextures.h"

namespace station_textures {

struct Oven {
    std::string open, work, progress, base;   // base: oven 2 only
};

struct Cotton {
    // Machines by kind: index 0 makes candy 4 (L1 >= 1), index 1 candy 5 (L2 >= 1).
    bool installed[2] = {false, false};
    // The separate waiting places: world 3, or world 2 at L1 >= 3, and both machines.
    bool itemParts = false;
    // "dec_generation_time" is taken once from both work times.
    bool reduced = false;
    std::string stand, lid;
    std::string work[2], item[2];        // by kind; machine 2 borrows machine 1's where set 1 names none
    std::string choice[2], part[2];      // by kind; empty where not built
};

struct Names {
    std::string drink, cakeCover, cakeTable, snack, cream, trash;
    std::string coffeeStand, coffeeWork, coffeeGlow;
    std::string sauce[3];
    Oven oven[2];
    Cotton cotton;
};

// Whether sauce k (1..3) is built: its upgrade is not 0 and the world is k or more.
bool isSauceBuilt(int sauce, int world, const world_textures::Upgrades& upgrades);
// The sauce stations' count for their places: non-zero sauce upgrades, whatever the world.
int sauceUpgradeCount(const world_textures::Upgrades& upgrades);

Names names(int graphicsSet, int world, const world_textures::Upgrades& upgrades);

// Every name of names() that is not empty, in a fixed order (stations, ovens, cotton stand).
std::vector<std::string> files(int graphicsSet, int world, const world_textures::Upgrades& upgrades);

}  // namespace station_textures
