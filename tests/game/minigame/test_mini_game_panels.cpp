// The mini game's panels on the built Data folder: a slide-in stops game time at its first
// step, plays its sound once at the call and lets the background lead; Enter acts on the start
// and continue panels only at rest and without Alt; the start and continue panels read the
// level file the mini game loaded, also a command-line file outside the numbering and the
// first mini game started at level 1; the first mini game's hint explanation.
#include "tests/game/minigame/MiniGameTestSupport.h"

#include "engine/core/cFileManager.h"
#include "engine/media/cSound.h"
#include "engine/scene/cText.h"

using namespace minigame_test;

namespace {

// The newest sample channel: a new handle means a sample was played.
platform::audio::Handle lastSample() {
    const auto& channels = getSound()->sampleChannels();
    return channels.empty() ? 0 : channels.back();
}

void holdAlt(bool down) { platform::input::injectKey(KEY_LEFT_ALT, down); }

TEST_F(MiniGameTest, ASlideInFreezesGameTimeAtOnceAndThePanelFollowsItsBackground) {
    startAtLevel8();
    play();
    cMiniGamePausePanel* pause = scene->getMiniGamePausePanel();
    cMiniGameStatusPanel* status = scene->getStatus();
    EXPECT_TRUE(pause->isComplete()) << "no step before the first appear";
    const float hiddenY = pause->getPosition().y;
    const float backgroundY = pause->getBackground()->getPosition().y;
    ASSERT_EQ(hiddenY, cPanel::kHiddenY);

    // The status panel's pause button: the sound at the call, nothing moves yet.
    const platform::audio::Handle before = lastSample();
    cMiniGameStatusPanel::onButton(status->getPauseButton());
    const platform::audio::Handle appearSound = lastSample();
    EXPECT_NE(appearSound, before);
    EXPECT_FALSE(pause->isVisible());
    EXPECT_FALSE(getLogic()->isPaused());

    // The first step stops game time; the background leads, the panel waits ~0.17 s.
    frames(1);
    EXPECT_TRUE(getLogic()->isPaused());
    EXPECT_TRUE(mini()->isPaused());
    EXPECT_TRUE(pause->isVisible());
    EXPECT_FALSE(pause->isComplete());
    const float time = mini()->getTime();
    frames(6);
    EXPECT_EQ(pause->getPosition().y, hiddenY);
    EXPECT_NE(pause->getBackground()->getPosition().y, backgroundY);
    frames(14);
    EXPECT_GT(pause->getPosition().y, hiddenY) << "under way after about 0.17 s";
    // At rest: time still frozen, the status panel sent out silently, no second sound.
    ASSERT_TRUE(until([&] { return pause->isComplete(); }));
    EXPECT_EQ(pause->getPosition(), pause->getShownPosition());
    EXPECT_TRUE(getLogic()->isPaused());
    EXPECT_EQ(mini()->getTime(), time);
    ASSERT_TRUE(until([&] { return !status->isVisible(); }));
    EXPECT_EQ(lastSample(), appearSound);
    EXPECT_TRUE(status->isComplete());
    // Behind a panel only the blur moves: in on interface time, out again after the panel.
    EXPECT_EQ(mini()->getBlur()->getVertexAlpha(0), 255u);
    key(KEY_ESCAPE);
    ASSERT_TRUE(until([&] { return !pause->isVisible(); }));
    EXPECT_FALSE(getLogic()->isPaused());
    ASSERT_TRUE(until([&] { return mini()->getBlur()->getVertexAlpha(0) == 0u; }, 30));
    EXPECT_LT(mini()->getTime(), time);
}

TEST_F(MiniGameTest, EnterActsOnTheStartAndContinuePanelsOnlyAtRestAndWithoutAlt) {
    startAtLevel8();
    cMiniGameStartPanel* start = scene->getStartPanel();
    // While it slides in: ignored.
    ASSERT_TRUE(until([&] { return start->isVisible(); }));
    ASSERT_FALSE(start->isComplete());
    key(KEY_ENTER);
    ASSERT_TRUE(until([&] { return start->isComplete(); }));
    EXPECT_TRUE(start->isVisible());
    EXPECT_FALSE(start->isDisappearing());
    // With Alt held: ignored (Alt+Enter is the full-screen toggle).
    holdAlt(true);
    key(KEY_ENTER);
    holdAlt(false);
    frames(1);
    EXPECT_TRUE(start->isVisible());
    EXPECT_TRUE(start->isComplete());
    // Plain Enter: the game starts.
    key(KEY_ENTER);
    ASSERT_TRUE(until([&] { return !start->isVisible() && !getLogic()->isPaused(); }));

    // The same on the continue panel at the end.
    scene->cheatTimeOver();
    cMiniGameContinuePanel* end = scene->getContinuePanel();
    ASSERT_TRUE(until([&] { return end->isVisible(); }));
    ASSERT_FALSE(end->isComplete());
    key(KEY_ENTER);
    ASSERT_TRUE(until([&] { return end->isComplete(); }));
    EXPECT_EQ(scene->getResult(), 0);
    EXPECT_TRUE(end->isVisible());
    holdAlt(true);
    key(KEY_ENTER);
    holdAlt(false);
    frames(1);
    EXPECT_EQ(scene->getResult(), 0);
    EXPECT_FALSE(scene->isFading());
    key(KEY_ENTER);
    EXPECT_EQ(scene->getResult(), MINIGAME_RESULT_SHOP);
}

TEST_F(MiniGameTest, TheFirstMiniGamesHintExplanationShowsAfterThreeSecondsUntilTheFirstHint) {
    startAtLevel8();
    play();
    cMiniGameStatusPanel* status = scene->getStatus();
    cPicture* explanation = status->getHintDescription();
    // Played time by the clock (the first mini game gives 150 s).
    auto played = [&] { return 150.0f - mini()->getTime(); };
    ASSERT_LT(played(), 2.8f);
    ASSERT_TRUE(until([&] { return played() >= 2.8f; }, 300));
    EXPECT_FALSE(explanation->isVisible());
    ASSERT_TRUE(until([&] { return played() >= 3.3f; }));
    EXPECT_TRUE(explanation->isVisible());
    EXPECT_EQ(explanation->getVertexAlpha(0), 255u) << "faded in at 2000 a second";
    // The first hint used ends it for good.
    cMiniGameStatusPanel::onButton(status->getHintButton(0));
    frames(10);
    EXPECT_FALSE(explanation->isVisible());
    EXPECT_EQ(status->getHintDescriptionState(), 0.0f);
}

// One object to find, the panel texts of its own.
const char* const kOwnLevel =
    "[COMMON]\ntime=\"30\"\nobject_cost=\"10\"\ncount_lines=\"4\"\ncount_clicks_for_penalty=\"3\"\n"
    "start_title=\"Own start\"\nstart_description=\"Own words\"\n"
    "continue_picture=\"MiniGame1/Pictures/timeout.dds\"\ncontinue_description=\"Own end\"\n"
    "[NAME_TEXT]\nposition=\"18,250\"\nfont=\"Fonts/main.rwf\"\ntexture=\"Fonts/main.dds\"\nline_spacing=\"30\"\n"
    "[OBJECT_1]\nactive=\"1\"\nname=\"Thing\"\nposition=\"400,300\"\ncentered=\"0\"\n"
    "v1=\"0,0\"\nv2=\"40,0\"\nv3=\"40,40\"\nv4=\"0,40\"\n";

TEST_F(MiniGameTest, TheStartAndContinuePanelsReadACommandLineLevelFile) {
    genv->data.writeIni("config/minigame1/level10-1.ini", kOwnLevel);
    getFileManager()->rescan();
    startAtLevel8("config/minigame1/level10-1.ini");
    EXPECT_EQ(mini()->getLevelFile(), "config/minigame1/level10-1.ini");
    cMiniGameStartPanel* start = scene->getStartPanel();
    EXPECT_EQ(start->getTitle()->getString(), L"Own start");
    ASSERT_NE(start->getDescription(), nullptr);
    EXPECT_EQ(start->getDescription()->getString(), L"Own words");
    EXPECT_EQ(start->getPicture(), nullptr) << "no start_picture: no picture";
    play();
    scene->cheatTimeOver();
    ASSERT_TRUE(until([&] { return scene->getContinuePanel()->isVisible(); }));
    ASSERT_NE(scene->getContinuePanel()->getLevelDescription(), nullptr);
    EXPECT_EQ(scene->getContinuePanel()->getLevelDescription()->getString(), L"Own end");
}

TEST_F(MiniGameTest, TheFirstMiniGameStartedAtLevelOneShowsItsOwnTexts) {
    makeGame("");
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    getGameData()->addProfile(L"Beginner");
    getGameData()->selectProfile(getGameData()->getProfileCount() - 1);
    getGameData()->saveNow();
    ASSERT_EQ(getGameData()->getLevel(), 1);
    dropGame();
    ASSERT_TRUE(tryMakeGame("MINIGAME1"));
    ASSERT_TRUE(reach(APP_STATE_MINI_GAME));
    scene = game->getMiniGame();
    // No level before level 1 keeps a variant: variant 1 is played, and the panels say so.
    EXPECT_EQ(mini()->getLevelFile(), "Config/MiniGame1/level101.ini");
    EXPECT_EQ(scene->getStartPanel()->getTitle()->getString(), L"Mini game 1, picture 1");
    ASSERT_NE(scene->getStartPanel()->getPicture(), nullptr);
    play();
    scene->cheatTimeOver();
    ASSERT_TRUE(until([&] { return scene->getContinuePanel()->isVisible(); }));
    ASSERT_NE(scene->getContinuePanel()->getLevelDescription(), nullptr);
    EXPECT_EQ(scene->getContinuePanel()->getLevelDescription()->getString(), L"Time is up.");
}

}  // namespace
