// The hand rules of the oven and the sauce stations: what a sauce or baking makes of an item,
// what it can still become, and which hand serves when both could.

#include <gtest/gtest.h>

#include <vector>

#include "game/characters/cWaitress.h"

using namespace waitress_rules;

namespace {

using Ids = std::vector<ItemId>;

struct OutcomeCase {
    ItemId item, sauce;   // sauce 0: the oven
    ItemId result;
    Ids outlook;
};

TEST(WaitressRules, SauceAndOvenOutcomesWithTheirOutlooks) {
    const std::vector<OutcomeCase> cases = {
        // Sauces: a plain sub gets one, a sub with one other sauce gets the pair.
        {11, ITEM_SAUCE_1, 13, {13, 14, 19, 20, 23, 24}},
        {12, ITEM_SAUCE_1, 14, {14, 20, 24}},
        {15, ITEM_SAUCE_1, 19, {19, 20}},
        {17, ITEM_SAUCE_1, 23, {23, 24}},
        {25, ITEM_SAUCE_2, 29, {29, 30, 33, 34, 35, 36}},
        {39, ITEM_SAUCE_3, 45, {45, 46, 49, 50, 51, 52}},
        {41, ITEM_SAUCE_3, 51, {51, 52}},
        {13, ITEM_SAUCE_1, 0, {}},   // that sauce already
        {19, ITEM_SAUCE_3, 0, {}},   // two sauces already
        {ITEM_DRINK, ITEM_SAUCE_1, 0, {}},
        {11, ITEM_DRINK, 0, {}},     // not a sauce
        {0, ITEM_SAUCE_2, 0, {}},
        // The oven bakes raw subs only.
        {11, 0, 12, {12, 14, 16, 18, 20, 22, 24}},
        {13, 0, 14, {14, 20}},
        {15, 0, 16, {16, 22}},
        {17, 0, 18, {18, 24}},
        {19, 0, 20, {20}},
        {25, 0, 26, {26, 28, 30, 32, 34, 36, 38}},
        {51, 0, 52, {52}},
        {12, 0, 0, {}},
        {ITEM_COFFEE, 0, 0, {}},
    };
    for (const OutcomeCase& c : cases) {
        SCOPED_TRACE("item " + std::to_string(c.item) + " sauce " + std::to_string(c.sauce));
        ItemId item = c.item;
        Ids outlook{99};   // the rules append
        if (c.sauce) sauceOutcome(&item, c.sauce, &outlook);
        else ovenOutcome(&item, &outlook);
        EXPECT_EQ(item, c.result);
        Ids expected{99};
        expected.insert(expected.end(), c.outlook.begin(), c.outlook.end());
        EXPECT_EQ(outlook, expected);
    }
}

struct OvenCase {
    const char* name;
    ItemId right, left;
    TableStates tables;
    bool put;
    int hand;
};

TEST(WaitressRules, OvenHandChoice) {
    const std::vector<OvenCase> cases = {
        {"nothing to bake", 12, ITEM_DRINK, {14}, true, kNoHand},
        {"exact: right", 13, 15, {0, 14, 16}, true, kRightHand},
        {"exact: the first table decides", 13, 15, {16, 14}, true, kLeftHand},
        {"exact: one table wanting both, right", 13, 13, {14}, true, kRightHand},
        {"exact before outlook", 11, 15, {20, 16}, true, kLeftHand},
        {"taking: exact only", 13, 15, {0, 16}, false, kLeftHand},
        {"taking: no outlook, no fallback", 11, 13, {20, 0}, false, kNoHand},
        {"outlook: in both lists, left", 11, 13, {20}, true, kLeftHand},
        {"outlook: right only", 11, 25, {0, 20}, true, kRightHand},
        {"outlook: the first table decides", 11, 25, {28, 20}, true, kLeftHand},
        {"fallback: right", 11, 13, {}, true, kRightHand},
        {"fallback: left when right cannot bake", 12, 13, {}, true, kLeftHand},
        {"fallback: left alone", 0, 13, {1, 2}, true, kLeftHand},
    };
    for (const OvenCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chooseOvenHand(c.right, c.left, c.tables, c.put), c.hand);
    }
}

struct SauceCase {
    const char* name;
    ItemId right, left, sauce;
    TableStates tables;
    int hand;
    ItemId result;
};

TEST(WaitressRules, SauceHandChoice) {
    const std::vector<SauceCase> cases = {
        {"fits neither", 13, 0, ITEM_SAUCE_1, {13}, kNoHand, 0},
        {"exact: right", 13, 11, ITEM_SAUCE_2, {19}, kRightHand, 19},
        {"exact: left", 11, 13, ITEM_SAUCE_2, {19}, kLeftHand, 19},
        {"exact: both fit one table, right", 11, 11, ITEM_SAUCE_1, {0, 13}, kRightHand, 13},
        {"exact before outlook", 11, 25, ITEM_SAUCE_1, {20, 27}, kLeftHand, 27},
        {"outlook: right", 11, 25, ITEM_SAUCE_1, {0, 20, 34}, kRightHand, 13},
        {"outlook: left", 11, 25, ITEM_SAUCE_1, {34, 20}, kLeftHand, 27},
        {"outlook: both fit one table, right", 11, 12, ITEM_SAUCE_1, {20}, kRightHand, 13},
        {"fallback: right", 11, 25, ITEM_SAUCE_1, {}, kRightHand, 13},
        {"fallback: left when right cannot take it", 13, 25, ITEM_SAUCE_1, {}, kLeftHand, 27},
    };
    for (const SauceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SauceChoice choice = chooseSauceHand(c.right, c.left, c.sauce, c.tables);
        EXPECT_EQ(choice.hand, c.hand);
        EXPECT_EQ(choice.result, c.result);
    }
}

}  // namespace
