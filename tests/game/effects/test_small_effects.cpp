// The small effects on the test clock: money, click flash, trail copies, sparkles, the fading
// pointer and the waitress's stars; game-time effects stand still while the game is paused,
// sparkles fade on interface time.

#include <cmath>

#include "game/effects/EffectSupport.h"
#include "game/effects/cClickEffect.h"
#include "game/effects/cFxMoney.h"
#include "game/effects/cFxPointer.h"
#include "game/effects/cFxScoreSparkle.h"
#include "game/effects/cFxSparkle.h"
#include "game/effects/cFxTrail.h"
#include "game/effects/cFxWaiterStar.h"
#include "platform/device/RecordingDevice.h"
#include "tests/game/effects/EffectTestSupport.h"

using namespace effects_test;

namespace {

class SmallEffects : public EffectsTest {
protected:
    cPicture* source = nullptr;
    cText* text = nullptr;
    void SetUp() override {
        EffectsTest::SetUp();
        source = makeSource(cVector2(200, 200), 7);
        text = makeText(cVector2(300, 100), 9);
    }
};

TEST_F(SmallEffects, MoneyFliesAboutTwentyFiveUnitsAndIsGoneAfterAboutATwentiethOfASecond) {
    cFxMoney* coin = new cFxMoney(level, cVector2(100, 100), cVector2(3, 4), 12);
    EXPECT_EQ(coin->getPicture(), "Game/Worlds/Common/Items/money.dds");
    EXPECT_EQ(coin->getLayer0Frame(), 4u);   // the last frame
    EXPECT_FLOAT_EQ(coin->getDeep(), 12.0f);
    for (int i = 0; i < 5; ++i) frame(0.01f);
    ASSERT_EQ(live<cFxMoney>(), 1u);
    EXPECT_NEAR(coin->getPosition().x, 115.0f, 0.01f);
    EXPECT_NEAR(coin->getPosition().y, 120.0f, 0.01f);
    EXPECT_LE(coin->getVertexAlpha(0), 5u);
    frame(0.01f);
    EXPECT_TRUE(isPendingDelete(coin));
    flush();
    EXPECT_EQ(live<cFxMoney>(), 0u);
}

TEST_F(SmallEffects, AClickFlashIsAWhiteSilhouetteThatEndsAtTheAlphaCurvesLastX) {
    // alpha: 200 at 0 to 100 at 0.5; scale: 1 at 0 to 3 at 2 (it outlasts the alpha curve).
    cClickEffect* flash = new cClickEffect(level, source, 0.5f);
    EXPECT_EQ(flash->getVertexColor(0), 0xFFFFFFu);
    EXPECT_TRUE(flash->testRenderFlags(RF_OVERLAY));
    EXPECT_EQ(flash->getBeginDrawCallback(), &drawSilhouette);
    EXPECT_FLOAT_EQ(flash->getDeep(), 7.5f);
    EXPECT_EQ(flash->getPicture(), "source.dds");
    frame(0.25f);
    EXPECT_NEAR(flash->getVertexAlpha(0), 150.0, 1.0);
    EXPECT_NEAR(flash->getScale().x, 1.25f, 1e-4f);
    EXPECT_FALSE(isPendingDelete(flash));
    frame(0.25f);
    EXPECT_TRUE(isPendingDelete(flash));
    EXPECT_EQ(flash->getVertexAlpha(0), 0u);
}

TEST_F(SmallEffects, ATrailFadedByColourKeepsItsGreyWhileItsAlphaFalls) {
    source->setAlpha(200);
    source->setColor(0xFF0000);
    cFxTrail* grey = new cFxTrail(level, source, 300, 70, true);
    cFxTrail* plain = new cFxTrail(level, source, 300, 70, false);
    EXPECT_EQ(grey->getVertexColor(0), 0x464646u);
    EXPECT_EQ(grey->getVertexAlpha(0), 200u);   // the copied alpha, until the first frame
    EXPECT_EQ(plain->getVertexColor(0), 0xFF0000u);
    EXPECT_EQ(plain->getVertexAlpha(0), 70u);
    EXPECT_FLOAT_EQ(grey->getDeep(), 6.9f);
    frame(0.1f);
    EXPECT_EQ(grey->getVertexColor(0), 0x464646u);
    EXPECT_EQ(grey->getVertexAlpha(0), 40u);
    EXPECT_EQ(plain->getVertexAlpha(0), 40u);
    frame(0.15f);
    EXPECT_TRUE(isPendingDelete(grey));
    EXPECT_TRUE(isPendingDelete(plain));
}

TEST_F(SmallEffects, SparkleShiftsStayWithinFourAndSixUnitsAndReachBothSigns) {
    float textMin = 0, textMax = 0, pictureMin = 0, pictureMax = 0;
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        rwSrand(seed);
        cFxScoreSparkle* t = new cFxScoreSparkle(level, text, 100, 55);
        cFxSparkle* p = new cFxSparkle(level, source, 100, 55, 0.2f, 0x00FF00, "");
        const cVector2 dt = t->getPosition() - text->getPosition();
        const cVector2 dp = p->getPosition() - source->getPosition();
        for (float v : {dt.x, dt.y}) {
            ASSERT_EQ(v, std::trunc(v));
            textMin = std::min(textMin, v);
            textMax = std::max(textMax, v);
        }
        for (float v : {dp.x, dp.y}) {
            pictureMin = std::min(pictureMin, v);
            pictureMax = std::max(pictureMax, v);
        }
        clearSparkleTexts();
        clearSparkles();
    }
    EXPECT_EQ(textMin, -4.0f);
    EXPECT_EQ(textMax, 4.0f);
    EXPECT_EQ(pictureMin, -6.0f);
    EXPECT_EQ(pictureMax, 6.0f);
}

TEST_F(SmallEffects, SparklesAreTintedSilhouettesBehindOrAboveTheirSource) {
    cFxScoreSparkle* t = new cFxScoreSparkle(level, text, 200, 55);
    text->rebuildIfDirty();
    ASSERT_EQ(t->getGlyphs().size(), 3u);
    for (cPicture* glyph : t->getGlyphs()) {
        EXPECT_EQ(glyph->getBeginDrawCallback(), &drawSilhouette);
        EXPECT_TRUE(glyph->testRenderFlags(RF_OVERLAY));
        EXPECT_EQ(glyph->getVertexColor(0), 0xFFFFFFu);
        EXPECT_EQ(glyph->getVertexAlpha(0), 55u);
    }
    EXPECT_FLOAT_EQ(t->getDeep(), 8.9f);
    cFxSparkle* p = new cFxSparkle(level, source, 200, 55, -0.1f, 0xFF112233, "other.dds");
    EXPECT_EQ(p->getVertexColor(0), 0x112233u);
    EXPECT_EQ(p->getPicture(), "other.dds");
    EXPECT_FLOAT_EQ(p->getDeep(), 6.9f);
    EXPECT_EQ(p->getBeginDrawCallback(), &drawSilhouette);
}

TEST_F(SmallEffects, APointerHoldsThenFadesInItsDisappearTime) {
    // delay 0.5 s, fade 0.25 s.
    cFxPointer* pointer = new cFxPointer(level, cVector2(50, 60), 10.1f);
    EXPECT_EQ(pointer->getPicture(), "pointer.dds");
    EXPECT_EQ(pointer->getPosition(), cVector2(50, 60));
    for (int i = 0; i < 3; ++i) {
        frame(0.125f);
        EXPECT_EQ(pointer->getVertexAlpha(0), 255u) << "frame " << i;
    }
    frame(0.125f);   // the delay runs out and the fade starts with this step
    EXPECT_EQ(pointer->getVertexAlpha(0), 127u);
    EXPECT_FALSE(isPendingDelete(pointer));
    frame(0.125f);
    EXPECT_TRUE(isPendingDelete(pointer));
}

TEST_F(SmallEffects, APointerWithoutFadeTimeVanishesWhenItsDelayHasRunOut) {
    replaceIni("Config/Game/fx_pointer.ini", "[COMMON]\npicture=\"pointer.dds\"\ndelay_before_disappear=\"0.25\"\n");
    cFxPointer* pointer = new cFxPointer(level, cVector2(), 10);
    frame(0.0f);   // paused: an endless rate times a zero step must not keep it forever
    frame(0.125f);
    EXPECT_EQ(pointer->getVertexAlpha(0), 255u);
    frame(0.125f);
    EXPECT_TRUE(isPendingDelete(pointer));
    EXPECT_EQ(pointer->getVertexAlpha(0), 0u);
}

TEST_F(SmallEffects, AWaiterStarShrinksFasterTheFurtherOffItStartsAndEndsAtATenth) {
    bool sawNear = false, sawFar = false;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        rwSrand(seed);
        cFxWaiterStar* star = new cFxWaiterStar(level, cVector2(100, 100), cVector2(1, 0), 30, 4);
        const cVector2 off = star->getPosition() - cVector2(100, 100);
        ASSERT_LE(std::fabs(off.x), 14.0f);
        ASSERT_LE(std::fabs(off.y), 14.0f);
        EXPECT_FLOAT_EQ(star->getDeep(), 99.0f);
        const float extra = star->getShrinkRate() - 4.0f;
        ASSERT_GE(extra, 0.0f);
        if (off.length() >= 10.0f) {
            sawFar = true;
            ASSERT_LT(extra, 2.0f);
        } else {
            sawNear = true;
            ASSERT_LT(extra, 0.5f);
        }
        clearWaiterStars();
    }
    EXPECT_TRUE(sawNear);
    EXPECT_TRUE(sawFar);

    cFxWaiterStar* star = new cFxWaiterStar(level, cVector2(100, 100), cVector2(0, -1), 30, 4);
    const cVector2 start = star->getPosition();
    frame(0.1f);
    EXPECT_NEAR(star->getPosition().y, start.y - 3.0f, 1e-4f);
    EXPECT_NEAR(star->getScale().x, 1.0f - star->getShrinkRate() * 0.1f, 1e-5f);
    for (int i = 0; i < 5 && !isPendingDelete(star); ++i) frame(0.1f);
    EXPECT_TRUE(isPendingDelete(star));
    EXPECT_EQ(star->getScale(), cVector2(0.1f, 0.1f));
}

TEST_F(SmallEffects, PausedGameTimeFreezesGameEffectsWhileSparklesFadeOnInterfaceTime) {
    cFxMoney* coin = new cFxMoney(level, cVector2(100, 100), cVector2(1, 0), 1);
    cClickEffect* flash = new cClickEffect(level, source, 0);
    cFxTrail* trail = new cFxTrail(level, source, 300, 70, false);
    cFxPointer* pointer = new cFxPointer(level, cVector2(), 10);
    cFxWaiterStar* star = new cFxWaiterStar(level, cVector2(), cVector2(1, 0), 30, 4);
    new cFxScoreSparkle(level, text, 100, 55);
    new cFxSparkle(level, source, 100, 55, 0, 0xFFFFFF, "");
    frame(0.0f, 0.0f);
    const cVector2 coinAt = coin->getPosition(), starAt = star->getPosition();
    const uint32_t flashAlpha = flash->getVertexAlpha(0);
    for (int i = 0; i < 10; ++i) frame(0.0f, 0.1f);
    EXPECT_EQ(coin->getPosition(), coinAt);
    EXPECT_EQ(coin->getVertexAlpha(0), 255u);
    EXPECT_EQ(flash->getVertexAlpha(0), flashAlpha);
    EXPECT_EQ(trail->getVertexAlpha(0), 70u);
    EXPECT_EQ(pointer->getVertexAlpha(0), 255u);
    EXPECT_EQ(star->getPosition(), starAt);
    EXPECT_EQ(star->getScale(), cVector2(1, 1));
    // The sparkles faded out in 0.55 s of interface time.
    EXPECT_EQ(live<cFxScoreSparkle>(), 0u);
    EXPECT_EQ(live<cFxSparkle>(), 0u);
    EXPECT_EQ(getPendingDeleteCount(), 0u);
}

TEST_F(SmallEffects, TheSilhouetteCallbackTakesTheColourFromTheVerticesOnly) {
    cRecordingDevice device;
    drawSilhouette(&device);
    EXPECT_EQ(device.getStageState(0, StageState::ColorOp), uint32_t(TOP_SELECTARG2));
    EXPECT_EQ(device.calls().size(), 1u);   // nothing else: the alpha stays the texture's
}

}  // namespace
