#pragma once
// Menu screen 9, which PLAY opens while the profile has no game mode: the game-mode question
// (cGameModeChoice) on a menu panel. EASY (result 0) and HARD (1) store the mode in the
// current profile and save at once; BACK (2) changes nothing. Every button slides the panel
// out, and the screen finishes once the panel is hidden. After EASY or HARD, in every frame
// of the slide-out in which the panel's alpha is 200 or less, the screen asks the main menu
// to fade out, so the fade runs with the slide. Mouse only; always complete.
//
// Layout: "Config/Menu/screen_game_mode.ini" (COMMON, PANEL, PANEL_ADD and the sections of
// the question).

#include "game/menus/cMenuScreen.h"
#include "game/menus/cPanelGameMode.h"

class cScreenGameMode : public cMenuScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/screen_game_mode.ini";
    enum Result : int32_t {
        RESULT_EASY = cGameModeChoice::CHOICE_EASY,
        RESULT_HARD = cGameModeChoice::CHOICE_HARD,
        RESULT_BACK = cGameModeChoice::CHOICE_BACK,
    };
    // A panel at this alpha or below lets the menu fade out during the slide-out after a mode.
    static constexpr uint32_t kEarlyFadeAlpha = 200;

    explicit cScreenGameMode(cSceneNode* parent);
    ~cScreenGameMode() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    bool isComplete() override { return true; }

    cMenuPanel* getPanel() const { return m_panel; }
    const cGameModeChoice& getChoice() const { return m_choice; }
    bool isClosing() const { return m_closing; }

private:
    static bool onButton(cSceneNode* button);

    cMenuPanel* m_panel = nullptr;
    cGameModeChoice m_choice;
    bool m_closing = false;
};
