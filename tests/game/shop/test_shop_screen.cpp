// The shop screen: which entries it lists, paging (with the opening glimpse, the wheel and
// game time), selection, the Buy button and its highlight, the cash text, the list buttons'
// looks, sounds and edges, and the money spent that reaches the save.

#include <filesystem>

#include "tests/game/shop/ShopTestSupport.h"

using namespace shop_test;

namespace {

// Entry centres: x 500, y 127 + 50 n before paging; the window is y 98..302.
constexpr float kX = 500.0f;
float entryY(int n) { return 127.0f + 50.0f * static_cast<float>(n); }

class ShopScreen : public ShopTest {
protected:
    cShopScreen* screen = nullptr;

    // Level 5 of world 1 after four levels of 500 points: cash 2000. extraOffers adds the cake,
    // drink and snack stations (in this order) to the eight staff and decor offers.
    cShopScreen* build(int extraOffers = 2, int32_t scorePerLevel = 500) {
        goToLevel(5, scorePerLevel);
        if (extraOffers > 0) data->setCakeLevel(1, -1);
        if (extraOffers > 1) data->setDrinkLevel(1, -1);
        if (extraOffers > 2) data->setSnackLevel(1, -1);
        screen = new cShopScreen(root);
        return screen;
    }
    void settleScroll() {
        for (int i = 0; i < 200 && screen->isScrolling(); ++i) frame();
        ASSERT_FALSE(screen->isScrolling());
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (cShopButton* b : screen->getButtons()) out.push_back(b->getItem()->getName());
        return out;
    }
};

TEST_F(ShopScreen, ListsTheOffersInCatalogueOrder) {
    build();
    EXPECT_EQ(names(), (std::vector<std::string>{"Harold", "Lucinda", "Cake_St", "Drink_St", "Floor", "Wall", "Tables",
                                                 "Harold_Counter", "Interior1", "Interior2"}));
    // Display-only: sub places and cotton (world 1, present = maximum, also 0); absent: sauce.
    EXPECT_NE(screen->findObject("Subs_Tables"), nullptr);
    EXPECT_NE(screen->findObject("Cotton_St"), nullptr);
    EXPECT_EQ(screen->findObject("Souse"), nullptr);
    EXPECT_EQ(screen->findObject("Cream_St"), nullptr) << "absent (0) below its maximum";
    EXPECT_FALSE(data->isShopSoldOut(0));
    EXPECT_FALSE(screen->getSoldOutPicture()->isOwnVisible());
    // Objects stand at their place plus the preview offset (10, 20).
    EXPECT_EQ(screen->findObject("Harold")->getPosition(), cVector2(110.0f, 220.0f));
}

TEST_F(ShopScreen, NothingForSale) {
    goToLevel(5);
    for (auto set : {&cGameData::setSandwichMakerLevel, &cGameData::setWaitressLevel, &cGameData::setFloorLevel,
                     &cGameData::setWallLevel, &cGameData::setTablesLevel, &cGameData::setCounterLevel,
                     &cGameData::setInterior1Level, &cGameData::setInterior2Level})
        (data.get()->*set)(2, -1);
    screen = new cShopScreen(root);
    EXPECT_TRUE(screen->isSoldOut());
    EXPECT_TRUE(data->isShopSoldOut(0));
    EXPECT_TRUE(screen->getSoldOutPicture()->isVisible());
    EXPECT_FALSE(screen->getBuyButton()->isEnabled());
    EXPECT_NE(screen->findObject("Harold"), nullptr) << "shown at its level";
}

TEST_F(ShopScreen, PagingTenAndElevenWithFourVisible) {
    struct Case {
        int offers;
        std::vector<std::pair<int, int>> windows;  // after the glimpse, then each forward page
    };
    const Case cases[] = {{2, {{0, 3}, {3, 6}, {6, 9}}}, {3, {{0, 3}, {3, 6}, {6, 9}, {7, 10}}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offers);
        makeData();
        build(c.offers);
        // The glimpse: one page on at once, then back on game time.
        EXPECT_TRUE(screen->isScrolling());
        EXPECT_FALSE(screen->getButtons()[0]->isVisible()) << "the list opens one page further on";
        settleScroll();
        for (size_t i = 0; i < c.windows.size(); ++i) {
            EXPECT_EQ(screen->getFirstVisible(), c.windows[i].first);
            EXPECT_EQ(screen->getLastVisible(), c.windows[i].second);
            EXPECT_NEAR(screen->getButtons()[size_t(screen->getFirstVisible())]->getPosition().y, entryY(0), 0.01f);
            EXPECT_TRUE(screen->getButtons()[size_t(screen->getLastVisible())]->isVisible());
            if (i + 1 < c.windows.size()) {
                EXPECT_TRUE(screen->getForwardButton()->isEnabled());
                ASSERT_TRUE(click(screen->getForwardButton()));
                settleScroll();
            }
        }
        EXPECT_FALSE(screen->getForwardButton()->isEnabled()) << "at the end";
        EXPECT_TRUE(screen->getBackwardButton()->isEnabled());
        delete screen;
    }
}

TEST_F(ShopScreen, ExactlyTheVisibleCountHasNoGlimpse) {
    goToLevel(5);
    for (auto set : {&cGameData::setFloorLevel, &cGameData::setWallLevel, &cGameData::setTablesLevel,
                     &cGameData::setCounterLevel})
        (data.get()->*set)(2, -1);
    screen = new cShopScreen(root);
    ASSERT_EQ(screen->getButtons().size(), 4u);
    EXPECT_FALSE(screen->isScrolling());
    EXPECT_FALSE(screen->getForwardButton()->isEnabled());
    EXPECT_FALSE(screen->getBackwardButton()->isEnabled());
}

TEST_F(ShopScreen, WheelAndGameTime) {
    build();
    // Game time stopped (the shop fades in): the glimpse waits.
    logic->setPaused(true);
    const float y = screen->getButtons()[0]->getPosition().y;
    frames(10);
    EXPECT_EQ(screen->getButtons()[0]->getPosition().y, y);
    EXPECT_TRUE(screen->isScrolling());
    in::injectWheel(1);
    frame();
    EXPECT_EQ(screen->getFirstVisible(), 0) << "the wheel is ignored while the list moves";
    logic->setPaused(false);
    settleScroll();
    // Towards the player pages forward; away pages back; nothing at the start.
    in::injectWheel(1);
    frame();
    EXPECT_FALSE(screen->isScrolling());
    in::injectWheel(-1);
    frame();
    EXPECT_TRUE(screen->isScrolling());
    EXPECT_EQ(screen->getFirstVisible(), 3);
    EXPECT_FALSE(screen->getFinishButton()->isActive()) << "no leaving while the list moves";
    EXPECT_TRUE(screen->getMenuButton()->isActive());
    settleScroll();
    EXPECT_TRUE(screen->getFinishButton()->isActive());
    in::injectWheel(1);
    frame();
    EXPECT_EQ(screen->getFirstVisible(), 0);
}

TEST_F(ShopScreen, ScrollSpeedAndVisibleCountMends) {
    replaceIni(cShopScreen::kConfig, shopIni("0", "1"));
    build();
    EXPECT_EQ(screen->getVisibleCount(), 2) << "a window of one entry could not page";
    frame();
    EXPECT_FALSE(screen->isScrolling()) << "a speed of 0 ends the movement at once";
    EXPECT_NEAR(screen->getButtons()[0]->getPosition().y, entryY(0), 0.01f);
}

// TEXT_CASH/num_digits sizes the zeros of every cash text: a damaged number is clamped to
// 1..16 instead of asking for gigabytes of zeros.
TEST_F(ShopScreen, CashDigitsAreClampedTo16) {
    const struct {
        const char* digits;
        const wchar_t* text;
    } cases[] = {{"4000000000", L"CASH 0000000000002000"}, {"17", L"CASH 0000000000002000"}, {"6", L"CASH 002000"},
                 {"3", L"CASH 2000"}};
    bool first = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.digits);
        std::string ini = shopIni();
        const std::string key = "num_digits=\"4\"";
        ini.replace(ini.find(key), key.size(), "num_digits=\"" + std::string(c.digits) + "\"");
        replaceIni(cShopScreen::kConfig, ini);
        if (first) build();
        else screen = new cShopScreen(root);
        first = false;
        EXPECT_EQ(screen->getCashText()->getString(), c.text);
        delete screen;
        updateTopLevelNodes(nullptr);
    }
}

TEST_F(ShopScreen, SelectBuyAndLowCash) {
    build();
    settleScroll();
    cShopButton* floor = screen->getButtons()[4];   // 1200, past the first page
    cShopButton* cake = screen->getButtons()[2];    // 900
    cShopButton* harold = screen->getButtons()[0];  // 100
    EXPECT_EQ(screen->getCash(), 2000);
    EXPECT_EQ(screen->getCashText()->getString(), L"CASH 2000");
    // Select the cake (third entry), then the harold: the selection moves.
    clickAt(kX, entryY(2));
    EXPECT_EQ(screen->getSelected(), cake);
    EXPECT_EQ(cake->getItem()->getDisplayState(), SHOP_STATE_SELECTED);
    EXPECT_EQ(data->getCakeLevel(0), 2) << "a selection previews the offer";
    EXPECT_TRUE(screen->getBuyButton()->isEnabled());
    clickAt(kX, entryY(0));
    EXPECT_EQ(screen->getSelected(), harold);
    EXPECT_FALSE(cake->isSelected());
    mouseTo(20.0f, 20.0f);
    EXPECT_EQ(data->getCakeLevel(0), 1) << "the preview ended";
    // Page on, buy the floor: the cake is then too dear.
    ASSERT_TRUE(click(screen->getForwardButton()));
    EXPECT_EQ(screen->getSelected(), nullptr) << "a page movement clears the selection";
    settleScroll();
    ASSERT_TRUE(click(screen->getBackwardButton()));
    settleScroll();
    ASSERT_TRUE(click(screen->getForwardButton()));
    settleScroll();
    ASSERT_EQ(screen->getFirstVisible(), 3);
    clickAt(kX, entryY(1));
    ASSERT_EQ(screen->getSelected(), floor);
    ASSERT_TRUE(click(screen->getBuyButton()));
    EXPECT_EQ(screen->getCash(), 800);
    EXPECT_EQ(screen->getCashText()->getString(), L"CASH 0800");
    EXPECT_TRUE(floor->isBought());
    EXPECT_TRUE(floor->getSoldPicture()->isVisible());
    EXPECT_EQ(floor->getIcon()->getPicture(), "Shop/Icons/1/Floor/upg_2_d.dds");
    EXPECT_EQ(screen->getSelected(), nullptr);
    EXPECT_FALSE(screen->getBuyButton()->isEnabled());
    EXPECT_TRUE(cake->isLowCash());
    EXPECT_FALSE(harold->isLowCash());
    EXPECT_EQ(cake->getBottomText()->getFontName(), "fonts/low.rwf");
    // The purchase is stored and saved at once: the next shop's cash is reduced by it.
    EXPECT_EQ(data->getCash(1, 5), 800);
    EXPECT_TRUE(std::filesystem::exists(common / "data.ssp"));
    // A bought entry is never pointed at or clicked again, whatever enables it.
    floor->enable();
    clickAt(kX, entryY(1));
    EXPECT_EQ(screen->getSelected(), nullptr);
    EXPECT_FALSE(floor->isHovered());
    // Leaving without Finish keeps the purchase paid; the level bought stays.
    delete screen;
    EXPECT_EQ(data->getFloorLevel(0), 2);
    EXPECT_EQ(data->getCash(1, 5), 800);
    // The next visit before the same level starts over: the same cash, nothing spent yet.
    screen = new cShopScreen(root);
    EXPECT_EQ(screen->getCash(), 2000);
    EXPECT_EQ(data->getCash(1, 5), 2000);
    EXPECT_EQ(data->getFloorLevel(0), 1);
}

TEST_F(ShopScreen, CheatMakesTheSelectionAffordable) {
    build(2, 100);  // cash 400
    settleScroll();
    clickAt(kX, entryY(2));  // the cake, 900
    EXPECT_FALSE(screen->getBuyButton()->isEnabled());
    EXPECT_FALSE(screen->getBuyHighlight()->isOwnVisible());
    EXPECT_EQ(screen->getCashText()->getString(), L"CASH 0400");
    for (int i = 0; i < 10; ++i) screen->cheatAddMoney();
    EXPECT_TRUE(screen->getBuyButton()->isEnabled());
    EXPECT_EQ(screen->getCashText()->getString(), L"CASH 10400") << "a longer number is not cut";
}

TEST_F(ShopScreen, BuyHighlightPulses) {
    build();
    settleScroll();
    clickAt(kX, entryY(0));
    mouseTo(20.0f, 20.0f);
    EXPECT_TRUE(screen->getBuyHighlight()->isOwnVisible());
    frames(7, 0.02f);  // 2000 per second: full after 0.1275 s
    EXPECT_EQ(screen->getHighlightAlpha(), 255.0f);
    frames(14, 0.02f);  // held 0.3 s
    EXPECT_EQ(screen->getHighlightAlpha(), 255.0f);
    frames(3, 0.02f);
    EXPECT_LT(screen->getHighlightAlpha(), 255.0f);
    // Over Buy it goes out.
    mouseTo(600.0f, 500.0f);
    frame();
    EXPECT_FALSE(screen->getBuyHighlight()->isOwnVisible());
    EXPECT_EQ(screen->getHighlightAlpha(), 0.0f);
}

TEST_F(ShopScreen, ButtonLooksSoundsAndEdges) {
    build();
    settleScroll();
    cShopButton* first = screen->getButtons()[0];
    // The outermost pixel of the size is not part of the entry.
    mouseTo(kX - 100.0f, entryY(0));
    EXPECT_FALSE(first->isHovered());
    mouseTo(kX - 99.0f, entryY(0));
    EXPECT_TRUE(first->isHovered());
    EXPECT_EQ(first->getPicture(), "i_hover.dds");
    EXPECT_NEAR(first->getIcon()->getPosition().y, entryY(0) - 2.0f, 0.01f) << "the icon lifts";
    EXPECT_EQ(sound->count("play:active.ogg"), 1u);
    frames(3);
    EXPECT_EQ(sound->count("play:active.ogg"), 1u) << "only when the look changes";
    clickAt(kX - 99.0f, entryY(0));
    EXPECT_EQ(sound->count("play:pressed.ogg"), 1u);
    clickAt(kX - 99.0f, entryY(0));
    EXPECT_EQ(sound->count("play:pressed.ogg"), 1u) << "clicking the selected entry again does nothing";
    // The fifth entry reaches into the window only with its hidden half: it is not shown. Page
    // on by one entry less than the window, so that entry 4 sits with its centre at 327 - 150.
    EXPECT_FALSE(screen->getButtons()[4]->isVisible());
    // Interior offers take their own looks.
    EXPECT_EQ(screen->getButtons()[8]->getPicture().substr(0, 2), "n_");
}

TEST_F(ShopScreen, DescriptionCloudFollowsTheMouse) {
    build();
    settleScroll();
    mouseTo(kX, entryY(0));
    frame(0.0f);  // the entries see the mouse in their own update, after the screen's
    cAppearingCloud* cloud = screen->getDescriptionCloud();
    EXPECT_EQ(screen->getDescribedObject(), screen->getButtons()[0]->getItem());
    EXPECT_EQ(cloud->getText()->getString(), L"ABOUT HAROLD");
    EXPECT_EQ(cloud->getPosition(), cVector2(15.0f, 26.0f)) << "cloud_pos plus the preview offset";
    frames(20, 0.02f);
    EXPECT_TRUE(cloud->isVisible());
    // Another entry: the old description fades out first.
    mouseTo(kX, entryY(1));
    frame(0.0f);
    EXPECT_EQ(screen->getDescribedObject(), screen->getButtons()[0]->getItem());
    frames(30, 0.02f);
    EXPECT_EQ(screen->getDescribedObject(), screen->getButtons()[1]->getItem());
    mouseTo(20.0f, 20.0f);
    frames(30, 0.02f);
    EXPECT_FALSE(cloud->isVisible());
    EXPECT_EQ(screen->getDescribedObject(), nullptr);
}

TEST_F(ShopScreen, FirstShopHint) {
    build();
    ASSERT_NE(screen->getHintCloud(), nullptr);
    EXPECT_FALSE(screen->isHintDismissed()) << "the opening glimpse leaves the hint";
    screen->showHints();
    frames(20, 0.02f);
    EXPECT_TRUE(screen->getHintCloud()->isVisible());
    settleScroll();
    ASSERT_TRUE(click(screen->getForwardButton()));
    EXPECT_TRUE(screen->isHintDismissed());
    frames(30, 0.02f);
    EXPECT_FALSE(screen->getHintCloud()->isVisible());
}

}  // namespace
