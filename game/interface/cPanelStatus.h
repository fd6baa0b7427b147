#pragma once
// The status display that frames every level: a clock that runs down with the level time and
// pulses ten times (with one tick sound) on its last frame, a score picture that climbs a
// track of steps as the score grows, a goal mark that gives way to an expert mark once the goal
// is reached, the level number, the bonus bar with its blinker (bonus mode) and the pause
// button. It reads the game data and the bonus bar every frame; nothing pushes values into it.
//
// It slides in as a cascade (bonus bar, then clock, goal mark and pause button, then score
// picture and level picture) and slides out at 1500 pixels per second. Of the panel flags only
// the dimming has an effect: both steps are its own.

#include <vector>

#include "game/interface/cPanel.h"

class cButton;
class cProgressBar;
class cText;

class cPanelStatus : public cPanel {
public:
    // Most steps a track part may have (a file-supplied count).
    static constexpr uint32_t kMaxTrackSteps = 4096;

    cPanelStatus(cSceneNode* parent, cLevelPanelOwner* owner);
    ~cPanelStatus() override;

    void update() override;
    // Reads "Config/Game/gi_panel_status.ini" whatever the arguments.
    void loadConfig(const cIniFile& ini, const cStringW& section) override;

    // While frozen the clock does not advance (tutorial scripts).
    void setClockFrozen(bool frozen) { m_clock_frozen = frozen; }
    bool isClockFrozen() const { return m_clock_frozen; }
    // The clock jumps to its last frame.
    void finishClock();
    // Where the score picture is now (the target of the score stars).
    cVector2 getScorePicturePosition() const;
    // The pause button's click handler: shows the game screen's pause panel, under the same
    // conditions as Escape (no fade; pause, level-start and results panels all hidden).
    static bool onPauseClicked(cSceneNode* button);

    cCompositePicture* getClock() const { return m_clock; }
    cCompositePicture* getScorePicture() const { return m_score_picture; }
    cCompositePicture* getGoalMark() const { return m_goal_mark; }
    cCompositePicture* getExpertMark() const { return m_expert_mark; }
    cCompositePicture* getLevelPicture() const { return m_level_picture; }
    cPicture* getScoreCaption() const { return m_score_caption; }
    cText* getScoreText() const { return m_score_text; }
    cText* getGoalText() const { return m_goal_text; }
    cText* getExpertText() const { return m_expert_text; }
    cText* getLevelText() const { return m_level_text; }
    cProgressBar* getBonusBar() const { return m_bonus_bar; }
    cProgressBar* getBlinker() const { return m_blinker; }
    cButton* getPauseButton() const { return m_pause_button; }

    const std::vector<cVector2>& getTrackPoints() const { return m_track_points; }
    const std::vector<uint32_t>& getTrackThresholds() const { return m_track_thresholds; }
    uint32_t getTrackStep() const { return m_track_step; }
    bool isTrackMoving() const { return m_track_moving; }
    bool isGoalReached() const { return m_goal_reached; }
    bool areMarksMoving() const { return m_marks_moving; }
    int getPulsesLeft() const { return m_pulses_left; }
    float getBlinkerAlpha() const { return m_blink_alpha; }

protected:
    void appearStep() override;
    void disappearStep() override;

private:
    void buildTrack(const cIniFile& ini);
    void prepareSlideIn();
    void updateScore();
    void updateClock();
    void updateBonusBar();
    void updateBlinker();
    void updateMarks();
    void updateTrack();
    void updateSparkles();
    void place(cSprite* part, cMotion& motion, float dt);
    void pausePressed();

    cLevelPanelOwner* m_game;
    cCompositePicture* m_clock;
    cCompositePicture* m_score_picture;
    cCompositePicture* m_goal_mark;
    cCompositePicture* m_expert_mark;
    cCompositePicture* m_level_picture;
    cPicture* m_score_caption;
    cText* m_score_text;
    cText* m_goal_text;
    cText* m_expert_text;
    cText* m_level_text;
    cProgressBar* m_bonus_bar;
    cProgressBar* m_blinker;
    cButton* m_pause_button;

    uint32_t m_goal = 0;
    uint32_t m_expert_goal = 0;
    bool m_goal_reached = false;
    bool m_marks_moving = false;
    cVector2 m_goal_shown;
    cVector2 m_expert_shown;
    cVector2 m_goal_hidden;
    cVector2 m_expert_hidden;

    cMotion m_clock_motion;
    cMotion m_score_motion;
    cMotion m_goal_motion;
    cMotion m_expert_motion;
    cMotion m_level_motion;
    cMotion m_pause_motion;
    cMotion m_bonus_motion;
    cMotion m_track_motion;

    std::vector<cVector2> m_track_points;
    std::vector<uint32_t> m_track_thresholds;
    uint32_t m_track_step = 0;
    bool m_track_moving = false;

    bool m_clock_sound_armed = true;
    int m_pulses_left = 10;
    cVector2 m_clock_scale = cVector2(1.0f, 1.0f);
    float m_pulse_direction = 1.0f;
    float m_pulse_hold = 0.0f;

    float m_blink_alpha = 0.0f;
    float m_blink_direction = 1.0f;
    float m_blink_hold = 0.0f;

    float m_sparkle_timer = 0.003f;
    float m_sparkle_period = 0.003f;
    bool m_clock_frozen = false;
};
