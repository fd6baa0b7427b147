// Flying scores, combo pictures with their stars, score stars and messages on the test clock.

#include <cmath>

#include "engine/core/cRect.h"
#include "game/effects/cFxFlyScore.h"
#include "game/effects/cFxFlyScorePic.h"
#include "game/effects/cFxMessage.h"
#include "game/effects/cFxScoreSparkle.h"
#include "game/effects/cFxScoreStar.h"
#include "game/effects/cFxSparkle.h"
#include "game/effects/cFxStar.h"
#include "game/effects/cFxTrail.h"
#include "tests/game/effects/EffectTestSupport.h"

using namespace effects_test;

namespace {

#define EXPECT_VEC_NEAR(v, ex, ey)            \
    do {                                      \
        EXPECT_NEAR((v).x, (ex), 1e-3f);      \
        EXPECT_NEAR((v).y, (ey), 1e-3f);      \
    } while (0)

class ScoreEffects : public EffectsTest {
protected:
    void SetUp() override {
        EffectsTest::SetUp();
        makeLevel();
    }
};

// ---- Flying scores ----

TEST_F(ScoreEffects, AFlyingScoreRisesAndFadesAlongItsCurvesWithItsIcon) {
    // Won points: alpha 255 until 1 s, 0 at 2 s; rise 40 units in 2 s.
    cFxFlyScore* score = new cFxFlyScore(level, L"+25", cVector2(100, 300), 2, 0x00FF00, false);
    ASSERT_NE(score->getIcon(), nullptr);
    EXPECT_EQ(score->getIcon()->getPicture(), "Game/Effects/combo_score_delivery.dds");
    EXPECT_FLOAT_EQ(score->getIcon()->getDeep(), 19.9f);
    EXPECT_EQ(score->getVerticalAlign(), TEXT_ALIGN_BOTTOM);
    EXPECT_EQ(score->getLineSpacing(), 20u);
    frame(1.0f);
    EXPECT_EQ(score->getGlyphs().size(), 3u);
    EXPECT_EQ(score->getGlyphs()[0]->getVertexColor(0), 0x00FF00u);
    EXPECT_EQ(score->getGlyphs()[0]->getVertexAlpha(0), 255u);
    EXPECT_VEC_NEAR(score->getPosition(), 100.0f, 280.0f);
    EXPECT_VEC_NEAR(score->getIcon()->getPosition(), 130.0f, 280.0f);
    EXPECT_EQ(score->getIcon()->getVertexAlpha(0), 255u);
    frame(0.5f);
    EXPECT_NEAR(score->getIcon()->getVertexAlpha(0), 127.0, 1.5);
    frame(0.5f);
    EXPECT_TRUE(isPendingDelete(score));

    // Kind 0 has no icon; any kind but 2 and 3 shows the order icon.
    EXPECT_EQ((new cFxFlyScore(level, L"5", cVector2(), 0, 0xFFFFFF, false))->getIcon(), nullptr);
    EXPECT_EQ((new cFxFlyScore(level, L"5", cVector2(), 7, 0xFFFFFF, false))->getIcon()->getPicture(),
              "Game/Effects/combo_score_order.dds");
}

TEST_F(ScoreEffects, AFlyingScoreTransparentAtItsFirstFrameIsDeletedThen) {
    addCurves("Config/Game/fly_score_text.crv", {"0,0", "2,0"}, {"0,0", "2,-40"});
    cFxFlyScore* score = new cFxFlyScore(level, L"+5", cVector2(100, 300), 1, 0xFFFFFF, false);
    frame(0.016f);
    EXPECT_TRUE(isPendingDelete(score));
    flush();
    EXPECT_EQ(live<cFxFlyScore>(), 0u);
}

TEST_F(ScoreEffects, LostPointsUseTheirOwnSectionAndCurves) {
    // Lost: alpha 255 to 0 in 1 s, falling 40 units.
    cFxFlyScore* lost = new cFxFlyScore(level, L"-10", cVector2(100, 300), 0, 0xFF0000, true);
    EXPECT_EQ(lost->getVertexColor(0), 0xFF0000u);
    frame(0.5f);
    EXPECT_VEC_NEAR(lost->getPosition(), 100.0f, 320.0f);
    EXPECT_NEAR(lost->getVertexAlpha(0), 127.0, 1.5);
    frame(0.5f);
    EXPECT_TRUE(isPendingDelete(lost));
}

TEST_F(ScoreEffects, OnlyWonPointsInBonusModeWithFullEffectsSparkle) {
    struct Case {
        const char* name;
        bool bar, mode, lost, full;
        size_t texts, icons;   // after frames of 0.03 s and 0.01 s
    } cases[] = {
        {"bonus mode", true, true, false, true, 1, 2},
        {"lost points", true, true, true, true, 0, 0},
        {"outside bonus mode", true, false, false, true, 0, 0},
        {"no bar", false, false, false, true, 0, 0},
        {"full effects off", true, true, false, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bar) makeBar()->mode = c.mode;
        else bar.reset();
        setFullEffects(c.full);
        new cFxFlyScore(level, L"+5", cVector2(100, 300), 1, 0xFFFFFF, c.lost);
        // Timers are reset to their intervals, not advanced: the text's 0.02 s timer fires
        // once in 0.03 s and not again in the next 0.01 s; the icon's 0.002 s timer fires in
        // both frames.
        frame(0.03f);
        frame(0.01f);
        EXPECT_EQ(live<cFxScoreSparkle>(), c.texts);
        EXPECT_EQ(live<cFxSparkle>(), c.icons);
        clearEffectsAtLevelDestruction();
        flush();
    }
}

// ---- Combo pictures and their stars ----

TEST_F(ScoreEffects, AComboPictureDropsItsStarsFromTheLastOnAfterSixTenthsOfASecond) {
    makeBar();
    cFxFlyScorePic* picture = new cFxFlyScorePic(level, 3, cVector2(400, 300), 3);
    EXPECT_EQ(picture->getPicture(), "Game/Effects/combo.dds");
    EXPECT_EQ(picture->getGlow()->getPicture(), "Game/Effects/combo_glow.dds");
    EXPECT_EQ(picture->getGlow()->getVertexColor(0), 0x000000u);
    ASSERT_EQ(live<cFxStar>(), 3u);
    EXPECT_EQ(picture->getWaitingStar(2)->getParent(), level);   // not the picture's children
    std::vector<int> fallen;   // frame at which each star fell
    fallen.assign(3, -1);
    for (int f = 1; f <= 20; ++f) {
        frame(0.0625f);
        // Until the last star has fallen, the row follows the picture.
        if (picture->getWaitingStar(2)) {
            for (unsigned i = 0; i < 3; ++i) {
                EXPECT_VEC_NEAR(picture->getWaitingStar(i)->getPosition(),
                                picture->getPosition().x - 40.0f + 20.0f * float(i), picture->getPosition().y + 20.0f);
                EXPECT_EQ(picture->getWaitingStar(i)->getVertexAlpha(0), picture->getVertexAlpha(0));
            }
        }
        for (unsigned i = 0; i < 3; ++i)
            if (fallen[i] < 0 && !picture->getWaitingStar(i)) fallen[i] = f;
    }
    // 0.6 s is passed in frame 10 (0.625 s); then one star every 0.25 s (4 frames).
    EXPECT_EQ(fallen[2], 10);
    EXPECT_EQ(fallen[1], 14);
    EXPECT_EQ(fallen[0], 18);
}

TEST_F(ScoreEffects, WaitingStarsStayWhereTheyAreOnceTheLastHasFallen) {
    cFxFlyScorePic* picture = new cFxFlyScorePic(level, 2, cVector2(400, 300), 1);
    for (int f = 0; f < 10; ++f) frame(0.0625f);
    ASSERT_EQ(picture->getWaitingStar(1), nullptr);
    cFxStar* waiting = picture->getWaitingStar(0);
    ASSERT_NE(waiting, nullptr);
    const cVector2 at = waiting->getPosition();
    frame(0.0625f);
    EXPECT_EQ(waiting->getPosition(), at);
    EXPECT_FALSE(waiting->isFlying());
}

TEST_F(ScoreEffects, AComboPictureWithoutStarsDropsNothingAndEndsWithItsCurve) {
    cFxFlyScorePic* picture = new cFxFlyScorePic(level, 0, cVector2(400, 300), 1);
    EXPECT_EQ(picture->getPicture(), "Game/Effects/combo_order.dds");
    for (int f = 0; f < 63; ++f) frame(0.0625f);
    EXPECT_FALSE(isPendingDelete(picture));
    frame(0.0625f);   // 4 s: alpha 0
    EXPECT_TRUE(isPendingDelete(picture));
    EXPECT_EQ(live<cFxStar>(), 0u);
}

TEST_F(ScoreEffects, AStarFliesToTheBarPointOfTheFillAndTheBarTakesItsPointsWhenItGoes) {
    struct Case {
        float fill;
        float endX;
    } cases[] = {{0.0f, 100.0f}, {1.0f, 300.0f}, {0.5f, 200.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fill);
        makeBar()->fill = c.fill;
        bar->commits = 0;
        cFxStar* star = new cFxStar(level);
        star->setPosition(cVector2(c.endX, 200));
        star->drop();
        EXPECT_VEC_NEAR(star->getEnd(), c.endX, 500.0f);
        // Straight down 300 units: the control point lies 150 down and 100 to the right.
        EXPECT_VEC_NEAR(star->getControl(), c.endX + 100.0f, 350.0f);
        frame(1.0f / 6.0f);   // 150 units at 900 per second: halfway along the curve
        EXPECT_VEC_NEAR(star->getPosition(), c.endX + 50.0f, 350.0f);
        EXPECT_VEC_NEAR(star->getGlow()->getPosition(), c.endX + 50.0f, 350.0f);
        frame(1.0f / 6.0f);
        EXPECT_TRUE(isPendingDelete(star));
        EXPECT_EQ(bar->commits, 0);
        flush();
        EXPECT_EQ(bar->commits, 1);
    }
}

TEST_F(ScoreEffects, ClearedStarsCommitToo_AndWithoutABarNothingIsCommitted) {
    makeBar();
    new cFxStar(level);
    cFxStar* flying = new cFxStar(level);
    flying->drop();
    clearStars();
    EXPECT_EQ(bar->commits, 2);
    bar.reset();
    new cFxStar(level);
    clearStars();   // no bar: nothing to commit to, nothing happens
    EXPECT_EQ(live<cFxStar>(), 0u);
}

TEST_F(ScoreEffects, FlyingStarsLeaveTrailsOnlyWithFullEffects) {
    for (bool full : {true, false}) {
        SCOPED_TRACE(full);
        setFullEffects(full);
        cFxStar* star = new cFxStar(level);
        star->setPosition(cVector2(100, 100));
        frame(0.05f);
        EXPECT_EQ(live<cFxTrail>(), 0u);   // waiting stars leave none
        star->drop();
        frame(0.025f);
        EXPECT_EQ(live<cFxTrail>(), full ? 1u : 0u);
        if (full) {
            const cFxTrail* trail = static_cast<const cFxTrail*>(cEffectRegistry<cFxTrail>::instances().begin()->second);
            EXPECT_EQ(trail->getPicture(), "glow.dds");
            EXPECT_EQ(trail->getVertexColor(0), 0x464646u);
        }
        clearEffectsAtLevelDestruction();
    }
}

TEST_F(ScoreEffects, AStarsSpinWrapsPast360Degrees) {
    cFxStar* star = new cFxStar(level);   // 200 degrees per second
    star->setPosition(cVector2(100, 100));
    star->drop();
    star->setAngle(350.0f);
    frame(0.1f);
    EXPECT_NEAR(star->getAngle(), 10.0f, 1e-3f);
    EXPECT_NEAR(star->getGlow()->getAngle(), 10.0f, 1e-3f);
}

TEST_F(ScoreEffects, AScoreStarStartsAtTheBarPointOfTheFillAndBendsTheOtherWay) {
    struct Case {
        float fill;
        float startX;
    } cases[] = {{0.0f, 100.0f}, {1.0f, 300.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fill);
        makeBar()->fill = c.fill;
        bar->commits = 0;
        // To (c.startX - 10, 210) plus off_end_pos (10, -10): straight up 300 units.
        cFxScoreStar* star = new cFxScoreStar(level, cVector2(c.startX - 10.0f, 210.0f));
        EXPECT_VEC_NEAR(star->getPosition(), c.startX, 500.0f);
        EXPECT_VEC_NEAR(star->getEnd(), c.startX, 200.0f);
        EXPECT_VEC_NEAR(star->getControl(), c.startX + 100.0f, 350.0f);
        EXPECT_EQ(star->getVertexAlpha(0), 255u);
        EXPECT_EQ(star->getGlow()->getVertexColor(0), 0xFFFFFFu);
        EXPECT_EQ(getScoreStarRegistry().size(), 1u);
        frame(0.25f);   // 150 of 300 units at 600 per second
        EXPECT_VEC_NEAR(star->getPosition(), c.startX + 50.0f, 350.0f);
        frame(0.25f);
        EXPECT_TRUE(isPendingDelete(star));
        flush();
        EXPECT_EQ(getScoreStarRegistry().size(), 0u);
        EXPECT_EQ(bar->commits, 0);
    }
}

TEST_F(ScoreEffects, FlightsOfLengthZeroEndAtOnceAtTheirEnd) {
    makeBar();
    // A score star whose target is its start: the level waits for it, so it must go.
    cFxScoreStar* score = new cFxScoreStar(level, cVector2(90, 510));
    EXPECT_EQ(score->getLength(), 0.0f);
    // A combo star dropped where the bar's point is.
    cFxStar* star = new cFxStar(level);
    star->setPosition(cVector2(100, 500));
    star->drop();
    frame(0.016f);
    EXPECT_TRUE(isPendingDelete(score));
    EXPECT_TRUE(isPendingDelete(star));
    EXPECT_EQ(score->getPosition(), cVector2(100, 500));
    EXPECT_EQ(star->getPosition(), cVector2(100, 500));
    flush();
    EXPECT_EQ(getScoreStarRegistry().size(), 0u);
    EXPECT_EQ(bar->commits, 1);
}

// ---- Messages ----

TEST_F(ScoreEffects, AMessageBouncesHoldsAtScaleOneUnfilteredAndFadesOut) {
    cFxMessage* message = new cFxMessage(level, 0, cVector2(400, 300));
    EXPECT_EQ(message->getPicture(), "Game/Interface/Surfaces/goal.dds");
    EXPECT_FLOAT_EQ(message->getScale().x, 1.5f);
    EXPECT_EQ(getMessageRegistry().size(), 1u);
    float t = 0.0f, stage3At = -1.0f, maxBounce = 0.0f, endAt = -1.0f;
    int stage = 0;
    const float dt = 0.01f;
    while (t < 3.0f && endAt < 0.0f) {
        frame(dt);
        t += dt;
        ASSERT_GE(message->getStage(), stage) << "stages only go forward";
        stage = message->getStage();
        const float scale = message->getCurrentScale();
        if (stage == 1 || stage == 2) maxBounce = std::max(maxBounce, scale);
        if (stage == 3 && stage3At < 0.0f) stage3At = t;
        EXPECT_EQ(message->testRenderFlags(RF_USE_FILTERING), scale != 1.0f) << "at " << t;
        EXPECT_FLOAT_EQ(message->getScale().x, scale);
        if (isPendingDelete(message)) endAt = t;
    }
    // Down to 1, up past 1.3 and back in about 0.3 s, fully faded in by then.
    EXPECT_NEAR(stage3At, 0.3f, 0.03f);
    EXPECT_GT(maxBounce, 1.3f);
    EXPECT_LT(maxBounce, 1.35f);
    // 0.7 s held, then a swell past 1.2 and a fade of about 0.2 s.
    EXPECT_NEAR(endAt, stage3At + 0.7f + 0.04f + 0.2f, 0.03f);
    flush();
    EXPECT_EQ(getMessageRegistry().size(), 0u);
}

TEST_F(ScoreEffects, MessageTypesChooseTheirPictureAndDepth) {
    struct Case {
        int type;
        const char* picture;
        float deep;
    } cases[] = {{0, "Game/Interface/Surfaces/goal.dds", 50},
                 {1, "Game/Interface/Surfaces/expert.dds", 51},
                 {2, "Game/Interface/Surfaces/five_stars.dds", 52}};
    for (const Case& c : cases) {
        cFxMessage* m = new cFxMessage(level, c.type, cVector2(1, 2));
        EXPECT_EQ(m->getPicture(), c.picture) << c.type;
        EXPECT_FLOAT_EQ(m->getDeep(), c.deep) << c.type;
        EXPECT_EQ(m->getVertexAlpha(0), 0u);
    }
}

}  // namespace
