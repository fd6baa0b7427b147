#pragma once
// Application state 3, the main menu. Enter or a click plays the game data's current level
// (result 1); Escape opens the exit screen (screen 6), where Enter quits (result 2) and Escape
// returns. Plays the menu playlist.

#include "game/flow/cPlaceholderScreen.h"

class cMainMenu : public cPlaceholderScreen {
public:
    static constexpr const char* kBackground = "Menu/Surfaces/menu_back.dds";
    static constexpr int32_t kMainScreen = 1;
    static constexpr int32_t kPlayScreen = 2;
    static constexpr int32_t kExitScreen = 6;

    cMainMenu(cSceneNode* parent, int32_t firstScreen);
    ~cMainMenu() override;

    // The screen now shown: 0 none, 1 to 10; 6 is the exit screen.
    int32_t getScreenId() const { return m_screen; }
    void refreshScreens();
    void cheatOpenAllLevels();
    void cheatReload();
    bool areAllLevelsOpen() const { return m_all_levels_open; }

protected:
    void onConfirm() override;
    void onBack() override;

private:
    void showScreen(int32_t screen);

    int32_t m_screen = 0;
    int32_t m_first_screen = kMainScreen;
    bool m_all_levels_open = false;
};
