// The world file lists against the built Data folder: every single file that the list of any
// level names, at the lowest and at the highest upgrades, exists and is a readable image. The
// game would stop with a fatal "not loaded" at the first level that needs a missing one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "engine/media/ImageDecoder.h"
#include "game/data/GameConstants.h"
#include "game/data/WorldTextures.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(RW_DIST_DIR) / "Data";

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

world_textures::Upgrades uniform(int v) {
    world_textures::Upgrades u;
    u.cake = u.coffee = u.cotton1 = u.cotton2 = u.drink = u.oven1 = u.oven2 = u.snack = v;
    u.sauce1 = u.sauce2 = u.sauce3 = u.subPlace1 = u.subPlace2 = u.subPlace3 = v;
    u.counter = u.tables = u.floor = u.wall = u.interior1 = u.interior2 = v;
    return u;
}

// Empty when the file is a readable image, else what is wrong.
std::string checkImage(const std::string& name) {
    std::ifstream in(kData / lower(name), std::ios::binary);
    if (!in) return "missing";
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        cImage image = decodeImage(bytes.data(), bytes.size());
        if (image.width == 0 || image.height == 0) return "empty image";
    } catch (...) {
        return "cannot be decoded";
    }
    return std::string();
}

}  // namespace

TEST(WorldListData, EveryLevelsListAtTheLowestAndHighestUpgradesIsInTheDataFolder) {
    std::set<std::string> checked;
    for (int level = 1; level <= game::kLevelCount; ++level) {
        const int world = game::worldOfLevel(level);  // the graphics set of the demo packs
        for (int upgrade : {0, 3}) {
            for (const std::string& name : world_textures::singleFiles(world, level, uniform(upgrade))) {
                if (!checked.insert(name).second) continue;
                const std::string fault = checkImage(name);
                EXPECT_TRUE(fault.empty()) << "world list of level " << level << " at upgrade " << upgrade << ": "
                                           << name << " " << fault;
            }
        }
    }
    EXPECT_GT(checked.size(), 200u);
}

// Every variant the rules can name, not only the two ends: a shop upgrade may make any of them.
TEST(WorldListData, EveryVariantOfTheRulesIsInTheDataFolder) {
    for (int world = 1; world <= game::kWorldCount; ++world)
        for (const std::string& name : world_textures::allUpgradeAndTimeFiles(world)) {
            const std::string fault = checkImage(name);
            EXPECT_TRUE(fault.empty()) << "world " << world << ": " << name << " " << fault;
        }
}
