#pragma once
// A guest of the restaurant. Only what a table asks of its guest is here so far: the stage of
// its life, its mood and money, its table, the waitress-coming flag and its hover test. Its
// stages move only as far as the table's actions carry them: seating starts it appearing,
// taking the order makes it order, a delivery while it waits sends it away happy; the rest
// of its life is set from outside (setStage).

#include "engine/scene/cPicture.h"
#include "game/restaurant/cClickTarget.h"

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
    STAGE_GONE = 7,
};

class cCustomer : public cPicture, public cClickTarget {
public:
    explicit cCustomer(cSceneNode* parent);
    ~cCustomer() override;

    int32_t getKind() const override { return KIND_CUSTOMER; }
    // 54 starts it appearing, 55 makes it order, 0 while it waits for its item sends it away
    // happy; the value is stored as the state.
    bool setState(int32_t value) override;
    // The standard hover with the frame size always; never hovered while appearing, leaving
    // or gone; its highlight is hidden while it orders.
    void updateHover(bool testMouse, bool value) override;

    int32_t getStage() const { return m_stage; }
    void setStage(int32_t stage) { m_stage = stage; }
    // 1..8; other values are ignored.
    int32_t getMood() const { return m_mood; }
    void setMood(int32_t mood);
    // The points of its orders.
    int32_t getMoney() const { return m_money; }
    void setMoney(int32_t money) { m_money = money; }
    // A null table does nothing.
    void setTable(cTable* table);
    cTable* getTable() const { return m_table; }
    void setWaitressComing(bool coming) { m_waitress_coming = coming; }
    bool isWaitressComing() const { return m_waitress_coming; }
    cHighlight* getHighlight() const { return m_highlight; }

private:
    int32_t m_stage = STAGE_GONE;
    int32_t m_mood = 8;
    int32_t m_money = 0;
    cTable* m_table = nullptr;
    bool m_waitress_coming = false;
    cHighlight* m_highlight;
};
