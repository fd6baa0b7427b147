// A sample of the campaign played through the running game as a player plays it: world 1 from
// its first level to the eighth with the shops and the mini game between them, played twice
// from the same start to the same save file and statistics logs; and the last level of each
// world. The whole campaign is in test_campaign_full.cpp (label "campaign").
#include "game/data/cGameData.h"
#include "tests/game/campaign/CampaignRun.h"

namespace campaign_test {

TEST_F(CampaignRun, World1ToLevel8WithShopsAndMiniGameTwiceGivesTheSameSave) {
    RunOptions options;
    options.lastLevel = 8;
    const std::vector<LevelRecord> first = play(options);
    writeLevelTable("world1_levels_1_to_8", first);
    ASSERT_FALSE(first.empty());
    expectEveryLevelWon(first);
    EXPECT_EQ(first.back().level, 8);
    EXPECT_EQ(getGameData()->getReachedLevel(), 9);
    EXPECT_EQ(miniGamesPlayed, 1) << "the mini game after level 7";
    EXPECT_GE(shopsVisited, 4) << "a shop after each of levels 4 to 8";
    const auto firstFiles = writtenFiles();
    ASSERT_FALSE(firstFiles.empty());
    expectSaveCarriesOn();

    // The same play again in a new program run.
    newProgramRun();
    const std::vector<LevelRecord> second = play(options);
    const auto secondFiles = writtenFiles();
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i].score, second[i].score) << "level " << first[i].level;
    ASSERT_EQ(firstFiles.size(), secondFiles.size());
    for (size_t i = 0; i < firstFiles.size(); ++i) {
        EXPECT_EQ(firstFiles[i].first, secondFiles[i].first);
        EXPECT_TRUE(firstFiles[i].second == secondFiles[i].second) << firstFiles[i].first << " differs";
    }
}

struct LastLevel {
    int difficulty;
    int level;
};

class CampaignLastLevel : public CampaignRun, public ::testing::WithParamInterface<LastLevel> {};

TEST_P(CampaignLastLevel, IsWonAndLeadsOn) {
    RunOptions options;
    options.difficulty = GetParam().difficulty;
    options.firstLevel = options.lastLevel = GetParam().level;
    const std::vector<LevelRecord> records = play(options);
    writeLevelTable("last_level_" + std::string(GetParam().difficulty ? "hard_" : "easy_") +
                        std::to_string(GetParam().level), records);
    ASSERT_FALSE(records.empty());
    expectEveryLevelWon(records);
    if (GetParam().level < 60) {
        EXPECT_EQ(getGameData()->getReachedLevel(), GetParam().level + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Worlds, CampaignLastLevel,
                         ::testing::Values(LastLevel{0, 20}, LastLevel{0, 40}, LastLevel{0, 60}, LastLevel{1, 20}),
                         [](const ::testing::TestParamInfo<LastLevel>& info) {
                             return std::string(info.param.difficulty ? "Hard" : "Easy") + "Level" +
                                    std::to_string(info.param.level);
                         });

}  // namespace campaign_test
