// The panel base on the test clock: when the panel starts to move, where it arrives, what its
// flags do to the game behind it (paused logic, dimmed level, inactive status panel) and for
// how long, keys while it slides, and a slide-out that starts mid slide-in.

#include "game/effects/EffectSupport.h"
#include "tests/game/interface/PanelTestSupport.h"

using namespace panel_test;

namespace {

// The slide protocol as every derived panel runs it: built parked at the hidden point, the
// slide-in prepared from where it is when enabled, Enter counted while active.
class TestPanel : public cPanel {
public:
    int enterCount = 0;
    TestPanel(cSceneNode* parent, cPanelOwner* owner, bool flags) : cPanel(parent, owner) {
        m_modal = m_dim_level = m_freeze_time = flags;
        loadConfig(effectIni(panel_files::kConfirmMenu), L"COMMON");
        setSlidePoints();
        prepareSlideInFromHidden();
        parkHidden();
    }
    void onEnable() override {
        prepareSlideInFromHere();
        bindInput(kEnterPressed, &TestPanel::onEnter, this);
        cCompositePicture::onEnable();
    }
    void onDisable() override {
        unbindInput(kEnterPressed, &TestPanel::onEnter, this);
        cCompositePicture::onDisable();
    }
    static void onEnter(void* object) {
        auto* panel = static_cast<TestPanel*>(object);
        if (panel->isActive()) ++panel->enterCount;
    }
    void close() {
        prepareSlideOut();
        hide(true);
    }
};

constexpr float kDt = 1.0f / 60.0f;
const cVector2 kShown(400.0f, 300.0f), kBackgroundShown(404.0f, 306.0f);

class PanelBase : public PanelTest {
protected:
    TestPanel* panel = nullptr;
    cPanel* status = nullptr;

    void SetUp() override {
        PanelTest::SetUp();
        status = new cPanel(screen, nullptr);
        static_cast<cSceneNode*>(status)->show();
        static_cast<cSceneNode*>(status)->enable();
        screen->statusStandIn = status;
    }
    void make(bool flags) { panel = new TestPanel(screen, screen, flags); }
    bool paused() const { return getLogic()->isPaused(); }
};

TEST_F(PanelBase, BuiltHiddenAndParkedAboveTheScreen) {
    make(true);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(panel->isEnabled());
    EXPECT_TRUE(panel->isComplete());
    EXPECT_FALSE(panel->isFinished());
    EXPECT_EQ(panel->getPosition(), cVector2(400.0f, -250.0f));
    EXPECT_EQ(panel->getBackground()->getPosition(), cVector2(404.0f, -250.0f));
    EXPECT_EQ(panel->getShownPosition(), kShown);
}

TEST_F(PanelBase, ThePanelMovesFromTheFrameInWhichTheBackgroundParameterPassesThree) {
    make(true);
    panel->show(true);
    EXPECT_EQ(sound->events, std::vector<std::string>{"play:sounds/game_interface/panel_appear.ogg"});
    const double rate = (9.42 - 0.9) / 0.7;
    int firstMoving = 0;
    for (int k = 1; k <= 30 && !firstMoving; ++k) {
        frame(kDt);
        EXPECT_TRUE(panel->isVisible());
        EXPECT_NE(panel->getBackground()->getPosition().y, -250.0f) << "frame " << k;
        if (0.9 + k * double(kDt) * rate > 3.0) {
            EXPECT_GT(panel->getPosition().y, -250.0f) << "frame " << k;
            firstMoving = k;
        } else {
            EXPECT_EQ(panel->getPosition().y, -250.0f) << "frame " << k;
        }
    }
    EXPECT_EQ(firstMoving, 11);   // 0.9 + 11/60 * 12.17 = 3.13
}

TEST_F(PanelBase, ArrivesOnItsShownPointsAtRestAndActive) {
    make(true);
    panel->show(false);
    EXPECT_TRUE(sound->events.empty());
    int n = 0;
    while (!panel->isComplete() && n < 200) {
        frame(kDt);
        ++n;
        if (!panel->isComplete()) {
            EXPECT_FALSE(panel->isActive()) << "frame " << n;
        }
    }
    // About 0.17 s behind the background, then 0.7 s of its own motion.
    EXPECT_GE(n * kDt, 0.85f);
    EXPECT_LE(n * kDt, 0.92f);
    EXPECT_EQ(panel->getPosition(), kShown);
    EXPECT_EQ(panel->getBackground()->getPosition(), kBackgroundShown);
    EXPECT_TRUE(panel->isActive());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->isEnabled());
    EXPECT_FALSE(panel->isFinished());
}

TEST_F(PanelBase, KeysAreInertWhileSlidingAndLiveAtRest) {
    make(true);
    panel->show(true);
    frames(5);
    pressKey(KEY_ENTER);
    EXPECT_EQ(panel->enterCount, 0);
    settle(panel);
    pressKey(KEY_ENTER);
    EXPECT_EQ(panel->enterCount, 1);
    panel->close();
    frame();
    pressKey(KEY_ENTER);
    EXPECT_EQ(panel->enterCount, 1);
}

TEST_F(PanelBase, GameTimeDimmingAndTheStatusPanelFollowTheSlides) {
    make(true);
    panel->show(true);
    EXPECT_EQ(screen->dims, std::vector<bool>{true});
    EXPECT_FALSE(paused()) << "the freeze begins with the first step";
    frame();
    EXPECT_TRUE(paused());
    EXPECT_EQ(services.getGameDelta(), 0.0f);
    EXPECT_FALSE(status->isActive());
    settle(panel);
    frames(10);
    EXPECT_TRUE(paused());
    EXPECT_FALSE(status->isActive());

    panel->close();
    EXPECT_EQ(screen->dims, (std::vector<bool>{true, false})) << "the dimming lifts at once";
    EXPECT_EQ(sound->events.back(), "play:sounds/game_interface/panel_disappear.ogg");
    frame();
    EXPECT_TRUE(paused());
    EXPECT_FALSE(status->isActive());
    settle(panel);
    EXPECT_FALSE(paused());
    EXPECT_TRUE(status->isActive());
    EXPECT_TRUE(panel->isFinished());
    EXPECT_TRUE(panel->isComplete());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(panel->isEnabled());
    EXPECT_TRUE(panel->isActive());
    EXPECT_EQ(panel->getPosition(), cVector2(400.0f, -250.0f));
    EXPECT_EQ(panel->getBackground()->getPosition(), cVector2(404.0f, -250.0f));
}

TEST_F(PanelBase, APanelWithItsFlagsOffLeavesTheGameAlone) {
    make(false);
    panel->show(true);
    for (int i = 0; i < 80 && !panel->isComplete(); ++i) {
        frame();
        EXPECT_FALSE(paused());
        EXPECT_TRUE(status->isActive());
    }
    panel->close();
    settle(panel);
    EXPECT_TRUE(screen->dims.empty());
    EXPECT_FALSE(paused());
    EXPECT_TRUE(status->isActive());
    EXPECT_TRUE(panel->isFinished());
}

TEST_F(PanelBase, HideDuringTheSlideInLeavesFromWhereThePanelIs) {
    make(true);
    panel->show(true);
    frames(20);
    ASSERT_FALSE(panel->isComplete());
    const cVector2 from = panel->getPosition();
    ASSERT_GT(from.y, -250.0f);
    panel->close();
    EXPECT_TRUE(panel->isDisappearing());
    frame();
    EXPECT_LT(panel->getPosition().y, from.y);
    EXPECT_EQ(panel->getPosition().x, 400.0f);
    settle(panel);
    EXPECT_TRUE(panel->isFinished());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(paused());
    EXPECT_EQ(panel->getPosition(), cVector2(400.0f, -250.0f));
    // Shown again, it slides in once more and clears the finished flag on arrival.
    panel->show(true);
    settle(panel);
    EXPECT_FALSE(panel->isFinished());
    EXPECT_EQ(panel->getPosition(), kShown);
}

TEST_F(PanelBase, ShowingAShownPanelCompletesInTheNextFrame) {
    make(true);
    panel->show(true);
    settle(panel);
    panel->show(true);
    EXPECT_FALSE(panel->isComplete());
    frame();
    EXPECT_TRUE(panel->isComplete());
    EXPECT_EQ(panel->getPosition(), kShown);
    EXPECT_EQ(sound->count("play:sounds/game_interface/panel_appear.ogg"), 2u);
}

}  // namespace
