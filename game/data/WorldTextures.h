#pragma once
// The texture names of the three worlds, chosen by graphics set, level and upgrade values:
// the one place that knows them. The world file lists of the resource groups use it now, the
// restaurant objects use the same suffix rules, and the data generator and the tests walk it
// to know which files the game may ask for.
//
// Names are resource names as the game loads them ("Game/Worlds/1/Cake_St/cover01.dds");
// lookups are case-insensitive, the files on disk are lower-case.

#include <string>
#include <vector>

namespace world_textures {

// The upgrade values of the current level that choose world textures (the game data's
// per-level values at offset 0).
struct Upgrades {
    int cake = 0, coffee = 0, cotton1 = 0, cotton2 = 0, cream = 0, drink = 0, oven1 = 0, oven2 = 0, snack = 0;
    int sauce1 = 0, sauce2 = 0, sauce3 = 0;
    int subPlace1 = 0, subPlace2 = 0, subPlace3 = 0;
    int counter = 0, tables = 0, floor = 0, wall = 0, interior1 = 0, interior2 = 0;
    // The installed bread types and the sandwich maker's upgrade (they name no texture).
    int sub1 = 0, sub2 = 0, sub3 = 0, sandwichMaker = 0;
};

// The values of the game data's current level (offset 0); all 0 without game data.
Upgrades currentUpgrades();

// The world of a graphics set: 2 and 3 are themselves, any other value is world 1.
int worldOfGraphicsSet(int graphicsSet);
// "Game/Worlds/<world>/".
std::string worldFolder(int world);

// "01" below upgrade 2, "02" from 2 on: the common rule of world textures.
const char* bandSuffix(int upgrade);
// The coffee station's rule: "01" up to 1, "02" at 2, "03" from 3 on.
const char* coffeeSuffix(int upgrade);

// A station item's picture (ids 1 to 7: drink, cake, snack, the two cotton candies, coffee,
// coffee with cream) in the world's "Items" folder, or "Items_Cloud" for the order clouds:
// drink, cake and snack by the band of their station; each cotton candy by the band of its
// machine with the suffixes swapped ("02" for the basic machine, "01" for the upgraded one);
// the coffees always "01". Empty for any other id.
std::string itemTexture(int world, int item, const Upgrades& upgrades, bool cloud);
// "Game/Worlds/Common/Items/" (or "Items_Cloud/") + name + ".dds": pictures of all worlds.
std::string commonItemTexture(const char* name, bool cloud);
// Every picture itemTexture can name for a world (both folders, both bands).
std::vector<std::string> allItemTextures(int world);
// Table n's picture: "Interior/Tables/table_order" + n + the band of the tables.
std::string tableTexture(int world, int table, int tablesUpgrade);

// Time of day of a level's room, by its position in its world.
enum class TimeOfDay { None, Day, Evening, Night };
// level is the campaign level (1..60); a level outside the world gives None.
TimeOfDay timeOfDay(int world, int level);

// A bread type's picture on the counter (bread 1..3): "Subs_St/sub<bread>" + the counter's
// band, with "_make" while the sandwich maker prepares it.
std::string subTexture(int graphicsSet, int bread, int counterUpgrade, bool making);
// "Interior/Room/" + stem + the band of the upgrade + ".dds" of the world.
std::string roomTexture(int world, const char* stem, int upgrade);
// "Interior/Room/" + name + ".dds" of the world.
std::string roomFile(int world, const char* name);
// The room's sub table and sauce table by the number of sub places and sauce stations
// installed: the number of the section (1..3) the room loads, 0 for none (world 1 without a
// sauce station), and the table's picture "Interior/Tables/table_sub" (or "table_souse") +
// the number + the tables' band.
int subTableNumber(int world, int places);
int souseTableNumber(int world, int sauces);
std::string subTableTexture(int world, int number, int tablesUpgrade);
std::string souseTableTexture(int world, int number, int tablesUpgrade);
// The background layer's picture (layer 1 or 2) and the lights of a time of day (empty at
// night for world 1, which shows none; world 1's door and window lights by `door`).
std::string backScrollTexture(int world, int layer, TimeOfDay time);
std::string lightTexture(int world, TimeOfDay time, bool door);

// Folders scanned whole (recursive) for a world, in loading order.
std::vector<std::string> scannedFolders(int world);
// The single files of a world's list, in loading order: the tutorial textures (world 1,
// levels 1 to 4), the textures chosen by the upgrades, then the time-of-day textures.
std::vector<std::string> singleFiles(int world, int level, const Upgrades& upgrades);
// The same for a level whose world (which decides the sauces and the cotton stand's layout)
// differs from its graphics set; the forms above take the world to be the set.
std::vector<std::string> singleFiles(int graphicsSet, int world, int level, const Upgrades& upgrades);

// The parts of singleFiles, for the tests and the data generator.
std::vector<std::string> tutorialFiles(int level);  // empty outside levels 1..4
std::vector<std::string> upgradeFiles(int world, const Upgrades& upgrades);
// The stations' rows are the stations' own names (StationTextures.h).
std::vector<std::string> upgradeFiles(int graphicsSet, int world, const Upgrades& upgrades);
std::vector<std::string> timeOfDayFiles(int world, int level);

// Every single file that any level and upgrade combination of the world can name (the
// variants the demo data must ship); tutorial textures excluded.
std::vector<std::string> allUpgradeAndTimeFiles(int world);

}  // namespace world_textures
