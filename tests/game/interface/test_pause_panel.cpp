// The pause panel: the sounds and the music it pauses, and whether hiding it gives them back
// after Menu-No-Continue, Menu-Yes and Restart-Yes; its activity under the confirm panels and
// the options panel.

#include "tests/game/interface/PanelTestSupport.h"

using namespace panel_test;

namespace {

class PausePanel : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        screen->buildPanels();
        showAndSettle(screen->pause);
    }
    size_t resumes() const { return sound->count("resumeAll") + sound->count("resumeMusic"); }
};

TEST_F(PausePanel, EnablingPausesTheMusicAndEverySound) {
    EXPECT_EQ(sound->count("pauseMusic"), 1u);
    EXPECT_EQ(sound->count("pauseAll"), 1u);
    EXPECT_TRUE(screen->pause->isActive());
    EXPECT_FALSE(screen->status->isActive());
    EXPECT_TRUE(getLogic()->isPaused());
}

TEST_F(PausePanel, MenuNoContinueResumesWhenThePanelHasGone) {
    cPanelEsc* pause = screen->pause;
    ASSERT_TRUE(click(pause->getMenuButton()));
    EXPECT_TRUE(screen->confirmMenu->isAppearing());
    EXPECT_FALSE(pause->willResumeSounds());
    settle(screen->confirmMenu);
    EXPECT_FALSE(pause->isActive()) << "under the confirm panel";
    EXPECT_FALSE(click(pause->getContinueButton()));
    ASSERT_TRUE(click(screen->confirmMenu->getNoButton()));
    settle(screen->confirmMenu);
    frame();
    EXPECT_TRUE(pause->isActive()) << "the confirm panel has gone";
    ASSERT_TRUE(click(pause->getContinueButton()));
    EXPECT_TRUE(pause->willResumeSounds());
    while (!pause->isComplete()) {
        EXPECT_EQ(resumes(), 0u) << "the sounds come back with the end of the slide-out";
        frame();
    }
    EXPECT_EQ(sound->count("resumeAll"), 1u);
    EXPECT_EQ(sound->count("resumeMusic"), 1u);
    EXPECT_FALSE(getLogic()->isPaused());
    EXPECT_TRUE(screen->status->isActive());
    EXPECT_TRUE(screen->actions().empty());
}

TEST_F(PausePanel, MenuYesLeavesTheSoundsPaused) {
    ASSERT_TRUE(click(screen->pause->getMenuButton()));
    settle(screen->confirmMenu);
    ASSERT_TRUE(click(screen->confirmMenu->getYesButton()));
    EXPECT_EQ(screen->actions(), std::vector<std::string>{"exitToMenu(false)"});
    EXPECT_TRUE(screen->pause->isDisappearing());
    settle(screen->pause);
    settle(screen->confirmMenu);
    EXPECT_FALSE(screen->pause->isVisible());
    EXPECT_EQ(resumes(), 0u);
}

TEST_F(PausePanel, RestartYesResumesTheSounds) {
    ASSERT_TRUE(click(screen->pause->getRestartButton()));
    EXPECT_TRUE(screen->pause->willResumeSounds());
    settle(screen->confirmTry);
    ASSERT_TRUE(click(screen->confirmTry->getYesButton()));
    EXPECT_EQ(screen->actions(), std::vector<std::string>{"restartLevel(-1)"});
    settle(screen->pause);
    EXPECT_EQ(sound->count("resumeAll"), 1u);
    EXPECT_EQ(sound->count("resumeMusic"), 1u);
}

TEST_F(PausePanel, TheOptionsPanelKeepsItAsItIs) {
    ASSERT_TRUE(click(screen->pause->getOptionsButton()));
    EXPECT_EQ(screen->actions(), std::vector<std::string>{"showOptionsPanel"});
    EXPECT_TRUE(screen->pause->isComplete()) << "the pause panel stays";
    screen->optionsVisible = true;
    screen->pause->deactivateAll();   // the root object deactivates the state under its panels
    frames(3);
    EXPECT_FALSE(screen->pause->isActive());
    screen->optionsVisible = false;
    frame();
    EXPECT_TRUE(screen->pause->isActive());
    screen->confirmExitVisible = true;
    screen->pause->deactivateAll();
    frames(3);
    EXPECT_FALSE(screen->pause->isActive());
}

}  // namespace
