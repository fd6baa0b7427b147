#pragma once
// The cook behind the sub counter. The sub station switches him to WORKING when it starts a
// sub and back to STAND when the sub is done; he has no decisions of his own. WORKING walks
// him to his work position and plays the working animation there (faster by
// temp_multiplier in bonus mode); STAND walks him back to his stand, where he rests a random
// whole number of seconds and then plays his idle animation a random number of runs.
//
// Setting his position starts a walk there. A walk's last step re-applies his state while he
// still stands one step short, so every walk ends with one more frame of walking; when the
// next sub follows at once he walks to his stand and back before working again.
//
// A click target of kind 5 that is never hovered. Configuration: "Config/Game/c_harold.ini".

#include "engine/scene/cAnimation.h"
#include "engine/scene/cPicture.h"
#include "game/restaurant/cClickTarget.h"

enum SandwichMakerState : int32_t {
    MAKER_STAND = 0,
    MAKER_WORKING = 1,
};

class cSandwichMaker : public cPicture, public cClickTarget {
public:
    // subStation: his parent. Reads his configuration (throws when it is not loaded) and
    // stands at his stand position without walking.
    explicit cSandwichMaker(cSceneNode* subStation);
    ~cSandwichMaker() override;

    void update() override;
    // Starts a walk to the position; nothing when he stands exactly there.
    void setPosition(const cVector2& position) override;

    int32_t getKind() const override { return KIND_SANDWICH_MAKER; }
    void setWorkState(int32_t state);
    int32_t getWorkState() const { return m_state; }

    // For tests.
    bool isMoving() const { return m_moving; }
    bool isAnimating() const { return m_animating; }
    float getIdleTimer() const { return m_idle_timer; }
    int32_t getCyclesLeft() const { return m_cycles_left; }
    const cVector2& getStandPosition() const { return m_stand_pos; }
    const cVector2& getWorkPosition() const { return m_work_pos; }

private:
    void loadConfig();
    void walkStep(float dt);

    cAnimation m_animations[2];
    cVector2 m_off_sprite;
    float m_temp_multiplier = 1.0f;
    float m_min_anim_time = 0.0f;
    float m_max_anim_time = 0.0f;
    int32_t m_max_count_cycles = 0;
    float m_idle_timer = 0.0f;
    int32_t m_cycles_left = 0;
    bool m_animating = false;
    int32_t m_state = MAKER_STAND;
    bool m_moving = false;
    cVector2 m_target;
    cVector2 m_direction;
    float m_speed_move = 0.0f;
    cVector2 m_stand_pos;
    cVector2 m_work_pos;
};
