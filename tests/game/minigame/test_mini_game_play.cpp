// The mini game played through the input layer on the built Data folder: mini game 1 after
// level 7, a wrong click on the cover, every object found, the score stored for level 7, the
// continue panel after the last effect, Enter to the shop with the mini game marked played and
// saved; and the alert after too many misses with its time penalty, while misses far apart
// never raise it.
#include "tests/game/minigame/MiniGameTestSupport.h"

#include "engine/media/cSound.h"
#include "game/effects/EffectRegistry.h"
#include "game/minigame/cExcellentPopup.h"
#include "game/minigame/cFlyScoreText.h"
#include "game/minigame/cFlyingObject.h"
#include "game/minigame/cHintStar.h"

using namespace minigame_test;

namespace {

bool noEffects() {
    return getExcellentPopups().empty() && getFlyingObjects().empty() && getFlyScoreTexts().empty() &&
           cEffectRegistry<cFxSparkle>::instances().empty();
}

TEST_F(MiniGameTest, EveryObjectFoundPaysTheCostsAndTheBonusAndLeadsToTheShop) {
    startAtLevel8();
    EXPECT_EQ(mini()->getLevelFile(), "Config/MiniGame1/level101.ini");
    EXPECT_EQ(getGameData()->getMiniGameVariant(-1), 1);
    const int32_t totalBefore = getGameData()->getTotalScore(7);
    play();
    genv->saveFrame("minigame_playing.png");

    // A wrong click on the cover over the first object: no points, no alert.
    const cHiddenObject* cover = nullptr;
    for (const cHiddenObject* o : mini()->getDecor())   // deepest first: the cover, then the backdrop
        if (!cover && !o->getTriangles().empty()) cover = o;
    ASSERT_NE(cover, nullptr);
    const size_t objects = mini()->getObjectsToFind().size();
    ASSERT_EQ(objects, 8u);
    const cVector2 onCover = cover->getPosition() + cVector2(15.0f, 15.0f);   // the corner over the key
    clickAt(onCover);
    EXPECT_EQ(mini()->getObjectsToFind().size(), objects);
    EXPECT_EQ(mini()->getMisses(), 1);
    EXPECT_FALSE(scene->getAlertPanel()->isVisible());
    EXPECT_EQ(getGameData()->getMiniGameScore(), 0);

    // Each object at its polygon's centre, in list order.
    for (size_t found = 1; found <= objects; ++found) {
        waitClickDelay();
        const cHiddenObject* next = mini()->getObjectsToFind().front();
        clickAt(centreOf(next));
        ASSERT_EQ(mini()->getObjectsToFind().size(), objects - found) << "object " << found;
        if (found == 4) genv->saveFrame("minigame_finding.png");
    }
    EXPECT_TRUE(mini()->isOver());
    EXPECT_TRUE(mini()->isBonusPending());
    // Nothing left to hint: the hint button does nothing and stays.
    cButton* hintButton = scene->getStatus()->getHintButton(0);
    ASSERT_TRUE(hintButton->isVisible());
    cMiniGameStatusPanel::onButton(hintButton);
    EXPECT_TRUE(hintButton->isVisible());
    EXPECT_TRUE(getHintStars().empty());

    // The continue panel comes once every effect has ended; the score is stored for level 7.
    ASSERT_TRUE(until([&] { return scene->getContinuePanel()->isVisible(); }, 600));
    EXPECT_TRUE(noEffects());
    EXPECT_FALSE(mini()->isBonusPending());
    EXPECT_EQ(getGameData()->getMiniGameScore(), int32_t(objects) * 100 + 500);
    EXPECT_EQ(getGameData()->getTotalScore(7), totalBefore + int32_t(objects) * 100 + 500);
    ASSERT_TRUE(until([&] { return scene->getContinuePanel()->isComplete(); }));
    genv->saveFrame("minigame_continue.png");
    EXPECT_NE(scene->getContinuePanel()->getScoreText()->getString().find(L"1300"), std::wstring::npos);

    // Enter: the shop (level 8 is the reached level), marked played and saved.
    key(KEY_ENTER);
    EXPECT_EQ(scene->getResult(), MINIGAME_RESULT_SHOP);
    ASSERT_TRUE(reach(APP_STATE_SHOP));
    EXPECT_TRUE(getGameData()->isMiniGamePlayed(0));
    dropGame();
    makeGame("");
    EXPECT_EQ(getGameData()->getLevel(), 8);
    EXPECT_TRUE(getGameData()->isMiniGamePlayed(0)) << "saved";
    EXPECT_EQ(getGameData()->getTotalScore(7), totalBefore + 1300);
}

TEST_F(MiniGameTest, MissesToTheLimitRaiseTheAlertWhoseClosingCostsThePenaltyOverThreeSeconds) {
    startAtLevel8();
    play();
    // Misses 2.5 s apart never raise it: every 2 s the count drops by one.
    const cVector2 empty(300.0f, 320.0f);
    for (int i = 0; i < 3; ++i) {
        clickAt(empty);
        EXPECT_EQ(mini()->getMisses(), 1);
        frames(int(2.5f / 0.016f));
    }
    EXPECT_EQ(mini()->getMisses(), 0);
    EXPECT_FALSE(scene->getAlertPanel()->isVisible());
    // Three misses within two seconds.
    for (int i = 0; i < 3; ++i) {
        waitClickDelay();
        clickAt(empty);
    }
    ASSERT_TRUE(until([&] { return scene->getAlertPanel()->isVisible() && scene->getAlertPanel()->isComplete(); }));
    EXPECT_EQ(mini()->getMisses(), 0);
    EXPECT_TRUE(getLogic()->isPaused());
    EXPECT_TRUE(mini()->isPaused());
    // The sounds paused for the alert (the last wrong click's among them) go on when it closes.
    std::vector<platform::audio::Handle> paused;
    for (platform::audio::Handle c : getSound()->sampleChannels())
        if (platform::audio::state(c) == platform::audio::State::Paused) paused.push_back(c);
    EXPECT_FALSE(paused.empty());
    const float before = mini()->getTime();
    cMiniGameNoticePanel::onButton(scene->getAlertPanel()->getButton());
    ASSERT_TRUE(until([&] { return !scene->getAlertPanel()->isVisible(); }));
    EXPECT_FALSE(mini()->isPaused());
    // (A sample played meanwhile may take a paused channel over: that one stays stopped.)
    size_t resumed = 0;
    for (platform::audio::Handle c : paused) {
        EXPECT_NE(platform::audio::state(c), platform::audio::State::Paused) << c;
        resumed += platform::audio::state(c) == platform::audio::State::Playing;
    }
    EXPECT_GT(resumed, 0u);
    EXPECT_FLOAT_EQ(mini()->getPenaltyLeft(), 10.0f);
    // 3 s of game time later the 10 s are gone, besides the 3 s that passed.
    const float start = mini()->getTime();
    EXPECT_FLOAT_EQ(start, before);
    frames(int(3.0f / 0.016f) + 2);
    EXPECT_EQ(mini()->getPenaltyLeft(), 0.0f);
    EXPECT_NEAR(start - mini()->getTime(), 13.0f, 0.1f);
}

}  // namespace
