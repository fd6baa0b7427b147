// The player screens: the profile list (screen 7) with its new, delete and name-taken dialogs,
// and the first player's name (screen 8). Rows are profiles, the selection is the current
// profile, names are stored as they are listed.
#include <vector>

#include "engine/scene/cEditBox.h"
#include "engine/scene/cListBox.h"
#include "engine/scene/cText.h"
#include "game/menus/ProfileNames.h"
#include "game/menus/cMenuPanel.h"
#include "game/menus/cScreenPlayerSetup.h"
#include "game/menus/cScreenPlayerSetupStart.h"
#include "tests/game/menus/test_dialogs_fixture.h"

namespace {

using namespace menus_test;
using Names = std::vector<std::wstring>;

class PlayerSetupTest : public DialogFixture {
protected:
    void TearDown() override {
        delete screen;
        delete start;
        DialogFixture::TearDown();
    }
    // Game data without a save file.
    void freshData() {
        data.reset();
        forgetSave();
        data.reset(new cGameData(true, cStringA()));
    }
    void profiles(const Names& names, int current) {
        for (const std::wstring& name : names) data->addProfile(name);
        data->selectProfile(current);
    }
    bool build() {
        screen = new cScreenPlayerSetup(root.get());
        return framesUntil([&] { return atRest(); });
    }
    bool atRest() const {
        return screen->getPanel()->isActive() && !screen->getPanel()->isSliding() && !screen->getNewPanel()->isVisible() &&
               !screen->getDeletePanel()->isVisible() && !screen->getExistPanel()->isVisible();
    }
    bool settled(cMenuPanel* panel) {
        return framesUntil([&] { return panel->isVisible() && panel->isActive() && !panel->isSliding(); });
    }
    Names rows() const {
        Names out;
        for (int32_t i = 0; i < screen->getList()->getItemCount(); ++i) out.push_back(screen->getList()->getItemText(i).str());
        return out;
    }
    Names stored() const {
        Names out;
        for (int i = 0; i < data->getProfileCount(); ++i) out.push_back(data->getProfileNameAt(i).str());
        return out;
    }
    // The rows are the profiles and the selection is the current one.
    void expectConsistent(const std::string& label) const {
        EXPECT_EQ(rows(), stored()) << label;
        EXPECT_EQ(screen->getList()->getSelected(), data->getCurrentProfileIndex()) << label;
        EXPECT_EQ(screen->getListedCount(), data->getProfileCount()) << label;
        EXPECT_EQ(screen->getDeleteButton()->isEnabled(), data->getProfileCount() > 1) << label;
    }
    // A left click at a point, pressed in one frame and released in the next; extra runs in
    // the frame of the release, before it.
    void clickAt(const cVector2& p, const std::function<void()>& extra = {}) {
        platform::input::injectCursor(p.x, p.y);
        frame();
        platform::input::injectButton(0, true);
        frame();
        if (extra) extra();
        platform::input::injectButton(0, false);
        frame();
    }
    cVector2 rowCentre(int row) const {
        cListBox* list = screen->getList();
        const cVector2 first = list->getFirstItemPosition();
        return cVector2(first.x, first.y - 2.0f + list->getPitch() * (float(row) + 0.5f));
    }

    cScreenPlayerSetup* screen = nullptr;
    cScreenPlayerSetupStart* start = nullptr;
};

TEST_F(PlayerSetupTest, NewNames) {
    const std::wstring longName(70, L'x');
    struct Case {
        const char* label;
        Names before;
        int current;
        std::wstring typed;
        Names after;
        int currentAfter;
        bool errorSound;
        bool notice;
    };
    const Case cases[] = {
        {"blanks around a listed name", {L"Ann", L"Bob"}, 1, L"  ann  ", {L"Ann", L"Bob"}, 1, true, true},
        {"empty", {L"Ann", L"Bob"}, 0, L"", {L"Ann", L"Bob"}, 0, false, false},
        {"blanks only", {L"Ann"}, 0, L"   ", {L"Ann"}, 0, false, false},
        {"a new name", {L"Ann"}, 0, L" Cid", {L"Ann", L"Cid"}, 1, false, false},
        {"no-break space stays", {L"Ann", L"Bob"}, 0, L" \u00A0Zoe ", {L"Ann", L"Bob", L"\u00A0Zoe"}, 2, false, false},
        {"letters beyond ASCII fold", {L"\u00C9mile"}, 0, L"\u00E9MILE", {L"\u00C9mile"}, 0, true, true},
        {"Cyrillic folds", {L"\u0410\u043D\u043D\u0430"}, 0, L"\u0430\u041D\u041D\u0410", {L"\u0410\u043D\u043D\u0430"}, 0, true, true},
        {"a long name is cut as stored", {L"Ann"}, 0, longName, {L"Ann", std::wstring(63, L'x')}, 1, false, false},
    };
    for (const Case& c : cases) {
        freshData();
        profiles(c.before, c.current);
        ASSERT_TRUE(build()) << c.label;
        expectConsistent(c.label);
        click(screen->getNewButton());
        ASSERT_TRUE(settled(screen->getNewPanel())) << c.label;
        EXPECT_FALSE(screen->getPanel()->isActive()) << c.label;
        screen->getEditBox()->setText(c.typed);
        forgetSave();
        const auto sampleBefore = lastSample();
        key(KEY_ENTER);
        EXPECT_EQ(lastSample() != sampleBefore, c.errorSound) << c.label;
        EXPECT_TRUE(screen->getEditBox()->getText().isEmpty()) << c.label;
        EXPECT_EQ(rows(), c.after) << c.label;
        EXPECT_EQ(data->getCurrentProfileIndex(), c.currentAfter) << c.label;
        if (c.after.size() > c.before.size()) EXPECT_TRUE(saved()) << c.label;
        expectConsistent(c.label);
        if (c.notice) {
            // The notice follows the new panel; its OK (Enter) returns to the list.
            ASSERT_TRUE(settled(screen->getExistPanel())) << c.label;
            EXPECT_FALSE(screen->getPanel()->isActive()) << c.label;
            key(KEY_ENTER);
        }
        ASSERT_TRUE(framesUntil([&] { return atRest(); })) << c.label;
        EXPECT_FALSE(screen->getExistPanel()->isVisible()) << c.label;
        delete screen;
        screen = nullptr;
    }
}

TEST_F(PlayerSetupTest, DeletingByRow) {
    struct Case {
        const char* label;
        Names before;
        int current;
        Names after;
        int currentAfter;
    };
    const Case cases[] = {
        {"the last row", {L"Ann", L"Bob", L"Cid"}, 2, {L"Ann", L"Bob"}, 1},
        {"a middle row", {L"Ann", L"Bob", L"Cid"}, 1, {L"Ann", L"Cid"}, 1},
        {"the first row", {L"Ann", L"Bob"}, 0, {L"Bob"}, 0},
    };
    for (const Case& c : cases) {
        freshData();
        profiles(c.before, c.current);
        ASSERT_TRUE(build()) << c.label;
        const auto sampleBefore = lastSample();
        click(screen->getDeleteButton());
        EXPECT_NE(lastSample(), sampleBefore) << c.label;  // the error sound asks
        ASSERT_TRUE(settled(screen->getDeletePanel())) << c.label;
        EXPECT_EQ(screen->getDeleteNameText()->getString().str(), c.before[size_t(c.current)]) << c.label;
        key(KEY_ENTER);
        EXPECT_EQ(rows(), c.after) << c.label;
        EXPECT_EQ(data->getCurrentProfileIndex(), c.currentAfter) << c.label;
        expectConsistent(c.label);
        ASSERT_TRUE(framesUntil([&] { return atRest(); })) << c.label;
        delete screen;
        screen = nullptr;
    }

    // Two equal names from a save: the second row is the second profile.
    freshData();
    profiles({L"Ann", L"Ann"}, 0);
    data->setDifficulty(1);  // marks the first Ann
    data->saveNow();
    ASSERT_TRUE(build());
    clickAt(rowCentre(1));
    EXPECT_EQ(data->getCurrentProfileIndex(), 1);
    EXPECT_EQ(data->getDifficulty(), -1);
    click(screen->getDeleteButton());
    ASSERT_TRUE(settled(screen->getDeletePanel()));
    key(KEY_ENTER);
    ASSERT_EQ(data->getProfileCount(), 1);
    EXPECT_EQ(data->getProfileAt(0).difficulty, 1);  // the first Ann is left
    expectConsistent("equal names");
    // With one profile Delete does nothing.
    ASSERT_TRUE(framesUntil([&] { return atRest(); }));
    click(screen->getDeleteButton());
    frame();
    EXPECT_FALSE(screen->getDeletePanel()->isVisible());
}

TEST_F(PlayerSetupTest, OneAnswerPerDialogAndKeysGoToTheOpenPanel) {
    profiles({L"Ann", L"Bob", L"Cid"}, 0);
    ASSERT_TRUE(build());
    // A click on a row makes it current and saves.
    forgetSave();
    clickAt(rowCentre(2));
    EXPECT_EQ(data->getCurrentProfileIndex(), 2);
    EXPECT_TRUE(saved());
    // Escape on the list does nothing.
    key(KEY_ESCAPE);
    EXPECT_TRUE(atRest());

    // Enter and a click on Yes in one frame delete one profile.
    click(screen->getDeleteButton());
    ASSERT_TRUE(settled(screen->getDeletePanel()));
    clickAt(screen->getDeleteYesButton()->getPosition(), [] { platform::input::injectKey(KEY_ENTER, true); });
    platform::input::injectKey(KEY_ENTER, false);
    EXPECT_EQ(data->getProfileCount(), 2);
    expectConsistent("one deletion");
    ASSERT_TRUE(framesUntil([&] { return atRest(); }));

    // Typing goes to the name field; Escape cancels the new panel and empties it.
    click(screen->getNewButton());
    ASSERT_TRUE(settled(screen->getNewPanel()));
    typeText(L"Dee");
    EXPECT_EQ(screen->getEditBox()->getText().str(), L"Dee");
    key(KEY_ESCAPE);
    EXPECT_TRUE(screen->getEditBox()->getText().isEmpty());
    ASSERT_TRUE(framesUntil([&] { return atRest(); }));
    EXPECT_EQ(data->getProfileCount(), 2);
    genv->saveFrame("player_setup.png");

    // Enter and a click on the new panel's Cancel in one frame: the name is made once.
    click(screen->getNewButton());
    ASSERT_TRUE(settled(screen->getNewPanel()));
    typeText(L"Eve");
    clickAt(screen->getNewCancelButton()->getPosition(), [] { platform::input::injectKey(KEY_ENTER, true); });
    platform::input::injectKey(KEY_ENTER, false);
    EXPECT_EQ(rows(), (Names{L"Ann", L"Bob", L"Eve"}));
    expectConsistent("new once");
    ASSERT_TRUE(framesUntil([&] { return atRest(); }));

    // Enter on the list is OK: the selection stays current and the screen finishes.
    key(KEY_ENTER);
    ASSERT_TRUE(framesUntil([&] { return screen->isFinished(); }));
    EXPECT_EQ(data->getCurrentProfileIndex(), 2);
    EXPECT_FALSE(screen->isVisible());
}

TEST_F(PlayerSetupTest, NamesBeyondAsciiSurviveTheSaveAndAStart) {
    profiles({L"Ann"}, 0);
    ASSERT_TRUE(build());
    click(screen->getNewButton());
    ASSERT_TRUE(settled(screen->getNewPanel()));
    typeText(L"\u00C9mile \u0416\u0443\u043A");
    key(KEY_ENTER);
    ASSERT_TRUE(framesUntil([&] { return atRest(); }));
    delete screen;
    screen = nullptr;
    // A new start reads the save.
    data.reset();
    data.reset(new cGameData(true, cStringA()));
    EXPECT_EQ(stored(), (Names{L"Ann", L"\u00C9mile \u0416\u0443\u043A"}));
    EXPECT_EQ(data->getCurrentProfileIndex(), 1);
    ASSERT_TRUE(build());
    expectConsistent("after the start");
}

TEST_F(PlayerSetupTest, TheFirstPlayer) {
    start = new cScreenPlayerSetupStart(root.get());
    ASSERT_TRUE(framesUntil([&] { return start->getPanel()->isActive() && !start->getPanel()->isSliding(); }));
    // Blanks only, Escape and Alt+Enter do nothing.
    typeText(L"   ");
    key(KEY_ENTER);
    key(KEY_ESCAPE);
    EXPECT_EQ(data->getProfileCount(), 0);
    EXPECT_FALSE(start->isLeaving());
    typeText(L"Zo\u00EB  ");
    platform::input::injectKey(KEY_RIGHT_ALT, true);
    frame();
    key(KEY_ENTER);
    platform::input::injectKey(KEY_RIGHT_ALT, false);
    frame();
    EXPECT_EQ(data->getProfileCount(), 0);
    genv->saveFrame("player_setup_start.png");
    // Enter and a click on OK in one frame: one player, trimmed, current and saved.
    forgetSave();
    clickAt(start->getOkButton()->getPosition(), [] { platform::input::injectKey(KEY_ENTER, true); });
    platform::input::injectKey(KEY_ENTER, false);
    EXPECT_EQ(stored(), (Names{L"Zo\u00EB"}));
    EXPECT_EQ(data->getCurrentProfileIndex(), 0);
    EXPECT_EQ(data->getLevel(), 1);
    EXPECT_TRUE(saved());
    ASSERT_TRUE(framesUntil([&] { return start->isFinished(); }));
    EXPECT_FALSE(start->isVisible());
}

TEST(ProfileNames, TrimCutAndFold) {
    using namespace profile_names;
    EXPECT_EQ(trimSpaces(L"  a b  ").str(), L"a b");
    EXPECT_EQ(trimSpaces(L"\t a\u00A0 ").str(), L"\t a\u00A0");
    // The cut keeps a surrogate pair whole.
    std::wstring pair = std::wstring(62, L'a') + L"\xD83D\xDE00";
    EXPECT_EQ(clean(pair).str(), std::wstring(62, L'a'));
    struct Case {
        wchar_t upper, lower;
    };
    const Case cases[] = {{L'A', L'a'},       {0xC0, 0xE0},   {0xDE, 0xFE},   {0x100, 0x101}, {0x139, 0x13A},
                          {0x14A, 0x14B},     {0x178, 0xFF},  {0x17D, 0x17E}, {0x391, 0x3B1}, {0x386, 0x3AC},
                          {0x38F, 0x3CE},     {0x401, 0x451}, {0x42F, 0x44F}, {0x130, L'i'}};
    for (const Case& c : cases) {
        EXPECT_EQ(foldCase(c.upper), c.lower) << int(c.upper);
        EXPECT_EQ(foldCase(c.lower), c.lower) << int(c.lower);
    }
    EXPECT_EQ(foldCase(0xD7), 0xD7);  // the multiplication sign is no letter
    EXPECT_EQ(foldCase(0xDF), 0xDF);
    EXPECT_FALSE(sameIgnoringCase(L"Ann", L"Anna"));
}

}  // namespace
