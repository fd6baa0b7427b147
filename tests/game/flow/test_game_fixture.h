#pragma once
// A root game object over a running headless core (test_game_env.h), with helpers that step
// frames until a state is reached and finish the running state with a result.

#include <gtest/gtest.h>

#include <memory>

#include "game/flow/cGame.h"
#include "game/menus/cMainMenu.h"
#include "tests/game/flow/test_game_env.h"

namespace game_test {

class GameFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // Each test is a new run of the program: the menu's first visit is still to come.
        cMainMenu::setFirstVisit(true);
        genv.reset(new GameEnvironment);
        genv->startCore();
    }
    void TearDown() override {
        dropGame();
        genv.reset();
    }
    void makeGame(const char* word = "") {
        game.reset(new cGame(cStringA(word)));
        genv->core->setMessageHook(cGame::onWindowMessage);
    }
    // makeGame, with a thrown text failing the test with its words.
    bool tryMakeGame(const char* word = "") {
        try {
            makeGame(word);
            return true;
        } catch (...) {
            std::string text;
            failureText(std::current_exception(), &text);
            ADD_FAILURE() << "thrown: " << text;
            return false;
        }
    }
    void dropGame() {
        if (genv && genv->core) genv->core->setMessageHook(nullptr);
        game.reset();
    }
    // Frames until the state is built and idle; a thrown text fails the test with its words.
    bool reach(AppState state, int limit = 400) {
        try {
            return genv->framesUntil(
                [&] { return !game->isSwitching() && game->getCurrentState() == state && game->getStateNode(); }, limit);
        } catch (...) {
            std::string text;
            failureText(std::current_exception(), &text);
            ADD_FAILURE() << "thrown: " << text;
            return false;
        }
    }
    void finishState(int32_t result) {
        cCompletion* c = game->getStateCompletion();
        ASSERT_NE(c, nullptr);
        c->setResult(result);
        c->setFinished(true);
    }
    // A message through the game's hook; returns the pass-on flag.
    bool hook(uint32_t message, uintptr_t wParam = 0) {
        bool passOn = true;
        cGame::onWindowMessage(message, wParam, 0, &passOn);
        return passOn;
    }

    std::unique_ptr<GameEnvironment> genv;
    std::unique_ptr<cGame> game;
};

}  // namespace game_test
