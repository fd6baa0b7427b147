#pragma once
// Menu screen 8, the first start: with no profile (no save file, or a damaged one set aside)
// the menu opens here and asks for the first player's name. OK (Enter, not with Alt held, while
// the panel is active) takes the typed name without the blanks at its ends, cut as the game
// data keeps it; an empty name does nothing. A name makes the first profile, current and
// saved, and the panel slides out; then the screen finishes and the menu goes on to its main
// screen. There is no way back without a name: no cancel, no Escape. Always complete.

#include "game/menus/cMenuScreen.h"

class cButton;
class cEditBox;
class cMenuPanel;
class cText;

class cScreenPlayerSetupStart : public cMenuScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/screen_player_setup_start.ini";

    explicit cScreenPlayerSetupStart(cSceneNode* parent);
    ~cScreenPlayerSetupStart() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onEnable() override;
    void onDisable() override;
    bool isComplete() override { return true; }

    cMenuPanel* getPanel() const { return m_panel; }
    cEditBox* getEditBox() const { return m_edit; }
    cButton* getOkButton() const { return m_ok; }
    bool isLeaving() const { return m_leaving; }

private:
    static bool onButtonClick(cSceneNode* button);
    static void onEnterKey(void* screen);
    void accept();

    cMenuPanel* m_panel = nullptr;
    cText* m_text = nullptr;
    cEditBox* m_edit = nullptr;
    cButton* m_ok = nullptr;
    bool m_leaving = false;
};
