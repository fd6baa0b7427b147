#pragma once
// The quit question that a window-close request brings up over every state but the logo: a
// single instance owned by the root object, built hidden and disabled. show() saves the logic
// pause, the level's dim and the mini game's pause and sets all three; it slides in like the
// options panel. Yes (Enter, not with Alt held) asks the logic to quit at once; No (Escape)
// slides it out: the dim and the mini game's pause come back at once, the logic pause when
// the slide-out has ended. One answer per opening: keys and clicks wait for the panel to go.
//
// A flag goes back only to the object it was saved from: when the state, the level or the
// mini game has been replaced meanwhile (a state switch ran under the question), the new one
// keeps what it set itself, and the logic runs again unless that state pauses it (as the game
// screen does in each frame of its fade-in). A pause that the state released while the
// question was up stays released.

#include <cstdint>

#include "engine/core/cSingleton.h"
#include "game/menus/cDialogPanel.h"

class cButton;
class cText;

class cConfirmExitPanel : public cDialogPanel, public cSingleton<cConfirmExitPanel> {
public:
    static constexpr const char* kConfig = "Config/Common/panel_confirm_exit.ini";

    explicit cConfirmExitPanel(cSceneNode* parent);
    ~cConfirmExitPanel() override;

    void update() override;
    void onEnable() override;

    // Opens the question (the sound asks for the appear sample) and saves and sets the pauses.
    void show(bool withSound);
    // Starts the slide-out and gives the dim and the mini game's pause back.
    void hide(bool withSound);

    // Yes quits, any other button is No.
    static bool onButtonClick(cSceneNode* button);
    cButton* getYesButton() const { return m_yes; }
    cButton* getNoButton() const { return m_no; }
    bool isClosing() const { return m_closing; }

protected:
    void disappearStep() override;
    // Yes (true) or No.
    void answer(bool yes) override;

private:
    // Whatever released the logic pause since the last step decides what comes back.
    void watchLogicPause();

    cPicture* m_title_picture = nullptr;
    cText* m_title_text = nullptr;
    cButton* m_yes = nullptr;
    cButton* m_no = nullptr;
    bool m_logic_was_paused = false;
    bool m_level_was_dimmed = false;
    bool m_mini_game_was_paused = false;
    // Creation serials of the objects the flags were saved from (0: none).
    uint64_t m_state_serial = 0;
    uint64_t m_level_serial = 0;
    uint64_t m_mini_game_serial = 0;
    bool m_closing = false;
};

cConfirmExitPanel* getConfirmExitPanel();
