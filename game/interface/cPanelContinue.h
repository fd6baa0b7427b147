#pragma once
// The panel that ends every level. When it appears it judges the run against the goal and the
// expert goal (one of eight outcomes, each with its picture, title, description and sound),
// fills in the cash for the shop, the score, the goal and the total score, and offers the
// buttons of the outcome: go on, play again (confirm-try) or leave (confirm-menu). The expert
// picture, shown for the two best outcomes, shimmers with sparkles when full effects are on.
//
// It records and counts nothing itself: the game screen books the run in continueAfterWin,
// restartLevel and exitToMenu.

#include <cstdint>

#include "game/interface/cPanel.h"

class cButton;
class cText;

// Makes room in the label for the value drawn over it: every "#SPACES#" of the label's string
// becomes one blank more than the blanks needed to span the value text's width, in the
// label's font. Sets and returns the label's new string. A font whose blank has no width
// gives one blank (and a log line).
cStringW fillSpaces(cText* value, cText* label);

class cPanelContinue : public cPanel {
public:
    enum Outcome : int { GOOD1, GOOD2, NORMAL1, NORMAL2, TA_LOSE, GOAL_BUT_LOSE, BAD1, BAD2 };
    // The outcome of a run; scores compare unsigned. GOOD and NORMAL measure the score against
    // the expert goal, BAD against the goal; a divisor of 0 counts as 100 %.
    static Outcome judge(uint32_t score, uint32_t goal, uint32_t expertGoal, uint32_t countedBestScore,
                         bool goalReachedDuringPlay);
    // Percent of part in whole, rounded down; 100 when whole is 0.
    static uint32_t percentOf(uint32_t part, uint32_t whole);

    cPanelContinue(cSceneNode* parent, cLevelPanelOwner* owner);
    ~cPanelContinue() override;

    void update() override;
    // Ignores both arguments: loads "Config/Game/gi_panel_continue.ini" itself.
    void loadConfig(const cIniFile& ini, const cStringW& section) override;
    // The first enabling judges the run (see the class comment) and prepares the slide-in.
    void onEnable() override;
    void onDisable() override;

    static bool onButtonClick(cSceneNode* button);
    static void onEnterKey(void* panel);
    // Slides the panel out (disappear sound).
    void hide();

    bool isJudged() const { return m_judged; }
    Outcome getOutcome() const { return m_outcome; }
    cText* getTitle() const { return m_title; }
    cPicture* getPicture() const { return m_picture; }
    cText* getDescription() const { return m_description; }
    cText* getCashText() const { return m_text_cash; }
    cText* getScoreText() const { return m_text_score; }
    cText* getScoreDescription() const { return m_text_score_description; }
    cText* getGoalText() const { return m_text_goal; }
    cText* getGoalDescription() const { return m_text_goal_description; }
    cText* getTotalText() const { return m_text_total; }
    cText* getTotalDescription() const { return m_text_total_description; }
    cButton* getFirstButton() const { return m_button_continue; }
    cButton* getSecondButton() const { return m_button_restart; }
    cButton* getThirdButton() const { return m_button_menu; }
    cPicture* getExpertPicture() const { return m_expert_picture; }

private:
    void judgeRun();
    void click(cButton* button);

    cLevelPanelOwner* m_game;
    cText* m_title;
    cPicture* m_score_panel;
    cPicture* m_picture;
    cText* m_description;
    cText* m_text_cash;
    cText* m_text_cash_description;
    cText* m_text_score;
    cText* m_text_score_description;
    cText* m_text_goal;
    cText* m_text_goal_description;
    cText* m_text_total;
    cText* m_text_total_description;
    cButton* m_button_continue;
    cButton* m_button_restart;
    cButton* m_button_menu;
    cPicture* m_expert_picture;
    float m_sparkle_interval = 0.003f;
    float m_sparkle_countdown = 0.003f;
    bool m_judged = false;
    Outcome m_outcome = GOOD1;
};
