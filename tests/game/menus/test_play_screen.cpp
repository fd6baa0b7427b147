// The play screen's level buttons (looks by reached, current, expert and hovered level; hit
// rectangle edges, centring and overlap; unlock), its pages (text alpha at the thresholds, a
// page change while pages still slide, presses with and without a button under the mouse)
// and the screen (first page by level, START with and without a game mode, the keys by
// activity, START on another page, the result after the slide-out).
#include <gtest/gtest.h>

#include "engine/scene/cCompositePicture.h"
#include "engine/scene/cText.h"
#include "game/menus/cLevelButton.h"
#include "game/menus/cPanelGameMode.h"
#include "game/menus/cPreviewPanel.h"
#include "game/menus/cScreenPlay.h"
#include "tests/game/menus/test_play_fixture.h"

using namespace menus_test;

namespace {

// A point on no button.
const cVector2 kNowhere(20, 590);

class PlayScreenTest : public PlayFixture {
protected:
    // The play screen of a menu built for a save with this profile, at rest.
    cScreenPlay* openPlay(const cProfile& profile) {
        useSave({profile});
        build(cMainMenu::kPlayScreen);
        cScreenPlay* play = screen<cScreenPlay>(cMainMenu::kPlayScreen);
        EXPECT_NE(play, nullptr);
        EXPECT_TRUE(framesUntil([&] { return atRest(play); }));
        pointAt(kNowhere);
        return play;
    }
    static bool atRest(cScreenPlay* play) {
        return play->isComplete() && play->getFrame()->isActive() && play->getPage(play->getShownPage())->isComplete();
    }
    // Frames until the play screen has finished; the number of frames it took.
    int framesToFinish(cScreenPlay* play) {
        int n = 0;
        while (!play->isFinished() && n < 200) {
            frame();
            ++n;
        }
        return n;
    }
    static cLevelButton* buttonOf(cScreenPlay* play, int32_t level) {
        return play->getPage((level - 1) / 10)->getButton((level - 1) % 10 + 1);
    }
};

}  // namespace

TEST_F(PlayScreenTest, ButtonLooksFollowReachedCurrentExpertAndHover) {
    // Reached 13, playing 12, expert on 3, 12, 13 and (oddly, beyond the reached level) 15.
    cScreenPlay* play = openPlay(makeProfile(L"Ann", 13, 12, 0, {3, 12, 13, 15}));
    ASSERT_EQ(play->getShownPage(), 1);
    struct Case {
        int32_t level;
        int32_t state;
        bool star;
        bool mark;
        const char* font;
    };
    const Case cases[] = {
        {11, cLevelButton::STATE_NORMAL, false, false, "Fonts/bold.rwf"},
        {12, cLevelButton::STATE_SELECTED, false, true, "Fonts/numbers.rwf"},
        {13, cLevelButton::STATE_NORMAL, true, false, "Fonts/bold.rwf"},
        {14, cLevelButton::STATE_DISABLED, false, false, "Fonts/small.rwf"},
        {15, cLevelButton::STATE_DISABLED, false, false, "Fonts/small.rwf"},
        {3, cLevelButton::STATE_NORMAL, true, false, "Fonts/bold.rwf"},
        {60, cLevelButton::STATE_DISABLED, false, false, "Fonts/small.rwf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        cLevelButton* button = buttonOf(play, c.level);
        EXPECT_EQ(button->getState(), c.state);
        EXPECT_EQ(button->getStarPicture()->isOwnVisible(), c.star);
        EXPECT_EQ(button->getSelectedPicture()->isOwnVisible(), c.mark);
        EXPECT_EQ(button->getNumberText()->getFontName(), cStringA(c.font));
        EXPECT_EQ(button->getNumberText()->getString(), intToString(c.level));
    }
    // The selected look places the number by its own offset (0, -2).
    cLevelButton* current = buttonOf(play, 12);
    EXPECT_EQ(current->getNumberText()->getPosition(), current->getPosition() + cVector2(0, -2));
    // Under the mouse: an expert level shows the active look with its star and offset ...
    cLevelButton* expert = buttonOf(play, 13);
    pointAt(expert->getPosition());
    EXPECT_EQ(expert->getState(), cLevelButton::STATE_ACTIVE);
    EXPECT_TRUE(expert->isHovered());
    EXPECT_TRUE(expert->getStarPicture()->isOwnVisible());
    EXPECT_EQ(expert->getNumberText()->getFontName(), cStringA("Fonts/title.rwf"));
    EXPECT_EQ(expert->getNumberText()->getPosition(), expert->getPosition() + cVector2(0, -3));
    // ... the current level stays selected, a locked level is never hovered.
    pointAt(current->getPosition());
    EXPECT_EQ(current->getState(), cLevelButton::STATE_SELECTED);
    EXPECT_EQ(expert->getState(), cLevelButton::STATE_NORMAL);
    cLevelButton* locked = buttonOf(play, 14);
    pointAt(locked->getPosition());
    EXPECT_FALSE(locked->isHovered());
    EXPECT_EQ(play->getPage(1)->getHovered(), nullptr);
    // A press on a locked level or on no button changes nothing ...
    leftClick();
    pointAt(cVector2(400, 250));
    leftClick();
    EXPECT_EQ(data->getLevel(), 12);
    // ... a press on a reached level makes it current at once, and the looks follow.
    pointAt(expert->getPosition());
    platform::input::injectButton(0, true);
    frame();
    EXPECT_EQ(data->getLevel(), 13);
    EXPECT_EQ(expert->getState(), cLevelButton::STATE_SELECTED);
    EXPECT_EQ(current->getState(), cLevelButton::STATE_NORMAL);
    EXPECT_FALSE(current->getSelectedPicture()->isOwnVisible());
    EXPECT_FALSE(expert->getStarPicture()->isOwnVisible());
    platform::input::injectButton(0, false);
    frame();
}

TEST_F(PlayScreenTest, HitRectangleEdgesCentringAndOverlap) {
    useSave({makeProfile(L"Ann", 2, 1, 0)});
    // Buttons 1 and 2 overlap by 34 pixels; button 2 (level 2) is reached, 3 is not.
    const std::string layout =
        "[COMMON]\nposition=\"400,300\"\n[LEVEL_BUTTON]\nsize=\"84,64\"\n[BUTTON_POSITIONS]\n"
        "position_1=\"100,100\"\nposition_2=\"150,100\"\nposition_3=\"300,100\"\n";
    struct Case {
        const char* centered;
        cVector2 point;
        bool inside;
    };
    // Centred: the rectangle 58..142 x 68..132; otherwise 100..184 x 100..164.
    const Case cases[] = {
        {"1", {58, 68}, true},        {"1", {142, 132}, true},      {"1", {57.9f, 100}, false},
        {"1", {142.1f, 100}, false},  {"1", {100, 67.9f}, false},   {"1", {100, 132.1f}, false},
        {"0", {100, 100}, true},      {"0", {184, 164}, true},      {"0", {99.9f, 120}, false},
        {"0", {184.1f, 120}, false},  {"0", {120, 164.1f}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "centered " << c.centered << " at " << c.point.x << "," << c.point.y);
        useIni(cPreviewPanel::kConfig, layout + "[LEVEL_BUTTON]\ncentered=\"" + c.centered + "\"\n");
        cPreviewPanel page(nullptr, 1);
        EXPECT_EQ(page.getButton(1)->hitTest(c.point), c.inside);
        EXPECT_FALSE(page.getButton(3)->hitTest(page.getButton(3)->getPosition()));  // locked
    }
    // Where two buttons overlap the lower index wins.
    useIni(cPreviewPanel::kConfig, layout);
    auto page = std::make_unique<cPreviewPanel>(nullptr, 1);
    page->enterFromLeft();
    ASSERT_TRUE(framesUntil([&] { return page->isComplete(); }));
    pointAt(cVector2(125, 100));
    EXPECT_EQ(page->getHovered(), page->getButton(1));
    EXPECT_FALSE(page->getButton(2)->isHovered());
    pointAt(cVector2(180, 100));
    EXPECT_EQ(page->getHovered(), page->getButton(2));
}

TEST_F(PlayScreenTest, UnlockOpensEveryLevelButKeepsTheReachedLevel) {
    cScreenPlay* play = openPlay(makeProfile(L"Ann", 5, 1, 0));
    EXPECT_EQ(buttonOf(play, 6)->getState(), cLevelButton::STATE_DISABLED);
    play->unlockAllLevels();
    for (int32_t level = 1; level <= 60; ++level) EXPECT_NE(buttonOf(play, level)->getState(), cLevelButton::STATE_DISABLED);
    EXPECT_EQ(data->getReachedLevel(), 5);
    pointAt(buttonOf(play, 8)->getPosition());
    leftClick();
    EXPECT_EQ(data->getLevel(), 8);
}

TEST_F(PlayScreenTest, TextAlphaFollowsTheThresholdsAndSlidesReplaceEachOther) {
    cScreenPlay* play = openPlay(makeProfile(L"Ann", 30, 5, 0));
    cPreviewPanel* first = play->getPage(0);
    cPreviewPanel* second = play->getPage(1);
    EXPECT_EQ(first->getTextAlpha(), 255.0f);
    EXPECT_EQ(first->getTitle()->getString(), L"The little kitchen");
    // NEXT: the first page leaves to the left, the second enters from the right. The alpha of
    // a frame is taken at the x where the page stood when the frame began.
    press(play->getNextButton());
    EXPECT_EQ(second->getPosition().x, cPreviewPanel::kOffRightX);
    bool rose = false;
    for (int n = 0; n < 60 && !(first->isComplete() && second->isComplete()); ++n) {
        const float leavingX = first->getPosition().x;
        const float enteringX = second->getPosition().x;
        frame();
        if (leavingX <= first->getLeftThreshold()) EXPECT_EQ(first->getTextAlpha(), 0.0f);
        if (enteringX > second->getRightThreshold()) EXPECT_EQ(second->getTextAlpha(), 0.0f);
        if (enteringX <= second->getRightThreshold() && second->getTextAlpha() > 0.0f) rose = true;
    }
    EXPECT_TRUE(rose);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(first->isFinished());
    EXPECT_EQ(second->getTextAlpha(), 255.0f);
    EXPECT_EQ(second->getPosition(), second->getHomePosition());
    // A change while both still slide: the entering page leaves from where it stands, the
    // leaving one re-enters from its off point.
    press(play->getNextButton());
    frames(5);
    cPreviewPanel* third = play->getPage(2);
    const cVector2 midway = third->getPosition();
    press(play->getPrevButton());
    EXPECT_EQ(third->getPosition(), midway);
    EXPECT_EQ(second->getPosition(), cVector2(cPreviewPanel::kOffLeftX, second->getHomePosition().y));
    ASSERT_TRUE(framesUntil([&] { return third->isComplete() && second->isComplete(); }));
    EXPECT_FALSE(third->isVisible());
    EXPECT_EQ(second->getPosition(), second->getHomePosition());
    // Leaving upwards keeps the text until the page is hidden.
    press(play->getBackButton());
    frame();
    EXPECT_EQ(second->getTextAlpha(), 255.0f);
    ASSERT_TRUE(framesUntil([&] { return second->isComplete(); }));
    EXPECT_EQ(second->getTextAlpha(), 0.0f);
    EXPECT_FALSE(second->isVisible());
}

TEST_F(PlayScreenTest, FirstPageIsThePageOfTheCurrentLevel) {
    const std::pair<int32_t, int> cases[] = {{1, 0}, {10, 0}, {11, 1}, {23, 2}, {60, 5}};
    for (const auto& [level, page] : cases) {
        SCOPED_TRACE(level);
        cScreenPlay* play = openPlay(makeProfile(L"Ann", 61, level, 0));
        EXPECT_EQ(play->getShownPage(), page);
        for (int p = 0; p < cScreenPlay::kPageCount; ++p) EXPECT_EQ(play->getPage(p)->isVisible(), p == page) << p;
        EXPECT_EQ(play->getPrevButton()->isOwnEnabled(), page > 0);
        EXPECT_EQ(play->getNextButton()->isOwnEnabled(), page < 5);
    }
    // Levels outside 1..60 keep the page (the first one at the start).
    EXPECT_EQ(cScreenPlay::pageOf(0, 0), 0);
    EXPECT_EQ(cScreenPlay::pageOf(61, 0), 0);
    EXPECT_EQ(cScreenPlay::pageOf(61, 3), 3);
    EXPECT_EQ(cScreenPlay::pageOf(-5, 4), 4);
}

TEST_F(PlayScreenTest, PrevAndNextAreGuardedAtTheEnds) {
    cScreenPlay* play = openPlay(makeProfile(L"Ann", 61, 1, 0));
    press(play->getPrevButton());
    EXPECT_EQ(play->getShownPage(), 0);
    EXPECT_TRUE(play->getPage(0)->isComplete());
    for (int i = 0; i < 7; ++i) press(play->getNextButton());
    EXPECT_EQ(play->getShownPage(), 5);
    EXPECT_FALSE(play->getNextButton()->isOwnEnabled());
    EXPECT_TRUE(play->getPrevButton()->isOwnEnabled());
}

TEST_F(PlayScreenTest, StartWithAModeFinishesAfterTheSlideOut) {
    cScreenPlay* play = openPlay(makeProfile(L"Ann", 20, 7, 1));
    press(play->getStartButton());
    EXPECT_EQ(play->getResult(), cScreenPlay::RESULT_START);
    EXPECT_FALSE(play->isFinished());
    EXPECT_FALSE(play->getGameModePanel()->isVisible());
    const int n = framesToFinish(play);
    EXPECT_NEAR(n * kFrame, 0.3f, 0.04f);
    EXPECT_FALSE(play->isVisible());
    EXPECT_FALSE(play->getPage(0)->isVisible());
    // The menu starts the level.
    frame();
    EXPECT_TRUE(menu->isFinished());
    EXPECT_EQ(menu->getResult(), MENU_RESULT_PLAY);
    EXPECT_EQ(data->getLevel(), 7);
}

TEST_F(PlayScreenTest, StartWithoutAModeAsksForItFirst) {
    cScreenPlay* play = openPlay(makeProfile(L"Ann", 20, 7, -1));
    press(play->getStartButton());
    cPanelGameMode* panel = play->getGameModePanel();
    frames(3);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(play->getFrame()->isActive());
    // Enter and Escape do nothing while the panel is up.
    pressKey(KEY_ENTER);
    pressKey(KEY_ESCAPE);
    ASSERT_TRUE(framesUntil([&] { return panel->isComplete() && panel->isActive(); }));
    EXPECT_FALSE(play->isFinished());
    EXPECT_TRUE(play->isComplete());
    // HARD: stored and saved before anything leaves, then the level starts.
    press(panel->getChoice().hard);
    EXPECT_EQ(readSaveFile().profiles.at(0).difficulty, 1);
    EXPECT_EQ(data->getDifficulty(), 1);
    EXPECT_EQ(play->getResult(), cScreenPlay::RESULT_START);
    framesToFinish(play);
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(PlayScreenTest, KeysActOnlyWhileTheFrameListens) {
    struct Case {
        const char* name;
        uint8_t held;  // 0: none
        uint8_t key;
        bool whileSliding;
        bool finishes;
        int32_t result;
    };
    const Case cases[] = {
        {"Enter", 0, KEY_ENTER, false, true, cScreenPlay::RESULT_START},
        {"left Alt+Enter", KEY_LEFT_ALT, KEY_ENTER, false, false, 0},
        {"right Alt+Enter", KEY_RIGHT_ALT, KEY_ENTER, false, false, 0},
        {"Escape", 0, KEY_ESCAPE, false, true, cScreenPlay::RESULT_BACK},
        {"Enter while sliding in", 0, KEY_ENTER, true, false, 0},
        {"Escape while sliding in", 0, KEY_ESCAPE, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        useSave({makeProfile(L"Ann", 20, 7, 0)});
        build(cMainMenu::kPlayScreen);
        cScreenPlay* play = screen<cScreenPlay>(cMainMenu::kPlayScreen);
        if (!c.whileSliding) ASSERT_TRUE(framesUntil([&] { return atRest(play); }));
        if (c.held)
            pressKeyWith(c.held, c.key);
        else
            pressKey(c.key);
        if (c.finishes) {
            framesToFinish(play);
            EXPECT_TRUE(play->isFinished());
            EXPECT_EQ(play->getResult(), c.result);
        } else {
            frames(30);
            EXPECT_FALSE(play->isFinished());
            EXPECT_TRUE(play->isVisible());
        }
    }
}

TEST_F(PlayScreenTest, StartIgnoresTheMouseOnAnotherPageButEnterStarts) {
    cScreenPlay* play = openPlay(makeProfile(L"Ann", 30, 5, 0));
    press(play->getNextButton());
    ASSERT_TRUE(framesUntil([&] { return atRest(play); }));
    EXPECT_EQ(play->getCurrentLevelPage(), 0);
    EXPECT_FALSE(play->getStartButton()->isActive());
    pointAt(play->getStartButton()->getPosition());
    leftClick();
    frames(30);
    EXPECT_FALSE(play->isFinished());
    // Back on the page of the current level START listens again.
    press(play->getPrevButton());
    ASSERT_TRUE(framesUntil([&] { return atRest(play); }));
    EXPECT_TRUE(play->getStartButton()->isActive());
    // Enter starts the current level from any page.
    press(play->getNextButton());
    ASSERT_TRUE(framesUntil([&] { return atRest(play); }));
    pressKey(KEY_ENTER);
    framesToFinish(play);
    EXPECT_EQ(play->getResult(), cScreenPlay::RESULT_START);
    EXPECT_EQ(data->getLevel(), 5);
}

TEST_F(PlayScreenTest, EveryPictureAndFontOfTheDemoDataIsLoadedInTheMenu) {
    // Each page with every look of its buttons is drawn (a texture the menu has not loaded
    // would end the frame with its text), then the game-mode panel over the play screen.
    cScreenPlay* play = openPlay(makeProfile(L"Ann", 13, 12, -1, {3, 11}));
    for (int page = 0; page < cScreenPlay::kPageCount; ++page) {
        SCOPED_TRACE(page);
        while (play->getShownPage() != page) press(play->getShownPage() < page ? play->getNextButton() : play->getPrevButton());
        ASSERT_TRUE(framesUntil([&] { return atRest(play); }));
        pointAt(play->getPage(page)->getButton(1)->getPosition());
        frame();
    }
    press(play->getStartButton());
    ASSERT_TRUE(framesUntil([&] { return play->getGameModePanel()->isComplete() && play->getGameModePanel()->isActive(); }));
}
