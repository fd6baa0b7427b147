#pragma once
// The game-mode question: a heading, a common description, a description of each mode and the
// buttons EASY, HARD and BACK, all on a menu panel. cGameModeChoice holds those seven objects
// for both places that ask the question: the game-mode screen (screen 9) and cPanelGameMode,
// which the play screen slides in when START is pressed in a profile without a mode.
//
// EASY and HARD store difficulty 0 or 1 in the current profile and save at once
// (chooseGameMode). On the panel, a mode then starts the play screen's level; every button
// slides the panel out. While the panel is enabled the play screen and its pages are
// inactive: only the panel takes the mouse; when it is disabled again the play screen
// listens again. No key acts on the question.
//
// The panel reads "Config/Menu/panel_game_mode.ini" (sections PANEL, PANEL_ADD, TEXT,
// COMMON_DESC, BUTTON_EASY, BUTTON_HARD, BUTTON_BACK, EASY_DESC, HARD_DESC) and is built
// hidden and disabled whatever PANEL says.

#include <cstdint>

#include "engine/core/cString.h"
#include "engine/scene/cButton.h"
#include "game/menus/cMenuPanel.h"

class cIniFile;
class cText;

// The seven objects of the question, children of one panel.
struct cGameModeChoice {
    enum Choice : int32_t { CHOICE_EASY = 0, CHOICE_HARD = 1, CHOICE_BACK = 2, CHOICE_NONE = -1 };

    // Creates them under the panel (heading, common description, EASY, HARD, BACK, the easy
    // and the hard description).
    void create(cSceneNode* panel);
    // Each from its section; handler becomes the click handler of the three buttons.
    void load(const cIniFile& ini, ButtonHandler handler);
    // Deletes them in the order they were made.
    void destroy();
    // Which choice a button stands for (CHOICE_NONE for any other node).
    Choice choiceOf(const cSceneNode* button) const;

    cText* heading = nullptr;
    cText* commonDescription = nullptr;
    cButton* easy = nullptr;
    cButton* hard = nullptr;
    cButton* back = nullptr;
    cText* easyDescription = nullptr;
    cText* hardDescription = nullptr;
};

// EASY or HARD: stores the difficulty in the current profile and saves; BACK and anything else
// change nothing.
void chooseGameMode(cGameModeChoice::Choice choice);

class cPanelGameMode : public cMenuPanel {
public:
    static constexpr const char* kConfig = "Config/Menu/panel_game_mode.ini";

    // parent: the play screen.
    explicit cPanelGameMode(cSceneNode* parent);
    ~cPanelGameMode() override;

    // Reads its own file whatever it is given.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Deactivates / activates the play screen with everything on it.
    void onEnable() override;
    void onDisable() override;

    const cGameModeChoice& getChoice() const { return m_choice; }

private:
    static bool onButton(cSceneNode* button);

    cGameModeChoice m_choice;
};
