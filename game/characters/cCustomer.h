#pragma once
// A guest of the restaurant. The customer generator builds every guest of a level at load,
// hidden, with its kind and its one or two orders, and queues it; from its seating on it
// belongs to its table, which forwards the waitress's actions to it and deletes it once it
// has gone (stage 7).
//
// A seated guest walks in fading, waits for its order to be taken, orders, shows one wanted
// item at a time in its table's cloud and waits for it. Its mood falls from 8 one step each
// wait_time / 8 seconds of waiting (not while it orders, nor while the waitress brings its
// item); at 4 it looks angry, in its last 10 seconds a red copy pulses twice, from 3 seconds
// on without end. At mood 0 it leaves angry with a penalty; after its last item it leaves
// happy and its table lays out the money. Every stage change restarts the current mood step.
//
// Configuration: "Config/Game/c_0" + (kind + 1) + ".ini" ("COMMON", the four animation
// sections "STAND_HAPPY", "STAND_ANGRY", "ORDER", "EXIT_HAPPY", and "MOOD").

#include <deque>

#include "engine/scene/cAnimation.h"
#include "engine/scene/cPicture.h"
#include "game/restaurant/cClickTarget.h"

class cDevice;
class cHighlight;
class cTable;

// Stages of a guest (getStage).
enum CustomerStage : int32_t {
    STAGE_APPEARING = 0,
    STAGE_WAITING_FOR_ORDER = 1,
    STAGE_ORDERING = 2,
    STAGE_WAITING_FOR_ITEM = 3,
    STAGE_LEAVING_ANGRY = 4,
    STAGE_LEAVING_HAPPY = 5,
    STAGE_NEXT_ORDER = 6,  // passes straight into 3; never stored
    STAGE_GONE = 7,
};

// The four animations of a guest.
enum CustomerAnimation : int32_t {
    ANIM_STAND_HAPPY = 0,
    ANIM_STAND_ANGRY = 1,
    ANIM_ORDER = 2,
    ANIM_EXIT_HAPPY = 3,
};

class cCustomer : public cPicture, public cClickTarget {
public:
    static constexpr int kSeats = 6;
    static constexpr int32_t kMaxMood = 8;
    // A guest's warning starts this many seconds before its patience ends (two pulses) ...
    static constexpr float kFirstWarning = 10.0f;
    // ... and pulses without end from here on.
    static constexpr float kLastWarning = 3.0f;

    // Reads its configuration (throws when the file is not loaded); a new guest is hidden,
    // disabled and not seated (stage 7).
    cCustomer(cSceneNode* parent, int32_t kind = 0);
    ~cCustomer() override;

    void update() override;
    // The customer reads only its own file (the arguments are not used).
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void loadFromNode(const cXmlNode&) override {}
    // Moves it with its children; the mood picture stands at the position + off_mood.
    void setPosition(const cVector2& position) override;
    // Its own deep, the highlight + 0.1, the warning copy + 0.2, the mood picture + 0.5.
    void setDeep(float deep) override;

    int32_t getKind() const override { return KIND_CUSTOMER; }
    // The table's forwarded action. While seated (stages 1 to 3): 55 makes it order, 0 (with
    // mood left) ends a wait for an item: leaves happy after the last, else orders the next.
    // Not seated or leaving (0, 4, 5, 7): 54 starts it appearing. The value is always stored.
    bool setState(int32_t value) override;
    // The standard hover with the frame size always; never hovered while appearing, leaving
    // or gone; its highlight is hidden while it orders.
    void updateHover(bool testMouse, bool value) override;

    // ---- generator
    void addOrder(int32_t item);
    const std::deque<int32_t>& getOrders() const { return m_orders; }
    void setArrivalDelay(float seconds) { m_arrival_delay = seconds; }
    float getArrivalDelay() const { return m_arrival_delay; }
    void setAbsTime(float seconds) { m_abs_time = seconds; }
    float getAbsTime() const { return m_abs_time; }
    // The seconds of one mood step.
    void setWaitTime(float seconds) { m_wait_step = seconds; }
    float getWaitStep() const { return m_wait_step; }

    // ---- table and waitress
    int32_t getStage() const { return m_stage; }
    // Runs the actions of a stage (0 to 7; 6 shows the next order and ends in 3).
    void setStage(int32_t stage);
    // 1..8 with its mood picture; other values are ignored.
    int32_t getMood() const { return m_mood; }
    void setMood(int32_t mood);
    // The points of its orders.
    int32_t getMoney() const { return m_money; }
    void setMoney(int32_t money) { m_money = money; }
    // Takes its seat's position, left of the seat by the walk-in distance; null does nothing.
    void setTable(cTable* table);
    cTable* getTable() const { return m_table; }
    void setWaitressComing(bool coming) { m_waitress_coming = coming; }
    bool isWaitressComing() const { return m_waitress_coming; }

    // ---- for tests and the level
    int32_t getCustomerKind() const { return m_kind; }
    bool isFemale() const { return isFemaleKind(m_kind); }
    static bool isFemaleKind(int32_t kind) { return kind == 1 || kind == 2 || kind == 4; }
    cHighlight* getHighlight() const { return m_highlight; }
    cPicture* getMoodPicture() const { return m_mood_picture; }
    cPicture* getWarning() const { return m_warning; }
    int32_t getAnimationIndex() const { return m_anim_index; }
    bool isAnimating() const { return m_animating; }
    float getTimer() const { return m_timer; }
    float getIdleTimer() const { return m_idle_timer; }
    float getOrderTime() const { return m_order_time; }
    const cVector2& getSeatPosition(int seat) const { return m_seat_positions[seat]; }
    // The warning copy's begin-draw callback: colour modulated by the vertex colour (red).
    static void beginWarningDraw(cDevice* device);

private:
    void loadConfig();
    void pickIdleTime();
    int32_t standAnimation(int32_t angryBelow) const;
    void stopWarning();
    void applyAnimation();
    void setAllLayerTimes(float time);
    void playVoice(const char* female, const char* male) const;
    void recordAngryExit(int32_t previousStage);

    void stepMood(float dt);
    void stepWarning(float dt);
    void stepPulse(float dt, bool firstWarning);
    void stepWalkIn(float dt);
    void stepWalkOut(float dt);

    int32_t m_kind;
    float m_wait_step = 0.0f;
    float m_order_time = 0.0f;
    float m_bonus_order_rate = 0.0f;
    int32_t m_timer_phase = 2;
    float m_timer = 0.0f;
    int32_t m_mood = kMaxMood;
    int32_t m_highlight_alpha = 255;
    float m_idle_timer = 0.0f;
    float m_alpha = 0.0f;
    int32_t m_appear_distance = 0;
    float m_appear_distance_time = 0.0f;
    float m_appear_speed = 0.0f;
    float m_appear_alpha_speed = 0.0f;
    int32_t m_disappear_distance = 0;
    float m_disappear_distance_time = 0.0f;
    float m_disappear_speed = 0.0f;
    float m_disappear_alpha_speed = 0.0f;
    bool m_walked_off = false;  // a zero-time walk-out has jumped its whole distance
    cVector2 m_mood_offset;
    cVector2 m_seat_positions[kSeats];
    int32_t m_seat = 0;
    cAnimation m_animations[4];
    bool m_animating = false;
    float m_min_anim_time = 0.0f;
    float m_max_anim_time = 0.0f;
    int32_t m_stage = STAGE_GONE;
    std::deque<int32_t> m_orders;
    int32_t m_order_count = 0;
    float m_arrival_delay = 0.0f;
    float m_abs_time = 0.0f;
    cPicture* m_mood_picture = nullptr;
    cHighlight* m_highlight = nullptr;
    cPicture* m_warning = nullptr;
    cTable* m_table = nullptr;
    int32_t m_anim_index = ANIM_STAND_HAPPY;
    float m_warning_alpha = 0.0f;
    float m_warning_delay = 0.0f;
    float m_warning_direction = 1.0f;
    int32_t m_warning_pulses = 0;
    bool m_warn_10s = true;
    bool m_warn_3s = true;
    int32_t m_money = 0;
    bool m_waitress_coming = false;
};
