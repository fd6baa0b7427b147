// The quit question (cConfirmExitPanel): the pauses it saves, sets and gives back, Yes, keys,
// one answer per opening, and the pause of a state that replaced the one it was shown over.
#include "game/flow/cLevel.h"
#include "game/menus/cConfirmExitPanel.h"
#include "game/minigame/cMiniGame.h"
#include "tests/game/flow/test_game_fixture.h"
#include "tests/game/menus/test_dialogs_fixture.h"

namespace {

using namespace menus_test;

class ConfirmExitTest : public DialogFixture {
protected:
    void TearDown() override {
        delete confirm;
        DialogFixture::TearDown();
    }
    void build() { confirm = new cConfirmExitPanel(root.get()); }
    bool open() {
        confirm->show(true);
        return framesUntil([&] { return confirm->isActive() && confirm->isComplete() && confirm->isVisible(); });
    }
    bool gone() {
        return framesUntil([&] { return !confirm->isVisible(); });
    }
    cConfirmExitPanel* confirm = nullptr;
};

TEST_F(ConfirmExitTest, NoGivesEveryPauseBackDimAndMiniGameAtTheClickLogicAfterTheSlide) {
    build();
    EXPECT_FALSE(confirm->isVisible());
    EXPECT_FALSE(confirm->isEnabled());
    for (int bits = 0; bits < 8; ++bits) {
        const bool logic = bits & 1, dim = bits & 2, mini = bits & 4;
        const std::string label = "logic " + std::to_string(logic) + " dim " + std::to_string(dim) + " mini game " +
                                  std::to_string(mini);
        cLevel level(root.get());
        cMiniGame miniGame(root.get());
        getLogic()->setPaused(logic);
        level.setDimmed(dim);
        miniGame.setPaused(mini);
        ASSERT_TRUE(open()) << label;
        EXPECT_TRUE(paused()) << label;
        EXPECT_TRUE(level.isDimmed()) << label;
        EXPECT_TRUE(miniGame.isPaused()) << label;
        cConfirmExitPanel::onButtonClick(confirm->getNoButton());
        EXPECT_EQ(level.isDimmed(), dim) << label;
        EXPECT_EQ(miniGame.isPaused(), mini) << label;
        EXPECT_TRUE(paused()) << label;
        frames(5);
        EXPECT_TRUE(paused()) << label;  // still sliding out
        ASSERT_TRUE(gone()) << label;
        EXPECT_EQ(paused(), logic) << label;
        EXPECT_EQ(level.isDimmed(), dim) << label;
        EXPECT_TRUE(confirm->isFinished()) << label;
    }
    // Without a level or a mini game only the logic pause is kept.
    getLogic()->setPaused(false);
    ASSERT_TRUE(open());
    key(KEY_ESCAPE);
    ASSERT_TRUE(gone());
    EXPECT_FALSE(paused());
}

TEST_F(ConfirmExitTest, KeysAnswerOnlyWhenItHasArrivedAndOnce) {
    build();
    try {
        cConfirmExitPanel second(root.get());
        ADD_FAILURE() << "a second question was built";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Object already exist.");
    }
    // During the slide-in Escape and Enter do nothing.
    confirm->show(true);
    frames(2);
    key(KEY_ESCAPE);
    key(KEY_ENTER);
    EXPECT_FALSE(confirm->isClosing());
    EXPECT_FALSE(genv->pump());
    ASSERT_TRUE(framesUntil([&] { return confirm->isActive() && confirm->isComplete(); }));
    // Enter with Alt held is the full-screen toggle, not Yes.
    platform::input::injectKey(KEY_LEFT_ALT, true);
    frame();
    key(KEY_ENTER);
    platform::input::injectKey(KEY_LEFT_ALT, false);
    frame();
    EXPECT_FALSE(confirm->isClosing());
    EXPECT_FALSE(genv->pump());
    frames(30);
    genv->saveFrame("confirm_exit_panel.png");

    // Escape and a click on Yes in one frame: the key is the answer, the program goes on.
    const cVector2 yes = confirm->getYesButton()->getPosition();
    platform::input::injectCursor(yes.x, yes.y);
    frame();
    platform::input::injectButton(0, true);
    frame();
    platform::input::injectKey(KEY_ESCAPE, true);
    platform::input::injectButton(0, false);
    frame();
    platform::input::injectKey(KEY_ESCAPE, false);
    EXPECT_TRUE(confirm->isClosing());
    EXPECT_FALSE(genv->pump());
    ASSERT_TRUE(gone());

    // Yes quits at once, without waiting for the slide-out.
    ASSERT_TRUE(open());
    key(KEY_ENTER);
    EXPECT_TRUE(confirm->isVisible());
    EXPECT_TRUE(genv->pump());
}

// The pause goes back only to the state it was saved in: a state built while the question was
// up does not inherit it.
class ConfirmExitGame : public game_test::GameFixture {};

TEST_F(ConfirmExitGame, APauseGoesBackOnlyToItsOwnState) {
    makeGame();
    getGameData()->addProfile(L"Ann");
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    cConfirmExitPanel* confirm = getConfirmExitPanel();
    auto answerNo = [&] {
        if (!genv->framesUntil([&] { return confirm->isActive() && confirm->isComplete(); }, 200)) return false;
        cConfirmExitPanel::onButtonClick(confirm->getNoButton());
        return genv->framesUntil([&] { return !confirm->isVisible(); }, 200);
    };
    // The same state: its pause comes back.
    getLogic()->setPaused(true);
    hook(platform::MSG_CLOSE);
    ASSERT_TRUE(answerNo());
    EXPECT_TRUE(getLogic()->isPaused());
    // The menu hands over to the next state under the question: that state's logic runs.
    hook(platform::MSG_CLOSE);
    genv->frame();
    finishState(MENU_RESULT_PLAY);
    ASSERT_TRUE(genv->framesUntil([&] { return !game->isSwitching() && game->getCurrentState() != APP_STATE_MAIN_MENU; }));
    ASSERT_TRUE(answerNo());
    EXPECT_FALSE(getLogic()->isPaused());
}

}  // namespace
