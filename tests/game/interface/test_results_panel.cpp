// The level results panel: the outcome table at its edges, the buttons and texts of each case,
// the values it fills in, the world file it reads, the sparkles of the expert picture and the
// Enter key; fillSpaces, also with a font whose blank has no width.

#include "game/effects/cFxSparkle.h"
#include "tests/game/interface/PanelTestSupport.h"

using namespace panel_test;

namespace {

using O = cPanelContinue::Outcome;

const char* name(O o) {
    static const char* const names[] = {"GOOD1", "GOOD2", "NORMAL1", "NORMAL2", "TA_LOSE", "GOAL_BUT_LOSE", "BAD1", "BAD2"};
    return names[o];
}

TEST(ResultsJudge, OutcomeTableAtItsEdges) {
    struct Case {
        uint32_t score, goal, expert, counted;
        bool reached;
        O expected;
    };
    const Case cases[] = {
        {2000, 1000, 2000, 0, false, O::GOOD1},     // exactly the expert goal: 100 %
        {2199, 1000, 2000, 0, false, O::GOOD1},     // 109.95 % rounds down
        {2200, 1000, 2000, 0, false, O::GOOD2},     // 110 %
        {2200, 1000, 2000, 900, true, O::GOOD2},    // the history does not matter once the goal is reached
        {900, 900, 2000, 0, false, O::NORMAL1},     // the goal, 45 % of the expert goal
        {999, 900, 2000, 0, false, O::NORMAL1},     // 49.95 %
        {1000, 900, 2000, 0, false, O::NORMAL2},    // 50 % of the expert goal, not of the goal
        {1999, 900, 2000, 0, false, O::NORMAL2},
        {899, 900, 2000, 1, true, O::TA_LOSE},      // a counted best score wins over the goal reached in play
        {899, 900, 2000, 0, true, O::GOAL_BUT_LOSE},
        {449, 900, 2000, 0, false, O::BAD1},        // 49.9 % of the goal
        {450, 900, 2000, 0, false, O::BAD2},        // 50 %
        {0, 900, 2000, 0, false, O::BAD1},
        {0, 0, 0, 0, false, O::GOOD1},              // goals of 0: 100 %, no division
        {5, 0, 0, 0, false, O::GOOD1},
        {50000000, 1, 40000000, 0, false, O::GOOD2},   // 125 %: the product does not wrap
    };
    for (const Case& c : cases)
        EXPECT_STREQ(name(cPanelContinue::judge(c.score, c.goal, c.expert, c.counted, c.reached)), name(c.expected))
            << c.score << " of " << c.goal << "/" << c.expert << " counted " << c.counted << " reached " << c.reached;
    EXPECT_EQ(cPanelContinue::percentOf(7, 0), 100u);
}

class ResultsPanel : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        screen->buildPanels();
    }
    cPanelContinue* appear() {
        showAndSettle(screen->results);
        return screen->results;
    }
    static std::string texture(cButton* button) { return button ? std::string(button->getTextureNormal()) : "deleted"; }
};

TEST_F(ResultsPanel, ButtonsAndTextsOfEachCase) {
    struct Case {
        const char* what;
        uint32_t score, counted;
        bool reached;
        int32_t level, reachedLevel, markedLevel;
        O outcome;
        const char *first, *second, *third;
        bool goalTexts, totalTexts;
        const char* picture;
        const char* sound;
    };
    const char* const great = "play:sounds/game_interface/level_great.ogg";
    const char* const good = "play:sounds/game_interface/level_good.ogg";
    const char* const bad = "play:sounds/game_interface/level_bad.ogg";
    // goal 1000, expert goal 2000
    const Case cases[] = {
        {"new GOOD1", 2000, 0, true, 5, 5, 5, O::GOOD1, "continue_goal", "restart_goal", "menu_goal", false, true, "good", great},
        {"new GOOD2", 2200, 0, true, 5, 5, 5, O::GOOD2, "continue", "deleted", "menu", false, true, "good", great},
        {"new NORMAL2", 1000, 0, true, 5, 5, 5, O::NORMAL2, "continue_goal", "restart_goal", "menu_goal", false, true, "normal", good},
        {"new BAD1", 100, 0, false, 5, 5, 5, O::BAD1, "try_again", "deleted", "menu", true, false, "bad", bad},
        {"new GOAL_BUT_LOSE", 900, 0, true, 5, 5, 5, O::GOAL_BUT_LOSE, "try_again", "deleted", "menu", true, false, "bad", bad},
        {"new TA_LOSE", 900, 1500, false, 5, 5, 5, O::TA_LOSE, "continue_goal", "restart_goal", "menu_goal", false, true, "bad", bad},
        {"replayed GOOD2", 2200, 2000, true, 5, 9, 9, O::GOOD2, "continue_goal", "restart_goal", "menu_goal", false, true, "good", great},
        {"replayed BAD1", 100, 0, false, 5, 9, 9, O::BAD1, "continue_goal", "restart_goal", "menu_goal", false, true, "bad", bad},
        {"marked counts as new", 100, 0, false, 5, 9, 5, O::BAD1, "try_again", "deleted", "menu", true, false, "bad", bad},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        screen->score = c.score;
        screen->countedBestScore = c.counted;
        screen->goalReached = c.reached;
        screen->level = c.level;
        screen->reachedLevel = c.reachedLevel;
        screen->markedLevel = c.markedLevel;
        cPanelContinue* results = appear();
        EXPECT_STREQ(name(results->getOutcome()), name(c.outcome));
        const std::string buttons = "Game/Interface/Buttons/button_";
        EXPECT_EQ(texture(results->getFirstButton()), buttons + c.first + ".dds");
        EXPECT_EQ(texture(results->getSecondButton()),
                  std::string(c.second) == "deleted" ? "deleted" : buttons + c.second + ".dds");
        EXPECT_EQ(texture(results->getThirdButton()), buttons + c.third + ".dds");
        EXPECT_EQ(results->getGoalText() != nullptr, c.goalTexts);
        EXPECT_EQ(results->getGoalDescription() != nullptr, c.goalTexts);
        EXPECT_EQ(results->getTotalText() != nullptr, c.totalTexts);
        EXPECT_EQ(results->getTotalDescription() != nullptr, c.totalTexts);
        ASSERT_NE(results->getPicture(), nullptr);
        EXPECT_EQ(std::string(results->getPicture()->getPictureName()),
                  std::string("Game/Interface/Surfaces/") + c.picture + ".dds");
        EXPECT_EQ(results->getExpertPicture()->isVisible(), c.outcome == O::GOOD1 || c.outcome == O::GOOD2);
        EXPECT_EQ(sound->count(c.sound), 1u);
        EXPECT_EQ(cStringW(results->getTitle()->getString()).toNarrow(),
                  std::string("EASY ") + (c.outcome == O::TA_LOSE ? "continue_TA_lose_title"
                                          : c.outcome == O::GOAL_BUT_LOSE ? "continue_goal_but_lose_title"
                                          : c.outcome == O::GOOD1 ? "continue_good_title1"
                                          : c.outcome == O::GOOD2 ? "continue_good_title2"
                                          : c.outcome == O::NORMAL2 ? "continue_normal_title2"
                                          : "continue_bad_title1"));
        // Every part left is attached and shown with the panel.
        for (cSprite* part : std::initializer_list<cSprite*>{results->getFirstButton(), results->getThirdButton(),
                                                             results->getTitle(), results->getDescription()})
            EXPECT_TRUE(part->isVisible());
    }
}

TEST_F(ResultsPanel, FillsCashScoreGoalAndTotal) {
    screen->level = 25;   // world 2: the cash counts from level 21
    screen->reachedLevel = screen->markedLevel = 25;
    screen->score = 1200;
    screen->goal = 1000;
    screen->expertGoal = 5000;
    screen->countedBestScore = 300;
    screen->bestScore = 800;
    screen->goalReached = true;
    screen->graphicsSet = 2;
    cPanelContinue* results = appear();
    EXPECT_TRUE(screen->called("getCash(21,25)"));
    EXPECT_TRUE(screen->called("getTotalScore(60)"));
    EXPECT_EQ(results->getCashText()->getString(), cStringW(L"1600"));          // 700 - 300 + 1200
    EXPECT_EQ(results->getScoreText()->getString(), cStringW(L"1200"));
    EXPECT_EQ(results->getTotalText()->getString(), cStringW(L"9400 9400"));    // 9000 - 800 + 1200
    EXPECT_EQ(results->getScoreDescription()->getString(), cStringW(L"SCORE         ."));   // 48 px over 6 px blanks, + 1
    EXPECT_EQ(cStringW(results->getTitle()->getString()).toNarrow(), "TWO continue_normal_title1");

    // A best score above this run's: the total stands; a failed run keeps the goal text, filled with the goal.
    TearDown();
    SetUp();
    screen->score = 100;
    screen->bestScore = 5000;
    results = appear();
    ASSERT_NE(results->getGoalText(), nullptr);
    EXPECT_EQ(results->getGoalText()->getString(), cStringW(L"1000"));
    EXPECT_EQ(results->getGoalDescription()->getString(), cStringW(L"GOAL         "));
    EXPECT_EQ(screen->actions(), std::vector<std::string>{}) << "the panel books nothing";
}

TEST_F(ResultsPanel, EmptyWorldKeysDeleteThePictureAndTheDescription) {
    std::string text = worldIni("HARD");
    for (const char* key : {"continue_bad_pic", "continue_bad_desc1", "continue_bad_title1"}) {
        size_t at = text.find(std::string(key) + "=");
        size_t end = text.find('\n', at);
        text.replace(at, end - at, std::string(key) + "=\"\"");
    }
    replaceIni(panel_files::kWorldHard1, text);
    screen->difficulty = 1;
    screen->score = 10;
    cPanelContinue* results = appear();
    EXPECT_EQ(results->getPicture(), nullptr);
    EXPECT_EQ(results->getDescription(), nullptr);
    ASSERT_NE(results->getTitle(), nullptr);
    EXPECT_TRUE(results->getTitle()->getString().isEmpty());
}

TEST_F(ResultsPanel, WorldFileByGraphicsSetAndDifficulty) {
    struct Case {
        int32_t set, difficulty;
        const char* tag;
    };
    // A set outside 1..3 takes the set-1 files.
    const Case cases[] = {{1, 0, "EASY"}, {1, 1, "HARD"}, {1, -1, "HARD"}, {2, 0, "TWO"},
                          {3, 1, "THREE"}, {0, 0, "EASY"}, {4, 1, "HARD"}, {-3, 0, "EASY"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.set) + "/" + std::to_string(c.difficulty));
        TearDown();
        SetUp();
        screen->graphicsSet = c.set;
        screen->difficulty = c.difficulty;
        cPanelContinue* results = appear();
        EXPECT_EQ(cStringW(results->getTitle()->getString()).toNarrow(), std::string(c.tag) + " continue_bad_title1");
    }
}

TEST_F(ResultsPanel, ExpertPictureSparklesOnInterfaceTimeWithFullEffects) {
    screen->score = 2000;
    cPanelContinue* results = appear();
    ASSERT_TRUE(getLogic()->isPaused());
    // One sparkle a frame, each fading at 500 a second from 75: nine alive at 60 frames a second.
    clearSparkles();
    frames(5);
    EXPECT_EQ(cEffectRegistry<cFxSparkle>::count(), 5u) << "one sparkle a frame while game time stands";
    frames(20);
    EXPECT_EQ(cEffectRegistry<cFxSparkle>::count(), 9u);
    for (auto& [serial, node] : cEffectRegistry<cFxSparkle>::instances()) EXPECT_EQ(node->getParent(), results);

    setFullEffects(false);
    clearSparkles();
    frames(10);
    EXPECT_EQ(cEffectRegistry<cFxSparkle>::count(), 0u);
    EXPECT_TRUE(results->getExpertPicture()->isVisible());
}

TEST_F(ResultsPanel, NoSparklesWithoutTheExpertPicture) {
    screen->score = 1500;
    appear();
    frames(10);
    EXPECT_EQ(cEffectRegistry<cFxSparkle>::count(), 0u);
}

TEST_F(ResultsPanel, EnterIsTheFirstButtonUnlessAltIsHeld) {
    struct Case {
        uint32_t score, counted;
        const char* action;
    };
    const Case cases[] = {
        {1000, 0, "continueAfterWin(true)"},
        {100, 0, "restartLevel(2)"},
        {100, 800, "continueAfterWin(true)"},   // a level passed before may be left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        TearDown();
        SetUp();
        screen->score = c.score;
        screen->countedBestScore = c.counted;
        cPanelContinue* results = appear();
        screen->calls.clear();
        pressKey(KEY_ENTER, true);
        pressKey(KEY_ESCAPE);
        EXPECT_TRUE(screen->actions().empty());
        EXPECT_TRUE(results->isComplete());
        pressKey(KEY_ENTER);
        EXPECT_EQ(screen->actions(), std::vector<std::string>{c.action});
        EXPECT_TRUE(results->isDisappearing());
        settle(results);
        EXPECT_TRUE(results->isFinished());
    }
}

TEST_F(ResultsPanel, TheOtherButtonsOpenTheConfirmPanelsAndWaitUnderThem) {
    screen->score = 1500;
    cPanelContinue* results = appear();
    ASSERT_TRUE(click(results->getSecondButton()));
    EXPECT_TRUE(screen->confirmTry->isAppearing());
    settle(screen->confirmTry);
    EXPECT_FALSE(results->isActive());
    pressKey(KEY_ENTER);   // Yes of the confirm-try panel, not the first button of the results
    EXPECT_EQ(screen->actions(), std::vector<std::string>{"restartLevel(1)"});
    EXPECT_TRUE(results->isDisappearing());
}

TEST_F(ResultsPanel, FillSpacesSpansTheValueWithOneBlankToSpare) {
    cText* value = new cText(screen);
    cText* label = new cText(screen);
    for (cText* t : {value, label}) {
        t->setFont("fonts/fixed.rwf");
        t->setLayerTexture(0, "fonts/fixed.png");
    }
    struct Case {
        const wchar_t *value, *label, *expected;
    };
    const Case cases[] = {
        {L"", L"A#SPACES#B", L"A B"},
        {L"7", L"#SPACES#", L"   "},                                      // 12 px: two 6-px blanks + 1
        {L"1234", L"X#SPACES#Y#SPACES#", L"X         Y         "},     // 48 px: 8 + 1
        {L"12", L"NONE", L"NONE"},
    };
    for (const Case& c : cases) {
        value->setString(c.value);
        label->setString(c.label);
        EXPECT_EQ(fillSpaces(value, label), cStringW(c.expected)) << cStringW(c.value).toNarrow();
        EXPECT_EQ(label->getString(), cStringW(c.expected));
    }
    // A font whose blank has no width: one blank, no division.
    label->setFont("fonts/noblank.rwf");
    value->setString(L"1234");
    label->setString(L"A#SPACES#B");
    EXPECT_EQ(fillSpaces(value, label), cStringW(L"A B"));
    delete value;
    delete label;
}

}  // namespace
