// The game data: level packs and the description of the current level, per-level values with
// their carry-over, sums, profiles and the highscore table.
#include <cstring>

#include "game/data/LevelPack.h"
#include "tests/game/data/test_gamedata_fixture.h"

using namespace gamedata_test;

class GameData : public GameDataFixture {
protected:
    cGameData& withProfile(const wchar_t* name = L"Player") {
        cGameData& data = make();
        data.addProfile(cStringW(name));
        return data;
    }
};

TEST_F(GameData, LevelsAreDescribedFromTheirPacksAndClamped) {
    cGameData& data = withProfile();
    struct Case {
        int32_t set, level, world, inWorld, graphics, goal;
        bool last;
    };
    const Case cases[] = {
        {1, 1, 1, 1, 1, 51, false},   {0, 1, 1, 1, 1, 51, false},   {-3, 1, 1, 1, 1, 51, false},
        {20, 20, 1, 20, 1, 70, false}, {21, 21, 2, 1, 2, 51, false}, {41, 41, 3, 1, 3, 51, false},
        {60, 60, 3, 20, 3, 70, true},  {65, 60, 3, 20, 3, 70, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        data.setLevel(c.set);
        EXPECT_EQ(data.getLevel(), c.level);
        EXPECT_EQ(data.getWorld(), c.world);
        EXPECT_EQ(data.getLevelInWorld(), uint32_t(c.inWorld));
        EXPECT_EQ(data.getGraphicsSet(), c.graphics);
        EXPECT_EQ(data.getGoal(), c.goal);
        EXPECT_EQ(data.getExpertGoal(), c.goal + 40);
        EXPECT_EQ(data.getMinGoal(), 100);
        EXPECT_FLOAT_EQ(data.getLevelTime(), 100.5f + float(c.inWorld));
        EXPECT_EQ(data.isLastLevel(), c.last);
        EXPECT_EQ(data.getTotalLevels(), 60u);
        ASSERT_NE(data.getLevelNode(), nullptr);
    }
}

TEST_F(GameData, DifficultyChoosesTheFirstWorldsPack) {
    cGameData& data = withProfile();
    data.setDifficulty(1);
    EXPECT_EQ(data.getPackList()[0], "Packs/1/pack2.qpk");
    EXPECT_EQ(data.getGoal(), 77);
    data.setLevel(21);
    EXPECT_EQ(data.getGoal(), 51);
    data.setDifficulty(7);
    EXPECT_EQ(data.getDifficulty(), 1);
    data.setDifficulty(0);
    data.setLevel(1);
    EXPECT_EQ(data.getPackList()[0], "Packs/1/pack.qpk");
    EXPECT_EQ(data.getGoal(), 51);
}

TEST_F(GameData, BrokenPacksAreRefusedNamingThePack) {
    cGameData& data = withProfile();
    data.setLevel(5);
    const cXmlNode* before = data.getLevelNode();
    struct Case {
        const char* what;
        std::string pack;
        int level;
        const char* message;
    };
    const Case cases[] = {
        {"no levels", "<pack count_levels=\"0\"/>", 5, "Packs/2/pack.qpk"},
        {"no count", "<pack><Level_1/></pack>", 5, "holds no levels"},
        {"missing element", packText(20, 2, nullptr, 6), 27, "Level_7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setPack("Packs/2/pack.qpk", c.pack);
        try {
            data.setLevel(c.level);
            ADD_FAILURE() << "not refused";
        } catch (const cStringA& text) {
            EXPECT_NE(text.find(c.message), std::string::npos) << text;
            EXPECT_NE(text.find("Packs/2/pack.qpk"), std::string::npos) << text;
        }
        // The level before stays described.
        EXPECT_EQ(data.getLevelNode(), before);
        EXPECT_EQ(data.getLevel(), 5);
        EXPECT_EQ(data.getWorld(), 1);
        EXPECT_EQ(data.getLevelInWorld(), 5u);
    }
    m_packs.erase("Packs/3/pack.qpk");
    EXPECT_ANY_THROW(data.setLevel(2));
}

// A level time that is not a finite number of seconds from 1 to 3600 would end the level at
// once (0, negative, unreadable) or count a time no clock can hold: the level is refused,
// naming the pack and the level.
TEST_F(GameData, ALevelTimeOutside1To3600SecondsIsRefusedNamingPackAndLevel) {
    const struct {
        const char* time;
        bool playable;
    } cases[] = {{"1e30", false}, {"-5", false}, {"nan", false}, {"0", false},  {"3601", false},
                 {"inf", false},  {"", false},   {"1", true},     {"3600", true}, {"60.5", true}};
    cGameData& data = withProfile();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        setPack("Packs/2/pack.qpk", packText(20, 2, [&](int n) {
                    return n == 3 ? LevelAttributes{{"level_time", c.time}} : LevelAttributes{};
                }));
        data.setLevel(23);
        auto playable = [&] {
            levelpack::requirePlayableTime(data.getLevelTime(), data.getLevelNode(), data.getPackList()[1],
                                           data.getLevelInWorld());
        };
        if (c.playable) {
            EXPECT_NO_THROW(playable());
            continue;
        }
        try {
            playable();
            ADD_FAILURE() << "not refused";
        } catch (const cStringA& text) {
            EXPECT_NE(text.find("Level pack 'Packs/2/pack.qpk', level 3 (Level_3): level_time \"" + std::string(c.time) +
                                "\" is not a number of seconds from 1 to 3600."),
                      std::string::npos)
                << text;
        }
    }
}

struct Carry {
    const char* what;
    LevelAttributes level1, level2;
    int array, expected;  // value of level 2
};

TEST_F(GameData, NewLevelsCarryThePreviousLevelOver) {
    const Carry cases[] = {
        {"kept from level 1", {{"is_cake", "1"}}, {{"is_cake", "0"}}, PA_CAKE, 1},
        {"raised by the pack", {{"is_cake", "1"}}, {{"is_cake", "2"}}, PA_CAKE, 2},
        {"missing attribute keeps the new profile's value", {}, {}, PA_SUB_1, 1},
        {"oven 1 carried", {{"is_oven_1", "3"}, {"is_oven_2", "1"}}, {{"is_oven_1", "1"}, {"is_oven_2", "0"}}, PA_OVEN_1, 3},
        {"oven 2 carried and raised to oven 1",
         {{"is_oven_1", "3"}, {"is_oven_2", "1"}}, {{"is_oven_1", "1"}, {"is_oven_2", "0"}}, PA_OVEN_2, 3},
        {"oven 2 not carried stays as read",
         {{"is_oven_1", "3"}, {"is_oven_2", "1"}}, {{"is_oven_1", "1"}, {"is_oven_2", "1"}}, PA_OVEN_2, 1},
        {"absent dependent not raised", {{"is_souse_1", "2"}}, {{"is_souse_1", "0"}}, PA_SAUCE_2, 0},
        {"sauce 3 carried and raised",
         {{"is_souse_1", "1"}, {"is_souse_3", "1"}}, {{"is_souse_1", "2"}, {"is_souse_3", "0"}}, PA_SAUCE_3, 2},
        {"sub place 2 carried", {{"is_sub_place_2", "1"}}, {{"is_sub_place_2", "0"}}, PA_SUB_PLACE_2, 1},
        {"staff start at 1", {}, {}, PA_WAITRESS, 1},
    };
    for (const Carry& c : cases) {
        SCOPED_TRACE(c.what);
        setPack("Packs/1/pack.qpk", packText(20, 1, [&](int n) {
                    return n == 1 ? c.level1 : n == 2 ? c.level2 : LevelAttributes{};
                }));
        cGameData& data = withProfile();
        EXPECT_EQ(data.getCurrentProfile().values[c.array][1], c.expected);
    }
}

TEST_F(GameData, WorldStartsAndTheThirdWorldsCottonMachines) {
    setPack("Packs/1/pack.qpk", packText(20, 1, [](int) { return LevelAttributes{{"is_cake", "1"}}; }));
    setPack("Packs/2/pack.qpk", packText(20, 2, [](int) { return LevelAttributes{{"is_cake", "0"}, {"is_cotton_1", "1"}}; }));
    setPack("Packs/3/pack.qpk", packText(20, 3, [](int) { return LevelAttributes{{"is_cotton_1", "0"}, {"is_cotton_2", "1"}}; }));
    cGameData& data = withProfile();
    const auto& v = data.getCurrentProfile().values;
    EXPECT_EQ(v[PA_CAKE][19], 1);
    EXPECT_EQ(v[PA_CAKE][20], 0);  // the first level of a pack starts from its own values
    EXPECT_EQ(v[PA_COTTON_1][39], 1);
    EXPECT_EQ(v[PA_COTTON_2][39], 0);
    EXPECT_EQ(v[PA_COTTON_1][40], 2);
    EXPECT_EQ(v[PA_COTTON_2][40], 2);
    EXPECT_EQ(v[PA_COTTON_2][59], 2);
    EXPECT_EQ(data.getLevel(), 1);
    EXPECT_EQ(data.getReachedLevel(), 1);
}

TEST_F(GameData, ShopValuesAreCarriedWhenTheNextLevelOpens) {
    cGameData& data = withProfile();
    data.setWaitressLevel(2, 0);
    data.setShopSoldOut(true, 0);
    data.setOven1Level(2, 0);
    data.setScore(10);
    data.recordLevelResult(true);  // opens level 2
    data.setLevel(2);              // the reached level: its upgrades are initialised
    EXPECT_EQ(data.getWaitressLevel(0), 2);
    EXPECT_TRUE(data.isShopSoldOut(0));
    EXPECT_EQ(data.getOven1Level(0), 2);
    EXPECT_EQ(data.getOven1Level(-1), 2);
    // Going back to an older level initialises nothing.
    data.setLevel(1);
    data.setWaitressLevel(1, 0);
    data.setLevel(1);
    EXPECT_EQ(data.getWaitressLevel(0), 1);
}

TEST_F(GameData, PathsFileNames) {
    struct Case {
        LevelAttributes attributes;
        const char* name;
    };
    const Case cases[] = {
        {{}, "Packs/Paths/s0p1.xml"},
        {{{"is_souse_1", "1"}, {"is_sub_place_2", "1"}}, "Packs/Paths/s1p2.xml"},
        {{{"is_souse_2", "1"}, {"is_souse_3", "2"}, {"is_sub_place_2", "1"}, {"is_sub_place_3", "1"}}, "Packs/Paths/s1p3.xml"},
        {{{"is_sub_place_1", "0"}}, "Packs/Paths/s0p0.xml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setPack("Packs/1/pack.qpk", packText(20, 1, [&](int) { return c.attributes; }));
        cGameData& data = withProfile();
        EXPECT_EQ(data.getPathsFileName(), c.name);
    }
}

TEST_F(GameData, PerLevelValuesStayInsideTheirSixtySlots) {
    cGameData& data = withProfile();
    data.setLevel(60);
    const cProfile before = data.getCurrentProfile();
    data.setDrinkLevel(9, 1);
    data.setInterior2Level(9, 5);
    data.setMoneySpent(9, 100);
    EXPECT_EQ(data.getDrinkLevel(1), 0);
    EXPECT_EQ(data.getBestScore(-60), 0);
    EXPECT_FALSE(data.isExpertReached(0));
    EXPECT_FALSE(data.isExpertReached(61));
    EXPECT_EQ(std::memcmp(&before, &data.getCurrentProfile(), sizeof(cProfile)), 0);
    data.setDrinkLevel(4, -1);
    EXPECT_EQ(data.getDrinkLevel(-1), 4);
    EXPECT_EQ(data.getCurrentProfile().values[PA_DRINK][58], 4);
}

TEST_F(GameData, ScoreAndCashSums) {
    cGameData& data = withProfile();
    data.setScore(-40);
    EXPECT_EQ(data.getScore(), 0);
    data.setMiniGameScore(-1);
    EXPECT_EQ(data.getMiniGameScore(), 0);
    for (int level = 1; level <= 3; ++level) {
        data.setLevel(level);
        data.setScore(100 * level);
        data.recordLevelResult(level != 2);
        data.setLevel(level + 1);
    }
    data.setLevel(2);
    data.setMoneySpent(30, 0);
    data.setMiniGameResult(7, 0);
    struct Case {
        int first, last, cash;
    };
    const Case cases[] = {{1, 3, 100 + (7 - 30) + 300}, {21, 20, 0}, {0, 5, 0}, {5, 0, 0}, {1, 1, 100}, {1, 500, 377}};
    for (const Case& c : cases) EXPECT_EQ(data.getCash(c.first, c.last), c.cash) << c.first << ".." << c.last;
    EXPECT_EQ(data.getTotalScore(0), 0);
    EXPECT_EQ(data.getTotalScore(2), 100 + 200 + 7);
    EXPECT_EQ(data.getTotalScore(60), 607);
    EXPECT_EQ(data.getTotalScore(1000), 607);
    EXPECT_EQ(data.getProfileTotal(0), 600);
    EXPECT_EQ(data.getProfileTotal(-5), 600);
}

TEST_F(GameData, LevelResults) {
    cGameData& data = withProfile();
    data.setLevel(60);
    data.setExpertGoal(300);
    data.setScore(250);
    data.recordLevelResult(false);
    EXPECT_EQ(data.getReachedLevel(), 61);
    EXPECT_EQ(data.getBestScore(0), 250);
    EXPECT_EQ(data.getCountedBestScore(0), 0);
    EXPECT_FALSE(data.isExpertReached(60));
    data.setScore(320);
    data.recordLevelResult(true);
    EXPECT_EQ(data.getCountedBestScore(0), 320);
    EXPECT_TRUE(data.isExpertReached(60));
    data.setScore(100);
    data.recordLevelResult(true);
    EXPECT_EQ(data.getBestScore(0), 320);
    EXPECT_EQ(data.getReachedLevel(), 61);
    EXPECT_TRUE(data.isExpertReached(60));
}

TEST_F(GameData, ProfilesAreAddedSelectedAndDeleted) {
    cGameData& data = make();
    EXPECT_EQ(data.getProfileNameAt(0), L"Anonymous");
    data.addProfile(cStringW(std::wstring(80, L'a')));
    EXPECT_EQ(data.getProfileName(), std::wstring(63, L'a'));
    data.deleteCurrentProfile();  // the only one stays
    EXPECT_EQ(data.getProfileCount(), 1);
    data.addProfile(cStringW(L"B"));
    data.addProfile(cStringW(L"C"));
    EXPECT_EQ(data.getProfileNameAt(-1), L"Anonymous");
    EXPECT_EQ(data.getProfileNameAt(3), L"Anonymous");
    data.selectProfile(1);
    data.setDifficulty(1);
    data.deleteCurrentProfile();
    EXPECT_EQ(data.getProfileCount(), 2);
    EXPECT_EQ(data.getCurrentProfileIndex(), 0);
    EXPECT_EQ(data.getProfileNameAt(1), L"C");
    data.deleteCurrentProfile();
    EXPECT_EQ(data.getCurrentProfileIndex(), 0);
    EXPECT_EQ(data.getProfileName(), L"C");
    data.selectProfile(9);
    EXPECT_EQ(data.getProfileName(), L"C");
}

TEST_F(GameData, HighscoreTable) {
    cGameData& data = make();
    for (const wchar_t* name : {L"A", L"B", L"C", L"D", L"E", L"F", L"G", L"H", L"I", L"J", L"K"})
        data.addProfile(cStringW(name));
    auto as = [&](int profile, int32_t total) {
        data.selectProfile(profile);
        data.addHighscore(total);
    };
    auto table = [&] {
        std::wstring t;
        for (int i = 0; i < data.getHighscoreCount(); ++i) {
            cHighscore h;
            data.getHighscoreAt(i, h);
            t += h.getName() + L"=" + std::to_wstring(h.score) + L" ";
        }
        return t;
    };
    as(0, 0);
    as(0, -5);
    EXPECT_EQ(table(), L"");
    as(0, 100);
    as(1, 100);
    as(2, 200);
    EXPECT_EQ(table(), L"C=200 A=100 B=100 ");
    as(0, 50);  // lower than its entry: kept
    EXPECT_EQ(table(), L"C=200 A=100 B=100 ");
    as(1, 300);  // higher: replaces and moves up
    EXPECT_EQ(table(), L"B=300 C=200 A=100 ");
    for (int p = 3; p <= 9; ++p) as(p, 150 + p);
    EXPECT_EQ(data.getHighscoreCount(), 10);
    as(10, 120);  // the eleventh pushes the lowest out
    EXPECT_EQ(data.getHighscoreCount(), 10);
    EXPECT_EQ(table(), L"B=300 C=200 J=159 I=158 H=157 G=156 F=155 E=154 D=153 K=120 ");
    cStringW name = L"unchanged";
    int32_t score = -1;
    data.getHighscore(10, name, score);
    EXPECT_EQ(name, L"unchanged");
    EXPECT_EQ(score, -1);
}

TEST_F(GameData, HugeLevelCountsKeepEachLevelInItsPack) {
    // A pack claiming 2^32 - 1 levels must neither wrap the level sums nor leave a level
    // undescribed: its levels stay in it, and a missing element is refused.
    auto claiming = [](std::string text, const std::string& count) {
        const std::string key = "count_levels=\"";
        size_t at = text.find(key) + key.size();
        return text.replace(at, text.find('"', at) - at, count);
    };
    cGameData& data = withProfile();
    setPack("Packs/2/pack.qpk", claiming(packText(20, 2, nullptr), "4294967295"));
    data.setLevel(25);
    EXPECT_EQ(data.getWorld(), 2);
    EXPECT_EQ(data.getLevelInWorld(), 5u);
    EXPECT_EQ(data.getGraphicsSet(), 2);
    EXPECT_FALSE(data.isLastLevel());
    EXPECT_EQ(data.getTotalLevels(), UINT32_MAX);
    EXPECT_THROW(data.setLevel(45), cStringA);  // Level_25 of pack 2 does not exist
    EXPECT_EQ(data.getLevel(), 25);

    setPack("Packs/fuzz.qpk", claiming(packText(3, 1, nullptr), "4294967295"));
    cGameData& single = make(false, "Packs/fuzz.qpk");
    ASSERT_NE(single.getLevelNode(), nullptr);
    EXPECT_EQ(single.getLevelInWorld(), 1u);
}
