// Every screen a player meets in the demo, walked once in one game: the menus, the level start,
// a level in play with guests, the pause panel and its question, the results, the shop and its
// pause panel, the mini game with each of its panels. On each, every text on show stands 3:1
// or more (WCAG contrast) from what is drawn behind its glyph cells, the lines of a text do
// not run into each other, and in play every restaurant object lies on the screen and clear of
// the status panel's bar. The frames go onto one contact sheet in the test output.
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "engine/core/cFileManager.h"
#include "engine/scene/cButton.h"
#include "game/characters/cCustomer.h"
#include "game/characters/cWaitress.h"
#include "game/data/cGameData.h"
#include "game/flow/cGameScreen.h"
#include "game/flow/cLevel.h"
#include "game/interface/cHints.h"
#include "game/interface/cPanelConfirm.h"
#include "game/interface/cPanelContinue.h"
#include "game/interface/cPanelEsc.h"
#include "game/interface/cPanelLevel.h"
#include "game/interface/cPanelStatus.h"
#include "game/menus/cComics.h"
#include "game/menus/cMainMenu.h"
#include "game/menus/cMenuPanel.h"
#include "game/menus/cScreenMain.h"
#include "game/menus/cScreenOptions.h"
#include "game/menus/cScreenPlay.h"
#include "game/minigame/cMiniGame.h"
#include "game/minigame/cMiniGameContinuePanel.h"
#include "game/minigame/cMiniGameNoticePanels.h"
#include "game/minigame/cMiniGamePausePanel.h"
#include "game/minigame/cMiniGameScene.h"
#include "game/minigame/cMiniGameStatusPanel.h"
#include "game/shop/cShop.h"
#include "game/shop/cShopPausePanel.h"
#include "game/shop/cShopScreen.h"
#include "platform/input/Input.h"
#include "platform/input/KeyCodes.h"
#include "tests/game/flow/GameScreenSupport.h"
#include "tests/game/flow/RestaurantDriver.h"
#include "tests/game/flow/ScreenReadability.h"
#include "tests/game/flow/test_game_fixture.h"
#include "tests/game/menus/test_walk_support.h"

using namespace readability_test;

namespace {

std::string narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 128 ? char(c) : '?';
    return s;
}

class ScreenWalk : public game_test::WalkFixture {
protected:
    template <class Cond>
    bool until(Cond&& cond, int limit = 600) {
        return genv->framesUntil(std::forward<Cond>(cond), limit);
    }
    // The cursor out of the way, so that it covers no text.
    void parkCursor() {
        platform::input::injectCursor(795, 595);
        genv->frame();
    }

    // The frame at rest, read as a player would; its texts judged, the frame kept.
    void look(const std::string& screen) {
        SCOPED_TRACE(screen);
        genv->frame();
        const std::vector<cSprite*> drawn = drawnSprites();
        Frame shown = readFrame();
        const Frame behind = drawWithoutTexts();
        ASSERT_EQ(shown.width, behind.width);
        render_test::saveTestFrame(shown.pixels, shown.width, shown.height, "readability/" + screen + ".png");
        sheet.add(shown);
        ++screens;
        for (const TextOnShow& t : reader->textsOnShow(drawn, shown.width, shown.height)) {
            double worst = 0.0;
            const double share = ScreenReader::legibleShare(t, behind, &worst);
            EXPECT_GE(share, 0.9) << screen << ": \"" << narrow(t.string) << "\" in #" << std::hex << t.rgb << std::dec
                                  << " at " << describe(t.box) << ": " << int(share * 100) << " % of what lies behind stands 3:1 (worst "
                                  << worst << ":1)";
            const size_t lines = t.text->getLineWidths().size();
            const float spacing = float(t.text->getLineSpacing()) * std::fabs(t.text->getScale().y);
            if (lines > 1) {
                EXPECT_GE(spacing, 0.85f * t.cellHeight)
                    << screen << ": \"" << narrow(t.string) << "\": " << lines << " lines " << spacing << " px apart, glyphs "
                    << t.cellHeight << " px high";
            }
        }
    }

    // Every sprite of the restaurant (stations, tables, guests, the waitress and what they
    // carry) lies on the screen and clear of the status panel's bar.
    void checkRestaurant(cGameScreen* screen) {
        cLevel* level = screen->getLevelObject();
        ASSERT_NE(level, nullptr);
        auto* status = static_cast<cPanel*>(screen->getStatus());
        ASSERT_NE(status, nullptr);
        const Box bar = screenBox(status->getBackground());
        for (cSprite* s : drawnSprites()) {
            if (isGlyph(s) || s == level->getFader()) continue;
            bool inLevel = false, inHints = false;
            for (cSceneNode* n = s; n; n = n->getParent()) {
                inLevel = inLevel || n == level;
                inHints = inHints || n == level->getHints();
            }
            if (!inLevel || inHints) continue;
            const cDrawRecord record = s->makeDrawRecord();
            // Unseen, or drawing itself (particles) instead of its quad.
            if (!record.quad || (record.quad->vertices[0].color >> 24) == 0 || record.drawCallback) continue;
            const Box b = screenBox(s);
            const std::string what = typeid(*s).name();
            EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= 800 && b.bottom <= 600)
                << what << " drawn at " << describe(b) << ", outside the screen";
            EXPECT_FALSE(b.intersects(bar)) << what << " drawn at " << describe(b) << ", under the status bar " << describe(bar);
        }
    }

    // A question box is centred on the panel it opens over.
    static void expectCentredOn(cSprite* box, cSprite* panel) {
        const Box b = screenBox(box), p = screenBox(panel);
        EXPECT_NEAR(b.left + b.right, p.left + p.right, 2) << "the box at " << describe(b) << ", the panel at " << describe(p);
    }

    std::unique_ptr<ScreenReader> reader;
    ContactSheet sheet;
    int screens = 0;
};

}  // namespace

TEST_F(ScreenWalk, EveryTextStandsOutFromWhatIsBehindIt) {
    makeGame();
    reader = std::make_unique<ScreenReader>(genv->data.path());
    // A player who has won level 1 (so Play opens the play screen) and plays level 1 again.
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    getGameData()->addProfile(L"Reader");
    getGameData()->setDifficulty(0);
    getGameData()->setLevel(1);
    getGameData()->recordLevelResult(true);
    getGameData()->setLevel(2);
    finishState(0);

    // ---- Menus
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU, 600));
    cMainMenu* menu = game->getMainMenu();
    auto atRest = [&](int id) {
        cMenuScreen* s = menu->getScreen(id);
        return menu->getScreenId() == id && s && s->isActive() && s->isVisible() && menu->isComplete();
    };
    ASSERT_TRUE(until([&] { return atRest(cMainMenu::kMainScreen); }));
    parkCursor();
    look("menu_main");
    click(static_cast<cScreenMain*>(menu->getScreen(cMainMenu::kMainScreen))->getButton(cScreenMain::RESULT_OPTIONS));
    ASSERT_TRUE(until([&] {
        auto* options = static_cast<cScreenOptions*>(menu->getScreen(cMainMenu::kOptionsScreen));
        return menu->getScreenId() == cMainMenu::kOptionsScreen && options && options->getPanel()->isActive() &&
               !options->getPanel()->isSliding();
    }));
    parkCursor();
    look("menu_options");
    key(KEY_ESCAPE);
    ASSERT_TRUE(until([&] { return atRest(cMainMenu::kMainScreen); }));
    click(static_cast<cScreenMain*>(menu->getScreen(cMainMenu::kMainScreen))->getButton(cScreenMain::RESULT_PLAY));
    ASSERT_TRUE(until([&] { return menu->getScreenId() == cMainMenu::kPlayScreen; }));
    auto* play = static_cast<cScreenPlay*>(menu->getScreen(cMainMenu::kPlayScreen));
    ASSERT_TRUE(until([&] { return play->isComplete() && play->getFrame()->isActive(); }));
    parkCursor();
    look("menu_play");

    // ---- Level 1: its start panel and, timed out before any guest came, its results
    getGameData()->setLevel(1);
    finishState(MENU_RESULT_PLAY);
    ASSERT_TRUE(reach(APP_STATE_COMICS, 600));
    ASSERT_TRUE(until([&] { return game->getComics()->isComplete(); }));
    look("comics");
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_GAME, 600));
    cGameScreen* screen = game->getGameScreen();
    ASSERT_TRUE(game_test::waitScreenIdle(*genv, screen));
    ASSERT_TRUE(until([&] { return game_test::panelAtRest(screen->getLevelStartPanel()); }));
    look("level_start");
    game_test::pressKeyOnce(*genv, KEY_ENTER);
    ASSERT_TRUE(until([&] { return !screen->getLevelStartPanel()->isVisible(); }));
    // The level ends once the time is up and the tables are empty.
    screen->cheatTimeOut();
    ASSERT_TRUE(until([&] { return game_test::panelAtRest(screen->getResultPanel()); }, 1500));
    parkCursor();
    look("level_results");

    // ---- Level 5 in play with a guest seated (its first guests come at once), its pause
    // panel and the question of the pause panel's Menu
    getGameData()->setLevel(5);
    screen->restartLevel(-1);
    ASSERT_TRUE(game_test::closeLevelStart(*genv, screen, 600));
    restaurant_test::RestaurantDriver driver([&] { genv->frame(); });
    ASSERT_FALSE(driver.seatedTables(1).empty()) << driver.failure();
    genv->frames(30);
    parkCursor();
    look("level_play");
    checkRestaurant(screen);
    ASSERT_TRUE(screen->openPause());
    ASSERT_TRUE(until([&] { return game_test::panelAtRest(screen->getPausePanel()); }));
    parkCursor();
    look("level_pause");
    click(screen->getPausePanel()->getMenuButton());
    ASSERT_TRUE(until([&] { return game_test::panelAtRest(screen->getConfirmMenuPanel()); }));
    parkCursor();
    look("level_confirm_menu");
    expectCentredOn(screen->getConfirmMenuPanel(), screen->getPausePanel());
    click(screen->getConfirmMenuPanel()->getNoButton());
    ASSERT_TRUE(until([&] { return !screen->getConfirmMenuPanel()->isVisible(); }));

    // ---- The shop and its pause panel
    finishState(GAME_RESULT_SHOP);
    ASSERT_TRUE(reach(APP_STATE_SHOP, 600));
    cShop* shop = game->getShop();
    ASSERT_TRUE(until([&] { return shop->isIdle() && shop->getScreen() && shop->getScreen()->isNotScrolling(); }));
    genv->frames(60);
    parkCursor();
    look("shop");
    ASSERT_TRUE(shop->pause());
    ASSERT_TRUE(until([&] { return game_test::panelAtRest(shop->getPausePanel()); }));
    parkCursor();
    look("shop_pause");
    click(shop->getPausePanel()->getResumeButton());
    ASSERT_TRUE(until([&] { return !shop->getPausePanel()->isVisible(); }));

    // ---- The mini game: start panel, play, pause and its question, alert, results
    finishState(SHOP_RESULT_MINI_GAME);
    ASSERT_TRUE(reach(APP_STATE_MINI_GAME, 600));
    cMiniGameScene* scene = game->getMiniGame();
    auto panelUp = [](cMiniGamePanel* p) { return p->isVisible() && p->isComplete() && p->isActive(); };
    ASSERT_TRUE(until([&] { return panelUp(scene->getStartPanel()); }));
    parkCursor();
    look("minigame_start");
    key(KEY_ENTER);
    ASSERT_TRUE(until([&] { return !scene->getStartPanel()->isVisible() && scene->getStatus()->isComplete(); }));
    genv->frames(30);
    parkCursor();
    look("minigame_play");
    ASSERT_TRUE(scene->pause());
    ASSERT_TRUE(until([&] { return panelUp(scene->getMiniGamePausePanel()); }));
    parkCursor();
    look("minigame_pause");
    click(scene->getMiniGamePausePanel()->getMenuButton());
    ASSERT_TRUE(until([&] { return game_test::panelAtRest(scene->getConfirmPanel()); }));
    parkCursor();
    look("minigame_confirm_menu");
    expectCentredOn(scene->getConfirmPanel(), scene->getMiniGamePausePanel());
    click(scene->getConfirmPanel()->getNoButton());
    ASSERT_TRUE(until([&] { return !scene->getConfirmPanel()->isVisible(); }));
    click(scene->getMiniGamePausePanel()->getContinueButton());
    ASSERT_TRUE(until([&] { return !scene->getMiniGamePausePanel()->isVisible() && !getLogic()->isPaused(); }));
    scene->showAlert();
    ASSERT_TRUE(until([&] { return panelUp(scene->getAlertPanel()); }));
    parkCursor();
    look("minigame_alert");
    click(scene->getAlertPanel()->getButton());
    ASSERT_TRUE(until([&] { return !scene->getAlertPanel()->isVisible() && !getLogic()->isPaused(); }));
    scene->cheatTimeOver();
    ASSERT_TRUE(until([&] { return panelUp(scene->getContinuePanel()); }, 1500));
    parkCursor();
    look("minigame_results");
    // Every object of the mini game's picture, the room behind them too, has a click polygon.
    const std::string log = file_test::readDiskFile(getFileManager()->getCommonPath() + "game.log");
    EXPECT_EQ(log.find("gives no triangle"), std::string::npos) << log;

    EXPECT_TRUE(sheet.save("readability/contact_sheet.png"));
    EXPECT_EQ(screens, 17);
}
