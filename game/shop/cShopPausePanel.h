#pragma once
// The shop's pause panel: Resume (slide out and shop on), Options (the game-wide options
// panel) and Menu (the shop's confirm-menu panel, whose Yes leaves for the main menu). While
// it is up, game time is stopped, the music and every sound are paused and the shop screen
// ignores the mouse. It has no status panel to keep inactive and no level to dim.
//
// Hiding it resumes the sounds unless the last button clicked was Menu.

#include "game/interface/cPanel.h"

class cButton;
class cText;
class cPanelConfirmMenu;

// What the pause panel asks of the shop state.
class cShopPauseOwner : public cPanelOwner {
public:
    virtual cPanelConfirmMenu* getConfirmMenuPanel() = 0;
};

class cShopPausePanel : public cPanel {
public:
    static constexpr const char* kConfig = "Config/Shop/si_panel_esc.ini";

    cShopPausePanel(cSceneNode* parent, cShopPauseOwner* owner);
    ~cShopPausePanel() override;

    void update() override;
    // Ignores the section: COMMON and the parts' sections of the file.
    void loadConfig(const cIniFile& ini, const cStringW& section) override;
    void onHide() override;
    void onEnable() override;

    static bool onButtonClick(cSceneNode* button);
    // Slides the panel out (disappear sound).
    void hide();
    // Resume, as its button does.
    void resume();

    cButton* getResumeButton() const { return m_button_resume; }
    cButton* getOptionsButton() const { return m_button_options; }
    cButton* getMenuButton() const { return m_button_menu; }
    bool willResumeSounds() const { return m_resume_sounds; }

private:
    void click(cButton* button);

    cShopPauseOwner* m_shop;
    cText* m_title;
    cButton* m_button_resume;
    cButton* m_button_options;
    cButton* m_button_menu;
    cText* m_description;
    bool m_resume_sounds = true;
};
