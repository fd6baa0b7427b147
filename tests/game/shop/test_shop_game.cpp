// The shop in the running game over the demo data, with injected mouse input: pointing at an
// entry shows its preview and description (saved as a headless frame), a click selects it,
// Buy buys and Finish leaves. The save then holds the level and the price; after a restart a
// replayed level keeps the purchase, and a purchase left behind through the menu at the
// reached level is offered again at the same cash and charged once.

#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "game/data/cGameData.h"
#include "game/shop/ShopCatalogue.h"
#include "game/shop/cAppearingCloud.h"
#include "game/data/cProfile.h"
#include "game/flow/cGameScreen.h"
#include "game/interface/cPanelConfirm.h"
#include "game/shop/cShop.h"
#include "game/shop/cShopScreen.h"
#include "tests/game/flow/test_game_fixture.h"

using namespace game_test;

namespace {

// The demo's list: entry n centred at (665, 158 + 72 n); Buy at (590, 570), Finish (735, 570).
constexpr float kEntryX = 665.0f, kFirstEntryY = 158.0f;

class ShopGame : public GameFixture {
protected:
    void moveTo(float x, float y) {
        platform::input::injectCursor(x, y);
        genv->frames(2);
    }
    void clickAt(float x, float y) {
        moveTo(x, y);
        platform::input::injectButton(MOUSE_LEFT, true);
        genv->frame();
        platform::input::injectButton(MOUSE_LEFT, false);
        genv->frames(2);
    }
    // From the main menu into the shop of the current level, at rest.
    cShop* playIntoShop() {
        finishState(MENU_RESULT_PLAY);
        if (!reach(APP_STATE_SHOP)) return nullptr;
        cShop* shop = game->getShop();
        genv->framesUntil([&] { return shop->isIdle() && !shop->getScreen()->isScrolling(); });
        return shop;
    }
    // Levels won up to n, 2000 points each, saved.
    void winUpTo(int32_t n) {
        cGameData* data = getGameData();
        while (data->getLevel() < n) {
            data->setScore(2000);
            data->recordLevelResult(true);
            data->setLevel(data->getLevel() + 1);
        }
        data->saveNow();
    }
    void restartGame() {
        dropGame();
        makeGame();
        ASSERT_TRUE(reach(APP_STATE_LOGO));
        finishState(0);
        ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    }
    static bool press(cButton* b) {
        if (!b || !b->isVisible() || !b->isEnabled() || !b->isActive()) return false;
        b->getClickHandler()(b);
        return true;
    }
};

TEST_F(ShopGame, PointSelectBuyFinishAndTheSave) {
    makeGame();
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    getGameData()->addProfile(L"Buyer");
    winUpTo(6);
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    cShop* shop = playIntoShop();
    ASSERT_NE(shop, nullptr);
    cShopScreen* screen = shop->getScreen();
    const int32_t cash = screen->getCash();
    cShopButton* first = screen->getButtons().at(0);
    cShopObject* item = first->getItem();
    const std::string name = item->getName();
    const int32_t cost = item->getCost();
    ASSERT_GT(cost, 0);
    ASSERT_GE(cash, cost);

    // Point: the offered preview and, after its delay, the description cloud.
    moveTo(kEntryX, kFirstEntryY);
    EXPECT_EQ(item->getDisplayState(), SHOP_STATE_POINTED);
    genv->frames(40);
    EXPECT_TRUE(screen->getDescriptionCloud()->isVisible());
    bool offeredDrawn = false, cloudDrawn = false;
    for (cSprite* s : getRenderSetSnapshot()) {
        auto* p = dynamic_cast<cPicture*>(s);
        if (!p) continue;
        offeredDrawn = offeredDrawn || p->getPicture() == item->getOfferedTexture();
        cloudDrawn = cloudDrawn || p->getParent() == screen->getDescriptionCloud();
    }
    EXPECT_TRUE(offeredDrawn);
    EXPECT_TRUE(cloudDrawn);
    genv->saveFrame("shop_entry_pointed.png");

    // Select, buy, finish.
    clickAt(kEntryX, kFirstEntryY);
    EXPECT_TRUE(first->isSelected());
    clickAt(590.0f, 570.0f);
    EXPECT_TRUE(first->isBought());
    EXPECT_EQ(screen->getCash(), cash - cost);
    genv->frames(30);  // the Buy button's own hover no longer matters
    clickAt(735.0f, 570.0f);
    ASSERT_TRUE(reach(APP_STATE_GAME));

    // Levels 6 to 8 won (reached 9), then level 6 chosen again and the game restarted on it.
    winUpTo(9);
    getGameData()->setLevel(6);
    getGameData()->saveNow();
    restartGame();
    const cProfile& profile = getGameData()->getCurrentProfile();
    EXPECT_EQ(profile.level, 6);
    EXPECT_EQ(profile.reachedLevel, 9);
    // The save holds the price and the level bought in the slot of level 6; the later levels
    // inherited the level.
    EXPECT_EQ(profile.values[PA_MONEY_SPENT][5], cost);
    const int item6 = shop::itemOf(cStringA(name));
    ASSERT_NE(item6, shop::ITEM_NONE);
    if (name == "Harold") {
        EXPECT_EQ(getGameData()->getSandwichMakerLevel(0), 2);
        EXPECT_EQ(profile.values[PA_SANDWICH_MAKER][8], 2);
    }
    EXPECT_EQ(getGameData()->getCash(1, 6) - profile.values[PA_COUNTED_BEST_SCORE][5], cash - cost);
}

TEST_F(ShopGame, APurchaseLeftThroughTheMenuIsOfferedAgainAndChargedOnce) {
    makeGame();
    ASSERT_TRUE(reach(APP_STATE_LOGO));
    getGameData()->addProfile(L"Leaver");
    winUpTo(9);
    finishState(0);
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));
    cShop* shop = playIntoShop();
    ASSERT_NE(shop, nullptr);
    const int32_t cash = shop->getCash();
    const std::string name = shop->getScreen()->getButtons().at(0)->getItem()->getName();
    const int32_t cost = shop->getScreen()->getButtons().at(0)->getItem()->getCost();
    clickAt(kEntryX, kFirstEntryY);
    clickAt(590.0f, 570.0f);
    EXPECT_EQ(getGameData()->getCurrentProfile().values[PA_MONEY_SPENT][8], cost) << "stored at once";
    // Menu, Menu, Yes.
    ASSERT_TRUE(press(shop->getScreen()->getMenuButton()));
    genv->framesUntil([&] { return shop->getPausePanel()->isComplete(); });
    ASSERT_TRUE(press(shop->getPausePanel()->getMenuButton()));
    genv->framesUntil([&] { return shop->getConfirmMenuPanel()->isComplete(); });
    ASSERT_TRUE(press(shop->getConfirmMenuPanel()->getYesButton()));
    ASSERT_TRUE(reach(APP_STATE_MAIN_MENU));

    // Restarted: the level is set up again, the shop offers the same at the same cash.
    restartGame();
    shop = playIntoShop();
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(shop->getCash(), cash);
    ASSERT_FALSE(shop->getScreen()->getButtons().empty());
    EXPECT_EQ(shop->getScreen()->getButtons()[0]->getItem()->getName(), name);
    clickAt(kEntryX, kFirstEntryY);
    clickAt(590.0f, 570.0f);
    EXPECT_EQ(shop->getCash(), cash - cost);
    genv->frames(30);
    clickAt(735.0f, 570.0f);
    ASSERT_TRUE(reach(APP_STATE_GAME));
    EXPECT_EQ(getGameData()->getCurrentProfile().values[PA_MONEY_SPENT][8], cost) << "charged once";
    EXPECT_EQ(getGameData()->getCash(1, 9) - getGameData()->getCurrentProfile().values[PA_COUNTED_BEST_SCORE][8],
              cash - cost);
}

}  // namespace
