// The game-mode screen and the play screen's game-mode panel (the mode saved before anything
// leaves, BACK changing nothing, the menu's fade by panel alpha and answer, the play screen
// listening again after the panel's BACK), the help screen's pages and keys, and the
// highscore screen's lines.
#include <gtest/gtest.h>

#include "engine/scene/cCompositePicture.h"
#include "engine/scene/cText.h"
#include "game/menus/cPreviewPanel.h"
#include "game/menus/cScreenGameMode.h"
#include "game/menus/cScreenHelp.h"
#include "game/menus/cScreenHighscore.h"
#include "game/menus/cScreenPlay.h"
#include "tests/game/menus/test_play_fixture.h"

using namespace menus_test;

namespace {

// A game-mode screen with only its buttons, the panel at this alpha.
std::string gameModeIni(int alpha) {
    return "[COMMON]\nbackground_texture=\"menu/surfaces/back_play.dds\"\n[PANEL]\nposition=\"400,300\"\nalpha=\"" +
           std::to_string(alpha) +
           "\"\n[BUTTON_EASY]\nposition=\"260,340\"\nsize=\"100,40\"\n[BUTTON_HARD]\nposition=\"540,340\"\n"
           "size=\"100,40\"\n[BUTTON_BACK]\nposition=\"400,420\"\nsize=\"100,40\"\n";
}

class ModeHelpHighscoreTest : public PlayFixture {
protected:
    template <class Screen>
    Screen* openAtRest(int32_t id) {
        build(id);
        auto* s = screen<Screen>(id);
        EXPECT_NE(s, nullptr);
        EXPECT_TRUE(framesUntil([&] { return s->getPanel()->isComplete() && s->getPanel()->isActive(); }));
        return s;
    }
    // The lines of the highscore screen as "name | score".
    std::vector<std::string> shownLines(cScreenHighscore* s) {
        std::vector<std::string> lines;
        for (size_t i = 0; i < s->getNameTexts().size(); ++i)
            lines.push_back(wideToUtf8(s->getNameTexts()[i]->getString()) + " | " +
                            wideToUtf8(s->getScoreTexts()[i]->getString()));
        return lines;
    }
};

}  // namespace

TEST_F(ModeHelpHighscoreTest, GameModeScreenSavesTheChoiceAndFadesByAlphaAndAnswer) {
    struct Case {
        int32_t result;  // the button: 0 EASY, 1 HARD, 2 BACK
        int alpha;       // of the panel
        bool screenFades;
    };
    const Case cases[] = {{0, 200, true}, {1, 200, true}, {2, 200, false}, {0, 255, false}, {1, 201, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "result " << c.result << " alpha " << c.alpha);
        useIni(cScreenGameMode::kConfig, gameModeIni(c.alpha));
        useSave({makeProfile(L"Ann", 1, 1, -1)});
        auto* s = openAtRest<cScreenGameMode>(cMainMenu::kGameModeScreen);
        const cGameModeChoice& choice = s->getChoice();
        cButton* buttons[] = {choice.easy, choice.hard, choice.back};
        press(buttons[c.result]);
        // The mode is in the save file before the screen has gone.
        EXPECT_EQ(readSaveFile().profiles.at(0).difficulty, c.result == 2 ? -1 : c.result);
        EXPECT_EQ(data->getDifficulty(), c.result == 2 ? -1 : c.result);
        EXPECT_FALSE(s->isFinished());
        bool faded = false;
        for (int n = 0; n < 60 && !s->isFinished(); ++n) {
            frame();
            faded = faded || menu->isFadingOut();
        }
        ASSERT_TRUE(s->isFinished());
        EXPECT_EQ(s->getResult(), c.result);
        EXPECT_EQ(faded, c.screenFades);
        // The menu acts on the answer: a mode starts level 1, BACK returns.
        frame();
        EXPECT_EQ(menu->isFinished(), c.result != 2);
    }
}

TEST_F(ModeHelpHighscoreTest, GameModePanelBackLeavesTheModeAndThePlayScreenListensAgain) {
    useSave({makeProfile(L"Ann", 12, 12, -1)});
    build(cMainMenu::kPlayScreen);
    auto* play = screen<cScreenPlay>(cMainMenu::kPlayScreen);
    ASSERT_TRUE(framesUntil([&] { return play->isComplete() && play->getFrame()->isActive(); }));
    cPreviewPanel* page = play->getPage(play->getShownPage());
    press(play->getStartButton());
    cPanelGameMode* panel = play->getGameModePanel();
    ASSERT_TRUE(framesUntil([&] { return panel->isComplete() && panel->isActive(); }));
    // Only the panel listens: the frame, START and the page are inactive every frame.
    for (int n = 0; n < 5; ++n) {
        frame();
        EXPECT_FALSE(play->getFrame()->isActive());
        EXPECT_FALSE(play->getStartButton()->isActive());
        EXPECT_FALSE(page->isActive());
        EXPECT_TRUE(panel->getChoice().back->isActive());
    }
    press(panel->getChoice().back);
    ASSERT_TRUE(framesUntil([&] { return !panel->isVisible(); }));
    frame();
    EXPECT_TRUE(play->getFrame()->isActive());
    EXPECT_TRUE(play->getStartButton()->isActive());
    EXPECT_TRUE(page->isActive());
    EXPECT_FALSE(play->isFinished());
    EXPECT_EQ(data->getDifficulty(), -1);
    EXPECT_EQ(readSaveFile().profiles.at(0).difficulty, -1);
    // START asks again; EASY now starts the level.
    press(play->getStartButton());
    ASSERT_TRUE(framesUntil([&] { return panel->isComplete() && panel->isActive(); }));
    press(panel->getChoice().easy);
    EXPECT_EQ(readSaveFile().profiles.at(0).difficulty, 0);
    ASSERT_TRUE(framesUntil([&] { return play->isFinished(); }));
    EXPECT_EQ(play->getResult(), cScreenPlay::RESULT_START);
}

TEST_F(ModeHelpHighscoreTest, HelpPagesUpToTheFirstGap) {
    useSave({makeProfile(L"Ann", 1, 1, 0)});
    // The demo's three pages: the arrows follow the page; OK ends after the slide-out.
    auto* help = openAtRest<cScreenHelp>(cMainMenu::kHelpScreen);
    ASSERT_EQ(help->getPages().size(), 3u);
    EXPECT_EQ(help->getPagePicture()->getPicture(), help->getPages()[0]);
    EXPECT_FALSE(help->getBackwardButton()->isOwnEnabled());
    EXPECT_TRUE(help->getForwardButton()->isOwnEnabled());
    press(help->getBackwardButton());  // from the first page: nothing
    EXPECT_EQ(help->getCurrentPage(), 0u);
    press(help->getForwardButton());
    press(help->getForwardButton());
    EXPECT_EQ(help->getCurrentPage(), 2u);
    EXPECT_EQ(help->getPagePicture()->getPicture(), cStringA("menu/surfaces/help_page3.dds"));
    EXPECT_FALSE(help->getForwardButton()->isOwnEnabled());
    EXPECT_TRUE(help->getBackwardButton()->isOwnEnabled());
    press(help->getForwardButton());  // past the last page: nothing
    EXPECT_EQ(help->getCurrentPage(), 2u);
    press(help->getBackwardButton());
    EXPECT_EQ(help->getCurrentPage(), 1u);
    // Alt+Enter does nothing; Enter closes, finished once the panel is hidden.
    pressKeyWith(KEY_LEFT_ALT, KEY_ENTER);
    EXPECT_FALSE(help->isClosing());
    pressKey(KEY_ENTER);
    EXPECT_TRUE(help->isClosing());
    EXPECT_FALSE(help->isFinished());
    ASSERT_TRUE(framesUntil([&] { return help->isFinished(); }));
    EXPECT_FALSE(help->getPanel()->isVisible());

    struct Case {
        const char* pictures;
        size_t pages;
        const char* shown;
    };
    const Case cases[] = {
        // Pages 1, 2 and 4: the gap at 3 ends the list.
        {"picture_1=\"menu/surfaces/help_page2.dds\"\npicture_2=\"menu/surfaces/help_page3.dds\"\n"
         "picture_4=\"menu/surfaces/help_page1.dds\"\n",
         2, "menu/surfaces/help_page2.dds"},
        // None: the picture of the section stays, both arrows off.
        {"", 0, "menu/surfaces/help_page1.dds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pages);
        useIni(cScreenHelp::kConfig, std::string("[COMMON]\n[PANEL]\nposition=\"400,300\"\n[PICTURE]\n"
                                                 "picture=\"menu/surfaces/help_page1.dds\"\n") +
                                         c.pictures + "[BUTTON_OK]\nsize=\"100,40\"\n");
        build(cMainMenu::kHelpScreen);
        help = screen<cScreenHelp>(cMainMenu::kHelpScreen);
        EXPECT_EQ(help->getPages().size(), c.pages);
        EXPECT_EQ(help->getPagePicture()->getPicture(), cStringA(c.shown));
        EXPECT_EQ(help->getForwardButton()->isOwnEnabled(), c.pages > 1);
        EXPECT_FALSE(help->getBackwardButton()->isOwnEnabled());
        // Enter while the panel still slides in does nothing.
        pressKey(KEY_ENTER);
        EXPECT_FALSE(help->isClosing());
    }
}

TEST_F(ModeHelpHighscoreTest, HighscoreLines) {
    struct Case {
        const char* name;
        std::vector<cHighscore> table;
        uint32_t limit;
        std::vector<std::string> lines;
    };
    std::vector<cHighscore> ten;
    for (int i = 1; i <= 10; ++i) ten.push_back(makeHighscore((L"P" + std::to_wstring(i)).c_str(), 1000 - 10 * i));
    const Case cases[] = {
        {"empty", {}, 10, {}},
        {"no name or no score: skipped, ranks without gaps",
         {makeHighscore(L"Ann", 500), makeHighscore(L"", 400), makeHighscore(L"Bob", 0), makeHighscore(L"Cy", 300)},
         10,
         {"1. Ann | 500", "2. Cy | 300"}},
        {"limit", ten, 5, {"1. P1 | 990", "2. P2 | 980", "3. P3 | 970", "4. P4 | 960", "5. P5 | 950"}},
        {"no limit: no line", ten, 0, {}},
        {"ties in reverse table order",
         {makeHighscore(L"Ann", 100), makeHighscore(L"Bob", 100), makeHighscore(L"Cy", 50)},
         10,
         {"1. Bob | 100", "2. Ann | 100", "3. Cy | 50"}},
        {"scores from 2^31 up are large, not negative",
         {makeHighscore(L"Ann", 5), makeHighscore(L"Big", INT32_MIN), makeHighscore(L"Max", -1)},
         10,
         {"1. Max | 4294967295", "2. Big | 2147483648", "3. Ann | 5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        useSave({makeProfile(L"Ann", 1, 1, 0)}, c.table);
        std::vector<std::string> lines;
        for (const cScreenHighscore::Line& line : cScreenHighscore::buildLines(c.limit))
            lines.push_back(wideToUtf8(line.name) + " | " + wideToUtf8(line.score));
        EXPECT_EQ(lines, c.lines);
    }
    // The screen: one pair of texts per line, placed from the start positions by the steps.
    useSave({makeProfile(L"Ann", 1, 1, 0)}, ten);
    auto* s = openAtRest<cScreenHighscore>(cMainMenu::kHighscoreScreen);
    EXPECT_EQ(s->getLineLimit(), 10u);
    ASSERT_EQ(shownLines(s).size(), 10u);
    EXPECT_EQ(shownLines(s)[9], "10. P10 | 900");
    EXPECT_EQ(s->getNameTexts()[1]->getPosition(), cVector2(170, 180));
    EXPECT_EQ(s->getScoreTexts()[2]->getPosition(), cVector2(630, 210));
    // Alt+Enter does nothing; OK ends the screen once the panel has gone.
    pressKeyWith(KEY_RIGHT_ALT, KEY_ENTER);
    EXPECT_FALSE(s->isClosing());
    press(s->getOkButton());
    EXPECT_TRUE(s->isClosing());
    EXPECT_FALSE(s->isActive());
    EXPECT_FALSE(s->isFinished());
    ASSERT_TRUE(framesUntil([&] { return s->isFinished(); }));
    // Without num_lines no line.
    useIni(cScreenHighscore::kConfig, "[COMMON]\n[PANEL]\nposition=\"400,300\"\n[BUTTON_OK]\nsize=\"100,40\"\n");
    build(cMainMenu::kHighscoreScreen);
    EXPECT_TRUE(screen<cScreenHighscore>(cMainMenu::kHighscoreScreen)->getNameTexts().empty());
}
