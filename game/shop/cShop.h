#pragma once
// Application state 5, the shop between levels. Enter or a click continues with the level
// (result 1), Escape goes to the main menu (result 2). Plays the current world's music.

#include "game/flow/cPausingScreen.h"

class cShop : public cPausingScreen {
public:
    static constexpr const char* kBackground = "Shop/Interface/shop_back.dds";

    explicit cShop(cSceneNode* parent);
    ~cShop() override;

    // Opens the pause panel; false when it cannot open now.
    bool pause() { return openPausePanel(); }
    void cheatReload();
    void cheatAddMoney();
    int32_t getCash() const { return m_cash; }

protected:
    void onPlayConfirm() override { finish(SHOP_RESULT_CONTINUE); }
    void onPlayBack() override { finish(SHOP_RESULT_MENU); }

private:
    void refreshCash();

    int32_t m_cash = 0;
    bool m_reload_config = false;
};
