#pragma once
// The mini game's pause panel: Continue, Options and Menu. While it is up the mini game is
// marked paused and the music and sounds are paused; they resume when it has slid out, unless
// Menu was chosen last (the confirm panel then leaves for the main menu, or its No brings the
// player back here, where Continue and Options ask for the resume again). Inactive while the
// confirm panel covers it or the options or confirm-exit panel is up.

#include "game/minigame/cMiniGamePanel.h"

class cButton;
class cMiniGameOwner;
class cText;

class cMiniGamePausePanel : public cMiniGamePanel {
public:
    cMiniGamePausePanel(cSceneNode* parent, cMiniGameOwner* owner);
    ~cMiniGamePausePanel() override;

    void update() override;
    void loadConfig(const cIniFile& ini, const cStringW& section) override;
    void onEnable() override;
    void onHide() override;
    // The slide-out (with sound).
    void hide();

    static bool onButton(cSceneNode* button);
    void press(cButton* button);

    cButton* getContinueButton() const { return m_button_continue; }
    cButton* getOptionsButton() const { return m_button_options; }
    cButton* getMenuButton() const { return m_button_menu; }
    bool willResumeSounds() const { return m_resume_sounds; }

private:
    cMiniGameOwner* m_game_owner;
    cText* m_title;
    cButton* m_button_continue;
    cButton* m_button_options;
    cButton* m_button_menu;
    cText* m_description;
    bool m_resume_sounds = true;
};
