#pragma once
// The pause panel of the game screen: Continue (close and play on), Restart (ask through the
// confirm-try panel), Options (the options panel) and Menu (ask through the confirm-menu
// panel). While it is shown the level is dimmed, game time frozen, the status panel inactive,
// and every sound and the music are paused.
//
// Hiding it resumes the sounds unless the last button clicked was Menu: after Menu and Yes the
// game leaves for the menu with the sounds still paused; after Menu and No the next click
// (say Continue) allows the resume again.

#include "game/interface/cPanel.h"

class cButton;
class cText;

class cPanelEsc : public cPanel {
public:
    cPanelEsc(cSceneNode* parent, cLevelPanelOwner* owner);
    ~cPanelEsc() override;

    void update() override;
    // Ignores the section: COMMON and the parts' sections of "Config/Game/gi_panel_esc.ini".
    void loadConfig(const cIniFile& ini, const cStringW& section) override;
    void onHide() override;
    void onEnable() override;

    // The click handler of the four buttons; the game screen runs it with the Continue button
    // when Escape is pressed over the panel at rest.
    static bool onButtonClick(cSceneNode* button);
    // Slides the panel out (disappear sound).
    void hide();

    cButton* getContinueButton() const { return m_button_continue; }
    cButton* getRestartButton() const { return m_button_restart; }
    cButton* getOptionsButton() const { return m_button_options; }
    cButton* getMenuButton() const { return m_button_menu; }
    bool willResumeSounds() const { return m_resume_sounds; }

private:
    void click(cButton* button);

    cLevelPanelOwner* m_game;
    cText* m_title;
    cButton* m_button_continue;
    cButton* m_button_restart;
    cButton* m_button_options;
    cButton* m_button_menu;
    cText* m_description;
    bool m_resume_sounds = true;
};
