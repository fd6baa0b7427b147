#pragma once
// The display of the running mini game: score, time left as MM:SS, the list of names to find
// (laid out by the mini game), four hint buttons, a pause button and, in the first mini game
// only, a hint explanation that shows from 3 s to 13 s of play or until the first hint.
//
// It slides on its own: the panel (with its score and time texts) from x = -300, the pause
// button from x = 1100. It never pauses the game; the other mini-game panels send it out and
// bring it back. Its other children (hint buttons and explanation, name lines, background,
// hint stars) keep their screen positions when the panel moves.

#include <array>
#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/scene/cMotion.h"
#include "game/minigame/cMiniGamePanel.h"

class cButton;
class cMiniGameOwner;
class cText;

// Seconds as "MM:SS": whole seconds (truncated), minutes and seconds with two digits at least;
// negative or unreadable times show 00:00.
cStringW formatMiniGameClock(float seconds);

class cMiniGameStatusPanel : public cMiniGamePanel, public cSingleton<cMiniGameStatusPanel> {
public:
    static constexpr int kHintButtons = 4;
    static constexpr float kHiddenX = -300.0f;
    static constexpr float kPauseHiddenX = 1100.0f;

    cMiniGameStatusPanel(cSceneNode* parent, cMiniGameOwner* owner);
    ~cMiniGameStatusPanel() override;

    void update() override;
    void loadConfig(const cIniFile& ini, const cStringW& section) override;
    void appear(bool sound) override;
    void disappear(bool sound) override;
    bool isComplete() override { return m_status_step == nullptr; }

    // One entry per object to find, in the mini game's order; null from the find of its
    // object until compactNameLines drops it. The panel owns the lines.
    std::vector<cText*>& getNameLines() { return m_name_lines; }
    // Drops the first empty entry, if any: the lines after it move up one slot.
    void compactNameLines();
    // -1: shows the first hidden hint button (false when all four are shown); 0 to 3: shows
    // that one; any other index: false.
    bool showHintButton(int index);
    // The first hidden hint button's position, or the fourth's when all are shown.
    cVector2 getFreeHintSlotPosition() const;
    cVector2 getScoreTextPosition() const;

    // Click handler of the pause button and the hint buttons.
    static bool onButton(cSceneNode* button);

    cText* getScoreText() const { return m_score_text; }
    cText* getTimeText() const { return m_time_text; }
    cButton* getHintButton(int i) const { return i >= 0 && i < kHintButtons ? m_hint_buttons[size_t(i)] : nullptr; }
    cButton* getPauseButton() const { return m_pause_button; }
    cPicture* getHintDescription() const { return m_hint_desc; }
    float getHintDescriptionState() const { return m_hint_desc_state; }

protected:
    void appearStep() override;
    void disappearStep() override;

private:
    void refreshTexts();
    void stepHintDescription(float t);
    void useHint(cButton* button);
    // Moves the panel (and its attached texts) while its other children stay where they are.
    void moveStatusTo(const cVector2& position);
    bool slideStep();

    cMiniGameOwner* m_game_owner;
    std::vector<cText*> m_name_lines;
    cText* m_score_text;
    cText* m_time_text;
    std::array<cButton*, kHintButtons> m_hint_buttons{};
    cButton* m_pause_button;
    cPicture* m_hint_desc;
    float m_hint_desc_timer = 0.0f;
    float m_hint_desc_alpha = 0.0f;
    float m_hint_desc_state = 1.0f;   // 1 waiting, -1 shown, 0 done
    cMotion m_status_motion;
    cMotion m_pause_motion;
    cVector2 m_status_hidden_position;
    cVector2 m_pause_hidden_position;
    cVector2 m_status_shown_position;
    cVector2 m_pause_shown_position;
    void (cMiniGameStatusPanel::*m_status_step)() = nullptr;
};

// The status panel while it exists, else null.
cMiniGameStatusPanel* getMiniGameStatusPanel();
