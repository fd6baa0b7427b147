#pragma once
// How an application state, a panel, a menu screen or the level tells its owner that it is
// done, and with which result. "Finished": the object has decided and stored its result.
// "Complete": nothing is left to run (no fade, no slide) before the owner may delete it.
// An owner asks isFinished first, then isComplete, and reads getResult only when both are true.

#include <cstdint>

class cCompletion {
public:
    virtual ~cCompletion() = default;
    virtual bool isComplete() = 0;
    virtual bool isFinished() { return m_finished; }
    virtual int32_t getResult() { return m_result; }
    virtual void setResult(int32_t result) { m_result = result; }
    virtual void setFinished(bool finished) { m_finished = finished; }

    // Both answers true: the owner may read the result and delete the object.
    bool isDone() { return isFinished() && isComplete(); }

private:
    int32_t m_result = 0;
    bool m_finished = false;
};

// The shared answer of objects that never run a closing step (the logo and several menu
// screens): always complete.
class cAlwaysComplete : public cCompletion {
public:
    bool isComplete() override { return true; }
};

// The application states of the root game object. 0: no state (only as the state whose
// resources are loaded, before the first switch).
enum AppState : int32_t {
    APP_STATE_NONE = 0,
    APP_STATE_LOGO = 1,
    APP_STATE_COMICS = 2,
    APP_STATE_MAIN_MENU = 3,
    APP_STATE_GAME = 4,
    APP_STATE_SHOP = 5,
    APP_STATE_MINI_GAME = 6,
};

// The results the game state hands to the root game object. GAME_RESULT_NEXT_LEVEL is played
// by the game state itself and never reported as finished.
enum GameResult : int32_t {
    GAME_RESULT_NEXT_LEVEL = 0,
    GAME_RESULT_SHOP = 1,
    GAME_RESULT_MENU = 2,
    GAME_RESULT_MENU_PLAY_SCREEN = 3,
    GAME_RESULT_MINI_GAME = 4,
    GAME_RESULT_COMICS_2 = 5,
    GAME_RESULT_COMICS_3 = 6,
    GAME_RESULT_COMICS_4 = 7,
};

// Results of the main menu, the shop and the mini game.
enum MainMenuResult : int32_t { MENU_RESULT_PLAY = 1, MENU_RESULT_QUIT = 2 };
enum ShopResult : int32_t {
    SHOP_RESULT_RESTART = 0,
    SHOP_RESULT_CONTINUE = 1,
    SHOP_RESULT_MENU = 2,
    SHOP_RESULT_MINI_GAME = 3,
};
enum MiniGameResult : int32_t {
    MINIGAME_RESULT_RESTART = 0,
    MINIGAME_RESULT_CONTINUE = 1,
    MINIGAME_RESULT_SHOP = 2,
    MINIGAME_RESULT_MENU = 3,
};
