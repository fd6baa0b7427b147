// The mini game's effects on game time, in the first mini game on the built Data folder: the
// "excellent" pop-up, the hint star, the flying copies of found objects (points on landing, a
// hint button back for a hint object) and the struck-through name that floats away.
#include "tests/game/minigame/MiniGameTestSupport.h"

#include <algorithm>

#include "engine/scene/cText.h"
#include "game/effects/EffectRegistry.h"
#include "game/minigame/cExcellentPopup.h"
#include "game/minigame/cFlyScoreText.h"
#include "game/minigame/cFlyingObject.h"
#include "game/minigame/cHintStar.h"

using namespace minigame_test;

namespace {

const EffectRegistry& sparkles() { return cEffectRegistry<cFxSparkle>::instances(); }

// The newest member of a live set.
template <class T>
T* newest(const EffectRegistry& set) {
    return set.empty() ? nullptr : static_cast<T*>(set.rbegin()->second);
}

TEST_F(MiniGameTest, TheExcellentPopupBouncesRestsAndLeavesAndStopsWithGameTime) {
    startAtLevel8();
    play();
    auto* popup = new cExcellentPopup(mini(), false, cVector2(400.0f, 300.0f));
    const uint64_t serial = popup->getSerial();
    EXPECT_EQ(popup->getPictureName(), "MiniGame1/Interface/Surfaces/excellent.dds");
    // Shrinks in, bounces past 1.3, rests at 1 in full view, then goes, about 1.2 s of game
    // time in all; while game time stands, so does the pop-up.
    std::vector<int> phases{popup->getPhase()};
    float peak = 0.0f;
    bool rested = false;
    int n = 0;
    while (cEffectRegistry<cExcellentPopup>::isLive(serial) && n < 200) {
        if (popup->getPhase() != phases.back()) phases.push_back(popup->getPhase());
        if (popup->getPhase() == 2) peak = std::max(peak, popup->getScaleValue());
        rested |= popup->getPhase() == 3 && popup->getScaleValue() == 1.0f && popup->getAlphaValue() == 255.0f;
        if (n == 5) {
            getLogic()->setPaused(true);
            const float scale = popup->getScaleValue(), alpha = popup->getAlphaValue();
            frames(10);
            EXPECT_EQ(popup->getScaleValue(), scale);
            EXPECT_EQ(popup->getAlphaValue(), alpha);
            getLogic()->setPaused(false);
        }
        frames(1);
        ++n;
    }
    EXPECT_EQ(phases, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_GT(peak, 1.3f);
    EXPECT_TRUE(rested);
    EXPECT_NEAR(float(n) * 0.016f, 1.2f, 0.2f);
    EXPECT_TRUE(getExcellentPopups().empty());
}

TEST_F(MiniGameTest, AHintStarFliesFromItsButtonToTheObjectSpinsThereAndGoes) {
    startAtLevel8();
    play();
    cMiniGameStatusPanel* status = scene->getStatus();
    cButton* button = status->getHintButton(0);
    ASSERT_TRUE(button->isVisible()) << "count_hints 1";
    const cHiddenObject* hinted = mini()->getObjectsToFind().front();
    cMiniGameStatusPanel::onButton(button);
    EXPECT_FALSE(button->isVisible()) << "spent";
    EXPECT_TRUE(hinted->isHinted());
    auto* star = newest<cHintStar>(getHintStars());
    ASSERT_NE(star, nullptr);
    const uint64_t serial = star->getSerial();
    EXPECT_EQ(star->getPosition(), button->getPosition());
    EXPECT_EQ(star->getArc().target, hinted->getPosition());
    // A trail on the way; with game time stopped the star stands, its sparkles fade out.
    frames(3);
    EXPECT_FALSE(sparkles().empty());
    getLogic()->setPaused(true);
    const cVector2 stopped = star->getPosition();
    frames(20);
    EXPECT_EQ(star->getPosition(), stopped);
    EXPECT_TRUE(sparkles().empty());
    getLogic()->setPaused(false);
    // On the object it spins for half a second, then it is gone.
    int atTarget = 0;
    float firstAngle = 0.0f, lastAngle = 0.0f;
    ASSERT_TRUE(until(
        [&] {
            if (!cEffectRegistry<cHintStar>::isLive(serial)) return true;
            if (star->getPosition() == hinted->getPosition()) {
                if (atTarget++ == 0) firstAngle = star->getAngle();
                lastAngle = star->getAngle();
            }
            return false;
        },
        200));
    EXPECT_NEAR(float(atTarget) * 0.016f, 0.5f, 0.05f);
    EXPECT_GT(lastAngle - firstAngle, 200.0f) << "500 degrees a second";
}

// Behind the pause panel a found object stands in its flight, and the sparkles it left fade
// out all the same (they belong to the mini game, which steps nothing else while paused).
TEST_F(MiniGameTest, AFlyingObjectStandsWhilePausedAndItsSparklesFadeOut) {
    startAtLevel8();
    play();
    waitClickDelay();
    clickAt(centreOf(mini()->getObjectsToFind().front()));
    auto* flight = newest<cFlyingObject>(getFlyingObjects());
    ASSERT_NE(flight, nullptr);
    frames(3);
    ASSERT_FALSE(sparkles().empty());
    ASSERT_TRUE(scene->pause());
    ASSERT_TRUE(until([&] { return getLogic()->isPaused(); }));
    const cVector2 stopped = flight->getPosition();
    frames(20);
    EXPECT_EQ(flight->getPosition(), stopped);
    EXPECT_TRUE(sparkles().empty()) << sparkles().size() << " sparkles stand behind the pause panel";
    genv->saveFrame("minigame_paused_flight.png");
}

TEST_F(MiniGameTest, FoundObjectsFlyToThePanelTheirNamesLeaveAndAHintObjectBringsBackAButton) {
    startAtLevel8();
    play();
    cMiniGameStatusPanel* status = scene->getStatus();
    cButton* button = status->getHintButton(0);
    cMiniGameStatusPanel::onButton(button);
    ASSERT_FALSE(button->isVisible());
    EXPECT_EQ(status->getFreeHintSlotPosition(), button->getPosition());

    // The hint object keeps its size on the way and brings the spent button back; no points.
    ASSERT_EQ(mini()->getHintObjects().size(), 1u);
    clickAt(centreOf(mini()->getHintObjects().front()));
    ASSERT_TRUE(mini()->getHintObjects().empty());
    auto* flight = newest<cFlyingObject>(getFlyingObjects());
    ASSERT_NE(flight, nullptr);
    EXPECT_TRUE(flight->isHint());
    uint64_t serial = flight->getSerial();
    bool kept = true;
    ASSERT_TRUE(until([&] {
        if (!cEffectRegistry<cFlyingObject>::isLive(serial)) return true;
        kept &= flight->getScale().x == 1.0f;
        return false;
    }));
    EXPECT_TRUE(kept);
    EXPECT_TRUE(button->isVisible());
    EXPECT_EQ(getGameData()->getMiniGameScore(), 0);

    // An object to find shrinks on its last leg and pays when it lands; its name is struck
    // through, waits, and only then floats off while the lines below close up, once.
    waitClickDelay();
    std::vector<cText*>& lines = status->getNameLines();
    const size_t count = lines.size();
    const cVector2 origin = lines[0]->getPosition();
    clickAt(centreOf(mini()->getObjectsToFind().front()));
    ASSERT_EQ(lines.size(), count);
    EXPECT_EQ(lines[0], nullptr);
    flight = newest<cFlyingObject>(getFlyingObjects());
    auto* name = newest<cFlyScoreText>(getFlyScoreTexts());
    ASSERT_NE(flight, nullptr);
    ASSERT_NE(name, nullptr);
    serial = flight->getSerial();
    const uint64_t nameSerial = name->getSerial();
    float smallest = 1.0f;
    int frame = 2, floatFrame = 0;   // the click's press and release frames
    bool paidEarly = false, movedEarly = false;
    size_t fewestLines = count;
    ASSERT_TRUE(until(
        [&] {
            const bool flying = cEffectRegistry<cFlyingObject>::isLive(serial);
            const bool named = cEffectRegistry<cFlyScoreText>::isLive(nameSerial);
            if (flying) {
                smallest = std::min(smallest, flight->getScale().x);
                // (It lands and pays in the frame before it is deleted.)
                const bool landed = flight->getLeg() == 1 && flight->getArc().hasEnded();
                paidEarly |= !landed && getGameData()->getMiniGameScore() != 0;
            }
            if (named && !name->isFloating()) movedEarly |= !(name->getPosition() == origin);
            if (named && name->isFloating() && floatFrame == 0) floatFrame = frame;
            fewestLines = std::min(fewestLines, lines.size());
            ++frame;
            return !flying && !named;
        },
        300));
    EXPECT_FALSE(paidEarly);
    EXPECT_LT(smallest, 0.1f);
    EXPECT_EQ(getGameData()->getMiniGameScore(), 100);
    EXPECT_FALSE(movedEarly);
    EXPECT_GE(float(floatFrame) * 0.016f, 0.3f) << "the strike-through runs 0.3 s";
    EXPECT_EQ(lines.size(), count - 1);
    EXPECT_EQ(fewestLines, count - 1);

    // Flights cleared before they land pay nothing.
    waitClickDelay();
    clickAt(centreOf(mini()->getObjectsToFind().front()));
    ASSERT_FALSE(getFlyingObjects().empty());
    clearFlyingObjects();
    frames(120);
    EXPECT_EQ(getGameData()->getMiniGameScore(), 100);
}

}  // namespace
