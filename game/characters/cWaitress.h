#pragma once
// The waitress, steered by the player. The level hands her every click on a target; she
// queues them, walks the shortest route of the path graph (PathGraph.h) to each target's
// control point with an eight-direction running animation, and on arrival trades items with
// the target by its kind, using her two hands (right first). Between arrivals she never holds
// an item in the left hand alone.
//
// Her animation code is the direction code (0 standing, 1 left, 2 down-right, 3 down,
// 4 down-left, 5 right, 6 up-right, 7 up, 8 up-left) plus 9 for each loaded hand.
//
// One per level (a second throws "Object already exist."). Configuration:
// "Config/Game/c_lucinda.ini"; the path graph from the level's paths document. Her update
// replaces the picture's: her children are not updated.

#include <array>
#include <deque>
#include <vector>

#include "engine/core/cSingleton.h"
#include "engine/scene/cAnimation.h"
#include "engine/scene/cPicture.h"
#include "game/characters/PathGraph.h"
#include "game/characters/cWaitressScoring.h"
#include "game/restaurant/cClickTarget.h"

class cHandItem;
class cTable;

// The hand rules at the oven and the sauce stations, over item ids and the six tables'
// states (table 1 first).
namespace waitress_rules {

using TableStates = std::array<int32_t, 6>;
inline constexpr int kRightHand = 0, kLeftHand = 1, kNoHand = 2;

// Sauce 8, 9 or 10 on the item: the sub with that sauce added (a plain sub gets it, a sub
// with one other sauce gets both), else 0. The outlook list gets every sub of the same bread
// that the result can still become: sauce sets holding its sauces, baked ones only when the
// result is baked.
void sauceOutcome(ItemId* item, ItemId sauce, std::vector<ItemId>* outlook);
// A raw sub baked (id + 1), else 0. The outlook list: for a plain sub every baked sub of its
// bread, for one sauce its baked form and the baked sub with the pair that sauce leads ("12",
// "23", "31"), for two sauces its baked form.
void ovenOutcome(ItemId* item, std::vector<ItemId>* outlook);

// Which hand's sub serves the oven: a table wanting a hand's baked form exactly decides
// (right before left at one table); when putting, then a table whose wanted sub lies in a
// hand's outlook (left before right at one table), then the right hand if it holds a raw sub,
// else the left. Taking (put false) has no fallback.
int chooseOvenHand(ItemId right, ItemId left, const TableStates& tables, bool put);

struct SauceChoice {
    int hand = kNoHand;
    ItemId result = 0;
};
// Which hand takes sauce k: an exact table want first (right before left at one table), then
// an outlook match (right before left), then the right hand when the sauce fits it, else the
// left. kNoHand when the sauce fits neither.
SauceChoice chooseSauceHand(ItemId right, ItemId left, ItemId sauce, const TableStates& tables);

// The direction code of a segment's unit direction: left and right beyond x = -+0.92, the
// diagonals down to -+0.38, up or down between (by the sign of y); 0 for y = 0 there.
int directionCode(const cVector2& direction);

}  // namespace waitress_rules

// The sheet of an animation code 0..26 ("Game/Characters/Lucinda/run_d_1.dds"); one-item
// runs left, right, up-left and up-right use the two-item sheets.
cStringA waitressSheet(int code);

inline constexpr const char* kWaitressIni = "Config/Game/c_lucinda.ini";
inline constexpr const char* kMoneyTakeSound = "sounds/game/waiter_money_take.ogg";
inline constexpr const char* kTakeSound = "sounds/game/waiter_takes.ogg";

class cWaitress : public cPicture, public cClickTarget, public cSingleton<cWaitress> {
public:
    // Reads her configuration and the path graph (both must be loaded) and stands at start.
    cWaitress(cSceneNode* level, const cVector2& start);
    ~cWaitress() override;

    void update() override;
    // Both read her own files; the arguments are not used.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void loadFromNode(const cXmlNode& node) override;
    // Moves her and both hands; her deep is her y.
    void setPosition(const cVector2& position) override;

    int32_t getKind() const override { return KIND_WAITRESS; }

    // A click on a target: queued (every one in normal play; in tutorial mode a repeat of the
    // current or last queued target is dropped) with a pointer mark shown.
    void addTarget(cClickTarget* target);
    // Plans the route to destination; false (no route, she stays) when it cannot be reached.
    bool findPath(const cVector2& destination);
    // One frame of movement along the route.
    void walk();
    // Chooses the animation of direction 0..8 for the current hands.
    void setDirection(int direction);
    // The action at the current target; nothing without one.
    void arrive();
    // Highlights the clouds of the tables wanting what she holds or is about to fetch.
    void markClouds();
    bool applySauce(ItemId sauce);
    int32_t chooseOvenHand(bool put) const;
    void loadConfig();
    void loadPathPoints();

    void setTutorialMode(bool on) { m_tutorial = on; }
    bool isTutorialMode() const { return m_tutorial; }
    ItemId getHandItem(int hand) const { return hand == 1 ? m_left_item : m_right_item; }
    void setScoring(cWaitressScoring* scoring) { m_scoring = scoring; }

    // For tests and the level.
    const cPathGraph& getPathGraph() const { return m_graph; }
    const std::deque<cVector2>& getWaypoints() const { return m_waypoints; }
    const std::deque<cClickTarget*>& getQueue() const { return m_queue; }
    cClickTarget* getCurrentTarget() const { return m_current; }
    int32_t getAnimationCode() const { return m_code; }
    const cAnimation& getAnimation(int code) const { return m_animations[code]; }
    cVector2 getHandOffset(int code, int hand) const { return m_hand_offsets[code][hand]; }
    cHandItem* getHandHolder(int hand) const { return hand == 1 ? m_left_holder : m_right_holder; }
    const cVector2& getDirection() const { return m_direction; }
    float getSpeed() const { return m_speed; }
    float getTempSpeedUp() const { return m_temp_speed_up; }
    float getIdleDelay() const { return m_idle_delay; }
    int32_t getCyclesLeft() const { return m_cycles_left; }
    bool isIdleAnimating() const { return m_idle_animating; }
    // Puts an item in a hand, as an arrival gives it.
    void giveHand(int hand, ItemId item);

private:
    void dropStars(float dt);
    void trail(float dt);
    int* freeHand();
    waitress_rules::TableStates tableStates() const;
    bool takeInto(cClickTarget* target, ItemId item, const char* sound = nullptr);
    void arriveAtTable(cTable* table);
    void arriveAtOven(cClickTarget* oven);
    void endArrival(cClickTarget* target);
    bool isStanding() const { return m_code % 9 == 0; }

    std::deque<cClickTarget*> m_queue;
    cPathGraph m_graph;
    std::deque<cVector2> m_waypoints;
    cHandItem* m_right_holder = nullptr;
    cHandItem* m_left_holder = nullptr;
    float m_right_deep = 0.0f;
    float m_left_deep = 0.0f;
    ItemId m_right_item = 0;
    ItemId m_left_item = 0;
    cAnimation m_animations[27];
    cVector2 m_hand_offsets[27][2];
    cVector2 m_off_sprite;
    cVector2 m_direction;
    float m_speed = 0.0f;
    float m_inc_speed = 0.0f;
    float m_temp_speed_up = 0.0f;
    float m_trail_interval = 0.02f;
    float m_trail_countdown = 0.02f;
    float m_idle_min[3] = {0.0f, 0.0f, 0.0f};
    float m_idle_max[3] = {0.0f, 0.0f, 0.0f};
    int32_t m_idle_cycles[3] = {0, 0, 0};
    float m_idle_delay = 0.0f;
    int32_t m_cycles_left = 0;
    bool m_idle_animating = false;
    float m_star_countdown = 0.0f;
    cClickTarget* m_current = nullptr;
    int32_t m_code = 0;
    bool m_tutorial = false;
    cWaitressScoring* m_scoring = nullptr;
};
