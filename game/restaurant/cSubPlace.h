#pragma once
// A plate of the sub counter. Its state is the raw sub lying on it (11, 25 or 39), 0 when it
// is empty; an empty plate is invisible (alpha 0). A finished sub fades in on plate 1
// (appear); the counter slides older subs on from plate to plate (moveIn); the waitress takes
// a sub with empty(). Every motion ends at the plate's home position with alpha 255, so a
// plate emptied mid-motion ends showing the empty picture ("none.dds") with state 0.
//
// The discard plate stands on the trash: it is never hovered, fades out at the fade-in rate
// while a sub slides onto it, and empties itself when the slide ends.
//
// The hit test uses the home position, so the click area stays put while a sub slides; the
// highlight shows only while the plate is hovered and holds a sub.
//
// Configuration: "Config/Game/o_sub_place.ini", section "COMMON": picture keys,
// "highlight_alpha", "pointer_offset", "pointer1_offset", "appear_time", "move_time",
// "appear_pos_off" and the polygon "v1"... A time of 0 or less ends its motion in one step.

#include <array>

#include "engine/scene/cAnimation.h"
#include "game/restaurant/cStation.h"

class cSubPlace : public cStation {
public:
    explicit cSubPlace(cSceneNode* station);
    ~cSubPlace() override;

    int32_t getKind() const override { return KIND_SUB_PLACE; }
    // Shows the picture of the id (outside 0..55: 0) on the plate and its highlight; stores it.
    bool setState(int32_t value) override;
    void showClickEffect() override {}
    void updateHover(bool testMouse, bool value) override;
    void update() override;
    // Moves the plate and makes the position its home.
    void setPosition(const cVector2& position) override;

    // A sub fades in from home + appear_pos_off; id 0 does nothing.
    void appear(int32_t id);
    // A sub slides in from another plate's position; id 0 does nothing.
    void moveIn(int32_t id, const cVector2& from);
    // Alpha 0 and state 0 (the motion in progress, if any, runs on).
    void empty();
    void setDiscard(bool discard) { m_discard = discard; }
    bool isDiscard() const { return m_discard; }

    bool isAppearing() const { return m_appearing; }
    bool isMoving() const { return m_moving; }
    const cVector2& getHome() const { return m_home; }
    float getAlphaValue() const { return m_alpha; }

private:
    void loadConfig();
    void placeAt(const cVector2& position);
    bool stepAppear(float dt);
    bool stepMove(float dt);
    void finishMotion();

    std::array<cAnimation, kItemCount> m_items;
    bool m_appearing = false;
    bool m_moving = false;
    cVector2 m_home;
    float m_timer = 0.0f;
    float m_alpha = 0.0f;
    float m_alpha_rate = 0.0f;
    float m_appear_time = 0.0f;
    cVector2 m_appear_pos_off;
    cVector2 m_appear_offset, m_appear_velocity;
    float m_move_time = 0.0f;
    cVector2 m_move_start, m_move_offset, m_move_velocity;
    bool m_discard = false;
};

inline constexpr const char* kSubPlaceIni = "Config/Game/o_sub_place.ini";
