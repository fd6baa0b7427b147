// The level-start panel: titles by the level within the world, the level line counted over all
// worlds, the optional pictures and strings of a level, the goals in their texts, closing by
// button and Enter, and a level section without a panel file.

#include "tests/game/interface/PanelTestSupport.h"

using namespace panel_test;

namespace {

class LevelPanel : public PanelTest {
protected:
    cPanelLevel* make() {
        screen->start = new cPanelLevel(screen, screen);
        return screen->start;
    }
    static std::string text(cText* t) { return t ? cStringW(t->getString()).toNarrow() : "deleted"; }
};

TEST_F(LevelPanel, TitleByLevelWithinTheWorldAndTheLevelLineOverAllWorlds) {
    struct Case {
        int32_t level, set;
        const char *title, *line;
    };
    const Case cases[] = {
        {1, 1, "EASY FIRST", "LEVEL 1"},    {10, 1, "EASY FIRST", "LEVEL 10"}, {11, 1, "EASY SECOND", "LEVEL 11"},
        {30, 2, "TWO FIRST", "LEVEL 30"},   {31, 2, "TWO SECOND", "LEVEL 31"}, {60, 3, "THREE SECOND", "LEVEL 60"},
        {41, 7, "EASY FIRST", "LEVEL 41"},  // a graphics set outside 1..3 takes the set-1 file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        TearDown();
        SetUp();
        screen->level = c.level;
        screen->graphicsSet = c.set;
        cPanelLevel* panel = make();
        EXPECT_EQ(text(panel->getTitle()), c.title);
        EXPECT_EQ(text(panel->getLevelLine()), c.line);
        EXPECT_EQ(text(panel->getWorldDescription()).substr(0, 3), std::string(c.title).substr(0, 3));
    }
}

TEST_F(LevelPanel, OptionalPartsOfTheLevelAndTheGoals) {
    replaceIni(panel_files::kWorldEasy1,
               worldIni("EASY", "picture_1=\"Game/Interface/Surfaces/extra1.dds\"\npos_picture_1=\"10,20\"\n"
                                "string_1=\"HELLO\"\npos_string_1=\"-30,50\"\nline_spacing_1=\"14\"\njustify_1=\"1\"\n"
                                "align_1=\"LEFT\"\ntexture_1=\"fonts/fixed.png\"\nfont_1=\"fonts/fixed.rwf\"\n"));
    cPanelLevel* panel = make();
    ASSERT_NE(panel->getPicture1(), nullptr);
    ASSERT_NE(panel->getString1(), nullptr);
    EXPECT_EQ(panel->getPicture2(), nullptr);
    EXPECT_EQ(panel->getString2(), nullptr);
    EXPECT_FLOAT_EQ(panel->getPicture1()->getDeep(), 9202.5f);
    EXPECT_FLOAT_EQ(panel->getString1()->getDeep(), 9203.0f);
    EXPECT_EQ(panel->getString1()->getLineSpacing(), 14u);
    EXPECT_TRUE(panel->getString1()->getJustify());
    EXPECT_EQ(panel->getString1()->getHorizontalAlign(), TEXT_ALIGN_LEFT);
    EXPECT_EQ(text(panel->getGoalText()), "1000");
    EXPECT_EQ(text(panel->getExpertText()), "2000");
    EXPECT_EQ(text(panel->getGoalDescription()), "GOAL         ");     // 48 px in 6-px blanks, + 1
    EXPECT_EQ(text(panel->getExpertDescription()), "EXPERT         ");

    // Parked above the screen; at rest the parts keep their offsets from the panel.
    EXPECT_EQ(panel->getPosition(), cVector2(400.0f, -250.0f));
    showAndSettle(panel);
    EXPECT_EQ(panel->getPicture1()->getPosition(), cVector2(410.0f, 320.0f));
    EXPECT_EQ(panel->getString1()->getPosition(), cVector2(370.0f, 350.0f));
    EXPECT_TRUE(panel->getPicture1()->isVisible());
    EXPECT_EQ(panel->getAttachedCount(), 11u) << "title, line, description, picture 1, string 1, frame, four texts, button";
}

TEST_F(LevelPanel, ButtonAndEnterCloseThePanelAtRestOnly) {
    cPanelLevel* panel = make();
    panel->show(true);
    frames(3);
    pressKey(KEY_ENTER);
    EXPECT_TRUE(panel->isAppearing()) << "Enter while sliding in";
    settle(panel);
    EXPECT_TRUE(getLogic()->isPaused());
    pressKey(KEY_ENTER, true);
    EXPECT_TRUE(panel->isComplete()) << "Alt+Enter";
    panel->deactivateAll();
    pressKey(KEY_ENTER);
    EXPECT_TRUE(panel->isComplete()) << "inactive";
    panel->activateAll();
    pressKey(KEY_ENTER);
    EXPECT_TRUE(panel->isDisappearing());
    EXPECT_EQ(sound->events.back(), "play:sounds/game_interface/panel_disappear.ogg");
    EXPECT_EQ(screen->dims, (std::vector<bool>{true, false}));
    settle(panel);
    EXPECT_TRUE(panel->isFinished());
    EXPECT_FALSE(getLogic()->isPaused()) << "the level clock may run";

    panel->show(true);
    settle(panel);
    ASSERT_TRUE(click(panel->getButton()));
    EXPECT_TRUE(panel->isDisappearing());
}

TEST_F(LevelPanel, ALevelWithoutAPanelFileIsAnError) {
    std::string text = worldIni("EASY");
    size_t at = text.find("[LEVEL_5]\npanel_config=");
    text.replace(at, text.find('\n', at + 10) - at, "[LEVEL_5]");
    replaceIni(panel_files::kWorldEasy1, text);
    EXPECT_ANY_THROW(make());
    screen->start = nullptr;
}

}  // namespace
