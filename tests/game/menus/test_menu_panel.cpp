// The menu panel's slides: timing of the slide-in (overlay first, the panel from the overlay's
// parameter 3.0 on) and of the slide-out, the states at their ends, restarts from either
// slide, and interface time (a paused game clock does not stop them).
#include <gtest/gtest.h>

#include <cmath>

#include "engine/app/cLogic.h"
#include "game/menus/cMenuPanel.h"
#include "game/menus/cScreenExit.h"
#include "tests/game/menus/test_menus_fixture.h"

using menus_test::kFrame;
using menus_test::MenuFixture;

namespace {

class MenuPanelTest : public MenuFixture {
protected:
    void SetUp() override {
        MenuFixture::SetUp();
        groups->loadMenu();
        root.reset(new cSceneNode(nullptr));
        root->show();
        root->enable();
        panel = new cMenuPanel(root.get());
        panel->loadFromIni(*getResourceManager()->getIni(cScreenExit::kConfig), L"PANEL");
    }
    void TearDown() override {
        root.reset();
        MenuFixture::TearDown();
    }
    // Frames until the slide has ended; the seconds it took.
    float slideSeconds() {
        int n = 0;
        while (!panel->isComplete() && n < 200) {
            frame();
            ++n;
        }
        return n * kFrame;
    }

    std::unique_ptr<cSceneNode> root;
    cMenuPanel* panel = nullptr;
};

}  // namespace

TEST_F(MenuPanelTest, SlidesInWithTheOverlayLeadingAndOutTogether) {
    EXPECT_TRUE(panel->isComplete());  // idle before the first slide
    EXPECT_FALSE(panel->isFinished());
    const cVector2 shown = panel->getShownPosition();
    EXPECT_EQ(panel->getHiddenPosition().y, cMenuPanel::kHiddenY);
    EXPECT_EQ(panel->getHiddenPosition().x, shown.x);
    struct Case {
        bool paused;  // the game clock is stopped: the slides run on interface time
    };
    for (Case c : {Case{false}, Case{true}}) {
        getLogic()->setPaused(c.paused);
        panel->show();
        EXPECT_EQ(panel->getPosition().y, cMenuPanel::kHiddenY);
        // The overlay leaves first; the panel waits until the overlay's parameter passes 3.0
        // (about 0.17 s).
        frames(5);
        EXPECT_FALSE(panel->isActive()) << c.paused;
        EXPECT_EQ(panel->getPosition().y, cMenuPanel::kHiddenY) << c.paused;
        EXPECT_GT(panel->getOverlay()->getPosition().y, cMenuPanel::kHiddenY) << c.paused;
        const float in = 5 * kFrame + slideSeconds();
        EXPECT_NEAR(in, 0.87f, 0.04f) << c.paused;
        EXPECT_TRUE(panel->isVisible() && panel->isEnabled() && panel->isActive()) << c.paused;
        EXPECT_FALSE(panel->isFinished()) << c.paused;
        EXPECT_EQ(panel->getPosition(), shown) << c.paused;
        EXPECT_EQ(panel->getOverlay()->getPosition(), panel->getOverlayShownPosition()) << c.paused;

        panel->hide();
        EXPECT_NEAR(slideSeconds(), 0.3f, 0.04f) << c.paused;
        EXPECT_FALSE(panel->isVisible() || panel->isEnabled() || panel->isActive()) << c.paused;
        EXPECT_TRUE(panel->isFinished()) << c.paused;
        EXPECT_EQ(panel->getPosition(), panel->getHiddenPosition()) << c.paused;
        EXPECT_EQ(panel->getOverlay()->getPosition().y, cMenuPanel::kHiddenY) << c.paused;
    }
    getLogic()->setPaused(false);
}

TEST_F(MenuPanelTest, ShowAndHideRestartFromAnyState) {
    // A hide of a panel never shown slides it up from where it stands and ends finished.
    panel->hide();
    frames(2);
    EXPECT_LT(panel->getPosition().y, panel->getShownPosition().y);
    slideSeconds();
    EXPECT_TRUE(panel->isFinished());
    EXPECT_FALSE(panel->isVisible());
    // A slide-in during a slide-out jumps to the hidden point and drops in again.
    panel->show();
    slideSeconds();
    panel->hide();
    frames(5);
    panel->show();
    EXPECT_EQ(panel->getPosition().y, cMenuPanel::kHiddenY);
    EXPECT_NEAR(slideSeconds(), 0.87f, 0.04f);
    EXPECT_FALSE(panel->isFinished());
    // A slide-out during a slide-in turns round from where the panel is.
    panel->show();
    frames(30);
    const float y = panel->getPosition().y;
    panel->hide();
    frame();
    EXPECT_LT(panel->getPosition().y, y);
    slideSeconds();
    EXPECT_TRUE(panel->isFinished());
    // A second show in a row restarts the slide-in from the hidden point.
    panel->show();
    frames(20);
    panel->show();
    EXPECT_EQ(panel->getPosition().y, cMenuPanel::kHiddenY);
}
