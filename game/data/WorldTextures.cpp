#include "game/data/WorldTextures.h"

#include <algorithm>
#include <set>

#include "game/data/GameConstants.h"
#include "game/data/StationTextures.h"
#include "game/data/cGameData.h"

namespace world_textures {

namespace {

const char* const kHintsFolder = "Game/Interface/Hints/";

// The time of day of positions 0..19 of a world: D day, E evening, N night.
const char* const kScheduleWorlds12 = "DDDEENDDDEENDDDEENDD";
const char* const kScheduleWorld3 = "ENDDDEENDDDEENDDDEEN";

std::string twoDigits(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

// Appends folder + stem + suffix + ".dds" for each stem.
void addBand(std::vector<std::string>& out, const std::string& folder, std::initializer_list<const char*> stems,
             const char* suffix) {
    for (const char* stem : stems) out.push_back(folder + stem + suffix + ".dds");
}

// Appends folder + name + ".dds" for each full name.
void addNames(std::vector<std::string>& out, const std::string& folder, std::initializer_list<const char*> names) {
    for (const char* name : names) out.push_back(folder + name + ".dds");
}

int countAboveZero(std::initializer_list<int> values) {
    int n = 0;
    for (int v : values)
        if (v > 0) ++n;
    return n;
}

}  // namespace

Upgrades currentUpgrades() {
    Upgrades u;
    const cGameData* data = getGameData();
    if (!data) return u;
    const cGameData& d = *data;
    u.cake = d.getCakeLevel(0), u.coffee = d.getCoffeeLevel(0), u.cotton1 = d.getCotton1Level(0);
    u.cotton2 = d.getCotton2Level(0), u.cream = d.getCreamLevel(0), u.drink = d.getDrinkLevel(0), u.oven1 = d.getOven1Level(0);
    u.oven2 = d.getOven2Level(0), u.snack = d.getSnackLevel(0), u.sauce1 = d.getSauce1Level(0);
    u.sauce2 = d.getSauce2Level(0), u.sauce3 = d.getSauce3Level(0), u.subPlace1 = d.getSubPlace1Level(0);
    u.subPlace2 = d.getSubPlace2Level(0), u.subPlace3 = d.getSubPlace3Level(0), u.counter = d.getCounterLevel(0);
    u.tables = d.getTablesLevel(0), u.floor = d.getFloorLevel(0), u.wall = d.getWallLevel(0);
    u.interior1 = d.getInterior1Level(0), u.interior2 = d.getInterior2Level(0);
    u.sub1 = d.getSub1Level(0), u.sub2 = d.getSub2Level(0), u.sub3 = d.getSub3Level(0);
    u.sandwichMaker = d.getSandwichMakerLevel(0);
    return u;
}

int worldOfGraphicsSet(int graphicsSet) { return graphicsSet == 2 || graphicsSet == 3 ? graphicsSet : 1; }

std::string worldFolder(int world) { return "Game/Worlds/" + std::to_string(worldOfGraphicsSet(world)) + "/"; }

const char* bandSuffix(int upgrade) { return upgrade >= 2 ? "02" : "01"; }

const char* coffeeSuffix(int upgrade) { return upgrade >= 3 ? "03" : upgrade == 2 ? "02" : "01"; }

std::string itemTexture(int world, int item, const Upgrades& u, bool cloud) {
    // Stems of ids 1..7 and the upgrade that picks the band (null: always "01").
    struct Rule {
        const char* stem;
        const int Upgrades::*upgrade;
        bool swapped;
    };
    static const Rule kRules[7] = {{"drink", &Upgrades::drink, false},        {"cake", &Upgrades::cake, false},
                                   {"snack", &Upgrades::snack, false},        {"cottoncandy1", &Upgrades::cotton1, true},
                                   {"cottoncandy2", &Upgrades::cotton2, true}, {"coffee", nullptr, false},
                                   {"coffee_cream", nullptr, false}};
    if (item < 1 || item > 7) return std::string();
    const Rule& r = kRules[item - 1];
    const char* suffix = r.upgrade ? bandSuffix(u.*r.upgrade) : "01";
    if (r.swapped) suffix = u.*r.upgrade >= 2 ? "01" : "02";
    return worldFolder(world) + (cloud ? "Items_Cloud/" : "Items/") + r.stem + suffix + ".dds";
}

std::string commonItemTexture(const char* name, bool cloud) {
    return std::string("Game/Worlds/Common/") + (cloud ? "Items_Cloud/" : "Items/") + name + ".dds";
}

std::vector<std::string> allItemTextures(int world) {
    std::set<std::string> seen;
    std::vector<std::string> out;
    for (bool cloud : {false, true})
        for (int band = 1; band <= 2; ++band) {
            Upgrades u;
            u.drink = u.cake = u.snack = u.cotton1 = u.cotton2 = band;
            for (int item = 1; item <= 7; ++item)
                if (std::string name = itemTexture(world, item, u, cloud); seen.insert(name).second) out.push_back(name);
        }
    return out;
}

std::string tableTexture(int world, int table, int tablesUpgrade) {
    return worldFolder(world) + "Interior/Tables/table_order" + std::to_string(table) + bandSuffix(tablesUpgrade) + ".dds";
}

TimeOfDay timeOfDay(int world, int level) {
    world = worldOfGraphicsSet(world);
    int p = level - game::firstLevelOfWorld(world);
    if (p < 0 || p >= game::kLevelsPerWorld) return TimeOfDay::None;
    char c = (world == 3 ? kScheduleWorld3 : kScheduleWorlds12)[p];
    return c == 'D' ? TimeOfDay::Day : c == 'E' ? TimeOfDay::Evening : TimeOfDay::Night;
}

std::string subTexture(int graphicsSet, int bread, int counterUpgrade, bool making) {
    return worldFolder(graphicsSet) + "Subs_St/sub" + std::to_string(bread) + bandSuffix(counterUpgrade) +
           (making ? "_make.dds" : ".dds");
}

std::string roomFile(int world, const char* name) { return worldFolder(world) + "Interior/Room/" + name + ".dds"; }

std::string roomTexture(int world, const char* stem, int upgrade) {
    return worldFolder(world) + "Interior/Room/" + stem + bandSuffix(upgrade) + ".dds";
}

int subTableNumber(int world, int places) {
    if (worldOfGraphicsSet(world) == 1) return places > 1 ? 2 : 1;
    return places == 3 ? 3 : 2;
}

int souseTableNumber(int world, int sauces) {
    switch (worldOfGraphicsSet(world)) {
    case 1: return sauces > 0 ? 1 : 0;
    case 2: return sauces > 1 ? 2 : 1;
    default: return sauces > 2 ? 3 : 2;
    }
}

std::string subTableTexture(int world, int number, int tablesUpgrade) {
    return worldFolder(world) + "Interior/Tables/table_sub" + std::to_string(number) + bandSuffix(tablesUpgrade) + ".dds";
}

std::string souseTableTexture(int world, int number, int tablesUpgrade) {
    return worldFolder(world) + "Interior/Tables/table_souse" + std::to_string(number) + bandSuffix(tablesUpgrade) +
           ".dds";
}

std::string backScrollTexture(int world, int layer, TimeOfDay time) {
    const char* t = time == TimeOfDay::Day ? "1" : time == TimeOfDay::Evening ? "2" : "3";
    if (time == TimeOfDay::None) return std::string();
    return roomFile(world, ("back_scroll" + std::to_string(layer) + t).c_str());
}

std::string lightTexture(int world, TimeOfDay time, bool door) {
    const bool one = worldOfGraphicsSet(world) == 1;
    switch (time) {
    case TimeOfDay::Day: return roomFile(world, one ? (door ? "light_day_door" : "light_day_window") : "light_day");
    case TimeOfDay::Evening:
        return roomFile(world, one ? (door ? "light_evening_door" : "light_evening_window") : "light_evening");
    case TimeOfDay::Night: return one ? std::string() : roomFile(world, "light_night");
    case TimeOfDay::None: break;
    }
    return std::string();
}

std::vector<std::string> scannedFolders(int world) {
    world = worldOfGraphicsSet(world);
    const std::string w = worldFolder(world);
    return {"Game/Characters/0" + std::to_string(6 + world), w + "Items", w + "Items_Cloud", w + "Cream_St", w + "Trash"};
}

std::vector<std::string> tutorialFiles(int level) {
    std::vector<std::string> out;
    if (level < 1 || level > 4) return out;
    for (int n = 1; n <= game::kTutorialHintCounts[size_t(level - 1)]; ++n)
        out.push_back(kHintsFolder + std::to_string(level) + "hint" + twoDigits(n) + ".dds");
    out.push_back(std::string(kHintsFolder) + "hint_arrow.dds");
    return out;
}

std::vector<std::string> upgradeFiles(int world, const Upgrades& u) { return upgradeFiles(world, world, u); }

std::vector<std::string> upgradeFiles(int graphicsSet, int stationWorld, const Upgrades& u) {
    const int world = worldOfGraphicsSet(graphicsSet);
    const std::string w = worldFolder(world);
    const std::string room = w + "Interior/Room/";
    std::vector<std::string> out = station_textures::files(world, stationWorld, u);
    const char* counter = bandSuffix(u.counter);
    for (int bread = 1; bread <= 3; ++bread) {
        out.push_back(subTexture(world, bread, u.counter, false));
        out.push_back(subTexture(world, bread, u.counter, true));
    }
    const char* t = bandSuffix(u.tables);
    for (int n = 1; n <= 6; ++n) out.push_back(tableTexture(world, n, u.tables));
    addBand(out, room, {"table_cotton_lower", "table_cotton_upper", "table_lower", "table_upper"}, t);
    addBand(out, room, {"floor"}, bandSuffix(u.floor));
    addBand(out, room, {"wall"}, bandSuffix(u.wall));
    addBand(out, room, {"doors_windows"}, bandSuffix(u.interior1));
    if (world == 1) addNames(out, room, {"broken_door"});
    const char* i2 = bandSuffix(u.interior2);
    addBand(out, room, {"hand_rail"}, i2);
    if (world != 2) addBand(out, room, {"hand_rail_add"}, i2);
    addBand(out, room, {"subs_counter"}, counter);
    const int k = countAboveZero({u.subPlace1, u.subPlace2, u.subPlace3});
    out.push_back(subTableTexture(world, subTableNumber(world, k), u.tables));
    // World 1 without a sauce station loads its table too (the room keeps it hidden).
    const int m = countAboveZero({u.sauce1, u.sauce2, u.sauce3});
    out.push_back(souseTableTexture(world, std::max(1, souseTableNumber(world, m)), u.tables));
    if (world == 2) {
        addNames(out, room, {"character01", "character02", "character03", "character04"});
        addBand(out, room, {"horse"}, i2);
    } else if (world == 3) {
        addNames(out, room, {"liberty01", "balloon01"});
    }
    return out;
}

std::vector<std::string> timeOfDayFiles(int world, int level) {
    world = worldOfGraphicsSet(world);
    std::vector<std::string> out;
    const TimeOfDay time = timeOfDay(world, level);
    if (time == TimeOfDay::None) return out;
    out.push_back(backScrollTexture(world, 1, time));
    out.push_back(backScrollTexture(world, 2, time));
    for (bool door : {true, false}) {
        std::string light = lightTexture(world, time, door);
        if (!light.empty() && (out.back() != light)) out.push_back(std::move(light));
    }
    return out;
}

std::vector<std::string> singleFiles(int world, int level, const Upgrades& upgrades) {
    return singleFiles(world, worldOfGraphicsSet(world), level, upgrades);
}

std::vector<std::string> singleFiles(int graphicsSet, int stationWorld, int level, const Upgrades& upgrades) {
    const int world = worldOfGraphicsSet(graphicsSet);
    std::vector<std::string> out;
    if (world == 1) out = tutorialFiles(level);
    for (auto& name : upgradeFiles(world, stationWorld, upgrades)) out.push_back(std::move(name));
    for (auto& name : timeOfDayFiles(world, level)) out.push_back(std::move(name));
    return out;
}

std::vector<std::string> allUpgradeAndTimeFiles(int world) {
    world = worldOfGraphicsSet(world);
    std::set<std::string> seen;
    std::vector<std::string> out;
    auto add = [&](const std::vector<std::string>& names) {
        for (const auto& n : names)
            if (seen.insert(n).second) out.push_back(n);
    };
    // Each row of the rules depends on its own values only (and on the tables band), so every
    // value from 0 to 3 of the plain upgrades combined with each pair of the two-valued rows
    // reaches every name.
    for (int v = 0; v <= 3; ++v) {
        Upgrades base;
        base.cake = base.coffee = base.drink = base.snack = base.counter = base.tables = v;
        base.floor = base.wall = base.interior1 = base.interior2 = base.sauce1 = v;
        base.sauce2 = base.sauce3 = base.cream = v;
        for (int a = 0; a <= 3; ++a)
            for (int b = 0; b <= 3; ++b) {
                Upgrades u = base;
                u.cotton1 = a, u.cotton2 = b, u.oven1 = a, u.oven2 = b;
                add(upgradeFiles(world, u));
            }
        for (int bits = 0; bits < 8; ++bits) {
            Upgrades u = base;
            u.subPlace1 = bits & 1, u.subPlace2 = (bits >> 1) & 1, u.subPlace3 = (bits >> 2) & 1;
            u.sauce1 = bits & 1 ? v : 0, u.sauce2 = (bits >> 1) & 1, u.sauce3 = (bits >> 2) & 1;
            add(upgradeFiles(world, u));
        }
    }
    for (int level = 1; level <= game::kLevelCount; ++level) add(timeOfDayFiles(world, level));
    return out;
}

}  // namespace world_textures
