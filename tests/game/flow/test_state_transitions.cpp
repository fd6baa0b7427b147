// The root object's table: from a finished state, its result and the current level's play
// data to the next application state.
#include <gtest/gtest.h>

#include "game/flow/StateTransitions.h"

namespace {

struct Case {
    const char* what;
    TransitionInput in;
    AppState next;
    bool quit;
    int32_t comics;
    bool playScreen;
};

TransitionInput from(AppState s, int32_t result, int32_t level = 10, int32_t reached = 10) {
    TransitionInput in;
    in.from = s;
    in.result = result;
    in.level = level;
    in.reachedLevel = reached;
    return in;
}

TransitionInput withFlags(TransitionInput in, bool soldOut, bool played) {
    in.shopSoldOut = soldOut;
    in.miniGamePlayed = played;
    return in;
}

TransitionInput comics(int32_t number) {
    TransitionInput in = from(APP_STATE_COMICS, 7);
    in.comicsNumber = number;
    return in;
}

}  // namespace

TEST(StateTransitions, EveryRowOfTheTable) {
    const AppState none = APP_STATE_NONE;
    const Case cases[] = {
        {"logo, any result", from(APP_STATE_LOGO, 5), APP_STATE_MAIN_MENU, false, 0, false},
        {"comics 4 ends the game", comics(4), APP_STATE_MAIN_MENU, false, 0, false},
        {"comics 1 plays", comics(1), APP_STATE_GAME, false, 0, false},
        {"comics 3 plays", comics(3), APP_STATE_GAME, false, 0, false},
        {"menu play at level 1", from(APP_STATE_MAIN_MENU, 1, 1, 1), APP_STATE_COMICS, false, 1, false},
        {"menu play at level 21", from(APP_STATE_MAIN_MENU, 1, 21, 30), APP_STATE_COMICS, false, 2, false},
        {"menu play at level 41", from(APP_STATE_MAIN_MENU, 1, 41, 41), APP_STATE_COMICS, false, 3, false},
        {"menu play at 8, mini game not played", from(APP_STATE_MAIN_MENU, 1, 8, 8), APP_STATE_MINI_GAME, false, 0, false},
        {"menu play at 55, mini game not played", from(APP_STATE_MAIN_MENU, 1, 55, 60), APP_STATE_MINI_GAME, false, 0, false},
        {"menu play at 7 (no mini game) reached, shop open", from(APP_STATE_MAIN_MENU, 1, 7, 7), APP_STATE_SHOP, false, 0, false},
        {"menu play at 8, mini game played, shop open", withFlags(from(APP_STATE_MAIN_MENU, 1, 8, 8), false, true),
         APP_STATE_SHOP, false, 0, false},
        {"menu play at 8, played, sold out", withFlags(from(APP_STATE_MAIN_MENU, 1, 8, 8), true, true), APP_STATE_GAME, false, 0, false},
        {"menu play at 4: no shop before 5", from(APP_STATE_MAIN_MENU, 1, 4, 4), APP_STATE_GAME, false, 0, false},
        {"menu play at 5: shop", from(APP_STATE_MAIN_MENU, 1, 5, 5), APP_STATE_SHOP, false, 0, false},
        {"menu play below the reached level", from(APP_STATE_MAIN_MENU, 1, 12, 13), APP_STATE_GAME, false, 0, false},
        {"menu quit", from(APP_STATE_MAIN_MENU, 2), none, true, 0, false},
        {"menu other result", from(APP_STATE_MAIN_MENU, 0), none, false, 0, false},
        {"menu result 3", from(APP_STATE_MAIN_MENU, 3), none, false, 0, false},
        {"game 1", from(APP_STATE_GAME, 1), APP_STATE_SHOP, false, 0, false},
        {"game 2", from(APP_STATE_GAME, 2), APP_STATE_MAIN_MENU, false, 0, false},
        {"game 3", from(APP_STATE_GAME, 3), APP_STATE_MAIN_MENU, false, 0, true},
        {"game 4", from(APP_STATE_GAME, 4), APP_STATE_MINI_GAME, false, 0, false},
        {"game 5", from(APP_STATE_GAME, 5), APP_STATE_COMICS, false, 2, false},
        {"game 6", from(APP_STATE_GAME, 6), APP_STATE_COMICS, false, 3, false},
        {"game 7", from(APP_STATE_GAME, 7), APP_STATE_COMICS, false, 4, false},
        {"game 0 rebuilds", from(APP_STATE_GAME, 0), APP_STATE_GAME, false, 0, false},
        {"game 9 rebuilds", from(APP_STATE_GAME, 9), APP_STATE_GAME, false, 0, false},
        {"shop 1", from(APP_STATE_SHOP, 1), APP_STATE_GAME, false, 0, false},
        {"shop 2", from(APP_STATE_SHOP, 2), APP_STATE_MAIN_MENU, false, 0, false},
        {"shop 3", from(APP_STATE_SHOP, 3), APP_STATE_MINI_GAME, false, 0, false},
        {"shop 0 restarts", from(APP_STATE_SHOP, 0), APP_STATE_SHOP, false, 0, false},
        {"mini game 1", from(APP_STATE_MINI_GAME, 1), APP_STATE_GAME, false, 0, false},
        {"mini game 2", from(APP_STATE_MINI_GAME, 2), APP_STATE_SHOP, false, 0, false},
        {"mini game 3", from(APP_STATE_MINI_GAME, 3), APP_STATE_MAIN_MENU, false, 0, false},
        {"mini game 0 restarts", from(APP_STATE_MINI_GAME, 0), APP_STATE_MINI_GAME, false, 0, false},
    };
    for (const Case& c : cases) {
        Transition t = chooseTransition(c.in);
        EXPECT_EQ(t.next, c.next) << c.what;
        EXPECT_EQ(t.quit, c.quit) << c.what;
        EXPECT_EQ(t.comicsNumber, c.comics) << c.what;
        EXPECT_EQ(t.openMenuAtPlayScreen, c.playScreen) << c.what;
        // Only the main menu's play marks the reached level.
        EXPECT_EQ(t.markReached, c.in.from == APP_STATE_MAIN_MENU && c.in.result == 1) << c.what;
    }
}

TEST(StateTransitions, MiniGameNumbersByLevel) {
    const int32_t levels[] = {8, 15, 28, 35, 48, 55};
    for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(miniGameNumberOfLevel(levels[i]), i + 1) << levels[i];
    for (int32_t level : {0, 1, 7, 14, 16, 27, 60, 61}) EXPECT_EQ(miniGameNumberOfLevel(level), 0) << level;
}
