// The effect registries: each clear deletes an effect that has already scheduled its own
// deletion exactly once, a level teardown empties every registry but the money pieces', a
// constructor that fails leaves nothing registered.

#include <functional>

#include "game/effects/cClickEffect.h"
#include "game/effects/cFxFlyScore.h"
#include "game/effects/cFxFlyScorePic.h"
#include "game/effects/cFxMessage.h"
#include "game/effects/cFxMoney.h"
#include "game/effects/cFxPointer.h"
#include "game/effects/cFxScoreSparkle.h"
#include "game/effects/cFxScoreStar.h"
#include "game/effects/cFxSparkle.h"
#include "game/effects/cFxStar.h"
#include "game/effects/cFxTrail.h"
#include "game/effects/cFxWaiterStar.h"
#include "tests/game/effects/EffectTestSupport.h"

using namespace effects_test;

namespace {

// The thief lives elsewhere; a node registered as one stands in for it.
class StandInThief : public cSceneNode {
public:
    explicit StandInThief(cSceneNode* parent) : cSceneNode(parent) { cEffectRegistry<cThief>::registerInstance(this); }
    ~StandInThief() override { cEffectRegistry<cThief>::unregisterInstance(this); }
};

// Counts its deletions in a counter that outlives it.
class CountedTrail : public cFxTrail {
public:
    CountedTrail(cSceneNode* parent, const cPicture* source, int* deletions)
        : cFxTrail(parent, source, 100, 100, false), m_deletions(deletions) {}
    ~CountedTrail() override { ++*m_deletions; }

private:
    int* m_deletions;
};

class Registry : public EffectsTest {
protected:
    cPicture* source = nullptr;
    cText* text = nullptr;
    void SetUp() override {
        EffectsTest::SetUp();
        source = makeSource();
        text = makeText();
    }

    struct Kind {
        const char* name;
        std::function<cSceneNode*()> make;
        void (*clear)();
        size_t (*count)();
    };
    std::vector<Kind> kinds() {
        cSceneNode* l = level;
        return {
            {"fly score", [l] { return new cFxFlyScore(l, L"+10", cVector2(100, 100), 1, 0xFFFFFF, false); },
             clearFlyScores, live<cFxFlyScore>},
            {"combo picture", [l] { return new cFxFlyScorePic(l, 2, cVector2(100, 100), 1); }, clearFlyScorePictures,
             live<cFxFlyScorePic>},
            {"message", [l] { return new cFxMessage(l, 0, cVector2(400, 300)); }, clearMessages, live<cFxMessage>},
            {"thief", [l] { return new StandInThief(l); }, clearThieves, live<cThief>},
            {"star", [l] { return new cFxStar(l); }, clearStars, live<cFxStar>},
            {"score star", [l] { return new cFxScoreStar(l, cVector2(600, 50)); }, clearScoreStars, live<cFxScoreStar>},
            {"trail", [this, l] { return new cFxTrail(l, source, 100, 100, false); }, clearTrails, live<cFxTrail>},
            {"pointer", [l] { return new cFxPointer(l, cVector2(10, 10), 10); }, clearPointers, live<cFxPointer>},
            {"waiter star", [l] { return new cFxWaiterStar(l, cVector2(10, 10), cVector2(1, 0), 20, 4); },
             clearWaiterStars, live<cFxWaiterStar>},
            {"text sparkle", [this, l] { return new cFxScoreSparkle(l, text, 100, 55); }, clearSparkleTexts,
             live<cFxScoreSparkle>},
            {"click flash", [this, l] { return new cClickEffect(l, source, 1); }, clearClickEffects, live<cClickEffect>},
            {"picture sparkle", [this, l] { return new cFxSparkle(l, source, 100, 55, 0, 0xFFFFFF, ""); },
             clearSparkles, live<cFxSparkle>},
        };
    }
};

TEST_F(Registry, EachClearDeletesAnEffectThatScheduledItsOwnDeletionOnce) {
    for (const Kind& kind : kinds()) {
        SCOPED_TRACE(kind.name);
        const size_t before = kind.count();   // combo pictures leave their stars behind
        cSceneNode* doomed = kind.make();
        kind.make();
        ASSERT_EQ(kind.count(), before + 2u);
        // The effect's run has ended this frame: it sits in the deferred-deletion set.
        scheduleDelete(doomed);
        kind.clear();
        EXPECT_EQ(kind.count(), 0u);
        // The next frame's deferred deletion finds nothing left (a second delete would be
        // reported by the address sanitizer).
        EXPECT_EQ(getPendingDeleteCount(), 0u);
        flush();
    }
}

TEST_F(Registry, ASelfEndedEffectIsDeletedOnceByClearThenFrame) {
    int deletions = 0;
    new CountedTrail(level, source, &deletions);
    frame(2.0f);   // the trail runs out and schedules its deletion
    ASSERT_EQ(getPendingDeleteCount(), 1u);
    clearTrails();
    flush();
    EXPECT_EQ(deletions, 1);
}

TEST_F(Registry, ALevelTeardownLeavesOnlyMoneyAndTheLevelEndLeavesTheRest) {
    for (const Kind& kind : kinds()) kind.make();
    new cFxMoney(level, cVector2(1, 1), cVector2(1, 0), 5);
    clearEffectsAtLevelEnd();
    // Kept until the level is destroyed: score stars, pointers, waiter stars, click flashes,
    // picture sparkles; and the stars' flying copies do not exist without a flight.
    for (const Kind& kind : kinds()) {
        SCOPED_TRACE(kind.name);
        const bool kept = kind.clear == clearScoreStars || kind.clear == clearPointers ||
                          kind.clear == clearWaiterStars || kind.clear == clearClickEffects ||
                          kind.clear == clearSparkles;
        EXPECT_EQ(kind.count(), kept ? 1u : 0u);
    }
    EXPECT_EQ(getMessageRegistry().size(), 0u);
    EXPECT_EQ(getScoreStarRegistry().size(), 1u);
    clearEffectsAtLevelDestruction();
    for (const Kind& kind : kinds()) EXPECT_EQ(kind.count(), 0u) << kind.name;
    EXPECT_EQ(live<cFxMoney>(), 1u);
}

TEST_F(Registry, ClearsRunInCreationOrderAndSkipWhatAnotherDeletionTookAlong) {
    cFxTrail* parentTrail = new cFxTrail(level, source, 100, 100, false);
    int deletions = 0;
    new CountedTrail(parentTrail, source, &deletions);   // a later trail, child of the first
    ASSERT_EQ(live<cFxTrail>(), 2u);
    EXPECT_EQ(cEffectRegistry<cFxTrail>::instances().begin()->second, parentTrail);
    clearTrails();   // deleting the first deletes the second with it
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(live<cFxTrail>(), 0u);
}

TEST_F(Registry, AConstructorThatFailsLeavesNothingRegistered) {
    resources->unload("Config/Game/fx_message.ini");
    EXPECT_EQ(file_test::thrownText([&] { new cFxMessage(level, 0, cVector2()); }),
              "Resource 'Config/Game/fx_message.ini' is not loaded.");
    EXPECT_EQ(getMessageRegistry().size(), 0u);
    resources->unload("Config/Game/click_effect.crv");
    EXPECT_NE(file_test::thrownText([&] { new cClickEffect(level, source, 0); }), "(nothing thrown)");
    EXPECT_EQ(live<cClickEffect>(), 0u);
}

}  // namespace
