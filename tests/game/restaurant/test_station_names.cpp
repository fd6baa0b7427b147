// The stations' texture names: the rule itself on the cases where the world lists used to
// differ, and every picture that the built stations set, for every upgrade mix, against the
// world list that the game state loads.

#include <gtest/gtest.h>

#include <set>

#include "game/data/StationTextures.h"
#include "tests/game/restaurant/StationBuild.h"
#include "tests/game/restaurant/StationTestSupport.h"

using namespace station_test;
namespace st = station_textures;

namespace {

TEST(StationNames, TheCasesWhereTheWorldListsDiffered) {
    world_textures::Upgrades u;
    // Each sauce by its own upgrade, only where its world builds it.
    u.sauce1 = 1, u.sauce2 = 2, u.sauce3 = 3;
    st::Names n = st::names(3, 3, u);
    EXPECT_EQ(n.sauce[0], "Game/Worlds/3/Souse_St/souse101.dds");
    EXPECT_EQ(n.sauce[1], "Game/Worlds/3/Souse_St/souse202.dds");
    EXPECT_EQ(n.sauce[2], "Game/Worlds/3/Souse_St/souse302.dds");
    n = st::names(1, 1, u);
    EXPECT_EQ(n.sauce[1], "");
    EXPECT_EQ(n.sauce[2], "");
    EXPECT_EQ(st::sauceUpgradeCount(u), 3);
    // Ovens by their own upgrade; set 1 names oven 2's base; the set-2 exception.
    u = {};
    u.oven1 = 1, u.oven2 = 3;
    n = st::names(1, 1, u);
    EXPECT_EQ(n.oven[0].open, "Game/Worlds/1/Oven/open01.dds");
    EXPECT_EQ(n.oven[0].base, "");
    EXPECT_EQ(n.oven[1].base, "Game/Worlds/1/Oven/base02.dds");
    EXPECT_EQ(n.oven[1].progress, "Game/Worlds/1/Oven/progress02.dds");
    u.oven2 = 0;
    n = st::names(2, 2, u);
    EXPECT_EQ(n.oven[0].open, "Game/Worlds/2/Oven/open.dds");
    EXPECT_EQ(n.oven[0].work, "Game/Worlds/2/Oven/work.dds");
    EXPECT_EQ(n.oven[0].progress, "Game/Worlds/2/Oven/progress01.dds");
    EXPECT_EQ(n.oven[1].open, "");
    u.oven1 = 2;
    EXPECT_EQ(st::names(2, 2, u).oven[0].open, "Game/Worlds/2/Oven/open02.dds");
    // Cotton: the kind-5 choice by L2; set 1 with machine 2 borrows machine 1's pictures;
    // world 3 with one machine has no item parts; item parts whatever the upgrade.
    u = {};
    u.cotton1 = 2, u.cotton2 = 3;
    st::Cotton c = st::names(2, 2, u).cotton;
    EXPECT_EQ(c.choice[0], "Game/Worlds/2/CottonCandy_St/cottoncandy103.dds");
    EXPECT_EQ(c.choice[1], "Game/Worlds/2/CottonCandy_St/cottoncandy204.dds");
    EXPECT_TRUE(c.reduced);
    EXPECT_FALSE(c.itemParts);
    EXPECT_FALSE(st::names(3, 3, u).cotton.reduced);
    EXPECT_TRUE(st::names(3, 3, u).cotton.itemParts);
    EXPECT_EQ(st::names(3, 3, u).cotton.part[1], "Game/Worlds/3/CottonCandy_St/item203.dds");
    u.cotton1 = 1, u.cotton2 = 1;
    c = st::names(1, 1, u).cotton;
    EXPECT_EQ(c.work[1], "Game/Worlds/1/CottonCandy_St/work101.dds");
    EXPECT_EQ(c.item[1], "Game/Worlds/1/CottonCandy_St/item101.dds");
    EXPECT_EQ(c.choice[0], "Game/Worlds/1/CottonCandy_St/cottoncandy102.dds");
    u.cotton2 = 0;
    c = st::names(3, 3, u).cotton;
    EXPECT_FALSE(c.itemParts);
    EXPECT_EQ(c.part[0], "");
    EXPECT_EQ(c.choice[0], "Game/Worlds/3/CottonCandy_St/cottoncandy101.dds");
    u.cotton1 = 0;
    EXPECT_EQ(st::names(1, 1, u).cotton.lid, "Game/Worlds/1/CottonCandy_St/no_service.dds");
    // Any set other than 2 and 3 is set 1; cream is always 01.
    u.cream = 3;
    EXPECT_EQ(st::names(7, 1, u).cream, "Game/Worlds/1/Cream_St/cream01.dds");
}

class StationNamesBuilt : public StationTest {};

TEST_F(StationNamesBuilt, EveryPictureOfEveryUpgradeMixIsInTheWorldList) {
    int mixes = 0;
    for (int set = 1; set <= 3; ++set)
        for (int band = 1; band <= 3; ++band)
            for (int a = 0; a <= 3; ++a)
                for (int b = 0; b <= 3; ++b) {
                    world_textures::Upgrades u;
                    u.drink = u.cake = u.snack = u.cream = u.coffee = band;
                    u.cotton1 = a, u.cotton2 = b, u.oven1 = a, u.oven2 = b;
                    u.sauce1 = a, u.sauce2 = b, u.sauce3 = band;
                    look.graphicsSet = set;
                    look.world = set;
                    look.upgrades = u;
                    BuiltStations built = buildStations(level);
                    built.release();
                    const std::set<std::string>& pictures = built.pictures;
                    ++mixes;
                    const std::vector<std::string> list = world_textures::singleFiles(set, set, 30, u);
                    const std::set<std::string> listed(list.begin(), list.end());
                    const std::vector<std::string> folders = world_textures::scannedFolders(set);
                    for (const std::string& name : pictures) {
                        if (name.rfind("Game/Worlds/", 0) != 0) continue;   // named by the files
                        bool scanned = false;
                        for (const std::string& f : folders) scanned = scanned || name.rfind(f + "/", 0) == 0;
                        EXPECT_TRUE(scanned || listed.count(name))
                            << name << " set " << set << " band " << band << " a " << a << " b " << b;
                    }
                    EXPECT_GE(pictures.size(), 8u);
                }
    EXPECT_EQ(mixes, 144);
}

}  // namespace
