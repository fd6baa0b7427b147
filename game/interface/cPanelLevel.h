#pragma once
// The panel that opens every level: a title (one for levels 1-10 of a world, another for
// 11-20), the level line, the world's description, up to two pictures and two free texts
// chosen per level, and the goal and expert goal with their captions. Its button, or Enter,
// closes it, and with that the level clock starts.
//
// Texts come from the world file of the level's graphics set; the layout from the panel file
// named by `panel_config` of the level's section ("LEVEL_<level within world>"). The
// slide-in is prepared once, here: the panel always drops in from above.

#include "game/interface/cPanel.h"

class cButton;
class cText;

class cPanelLevel : public cPanel {
public:
    cPanelLevel(cSceneNode* parent, cLevelPanelOwner* owner);
    ~cPanelLevel() override;

    // Both arguments are ignored: the panel finds its two files itself.
    void loadConfig(const cIniFile& ini, const cStringW& section) override;
    void onEnable() override;
    void onDisable() override;

    // The button's click handler (the button's scene parent is the panel).
    static bool close(cSceneNode* button);
    static void onEnterKey(void* panel);

    cText* getTitle() const { return m_title; }
    cText* getLevelLine() const { return m_level_line; }
    cText* getWorldDescription() const { return m_world_description; }
    cPicture* getPicture1() const { return m_picture_1; }
    cPicture* getPicture2() const { return m_picture_2; }
    cText* getString1() const { return m_string_1; }
    cText* getString2() const { return m_string_2; }
    cText* getGoalText() const { return m_goal_text; }
    cText* getGoalDescription() const { return m_goal_description; }
    cText* getExpertText() const { return m_expert_text; }
    cText* getExpertDescription() const { return m_expert_description; }
    cButton* getButton() const { return m_button; }

private:
    void closePanel();
    void loadPicture(cPicture*& picture, const cIniFile& world, const cStringW& section, int n, float deepOffset);
    void loadString(cText*& text, const cIniFile& world, const cStringW& section, int n, float deepOffset);

    cLevelPanelOwner* m_game;
    cText* m_title;
    cText* m_level_line;
    cText* m_world_description;
    cPicture* m_picture_1;
    cPicture* m_picture_2;
    cText* m_string_1;
    cText* m_string_2;
    cPicture* m_score_frame;
    cText* m_goal_text;
    cText* m_goal_description;
    cText* m_expert_text;
    cText* m_expert_description;
    cButton* m_button;
};
