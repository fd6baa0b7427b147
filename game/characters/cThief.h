#pragma once
// A sneak who goes for the money a guest left on a table. He fades in while sliding to his
// start position for that table, creeps to it in a fixed number of steps (a pause standing
// still before each, then a walk to the right), takes the money and runs off to the left; when
// the money is gone before he gets it (collected, or gone in the frame his theft would run) he
// gives up and runs off empty-handed. He is not clickable, lives in the class-wide set of
// live thieves (the generator sends no second one while a thief exists) and ends through
// the deferred deletion once he is back at his start x.
//
// Configuration: "Config/Game/c_thief.ini" ("COMMON" and one animation "THIEF" for all
// four states).

#include <deque>

#include "engine/scene/cAnimation.h"
#include "engine/scene/cPicture.h"
#include "game/effects/EffectRegistry.h"

class cTable;

enum ThiefState : int32_t {
    THIEF_FADE_IN = 0,
    THIEF_WALK = 1,
    THIEF_STEAL = 2,
    THIEF_RUN_OFF = 3,
};

class cThief : public cPicture {
public:
    static constexpr int kTables = 6;
    static constexpr float kRunOffSpeed = 1500.0f;

    // pauseTime: the total of his pauses, spread evenly over his steps; steps must be at
    // least 1 (the generator sends none otherwise; a smaller count is taken as 1). Reads his
    // configuration (throws when it is not loaded).
    cThief(cSceneNode* parent, cTable* table, float pauseTime, int32_t steps);
    ~cThief() override;

    void update() override;
    // Enters a state with its animation from the start; the appear and steal sounds play
    // once each in his life.
    void setState(int32_t state);

    int32_t getState() const { return m_state; }
    cTable* getTable() const { return m_table; }
    float getStepPause() const { return m_step_pause; }
    float getStepTimer() const { return m_step_timer; }
    const std::deque<cVector2>& getPath() const { return m_paths[m_table_index]; }
    const cVector2& getStartPosition(int table) const { return m_start_positions[table]; }
    const cVector2& getStandPosition(int table) const { return m_positions[table]; }

private:
    void loadConfig();
    void fadeIn(float dt);
    void walk(float dt);
    void stepToPoint(float dt);
    void runOff(float dt);

    int32_t m_state = THIEF_FADE_IN;
    cTable* m_table;
    int m_table_index = 0;
    int32_t m_count_pnt;
    float m_step_pause = 0.0f;
    float m_step_timer = 0.0f;
    std::deque<cVector2> m_paths[kTables];
    cVector2 m_start_positions[kTables];
    cVector2 m_positions[kTables];
    float m_speed_move = 0.0f;
    float m_appear_distance = 0.0f;
    float m_appear_distance_time = 0.0f;
    float m_appear_speed = 0.0f;
    float m_alpha_rate = 0.0f;
    float m_alpha = 0.0f;
    cAnimation m_animations[4];
    bool m_animating = false;
    bool m_appear_sound_played = false;
    bool m_steal_sound_played = false;
    bool m_deletion_scheduled = false;
};

// The thieves alive, by creation order.
const EffectRegistry& getThieves();
