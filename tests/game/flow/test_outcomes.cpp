// Where a level leads: the result and next level after a win, the shop rule after a failed or
// finished level, and which levels count, over the campaign's three packs of 20 levels.
#include <gtest/gtest.h>

#include "game/flow/cGameScreen.h"
#include "game/interface/cCompletion.h"
#include "tests/game/data/test_gamedata_fixture.h"

namespace {

class Outcomes : public gamedata_test::GameDataFixture {
protected:
    // The profile has passed every level below `reached`; the current level is `level`.
    cGameData& at(int level, int reached, bool soldOut = false) {
        cGameData& data = make();
        data.addProfile(cStringW(L"Tester"));
        for (int l = 1; l < reached; ++l) {
            data.setLevel(l);
            data.recordLevelResult(true);
        }
        data.setLevel(level);
        data.setShopSoldOut(soldOut, 0);
        return data;
    }
};

TEST_F(Outcomes, WinLeadsByLevel) {
    struct Case {
        int level, reached;
        bool soldOut;
        int32_t result, next;
    } cases[] = {
        {3, 4, false, GAME_RESULT_NEXT_LEVEL, 4},   // never the shop before level 4
        {4, 5, false, GAME_RESULT_SHOP, 5},         // level 4 won for the first time
        {4, 5, true, GAME_RESULT_NEXT_LEVEL, 5},    // ... unless its shop is sold out
        {4, 9, false, GAME_RESULT_NEXT_LEVEL, 5},   // a replay: not the newest level
        {7, 8, false, GAME_RESULT_MINI_GAME, 8},    {14, 2, false, GAME_RESULT_MINI_GAME, 15},
        {20, 21, false, GAME_RESULT_COMICS_2, 21},  {21, 22, false, GAME_RESULT_SHOP, 22},
        {40, 41, false, GAME_RESULT_COMICS_3, 41},  {54, 55, false, GAME_RESULT_MINI_GAME, 55},
        {60, 61, false, GAME_RESULT_COMICS_4, 1},   // the last level: comic 4, then level 1
    };
    for (const Case& c : cases) {
        cGameData& data = at(c.level, c.reached, c.soldOut);
        int32_t next = 0;
        EXPECT_EQ(cGameScreen::resultAfterWin(data, &next), c.result) << "level " << c.level;
        EXPECT_EQ(next, c.next) << "level " << c.level;
    }
}

TEST_F(Outcomes, FailedOrFinishedLevelsFollowTheShopRule) {
    struct Case {
        int level;
        bool soldOut;
        int32_t result;
    } cases[] = {
        {1, false, GAME_RESULT_NEXT_LEVEL},  {4, false, GAME_RESULT_NEXT_LEVEL}, {5, false, GAME_RESULT_SHOP},
        {21, false, GAME_RESULT_NEXT_LEVEL}, {41, false, GAME_RESULT_NEXT_LEVEL}, {22, false, GAME_RESULT_SHOP},
        {22, true, GAME_RESULT_NEXT_LEVEL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cGameScreen::shopRule(at(c.level, c.level, c.soldOut)), c.result) << "level " << c.level;
}

TEST_F(Outcomes, ALevelCountsWhenItIsTheReachedOrTheMarkedLevel) {
    cGameData& data = at(3, 6);
    EXPECT_FALSE(cGameScreen::levelCounts(data));
    data.setMarkedLevel(3);
    EXPECT_TRUE(cGameScreen::levelCounts(data));
    data.setMarkedLevel(0);
    data.setLevel(6);
    EXPECT_TRUE(cGameScreen::levelCounts(data));
}

}  // namespace
