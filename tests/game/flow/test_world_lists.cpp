// The world file lists: the single files chosen by world, level and upgrades, and the
// difference between the loaded world and the next one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/data/WorldTextures.h"
#include "game/flow/cResourceGroupManager.h"

using world_textures::Upgrades;

namespace {

bool has(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

Upgrades all(int v) {
    Upgrades u;
    u.cake = u.coffee = u.cotton1 = u.cotton2 = u.drink = u.oven1 = u.oven2 = u.snack = v;
    u.sauce1 = u.sauce2 = u.sauce3 = u.subPlace1 = u.subPlace2 = u.subPlace3 = v;
    u.counter = u.tables = u.floor = u.wall = u.interior1 = u.interior2 = v;
    return u;
}

std::vector<std::string> names(const cFileList& list) {
    std::vector<std::string> out;
    for (const auto& r : list) out.push_back(r.name);
    return out;
}

}  // namespace

TEST(WorldLists, ChosenRowsByWorldLevelAndUpgrades) {
    struct Case {
        const char* what;
        int world, level;
        Upgrades upgrades;
        std::vector<std::string> present, absent;
    };
    Upgrades cotton22 = all(1);
    cotton22.cotton1 = 2, cotton22.cotton2 = 2;
    Upgrades set2NoOven2 = all(1);
    set2NoOven2.oven2 = 0;
    Upgrades set2NoCotton2 = all(3);
    set2NoCotton2.cotton2 = 0;
    Upgrades oneSubPlace = all(2);
    oneSubPlace.subPlace2 = oneSubPlace.subPlace3 = 0;
    const std::string w1 = "Game/Worlds/1/", w2 = "Game/Worlds/2/", w3 = "Game/Worlds/3/";
    const Case cases[] = {
        {"world 1, level 1, all 0: band 01, tutorial 1, day", 1, 1, all(0),
         {"Game/Interface/Hints/1hint01.dds", "Game/Interface/Hints/1hint12.dds", "Game/Interface/Hints/hint_arrow.dds",
          w1 + "CottonCandy_St/no_service.dds", w1 + "Subs_St/sub301_make.dds",
          w1 + "Interior/Tables/table_order601.dds", w1 + "Interior/Room/broken_door.dds",
          w1 + "Interior/Tables/table_sub101.dds", w1 + "Interior/Tables/table_souse101.dds",
          w1 + "Interior/Room/light_day_door.dds", w1 + "Interior/Room/back_scroll11.dds"},
         // Stations at upgrade 0 are not built, so their pictures are not loaded; the cotton
         // stand always is.
         {"Game/Interface/Hints/1hint13.dds", w1 + "Oven/base01.dds", w1 + "Souse_St/souse201.dds",
          w1 + "Cake_St/cover01.dds", w1 + "Coffee_St/glow01.dds", w1 + "Oven/progress01.dds",
          w1 + "Souse_St/souse101.dds"}},
        {"world 1, level 6 (night), all 3", 1, 6, all(3),
         {w1 + "Coffee_St/work03.dds", w1 + "CottonCandy_St/cottoncandy104.dds", w1 + "CottonCandy_St/cottoncandy204.dds", w1 + "Interior/Room/hand_rail_add02.dds",
          w1 + "Interior/Tables/table_sub202.dds", w1 + "Interior/Room/back_scroll13.dds"},
         {w1 + "CottonCandy_St/no_service.dds", "Game/Interface/Hints/hint_arrow.dds", w1 + "Interior/Room/light_day_door.dds"}},
        {"world 2, no oven 2: plain oven names", 2, 21, set2NoOven2,
         {w2 + "Oven/open.dds", w2 + "Oven/work.dds", w2 + "Oven/progress01.dds", w2 + "Interior/Room/character04.dds",
          w2 + "Interior/Room/horse01.dds", w2 + "Interior/Room/light_day.dds", w2 + "Souse_St/souse201.dds"},
         {w2 + "Oven/base01.dds", w2 + "Interior/Room/hand_rail_add01.dds", "Game/Interface/Hints/hint_arrow.dds"}},
        {"world 2, no cotton 2: the single machine", 2, 24, set2NoCotton2,
         {w2 + "CottonCandy_St/cottoncandy103.dds", w2 + "CottonCandy_St/stand01.dds", w2 + "Oven/base02.dds",
          w2 + "Interior/Room/light_evening.dds", w2 + "Interior/Tables/table_sub302.dds",
          w2 + "Interior/Tables/table_souse202.dds"},
         {w2 + "CottonCandy_St/cottoncandy104.dds"}},
        {"world 3, cotton (2,2), level 42 (night)", 3, 42, cotton22,
         // The stand's own portion pictures (item102) are set though the item parts serve.
         {w3 + "CottonCandy_St/item103.dds", w3 + "CottonCandy_St/item102.dds", w3 + "CottonCandy_St/lid02.dds",
          w3 + "Souse_St/souse301.dds",
          w3 + "Interior/Room/liberty01.dds", w3 + "Interior/Room/light_night.dds",
          w3 + "Interior/Tables/table_souse301.dds"},
         {w3 + "CottonCandy_St/item101.dds", w3 + "Interior/Room/horse01.dds"}},
        {"world 3, one sub place: table_sub2", 3, 45, oneSubPlace,
         {w3 + "Interior/Tables/table_sub202.dds", w3 + "Interior/Room/hand_rail_add02.dds"},
         {w3 + "Interior/Tables/table_sub302.dds"}},
        {"graphics set 4 is world 1; a level of world 2 has no time of day there", 4, 25, all(1),
         {w1 + "Drink_St/drink01.dds"},
         {w1 + "Interior/Room/back_scroll11.dds", w1 + "Interior/Room/back_scroll12.dds", w1 + "Interior/Room/back_scroll13.dds"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> list = world_textures::singleFiles(c.world, c.level, c.upgrades);
        for (const auto& n : c.present) EXPECT_TRUE(has(list, n)) << c.what << ": missing " << n;
        for (const auto& n : c.absent) EXPECT_FALSE(has(list, n)) << c.what << ": unexpected " << n;
        // A list names each file once.
        std::vector<std::string> sorted = list;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << c.what;
    }
}

TEST(WorldLists, TimeOfDaySchedules) {
    using world_textures::TimeOfDay;
    const char* worlds12 = "DDDEENDDDEENDDDEENDD";
    const char* world3 = "ENDDDEENDDDEENDDDEEN";
    for (int world = 1; world <= 3; ++world)
        for (int p = 0; p < 20; ++p) {
            char expected = (world == 3 ? world3 : worlds12)[p];
            TimeOfDay t = world_textures::timeOfDay(world, (world - 1) * 20 + 1 + p);
            char got = t == TimeOfDay::Day ? 'D' : t == TimeOfDay::Evening ? 'E' : t == TimeOfDay::Night ? 'N' : '-';
            EXPECT_EQ(got, expected) << "world " << world << " p " << p;
        }
    EXPECT_EQ(world_textures::timeOfDay(2, 20), TimeOfDay::None);
    EXPECT_EQ(world_textures::timeOfDay(1, 21), TimeOfDay::None);
}

TEST(WorldLists, SuffixRules) {
    const int values[] = {0, 1, 2, 3, 4};
    const char* band[] = {"01", "01", "02", "02", "02"};
    const char* coffee[] = {"01", "01", "02", "03", "03"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(world_textures::bandSuffix(values[i]), band[i]);
        EXPECT_STREQ(world_textures::coffeeSuffix(values[i]), coffee[i]);
    }
}

// Without a file manager the scans add nothing and nothing is unloaded: the lists of single
// files alone show the difference.
TEST(WorldLists, DifferenceFromLevel4To5KeepsTheSharedFilesAndDropsTheTutorial) {
    cResourceGroupManager groups;
    const Upgrades u = all(1);
    cFileList first;
    groups.buildWorldList(1, 4, u, first);
    EXPECT_EQ(names(first), world_textures::singleFiles(1, 4, u));  // nothing loaded yet: all
    EXPECT_EQ(groups.getLoadedWorld().size(), first.size());

    cFileList second;
    groups.buildWorldList(1, 5, u, second);
    // Level 5 adds nothing: its evening textures are level 4's, and the upgrades are the same.
    EXPECT_TRUE(second.empty()) << names(second).front();
    // The loaded world is now level 5's list, without the tutorial files.
    std::vector<std::string> loaded = names(groups.getLoadedWorld());
    EXPECT_EQ(loaded, world_textures::singleFiles(1, 5, u));
    EXPECT_FALSE(has(loaded, "Game/Interface/Hints/4hint01.dds"));
    EXPECT_FALSE(has(loaded, "Game/Interface/Hints/hint_arrow.dds"));
    EXPECT_TRUE(has(loaded, "Game/Worlds/1/Interior/Room/light_evening_window.dds"));

    // Level 6 is night: only its new textures are loaded.
    cFileList third;
    groups.buildWorldList(1, 6, u, third);
    EXPECT_EQ(names(third), (std::vector<std::string>{"Game/Worlds/1/Interior/Room/back_scroll13.dds",
                                                      "Game/Worlds/1/Interior/Room/back_scroll23.dds"}));
    // After the world is unloaded the next list loads everything again.
    groups.unloadWorld();
    cFileList again;
    groups.buildWorldList(1, 6, u, again);
    EXPECT_EQ(names(again), world_textures::singleFiles(1, 6, u));
}
