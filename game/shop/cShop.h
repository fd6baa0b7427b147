#pragma once
// Application state 5, the shop between two levels. It owns the state's cursor, the shop's
// pause panel, the shop screen and a confirm-menu panel; fades the frame in (300 per second)
// and out (800 per second, then one whole frame at black), keeps game time stopped while it
// builds and fades, plays the current world's music and opens the pause panel on Escape, on
// the screen's Menu button and when the window loses the focus.
//
// Results: 1 when the player finished shopping, 2 for the main menu. The debug reload (R)
// fades out and builds the shop again in place, from freshly read configuration files; it is
// never reported to the game.

#include <cstdint>

#include "engine/scene/cSceneNode.h"
#include "game/interface/cCompletion.h"
#include "game/shop/cShopPausePanel.h"

class cCursor;
class cShopScreen;
class cPanelConfirmMenu;

class cShop : public cSceneNode, public cCompletion, public cShopPauseOwner {
public:
    static constexpr float kFadeInSpeed = 300.0f;
    static constexpr float kFadeOutSpeed = 800.0f;

    explicit cShop(cSceneNode* parent);
    ~cShop() override;

    void update() override;
    void onEnable() override;
    void onDisable() override;
    bool isComplete() override { return !m_fade_step && !m_after_fade; }
    bool isIdle() const { return !m_fade_step; }

    void finish();
    void quitToMenu();
    // Opens the pause panel silently; false while a fade runs (the game asks again).
    bool pause();
    static void onEscapeKey(void* shop);
    void cheatReload();
    void cheatAddMoney();

    // cPanelOwner: the confirm-menu panel's Yes.
    void hidePauseAndQuitToMenu() override;
    cPanelConfirmMenu* getConfirmMenuPanel() override { return m_confirm_menu; }
    cShopPausePanel* getPausePanel() const { return m_pause_panel; }
    // The pause panel is up (also while it slides); it holds the music and the sounds paused.
    bool isPausePanelShown() const;
    cShopScreen* getScreen() const { return m_screen; }
    cCursor* getCursorPicture() const { return m_cursor; }
    int32_t getCash() const;
    bool isFadingIn() const { return m_fade_step == &cShop::fadeInStep; }
    bool isFadingOut() const { return m_fade_step == &cShop::fadeOutStep; }

private:
    void build();
    void startFadeIn() { m_fade_step = &cShop::fadeInStep; }
    void startFadeOut();
    void fadeInStep();
    void fadeOutStep();
    void afterFadeOut();

    cCursor* m_cursor = nullptr;
    cShopPausePanel* m_pause_panel = nullptr;
    cShopScreen* m_screen = nullptr;
    cPanelConfirmMenu* m_confirm_menu = nullptr;
    void (cShop::*m_fade_step)() = nullptr;
    void (cShop::*m_after_fade)() = nullptr;
    bool m_held_black = false;
    bool m_reload_config = false;
};
