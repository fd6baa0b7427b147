// The status panel and the progress bar: the score track (its steps, jumps and drops), the swap
// of the goal and expert marks (also during a swap), the clock's length, pulses and tick, the
// frozen clock, the bar's fractions, the blinker and its sparkles, the slide-in cascade and
// the slide-out, the pause button's conditions, and track files that the steps cannot follow.

#include <cmath>

#include "game/effects/cFxSparkle.h"
#include "tests/game/interface/PanelTestSupport.h"

using namespace panel_test;

namespace {

class StatusPanel : public PanelTest {
protected:
    cPanelStatus* make() {
        screen->status = new cPanelStatus(screen, screen);
        return screen->status;
    }
    cPanelStatus* makeShown() {
        cPanelStatus* status = make();
        status->show(false);
        settle(status);
        return status;
    }
    // Frames until the score picture's track motion has ended.
    void settleTrack(cPanelStatus* status) {
        frame();
        for (int i = 0; i < 100 && status->isTrackMoving(); ++i) frame();
    }
};

TEST_F(StatusPanel, TrackStepsFromTheOffsets) {
    cPanelStatus* status = make();   // off_goal -20,10 and off_expert -10,5; goals 1000 and 2000
    const auto& points = status->getTrackPoints();
    const auto& thresholds = status->getTrackThresholds();
    ASSERT_EQ(points.size(), 16u);
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(thresholds[i], uint32_t(100 * i)) << i;
        EXPECT_NEAR(points[i].x, 200.0f + 2.0f * i, 1e-4f) << i;
        EXPECT_NEAR(points[i].y, 200.0f - i, 1e-4f) << i;
    }
    for (int j = 1; j <= 5; ++j) {
        EXPECT_EQ(thresholds[10 + j], uint32_t(1000 + 200 * j)) << j;
        EXPECT_NEAR(points[10 + j].x, 220.0f + 2.0f * j, 1e-4f) << j;
        EXPECT_NEAR(points[10 + j].y, 190.0f - j, 1e-4f) << j;
    }
    EXPECT_EQ(status->getClock()->getLayer0Length(), 150.0f);   // 120 + 120 / 4
    EXPECT_EQ(cStringW(status->getLevelText()->getString()).toNarrow(), "5");
    EXPECT_EQ(cStringW(status->getGoalText()->getString()).toNarrow(), "1000");
}

TEST_F(StatusPanel, ScoreJumpsAndDropsMoveOneMotionToTheHighestStepReached) {
    cPanelStatus* status = makeShown();
    const auto points = status->getTrackPoints();
    struct Step {
        uint32_t score, step;
    };
    const Step steps[] = {{550, 5}, {599, 5}, {2500, 15}, {350, 3}, {99, 0}, {1000, 10}, {1999, 14}};
    for (const Step& s : steps) {
        screen->score = s.score;
        frame();
        EXPECT_EQ(status->getTrackStep(), s.step) << s.score;
        settleTrack(status);
        EXPECT_EQ(status->getScorePicturePosition(), points[s.step]) << s.score;
        EXPECT_EQ(cStringW(status->getScoreText()->getString()).toNarrow(), std::to_string(s.score));
    }
    // A change during a motion is taken up after it.
    screen->score = 200;
    frame();
    EXPECT_EQ(status->getTrackStep(), 2u);
    screen->score = 800;
    frames(3);
    EXPECT_EQ(status->getTrackStep(), 2u);
    EXPECT_TRUE(status->isTrackMoving());
    settleTrack(status);
    frame();
    EXPECT_EQ(status->getTrackStep(), 8u);
}

TEST_F(StatusPanel, MarksSwapOnceAndBackAfterARunningSwap) {
    cPanelStatus* status = makeShown();
    const cVector2 goalShown(170.0f, 190.0f), expertShown(170.0f, 180.0f);
    EXPECT_EQ(status->getGoalMark()->getPosition(), goalShown);
    EXPECT_EQ(status->getExpertMark()->getPosition(), cVector2(-200.0f, 180.0f)) << "the expert mark waits";
    screen->score = 1000;
    frame();
    EXPECT_TRUE(status->isGoalReached());
    EXPECT_TRUE(status->areMarksMoving());
    screen->score = 900;   // falls back during the swap
    frames(5);
    EXPECT_TRUE(status->isGoalReached()) << "taken up after the swap";
    for (int i = 0; i < 100 && status->areMarksMoving(); ++i) frame();
    // The swap ended on its targets; the next frame starts the swap back.
    EXPECT_TRUE(status->isGoalReached());
    frame();
    EXPECT_FALSE(status->isGoalReached());
    EXPECT_TRUE(status->areMarksMoving());
    for (int i = 0; i < 100 && status->areMarksMoving(); ++i) frame();
    EXPECT_EQ(status->getGoalMark()->getPosition(), goalShown);
    EXPECT_EQ(status->getExpertMark()->getPosition(), cVector2(-200.0f, 180.0f));
    screen->score = 5000;
    for (int i = 0; i < 100 && (status->areMarksMoving() || i == 0); ++i) frame();
    EXPECT_EQ(status->getGoalMark()->getPosition(), cVector2(-200.0f, 190.0f));
    EXPECT_EQ(status->getExpertMark()->getPosition(), expertShown);
}

TEST_F(StatusPanel, TheClockPulsesTenTimesWithOneTickOnItsLastFrame) {
    screen->levelTime = 4.0f;   // four frames: 5 s in all, the last frame from 3.75 s
    cPanelStatus* status = makeShown();
    cCompositePicture* clock = status->getClock();
    EXPECT_EQ(clock->getLayer0Length(), 5.0f);
    int lows = 0;
    bool wasLow = false;
    float lastFrameAt = -1.0f;
    for (int i = 0; i < 60 * 8; ++i) {
        frame();
        if (lastFrameAt < 0.0f && clock->getLayer0Frame() == 4) lastFrameAt = clock->getLayer0Time();
        if (lastFrameAt < 0.0f) {
            EXPECT_EQ(clock->getScale(), cVector2(1.0f, 1.0f)) << i;
        }
        const bool low = clock->getScale().x < 1.0f;
        lows += low && !wasLow;
        wasLow = low;
        EXPECT_GE(clock->getScale().x, 0.9f);
        EXPECT_LE(clock->getScale().x, 1.1f);
    }
    EXPECT_GE(lastFrameAt, 3.75f);
    EXPECT_LE(lastFrameAt, 3.77f);
    EXPECT_EQ(lows, 10);
    EXPECT_EQ(status->getPulsesLeft(), 0);
    EXPECT_EQ(clock->getScale(), cVector2(1.0f, 1.0f));
    EXPECT_EQ(sound->count("play:sounds/game_interface/clock.ogg"), 1u);
}

TEST_F(StatusPanel, AFrozenClockStandsAndFinishClockJumpsToTheEnd) {
    screen->levelTime = 4.0f;
    cPanelStatus* status = makeShown();
    frames(30);
    const float time = status->getClock()->getLayer0Time();
    EXPECT_GT(time, 0.0f);
    status->setClockFrozen(true);
    frames(30);
    EXPECT_EQ(status->getClock()->getLayer0Time(), time);
    status->finishClock();
    EXPECT_EQ(status->getClock()->getLayer0Frame(), 4u);
    frames(30);
    EXPECT_EQ(status->getPulsesLeft(), 10) << "no pulse while frozen";
    EXPECT_EQ(sound->count("play:sounds/game_interface/clock.ogg"), 0u);
    status->setClockFrozen(false);
    frames(30);
    EXPECT_LT(status->getPulsesLeft(), 10);
    // Game time paused: the clock stands too.
    getLogic()->setPaused(true);
    const int pulses = status->getPulsesLeft();
    const cVector2 scale = status->getClock()->getScale();
    frames(30);
    EXPECT_EQ(status->getPulsesLeft(), pulses);
    EXPECT_EQ(status->getClock()->getScale(), scale);
    getLogic()->setPaused(false);
}

TEST_F(StatusPanel, BarFractions) {
    TestBonuses* bonuses = makeBar();
    cPanelStatus* status = makeShown();
    cPicture* fill = status->getBonusBar()->getFill();
    struct Case {
        float fill;
        bool shown;
        float width;
    };
    const Case cases[] = {{0.0f, false, 0}, {0.5f, true, 50.0f}, {0.25f, true, 25.0f}, {1.0f, true, 100.0f},
                          {1.5f, true, 100.0f}, {-0.5f, false, 0}, {std::nanf(""), false, 0}};
    for (const Case& c : cases) {
        bonuses->fill = c.fill;
        frame();
        EXPECT_EQ(fill->isVisible(), c.shown) << c.fill;
        if (c.shown) {
            EXPECT_EQ(fill->getLayer0TextureRect().right, c.width) << c.fill;
            EXPECT_EQ(fill->getLayer0TextureRect().bottom, 20.0f);
            EXPECT_EQ(fill->getLayer0TextureRect().left, 0.0f);
        }
    }
}

TEST_F(StatusPanel, TheBlinkerAndItsSparklesFollowBonusMode) {
    TestBonuses* bonuses = makeBar();
    cPanelStatus* status = makeShown();
    screen->levelNode = new cSceneNode(screen);
    EXPECT_FALSE(status->getBlinker()->isVisible());
    bonuses->mode = true;
    frame(0.05f);
    EXPECT_TRUE(status->getBlinker()->isVisible());
    EXPECT_FLOAT_EQ(status->getBlinkerAlpha(), 100.0f);   // 2000 a second
    frame(0.1f);
    EXPECT_EQ(status->getBlinkerAlpha(), 255.0f);
    frame(0.1f);
    EXPECT_EQ(status->getBlinkerAlpha(), 255.0f) << "held 0.3 s";
    EXPECT_GT(cEffectRegistry<cFxSparkle>::count(), 0u);
    for (auto& [serial, node] : cEffectRegistry<cFxSparkle>::instances()) EXPECT_EQ(node->getParent(), screen->levelNode);

    bonuses->mode = false;
    frame();
    EXPECT_FALSE(status->getBlinker()->isVisible());
    EXPECT_EQ(status->getBlinkerAlpha(), 0.0f);
    clearSparkles();
    setFullEffects(false);
    bonuses->mode = true;
    frames(5);
    EXPECT_EQ(cEffectRegistry<cFxSparkle>::count(), 0u);
}

TEST_F(StatusPanel, SlidesInAsACascadeAndOutAt1500PixelsASecond) {
    cPanelStatus* status = make();
    EXPECT_EQ(status->getClock()->getPosition(), cVector2(-200.0f, 40.0f));
    EXPECT_EQ(status->getPauseButton()->getPosition(), cVector2(1100.0f, 560.0f));
    EXPECT_EQ(status->getBonusBar()->getPosition(), cVector2(400.0f, 700.0f));
    EXPECT_EQ(status->getScoreCaption()->getPosition(), cVector2(-50.0f, 240.0f));
    status->show(false);
    EXPECT_EQ(screen->dims, std::vector<bool>{true});
    frame();
    EXPECT_NE(status->getBonusBar()->getPosition().y, 700.0f) << "the bar leads";
    EXPECT_EQ(status->getClock()->getPosition().x, -200.0f);
    EXPECT_FALSE(getLogic()->isPaused()) << "the status panel does not stop the game";
    int clockFrame = 0, scoreFrame = 0;
    for (int i = 2; i < 200 && !status->isComplete(); ++i) {
        frame();
        if (!status->isComplete()) {
            EXPECT_FALSE(status->isActive());
        }
        if (!clockFrame && status->getClock()->getPosition().x != -200.0f) clockFrame = i;
        if (!scoreFrame && status->getScorePicture()->getPosition().x != -50.0f) scoreFrame = i;
        if (scoreFrame) {
            EXPECT_EQ(status->getScoreCaption()->getPosition().x, status->getScorePicture()->getPosition().x);
        }
    }
    EXPECT_EQ(clockFrame, 11);   // the bar's parameter passes 3.0
    EXPECT_GT(scoreFrame, clockFrame);
    EXPECT_TRUE(status->isActive());
    EXPECT_FALSE(status->isFinished());
    EXPECT_EQ(status->getClock()->getPosition(), cVector2(60.0f, 40.0f));
    EXPECT_EQ(status->getScorePicture()->getPosition(), cVector2(200.0f, 200.0f));
    EXPECT_EQ(status->getLevelPicture()->getPosition(), cVector2(700.0f, 40.0f));
    EXPECT_EQ(status->getPauseButton()->getPosition(), cVector2(760.0f, 560.0f));
    EXPECT_EQ(status->getExpertMark()->getPosition(), cVector2(-200.0f, 180.0f));
    EXPECT_EQ(status->getScoreCaption()->getPosition(), cVector2(200.0f, 240.0f));
    EXPECT_FALSE(getLogic()->isPaused());

    status->hide(false);
    frame(0.02f);
    EXPECT_TRUE(getLogic()->isPaused());
    EXPECT_FLOAT_EQ(status->getClock()->getPosition().y, 10.0f);
    EXPECT_FLOAT_EQ(status->getPauseButton()->getPosition().y, 590.0f);
    EXPECT_FLOAT_EQ(status->getBlinker()->getPosition().y, 590.0f);
    int n = 1;
    for (; n < 100 && !status->isComplete(); ++n) frame(0.02f);
    EXPECT_EQ(n, 10);   // 40 + 250 pixels at 30 a frame
    EXPECT_TRUE(status->isFinished());
    EXPECT_FALSE(status->isVisible());
    EXPECT_FALSE(getLogic()->isPaused());
}

TEST_F(StatusPanel, ThePauseButtonObeysEscapesConditions) {
    screen->buildPanels();
    cPanelStatus* status = screen->status;
    // The level start: the status panel arrives while the level-start panel slides in.
    screen->start->show(true);
    status->show(false);
    for (int i = 0; i < 200 && !status->isComplete(); ++i) frame();
    ASSERT_TRUE(status->isComplete());
    ASSERT_TRUE(status->isActive()) << "the status panel's own slide ends active";
    EXPECT_TRUE(click(status->getPauseButton()));
    EXPECT_FALSE(screen->pause->isAppearing()) << "not under the level-start panel";
    settle(screen->start);
    ASSERT_TRUE(click(screen->start->getButton()));
    settle(screen->start);
    ASSERT_FALSE(getLogic()->isPaused());

    screen->fading = true;
    EXPECT_TRUE(click(status->getPauseButton()));
    EXPECT_FALSE(screen->pause->isAppearing()) << "not during a fade";
    screen->fading = false;

    showAndSettle(screen->results);
    screen->results->hide();
    frame();
    EXPECT_FALSE(status->isActive());
    status->activateAll();
    EXPECT_TRUE(click(status->getPauseButton()));
    EXPECT_FALSE(screen->pause->isAppearing()) << "not while the results panel is on screen";
    settle(screen->results);

    sound->events.clear();
    EXPECT_TRUE(click(status->getPauseButton()));
    EXPECT_TRUE(screen->pause->isAppearing());
    EXPECT_EQ(sound->count("play:sounds/game_interface/panel_appear.ogg"), 1u);
    frame();
    EXPECT_FALSE(status->isActive()) << "the pause panel is modal";
}

TEST_F(StatusPanel, TrackOffsetsBelowOneStepAndAnExpertGoalBelowTheGoal) {
    replaceIni(panel_files::kStatus, statusIni("-20,0", "-10,0.5", 0));
    screen->goal = 1000;
    screen->expertGoal = 500;
    cPanelStatus* status = make();
    const auto& points = status->getTrackPoints();
    ASSERT_EQ(points.size(), 3u) << "one step each, to the full offset";
    EXPECT_EQ(points[1], cVector2(220.0f, 200.0f));
    EXPECT_EQ(points[2], cVector2(230.0f, 199.5f));
    EXPECT_EQ(status->getTrackThresholds(), (std::vector<uint32_t>{0, 1000, 1000}));
    EXPECT_EQ(status->getClock()->getLayer0Length(), 240.0f) << "a clock without frames counts one";
    status->show(false);
    settle(status);
    screen->score = 1000;
    frame();
    EXPECT_EQ(status->getTrackStep(), 2u);
    frames(120);

    TearDown();
    SetUp();
    replaceIni(panel_files::kStatus, statusIni("-20,1e12", "nan,-3"));
    EXPECT_EQ(make()->getTrackPoints().size(), size_t(cPanelStatus::kMaxTrackSteps) + 2);
}

// Goals smaller than the number of steps, and goals whose product with a step count passes 32
// bits, still spread over the whole track: the last goal step is the goal itself, and the
// marker stands on the goal point exactly when the score reaches the goal.
TEST_F(StatusPanel, EveryGoalSpreadsOverTheTrackUpToTheGoalPoint) {
    const uint32_t goals[] = {100, 150, 1000, 60000, 4000000000u};
    for (uint32_t goal : goals) {
        TearDown();
        SetUp();
        replaceIni(panel_files::kStatus, statusIni("0,200", "0,40"));
        screen->goal = goal;
        screen->expertGoal = goal == 4000000000u ? 4200000000u : goal * 2;
        cPanelStatus* status = makeShown();
        const auto thresholds = status->getTrackThresholds();
        const auto points = status->getTrackPoints();
        ASSERT_EQ(thresholds.size(), 241u) << goal;
        for (size_t i = 1; i < thresholds.size(); ++i) {
            ASSERT_LE(thresholds[i - 1], thresholds[i]) << goal << " step " << i;
            // Each goal step lies within one score unit of the straight line to the goal.
            const uint64_t exact = uint64_t(i <= 200 ? goal : screen->expertGoal - goal) *
                                   (i <= 200 ? i : i - 200) / (i <= 200 ? 200 : 40);
            ASSERT_EQ(thresholds[i], (i <= 200 ? 0u : goal) + exact) << goal << " step " << i;
        }
        EXPECT_GT(thresholds[100], 0u) << goal;
        EXPECT_EQ(thresholds[200], goal);
        EXPECT_EQ(thresholds[240], screen->expertGoal);

        screen->score = goal - 1;
        settleTrack(status);
        EXPECT_LT(status->getTrackStep(), 200u) << goal;
        EXPECT_GT(status->getTrackStep(), 190u) << goal;
        screen->score = goal;
        settleTrack(status);
        EXPECT_EQ(status->getTrackStep(), 200u) << goal;
        EXPECT_EQ(status->getScorePicturePosition(), points[200]) << goal;
        EXPECT_EQ(points[200], cVector2(200.0f, 0.0f)) << "200 pixels up from the start";
    }
}

TEST(ProgressBar, LoadsItsFillAndStartsEmpty) {
    FakeServices services;
    cSceneServices* previous = setSceneServices(&services);
    {
        cIniFile ini;
        ini.addEntry(L"BAR", L"position", L"10,10");
        ini.addEntry(L"BAR_PROGRESS", L"size", L"80,12");
        ini.addEntry(L"BAR_PROGRESS", L"centered", L"0");
        cProgressBar bar;
        bar.loadFromIni(ini, L"BAR");
        EXPECT_EQ(bar.getFullSize(), cVector2(80.0f, 12.0f));
        EXPECT_FALSE(bar.getFill()->isOwnVisible());
        bar.setFraction(0.5f);
        EXPECT_EQ(bar.getFill()->getLayer0TextureRect().right, 40.0f);
        EXPECT_TRUE(bar.getFill()->isOwnVisible());
    }
    updateTopLevelNodes(nullptr);
    setSceneServices(previous);
}

}  // namespace
