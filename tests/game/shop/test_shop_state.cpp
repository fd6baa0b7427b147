// The shop state: its fades with the black frame, game time while it builds and fades,
// Escape and the pause panel by fade and panel state, the sounds of the pause panel through
// Menu-No-Resume and Menu-Yes, Finish and the money it stores, and the reload in place.

#include "engine/core/cTimer.h"
#include "game/interface/cPanelConfirm.h"
#include "tests/game/shop/ShopTestSupport.h"

using namespace shop_test;

namespace {

class ShopState : public ShopTest {
protected:
    cShop* shop = nullptr;
    void SetUp() override {
        ShopTest::SetUp();
        goToLevel(6);
        shop = new cShop(nullptr);
    }
    void TearDown() override {
        delete shop;
        ShopTest::TearDown();
    }
    void fadeIn() {
        for (int i = 0; i < 200 && !shop->isIdle(); ++i) frame();
        ASSERT_TRUE(shop->isIdle());
    }
    void settle(cPanel* panel) {
        for (int i = 0; i < 300 && !panel->isComplete(); ++i) frame();
        ASSERT_TRUE(panel->isComplete());
    }
};

TEST_F(ShopState, FadesInStoppingGameTime) {
    EXPECT_EQ(graphics->getFade(), 0.0f);
    EXPECT_TRUE(shop->isFadingIn());
    frame(0.1f);
    EXPECT_TRUE(logic->isPaused());
    EXPECT_NEAR(graphics->getFade(), 30.0f, 0.01f);
    const float y = shop->getScreen()->getButtons()[0]->getPosition().y;
    frames(7, 0.1f);
    EXPECT_EQ(shop->getScreen()->getButtons()[0]->getPosition().y, y) << "no glimpse before the fade-in ends";
    frames(2, 0.1f);  // 0.85 s from black
    EXPECT_TRUE(shop->isIdle());
    EXPECT_EQ(graphics->getFade(), 255.0f);
    EXPECT_FALSE(logic->isPaused());
    EXPECT_FALSE(shop->isFinished());
}

TEST_F(ShopState, EscapeByFadeAndPanelState) {
    pressKey(KEY_ESCAPE);
    EXPECT_FALSE(shop->getPausePanel()->isVisible()) << "nothing during the fade-in";
    EXPECT_FALSE(shop->pause());
    fadeIn();
    pressKey(KEY_ESCAPE);
    EXPECT_TRUE(shop->getPausePanel()->isAppearing());
    EXPECT_EQ(sound->count("play:" + std::string(panel_files::kSoundAppear)), 1u);
    pressKey(KEY_ESCAPE);
    EXPECT_TRUE(shop->getPausePanel()->isAppearing()) << "sliding: Escape does nothing";
    settle(shop->getPausePanel());
    EXPECT_FALSE(shop->getScreen()->isActive());
    EXPECT_TRUE(logic->isPaused());
    pressKey(KEY_ESCAPE);
    EXPECT_TRUE(shop->getPausePanel()->isDisappearing()) << "at rest Escape resumes";
    settle(shop->getPausePanel());
    frame();
    EXPECT_TRUE(shop->getScreen()->isActive());
    EXPECT_FALSE(logic->isPaused());
    // The window's focus: opened silently.
    const size_t appears = sound->count("play:" + std::string(panel_files::kSoundAppear));
    EXPECT_TRUE(shop->pause());
    settle(shop->getPausePanel());
    EXPECT_TRUE(shop->getPausePanel()->isVisible());
    EXPECT_EQ(sound->count("play:" + std::string(panel_files::kSoundAppear)), appears);
}

TEST_F(ShopState, MenuNoResumeThenMenuYes) {
    fadeIn();
    ASSERT_TRUE(click(shop->getScreen()->getMenuButton()));
    settle(shop->getPausePanel());
    EXPECT_EQ(sound->count("pauseMusic"), 1u);
    EXPECT_EQ(sound->count("pauseAll"), 1u);
    cShopPausePanel* pause = shop->getPausePanel();
    cPanelConfirmMenu* confirm = shop->getConfirmMenuPanel();
    ASSERT_TRUE(click(pause->getMenuButton()));
    settle(confirm);
    frame();
    EXPECT_FALSE(pause->isActive()) << "under the confirm-menu panel";
    pressKey(KEY_ESCAPE);  // the confirm panel's No
    settle(confirm);
    frame();
    EXPECT_TRUE(pause->isVisible());
    EXPECT_TRUE(pause->isActive());
    ASSERT_TRUE(click(pause->getResumeButton()));
    settle(pause);
    EXPECT_EQ(sound->count("resumeAll"), 1u);
    EXPECT_EQ(sound->count("resumeMusic"), 1u);
    // Menu, Yes: the panel goes without resuming, the shop fades out to the menu.
    frame();
    ASSERT_TRUE(click(shop->getScreen()->getMenuButton()));
    settle(pause);
    ASSERT_TRUE(click(pause->getMenuButton()));
    settle(confirm);
    ASSERT_TRUE(click(confirm->getYesButton()));
    EXPECT_TRUE(shop->isFadingOut());
    EXPECT_EQ(shop->getResult(), SHOP_RESULT_MENU);
    for (int i = 0; i < 100 && !shop->isFinished(); ++i) frame();
    EXPECT_TRUE(shop->isDone());
    EXPECT_EQ(sound->count("resumeAll"), 1u);
}

TEST_F(ShopState, FinishFadesOutHoldsBlackAndStoresTheMoney) {
    fadeIn();
    cShopScreen* screen = shop->getScreen();
    for (int i = 0; i < 200 && screen->isScrolling(); ++i) frame();
    const int32_t cash = screen->getCash();
    screen->cheatAddMoney();
    shop->cheatAddMoney();
    EXPECT_EQ(shop->getCash(), cash + 2000);
    ASSERT_TRUE(click(screen->getFinishButton()));
    EXPECT_EQ(shop->getResult(), SHOP_RESULT_CONTINUE);
    EXPECT_FALSE(shop->pause()) << "no pause panel during the fade-out";
    int frames = 0;
    while (graphics->getFade() > 0.0f && frames < 100) {
        frame(0.02f);
        ++frames;
    }
    EXPECT_EQ(frames, 16) << "255 at 800 per second";
    EXPECT_FALSE(shop->isFinished()) << "one whole frame at black first";
    frame(0.02f);
    EXPECT_TRUE(shop->isDone());
    delete shop;
    shop = nullptr;
    EXPECT_EQ(sound->count("stopAll"), 1u);
    // Money spent: the cheat's money counts as spent money's opposite; nothing was bought.
    EXPECT_EQ(data->getCash(1, 6), data->getCash(1, 5) + 2000);
}

TEST_F(ShopState, ReloadRebuildsInPlace) {
    fadeIn();
    cShopScreen* first = shop->getScreen();
    first->cheatAddMoney();
    shop->cheatReload();
    EXPECT_TRUE(shop->isFadingOut());
    shop->cheatReload();
    for (int i = 0; i < 100 && shop->getScreen() == first; ++i) frame(0.02f);
    EXPECT_EQ(shop->getScreen(), nullptr);
    frame(0.02f);
    ASSERT_NE(shop->getScreen(), nullptr);
    EXPECT_TRUE(shop->isFadingIn());
    EXPECT_FALSE(shop->isFinished()) << "the reload is never reported";
    EXPECT_EQ(shop->getCash(), data->getCash(1, 5)) << "the cash computed again";
}

}  // namespace
