#include "game/flow/StateTransitions.h"

#include <cstddef>

#include "game/data/GameConstants.h"

int32_t miniGameNumberOfLevel(int32_t level) {
    // A mini game is played at the start of the level after each mini-game level.
    for (size_t i = 0; i < game::kMiniGameLevels.size(); ++i)
        if (level == game::kMiniGameLevels[i] + 1) return static_cast<int32_t>(i + 1);
    return 0;
}

namespace {

Transition to(AppState next) {
    Transition t;
    t.next = next;
    return t;
}

Transition toComics(int32_t number) {
    Transition t = to(APP_STATE_COMICS);
    t.comicsNumber = number;
    return t;
}

Transition fromMainMenu(const TransitionInput& in) {
    if (in.result == MENU_RESULT_QUIT) {
        Transition t;
        t.quit = true;
        return t;
    }
    if (in.result != MENU_RESULT_PLAY) return Transition();
    Transition t;
    // The first world start among the comic levels shows its comic (1, 2, 3).
    int32_t comics = 0;
    for (size_t i = 0; i < game::kComicLevels.size(); ++i)
        if (in.level == game::kComicLevels[i]) comics = static_cast<int32_t>(i + 1);
    if (comics != 0)
        t = toComics(comics);
    else if (miniGameNumberOfLevel(in.level) != 0 && !in.miniGamePlayed)
        t = to(APP_STATE_MINI_GAME);
    else if (!in.shopSoldOut && in.level >= 5 && in.level == in.reachedLevel)
        t = to(APP_STATE_SHOP);
    else
        t = to(APP_STATE_GAME);
    t.markReached = true;
    return t;
}

Transition fromGame(int32_t result) {
    switch (result) {
    case GAME_RESULT_SHOP: return to(APP_STATE_SHOP);
    case GAME_RESULT_MENU: return to(APP_STATE_MAIN_MENU);
    case GAME_RESULT_MENU_PLAY_SCREEN: {
        Transition t = to(APP_STATE_MAIN_MENU);
        t.openMenuAtPlayScreen = true;
        return t;
    }
    case GAME_RESULT_MINI_GAME: return to(APP_STATE_MINI_GAME);
    case GAME_RESULT_COMICS_2: return toComics(2);
    case GAME_RESULT_COMICS_3: return toComics(3);
    case GAME_RESULT_COMICS_4: return toComics(4);
    default: return to(APP_STATE_GAME);
    }
}

}  // namespace

Transition chooseTransition(const TransitionInput& in) {
    switch (in.from) {
    case APP_STATE_LOGO: return to(APP_STATE_MAIN_MENU);
    case APP_STATE_COMICS: return to(in.comicsNumber == 4 ? APP_STATE_MAIN_MENU : APP_STATE_GAME);
    case APP_STATE_MAIN_MENU: return fromMainMenu(in);
    case APP_STATE_GAME: return fromGame(in.result);
    case APP_STATE_SHOP:
        switch (in.result) {
        case SHOP_RESULT_CONTINUE: return to(APP_STATE_GAME);
        case SHOP_RESULT_MENU: return to(APP_STATE_MAIN_MENU);
        case SHOP_RESULT_MINI_GAME: return to(APP_STATE_MINI_GAME);
        default: return to(APP_STATE_SHOP);
        }
    case APP_STATE_MINI_GAME:
        switch (in.result) {
        case MINIGAME_RESULT_CONTINUE: return to(APP_STATE_GAME);
        case MINIGAME_RESULT_SHOP: return to(APP_STATE_SHOP);
        case MINIGAME_RESULT_MENU: return to(APP_STATE_MAIN_MENU);
        default: return to(APP_STATE_MINI_GAME);
        }
    default: return Transition();
    }
}
