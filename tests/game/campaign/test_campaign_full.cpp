// The whole campaign, every level of the four packs played in order through the running game
// (label "campaign", not part of a plain test run): the easy run through worlds 1 to 3 and the
// hard run through the second pack of world 1, each with its shops, mini games and comics.
// Every level ends, its goal is reached, and the save carries the reached level and the cash.
// The table of the levels is written to the test output (campaign/*.md).
#include "game/data/cGameData.h"
#include "tests/game/campaign/CampaignRun.h"

namespace campaign_test {

namespace {

struct Run {
    const char* name;
    int difficulty;
    int lastLevel;
};

class CampaignFull : public CampaignRun, public ::testing::WithParamInterface<Run> {};

TEST_P(CampaignFull, EveryLevelEndsAtItsGoal) {
    RunOptions options;
    options.difficulty = GetParam().difficulty;
    options.lastLevel = GetParam().lastLevel;
    const std::vector<LevelRecord> records = play(options);
    writeLevelTable(GetParam().name, records);
    ASSERT_FALSE(records.empty());
    expectEveryLevelWon(records);
    EXPECT_EQ(records.back().level, GetParam().lastLevel);
    EXPECT_TRUE(records.back().won);
    expectSaveCarriesOn();
}

INSTANTIATE_TEST_SUITE_P(Packs, CampaignFull,
                         ::testing::Values(Run{"easy_worlds_1_to_3", 0, 60}, Run{"hard_world_1", 1, 20}),
                         [](const ::testing::TestParamInfo<Run>& info) { return std::string(info.param.name); });

}  // namespace

}  // namespace campaign_test
