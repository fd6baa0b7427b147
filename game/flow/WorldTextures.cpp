#include "game/flow/WorldTextures.h"

#include <set>

#include "game/flow/GameConstants.h"

namespace world_textures {

namespace {

const char* const kHintsFolder = "Game/Interface/Hints/";
// Tutorial textures per tutorial level 1..4: "<level>hintNN.dds", NN = 01 up to this count.
const int kHintCounts[4] = {12, 14, 9, 11};

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

void addCotton(std::vector<std::string>& out, int world, const std::string& f, const Upgrades& u) {
    if (world == 1) {
        if (u.cotton1 >= 2)
            addNames(out, f, {"cottoncandy102", "item102", "lid02", "stand02", "work102"});
        else
            addNames(out, f, {"cottoncandy101", "item101", "lid01", "no_service", "stand01", "work101"});
        return;
    }
    if (world == 2 && u.cotton2 == 0) {
        addNames(out, f, {"cottoncandy101", "item101", "lid01", "stand01", "work101"});
        return;
    }
    if (u.cotton1 >= 3)
        addNames(out, f, {"cottoncandy104", "cottoncandy204", "item103", "item203", "lid03", "stand03", "work103", "work203"});
    else if (u.cotton1 == 2 && world == 2)
        addNames(out, f, {"cottoncandy103", "cottoncandy203", "item102", "item202", "lid02", "stand02", "work102", "work202"});
    else if (u.cotton1 == 2)
        addNames(out, f, {"cottoncandy103", "cottoncandy203", "item103", "item203", "lid02", "stand02", "work102", "work202"});
    else
        addNames(out, f, {"cottoncandy102", "cottoncandy202", "item101", "item201", "lid01", "stand01", "work101", "work201"});
}

void addOven(std::vector<std::string>& out, int world, const std::string& f, const Upgrades& u) {
    const char* s = bandSuffix(u.oven1);
    if (world == 1)
        addBand(out, f, {"open", "work", "progress"}, s);
    else if (world == 2 && u.oven2 == 0)
        addNames(out, f, {"open", "work", "progress01"});
    else
        addBand(out, f, {"base", "open", "work", "progress"}, s);
}

int countAboveZero(std::initializer_list<int> values) {
    int n = 0;
    for (int v : values)
        if (v > 0) ++n;
    return n;
}

}  // namespace

int worldOfGraphicsSet(int graphicsSet) { return graphicsSet == 2 || graphicsSet == 3 ? graphicsSet : 1; }

std::string worldFolder(int world) { return "Game/Worlds/" + std::to_string(worldOfGraphicsSet(world)) + "/"; }

const char* bandSuffix(int upgrade) { return upgrade >= 2 ? "02" : "01"; }

const char* coffeeSuffix(int upgrade) { return upgrade >= 3 ? "03" : upgrade == 2 ? "02" : "01"; }

TimeOfDay timeOfDay(int world, int level) {
    world = worldOfGraphicsSet(world);
    int p = level - game::firstLevelOfWorld(world);
    if (p < 0 || p >= game::kLevelsPerWorld) return TimeOfDay::None;
    char c = (world == 3 ? kScheduleWorld3 : kScheduleWorlds12)[p];
    return c == 'D' ? TimeOfDay::Day : c == 'E' ? TimeOfDay::Evening : TimeOfDay::Night;
}

std::vector<std::string> scannedFolders(int world) {
    world = worldOfGraphicsSet(world);
    const std::string w = worldFolder(world);
    return {"Game/Characters/0" + std::to_string(6 + world), w + "Items", w + "Items_Cloud", w + "Cream_St", w + "Trash"};
}

std::vector<std::string> tutorialFiles(int level) {
    std::vector<std::string> out;
    if (level < 1 || level > 4) return out;
    for (int n = 1; n <= kHintCounts[level - 1]; ++n)
        out.push_back(kHintsFolder + std::to_string(level) + "hint" + twoDigits(n) + ".dds");
    out.push_back(std::string(kHintsFolder) + "hint_arrow.dds");
    return out;
}

std::vector<std::string> upgradeFiles(int world, const Upgrades& u) {
    world = worldOfGraphicsSet(world);
    const std::string w = worldFolder(world);
    const std::string room = w + "Interior/Room/", tables = w + "Interior/Tables/";
    std::vector<std::string> out;
    addBand(out, w + "Cake_St/", {"cover", "table"}, bandSuffix(u.cake));
    addBand(out, w + "Coffee_St/", {"glow", "stand", "work"}, coffeeSuffix(u.coffee));
    addCotton(out, world, w + "CottonCandy_St/", u);
    addBand(out, w + "Drink_St/", {"drink"}, bandSuffix(u.drink));
    addOven(out, world, w + "Oven/", u);
    addBand(out, w + "Snack_St/", {"snack"}, bandSuffix(u.snack));
    // Every sauce station's texture follows the first station's upgrade.
    const char* sauce = bandSuffix(u.sauce1);
    addBand(out, w + "Souse_St/", {"souse1"}, sauce);
    if (world >= 2) addBand(out, w + "Souse_St/", {"souse2"}, sauce);
    if (world == 3) addBand(out, w + "Souse_St/", {"souse3"}, sauce);
    const char* counter = bandSuffix(u.counter);
    for (const char* sub : {"sub1", "sub2", "sub3"}) {
        out.push_back(w + "Subs_St/" + sub + counter + ".dds");
        out.push_back(w + "Subs_St/" + sub + counter + "_make.dds");
    }
    const char* t = bandSuffix(u.tables);
    addBand(out, tables, {"table_order1", "table_order2", "table_order3", "table_order4", "table_order5", "table_order6"}, t);
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
    if (world == 1)
        addBand(out, tables, {k > 1 ? "table_sub2" : "table_sub1"}, t);
    else
        addBand(out, tables, {k == 3 ? "table_sub3" : "table_sub2"}, t);
    const int m = countAboveZero({u.sauce1, u.sauce2, u.sauce3});
    if (world == 1)
        addBand(out, tables, {"table_souse1"}, t);
    else if (world == 2)
        addBand(out, tables, {m > 1 ? "table_souse2" : "table_souse1"}, t);
    else
        addBand(out, tables, {m > 2 ? "table_souse3" : "table_souse2"}, t);
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
    const std::string room = worldFolder(world) + "Interior/Room/";
    std::vector<std::string> out;
    switch (timeOfDay(world, level)) {
    case TimeOfDay::Day:
        addNames(out, room, {"back_scroll11", "back_scroll21"});
        if (world == 1)
            addNames(out, room, {"light_day_door", "light_day_window"});
        else
            addNames(out, room, {"light_day"});
        break;
    case TimeOfDay::Evening:
        addNames(out, room, {"back_scroll12", "back_scroll22"});
        if (world == 1)
            addNames(out, room, {"light_evening_door", "light_evening_window"});
        else
            addNames(out, room, {"light_evening"});
        break;
    case TimeOfDay::Night:
        addNames(out, room, {"back_scroll13", "back_scroll23"});
        if (world != 1) addNames(out, room, {"light_night"});
        break;
    case TimeOfDay::None: break;
    }
    return out;
}

std::vector<std::string> singleFiles(int world, int level, const Upgrades& upgrades) {
    world = worldOfGraphicsSet(world);
    std::vector<std::string> out;
    if (world == 1) out = tutorialFiles(level);
    for (auto& name : upgradeFiles(world, upgrades)) out.push_back(std::move(name));
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
