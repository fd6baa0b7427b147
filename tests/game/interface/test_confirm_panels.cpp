// The confirm panels: what Yes does for each owner and each panel under it, and Enter, Alt and
// Escape by the panel's activity.

#include "tests/game/interface/PanelTestSupport.h"

using namespace panel_test;

namespace {

class ConfirmPanels : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        screen->buildPanels();
    }
};

enum Under { NONE, PAUSE, RESULTS, BOTH };

TEST_F(ConfirmPanels, YesOfTheMenuPanelByOwnerAndPanelUnderIt) {
    struct Case {
        int kind;
        Under under;
        std::vector<std::string> actions;
        bool pauseLeaves, resultsLeave;
    };
    const Case cases[] = {
        {CONFIRM_OWNER_GAME_SCREEN, RESULTS, {"exitToMenu(true)"}, false, true},
        {CONFIRM_OWNER_GAME_SCREEN, PAUSE, {"exitToMenu(false)"}, true, false},
        {CONFIRM_OWNER_GAME_SCREEN, BOTH, {"exitToMenu(true)"}, false, true},
        {CONFIRM_OWNER_GAME_SCREEN, NONE, {"exitToMenu(true)"}, false, false},
        {CONFIRM_OWNER_SHOP, PAUSE, {"hidePauseAndQuitToMenu"}, false, false},
        {CONFIRM_OWNER_MINI_GAME, NONE, {"hidePauseAndQuitToMenu"}, false, false},
        {7, PAUSE, {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + " under " + std::to_string(c.under));
        TearDown();
        SetUp();
        if (c.under == PAUSE || c.under == BOTH) showAndSettle(screen->pause);
        if (c.under == RESULTS || c.under == BOTH) showAndSettle(screen->results);
        cPanelConfirmMenu* menu = c.kind == CONFIRM_OWNER_GAME_SCREEN
                                      ? screen->confirmMenu
                                      : new cPanelConfirmMenu(screen, screen, c.kind);
        showAndSettle(menu);
        screen->calls.clear();
        ASSERT_TRUE(click(menu->getYesButton()));
        EXPECT_EQ(screen->actions(), c.actions);
        EXPECT_TRUE(menu->isDisappearing()) << "Yes slides the panel out";
        EXPECT_EQ(screen->pause->isDisappearing(), c.pauseLeaves);
        EXPECT_EQ(screen->results->isDisappearing(), c.resultsLeave);
    }
}

TEST_F(ConfirmPanels, YesOfTheTryPanelByPanelUnderIt) {
    struct Case {
        Under under;
        std::vector<std::string> actions;
    };
    const Case cases[] = {
        {RESULTS, {"restartLevel(1)"}},
        {PAUSE, {"restartLevel(-1)"}},
        {BOTH, {"restartLevel(1)"}},
        {NONE, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("under " + std::to_string(c.under));
        TearDown();
        SetUp();
        if (c.under == PAUSE || c.under == BOTH) showAndSettle(screen->pause);
        if (c.under == RESULTS || c.under == BOTH) showAndSettle(screen->results);
        showAndSettle(screen->confirmTry);
        screen->calls.clear();
        ASSERT_TRUE(click(screen->confirmTry->getYesButton()));
        EXPECT_EQ(screen->actions(), c.actions);
        EXPECT_TRUE(screen->confirmTry->isDisappearing());
        settle(screen->confirmTry);
        EXPECT_TRUE(screen->confirmTry->isFinished());
        EXPECT_FALSE(screen->confirmTry->isVisible());
    }
}

TEST_F(ConfirmPanels, NoOnlySlidesThePanelOut) {
    showAndSettle(screen->pause);
    showAndSettle(screen->confirmMenu);
    screen->calls.clear();
    ASSERT_TRUE(click(screen->confirmMenu->getNoButton()));
    EXPECT_TRUE(screen->actions().empty());
    settle(screen->confirmMenu);
    EXPECT_FALSE(screen->confirmMenu->isVisible());
    EXPECT_TRUE(screen->pause->isVisible());
    EXPECT_TRUE(screen->pause->isComplete());
}

TEST_F(ConfirmPanels, EnterAndEscapeActOnlyOnThePanelAtRestAndEnterNotWithAlt) {
    cPanelConfirmTry* retry = screen->confirmTry;
    showAndSettle(screen->pause);
    screen->calls.clear();
    retry->show(true);
    frames(3);
    pressKey(KEY_ENTER);
    pressKey(KEY_ESCAPE);
    EXPECT_FALSE(retry->isDisappearing()) << "keys while sliding in";
    EXPECT_TRUE(screen->actions().empty());
    settle(retry);

    pressKey(KEY_ENTER, true);
    EXPECT_TRUE(retry->isComplete()) << "Alt+Enter belongs to the full-screen toggle";
    pressKey(KEY_ENTER);
    EXPECT_EQ(screen->actions(), std::vector<std::string>{"restartLevel(-1)"});
    EXPECT_TRUE(retry->isDisappearing());
    settle(retry);

    screen->calls.clear();
    showAndSettle(retry);
    retry->deactivateAll();
    pressKey(KEY_ENTER);
    pressKey(KEY_ESCAPE);
    EXPECT_TRUE(retry->isComplete()) << "an inactive panel ignores both keys";
    retry->activateAll();
    pressKey(KEY_ESCAPE);
    EXPECT_TRUE(retry->isDisappearing());
    EXPECT_TRUE(screen->actions().empty()) << "Escape is No";
    settle(retry);
    EXPECT_FALSE(retry->isEnabled());
    pressKey(KEY_ENTER);
    EXPECT_TRUE(screen->actions().empty()) << "a gone panel has unbound its keys";
}

TEST_F(ConfirmPanels, RightAltHoldsEnterBackToo) {
    showAndSettle(screen->confirmMenu);
    in::injectKey(KEY_RIGHT_ALT, true);
    pressKey(KEY_ENTER);
    in::injectKey(KEY_RIGHT_ALT, false);
    frame(0.0f);
    EXPECT_TRUE(screen->confirmMenu->isComplete());
    EXPECT_TRUE(screen->actions().empty());
}

}  // namespace
