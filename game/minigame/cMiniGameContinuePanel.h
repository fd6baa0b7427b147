#pragma once
// The mini game's result panel ("mgi_panel_continue.ini"): how the game ended (title, level
// picture and description from the level file the mini game loaded: the "2" keys when every
// object was found), the money of the world so far, the mini-game score and the total score,
// and a Continue button (or Enter, unless Alt is held or it slides) that leaves the mini game.
// It is filled at its first enable, when the state has already stored the score.

#include "game/minigame/cMiniGamePanel.h"

class cButton;
class cMiniGameOwner;
class cText;

class cMiniGameContinuePanel : public cMiniGamePanel {
public:
    cMiniGameContinuePanel(cSceneNode* parent, cMiniGameOwner* owner);
    ~cMiniGameContinuePanel() override;

    void loadConfig(const cIniFile& ini, const cStringW& section) override;
    void onEnable() override;
    void onDisable() override;
    static bool onButton(cSceneNode* button);
    static void onEnterKey(void* panel);
    void press();

    cText* getTitle() const { return m_title; }
    cPicture* getLevelPicture() const { return m_level_picture; }
    cText* getLevelDescription() const { return m_level_description; }
    cText* getCashText() const { return m_cash_text; }
    cText* getScoreText() const { return m_score_text; }
    cText* getTotalText() const { return m_total_text; }
    cButton* getContinueButton() const { return m_button_continue; }

private:
    void fill();

    cMiniGameOwner* m_game_owner;
    cText* m_title;
    cPicture* m_picture;
    cPicture* m_level_picture;
    cText* m_level_description;
    cText* m_cash_text;
    cText* m_cash_caption;
    cText* m_score_text;
    cText* m_score_caption;
    cText* m_total_text;
    cText* m_total_caption;
    cButton* m_button_continue;
};
