#pragma once
// The sub counter of a level: the installed bread types (cSub), one to three plates
// (cSubPlace), the discard plate on the trash, the sandwich maker and the hint picture. It
// keeps the queue of ordered subs, prepares them one at a time, puts each finished sub on
// plate 1 and pushes the older ones along; the oldest is thrown away only when every plate
// is full. One per level, reached through getSubStation.
//
// What the level calls, in this order:
//  1. Construction, as a child of the level, after the stations and after the trash (the
//     discard plate stands on getTrash()); the room does not depend on it.
//  2. Every frame, in its hover pick: updateHover(test, value) like any target; when it
//     reports hovered, getHoveredPlace() is the target (a cSub or a cSubPlace). After the pick:
//     setPlaceHovered(false), then setPlaceHovered(true) when the hovered target is a plate
//     (kind 17) whose state is not 0.
//  3. The frame update as the level's child (update): the cook loop, the hint, the children.
//  4. The waitress: setWaitressComing(true) when her queue accepts a plate holding a sub,
//     setWaitressComing(false) on her arrival at any plate (one flag, not a count); on arrival
//     at a cSub, its setState; at a plate, takes its state and calls cSubPlace::empty.
//  5. The tutorial: setSubsBlocked / setPlacesBlocked (index -1 for all, 0..2 for one).
//  6. Deletion with the level.
//
// Level time and the bonus mode come from the bonus bar (isBonusModeOn); the counter reads no
// level time.
//
// Configuration: "Config/Game/o_sub_st.ini": "COMMON" (node keys, "generation_time_<T>_world_<w>",
// "dec_generation_time", "temp_multiplier"), "HINT_SUB" (the hint picture),
// "COUNT_PLATES_<n>" ("plate_position_<i>"), "COUNT_SUBS_<n>" ("sub_position_<i>"). Control
// points "SUB_PLACE_1".."SUB_PLACE_3" of the level's paths document: the counter's own is
// plate 1's with one or two plates, plate 2's with three.

#include <deque>

#include "engine/core/cSingleton.h"
#include "engine/scene/cSceneNode.h"
#include "game/restaurant/cClickTarget.h"

class cPicture;
class cSandwichMaker;
class cSub;
class cSubPlace;

class cSubStation : public cSceneNode, public cClickTarget, public cSingleton<cSubStation> {
public:
    // Throws "Object already exist." when a counter exists.
    explicit cSubStation(cSceneNode* level);
    ~cSubStation() override;

    int32_t getKind() const override { return KIND_SUB_STATION; }
    void update() override;
    void loadFromNode(const cXmlNode& node) override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Subs in index order, then plates: the first hovered wins, the later ones are cleared.
    void updateHover(bool testMouse, bool value) override;

    void queueSub(cSub* sub);
    cClickTarget* getHoveredPlace() const { return m_hovered; }
    void setPlaceHovered(bool hovered) { m_place_hovered = hovered; }
    bool isPlaceHovered() const { return m_place_hovered; }
    void setWaitressComing(bool coming) { m_waitress_coming = coming; }
    bool isWaitressComing() const { return m_waitress_coming; }
    // index -1: all; 0..2: that one when it exists; any other index does nothing.
    void setSubsBlocked(bool blocked, int index);
    void setPlacesBlocked(bool blocked, int index);
    // The state of plate index (0..2); 0 for a missing plate or any other index.
    int32_t getPlaceState(int index) const;
    bool isMakerWorking() const;

    // For the level's tests and the tutorial.
    cSub* getSub(int index) const { return index >= 0 && index < 3 ? m_subs[index] : nullptr; }
    cSubPlace* getPlace(int index) const { return index >= 0 && index < 3 ? m_places[index] : nullptr; }
    cSubPlace* getDiscardPlace() const { return m_discard_place; }
    cSandwichMaker* getMaker() const { return m_maker; }
    cPicture* getHint() const { return m_hint; }
    int getSubCount() const { return m_sub_count; }
    int getPlaceCount() const { return m_place_count; }
    size_t getRequestCount() const { return m_requests.size(); }
    float getCookTimer() const { return m_cook_timer; }
    bool isCooking() const { return m_cooking; }
    float getGenerationTime(int bread) const { return bread >= 1 && bread <= 3 ? m_generation_times[bread - 1] : 0.0f; }
    float getHintAlpha() const { return m_hint_alpha; }

private:
    void loadPlacement();
    void loadConfig();
    void cook(float dt);
    void finishSub();
    void startSub();
    void discard(cSubPlace* from);
    void updateHint(float dt);

    std::deque<cSub*> m_requests;
    cSub* m_subs[3] = {nullptr, nullptr, nullptr};
    cSubPlace* m_places[3] = {nullptr, nullptr, nullptr};
    cSubPlace* m_discard_place = nullptr;
    cSandwichMaker* m_maker = nullptr;
    cPicture* m_hint = nullptr;
    float m_hint_alpha = 0.0f;
    float m_hint_direction = 1.0f;
    cVector2 m_sub_positions[3][3];
    cVector2 m_place_positions[3][3];
    cVector2 m_control_points[3];
    int32_t m_sub_ids[3] = {0, 0, 0};
    int m_sub_count = 0;
    int m_place_count = 0;
    float m_generation_times[3] = {0.0f, 0.0f, 0.0f};
    float m_dec_generation_time = 0.0f;
    float m_temp_multiplier = 1.0f;
    float m_cook_timer = 0.0f;
    bool m_cooking = false;
    bool m_waitress_coming = false;
    bool m_place_hovered = false;
    cClickTarget* m_hovered = nullptr;
};

cSubStation* getSubStation();

inline constexpr const char* kSubStationIni = "Config/Game/o_sub_st.ini";
