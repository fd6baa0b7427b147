// The tutorial levels of world 1 played through on the built demo data, both game modes, in a
// running headless core with the real restaurant: a player who only ever clicks what the
// current step lets through (moving the mouse onto it and pressing the left button through the
// platform's input) brings every script to its end within a bounded game time, with the level
// clock standing still until then.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "engine/app/cLogic.h"
#include "engine/scene/cSprite.h"
#include "game/characters/cCustomer.h"
#include "game/characters/cWaitress.h"
#include "game/data/cGameData.h"
#include "game/flow/cLevel.h"
#include "game/interface/cHints.h"
#include "game/restaurant/cSub.h"
#include "game/restaurant/cSubPlace.h"
#include "game/restaurant/cSubStation.h"
#include "game/restaurant/cTable.h"
#include "platform/input/Input.h"
#include "tests/game/flow/CampaignPlayer.h"
#include "tests/game/flow/LevelFixture.h"
#include "tests/game/flow/RestaurantDriver.h"
#include "tests/game/flow/test_game_env.h"

namespace {

using game_test::GameEnvironment;

// Game time a tutorial may take before the test calls it stuck (the longest script waits for
// two brews, a walk per click and the customers' own steps).
const float kGameTimeLimit = 240.0f;

// The player: every few frames, when the waitress has nothing to do and at most a handful of
// targets are clickable (the scripts open one or two at a time), clicks one of them: a
// station, sub or plate before a table, since a table opened beside a station waits for what
// the station gives. Where a target lies on the screen is found by moving the mouse over it
// until the level's hover pick names it (the restaurant driver's click).
class TutorialPlayer {
public:
    explicit TutorialPlayer(GameEnvironment& env, cLevel& level) : m_env(env), m_level(level) {}

    std::vector<cClickTarget*> open() const { return restaurant_test::CampaignPlayer::openTargets(m_level); }

    // One step of play: a click when the moment has come, else one frame.
    void step() {
        if (cClickTarget* target = restaurant_test::CampaignPlayer::tutorialTarget(m_level, &m_idleFrames))
            click(target);
        else
            frame();
    }

    int clicks() const { return m_clicks; }
    // Game time played so far, every frame counted (those of the clicks too).
    float gameTime() const { return m_gameTime; }
    const std::string& history() const { return m_history; }

private:
    // A click that did not go through (the target closed meanwhile) is only noted: the player
    // tries again when the moment comes.
    void click(cClickTarget* target) {
        std::ostringstream line;
        line << " [step " << (m_level.getHints() ? m_level.getHints()->getStep() : -9) << ": kind "
             << target->getKind() << "]";
        if (m_driver.click(target))
            ++m_clicks;
        else
            line << "(" << m_driver.failure() << ")";
        m_history += line.str();
    }
    void frame() {
        m_env.frame();
        m_gameTime += m_level.getDeltaTime();
    }

    GameEnvironment& m_env;
    cLevel& m_level;
    int m_idleFrames = 0;
    int m_clicks = 0;
    float m_gameTime = 0.0f;
    std::string m_history;
    restaurant_test::RestaurantDriver m_driver{[this] { frame(); }};
};

struct PlayCase {
    int difficulty;  // 0 easy pack, 1 hard pack
    int level;
};

std::string caseName(const ::testing::TestParamInfo<PlayCase>& info) {
    return std::string(info.param.difficulty ? "Hard" : "Easy") + "Level" + std::to_string(info.param.level);
}

class TutorialPlay : public game_test::LevelFixture, public ::testing::WithParamInterface<PlayCase> {
protected:
    // The campaign's level n of the chosen pack, as the game state builds it for a player who
    // has won the levels before (so that it brings the stations its lesson adds).
    void build(int difficulty, int n) {
        data->setDifficulty(difficulty);
        for (int won = 1; won < n; ++won) {
            data->setLevel(won);
            data->recordLevelResult(false);
        }
        data->setLevel(n);
        buildCurrent();
    }
};

TEST_P(TutorialPlay, ClickingWhatEachStepOpensReachesTheEnd) {
    const PlayCase c = GetParam();
    build(c.difficulty, c.level);
    ASSERT_NE(level, nullptr);
    ASSERT_EQ(data->getWorld(), 1);
    ASSERT_TRUE(level->hasTutorialScript());
    ASSERT_NE(level->getHints(), nullptr);
    EXPECT_EQ(level->getHints()->getStep(), -1);
    level->setDimmed(false);
    // Coarser frames than the other tests (the step is still under the engine's 1/15 s
    // clamp), so that a whole lesson passes in fewer frames.
    getLogic()->setFrameHook([] { platform::advanceTestClock(50); });
    const float timeAtStart = level->getTimeLeft();

    TutorialPlayer player(*genv, *level);
    while (level->hasTutorialScript() && player.gameTime() < kGameTimeLimit) {
        player.step();
        // The level clock stands while the script runs, however long the player takes.
        if (level->hasTutorialScript()) {
            ASSERT_EQ(level->getTimeLeft(), timeAtStart) << "at " << player.gameTime() << " s";
        }
    }
    ASSERT_FALSE(level->hasTutorialScript())
        << "stuck at hint step " << level->getHints()->getStep() << " after " << player.gameTime() << " s; open targets "
        << player.open().size() << "; clicks:" << player.history();
    // The last hint was shown (the step went past every hint but the closing one).
    EXPECT_GE(level->getHints()->getStep() + 1, static_cast<int>(level->getHints()->getHintCount()));

    // From here on a normal level: nothing is held back and the clock runs.
    for (cClickTarget* t : level->getBlockableTargets()) EXPECT_FALSE(t->isBlocked());
    EXPECT_FALSE(level->getWaitress()->isTutorialMode());
    EXPECT_FALSE(level->getSubStation()->getSub(0)->isBlocked());
    EXPECT_FALSE(level->getSubStation()->getPlace(0)->isBlocked());
    genv->frames(30);
    EXPECT_LT(level->getTimeLeft(), timeAtStart);
}

INSTANTIATE_TEST_SUITE_P(World1, TutorialPlay,
                         ::testing::Values(PlayCase{0, 1}, PlayCase{0, 2}, PlayCase{0, 3}, PlayCase{0, 4}, PlayCase{1, 1},
                                           PlayCase{1, 2}, PlayCase{1, 3}, PlayCase{1, 4}),
                         caseName);

}  // namespace
