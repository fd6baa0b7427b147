#pragma once
// One of the six tables (1 to 6): everything between the waitress and a guest passes through
// it. It seats one guest at a time and owns that guest until it has gone, carries the guest's
// order cloud, forwards the waitress's actions to the guest, lays out the money of a guest
// who leaves happy in one to three money boxes (by its mood) and lets it fly off when it is
// collected. In bonus mode it shows a dollar and its money glitters.
//
// Its click-target state is what the waitress, the generator, the thief and the level read:
// 0 nothing to do, 54 a guest was seated, 55 the order was taken, an ItemId the wanted item,
// 53 money lies on the table.
//
// Configuration: "Config/Game/o_table_order.ini" ("COMMON" and "TABLE_<n>"), the click polygon
// from "Config/Game/o_table_box<1..3>.ini" by graphics set, the picture by the tables' upgrade
// and the control point from the paths document ("TABLE_ORDER_<n>").

#include "engine/scene/cPicture.h"
#include "game/restaurant/cClickTarget.h"

class cCustomer;
class cHighlight;
class cItemHolder;
class cOrderCloud;

class cTable : public cPicture, public cClickTarget {
public:
    cTable(cSceneNode* level, int index);
    ~cTable() override;

    void update() override;
    // Both read the table's own files (the arguments are not used).
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void loadFromNode(const cXmlNode& node) override;

    int32_t getKind() const override { return KIND_TABLE; }
    // An action of the waitress, the guest or the seating. Refused (false, nothing changes or
    // is forwarded) while the seated guest still appears.
    bool setState(int32_t value) override;
    // Hovering the seated guest hovers the table, and a hovered table shows its guest hovered.
    void updateHover(bool testMouse, bool value) override;

    // Seats a guest (the table owns it from now on); null does nothing.
    void seatCustomer(cCustomer* customer);
    // The thief's theft: every box and the state to 0, no flights, no points.
    void clearMoney();
    void setWaitressComing(bool coming);
    // The guest's money; times the table's multiplier while the bonus mode runs.
    int32_t getMoneyValue() const;
    // No guest is seated and the state is 0.
    bool isFree() const;
    int getIndex() const { return m_index; }
    cCustomer* getCustomer() const { return m_customer; }
    cOrderCloud* getCloud() const { return m_cloud; }
    void showFirstItem(int32_t id);
    void showSecondItem(int32_t id);
    int32_t getSecondItem() const;

    // For tests.
    cItemHolder* getMoneyBox(int k) const { return m_money_boxes[k]; }
    cHighlight* getHighlight() const { return m_highlight; }
    cPicture* getDollar() const { return m_dollar; }
    const cVector2& getItemPlace(int k) const { return m_item_places[k]; }
    const cVector2& getMoneyDirection() const { return m_money_direction; }
    uint32_t getMoneyColor() const { return m_money_color; }
    int32_t getTempMultiplier() const { return m_temp_multiplier; }

private:
    void loadConfig();
    void loadPlacement();
    void layOutMoney();
    void collectMoney();
    void sparkle(float dt);

    int m_index;
    cVector2 m_item_places[3];
    cVector2 m_dollar_position;
    float m_customer_deep_step;
    bool m_money_laid = false;
    cCustomer* m_customer = nullptr;
    cItemHolder* m_money_boxes[3];
    cHighlight* m_highlight = nullptr;
    cOrderCloud* m_cloud;
    int32_t m_highlight_alpha = 255;
    int32_t m_money = 0;
    float m_payout_delay = 0.0f;
    cVector2 m_money_direction;
    int32_t m_temp_multiplier = 0;
    cPicture* m_dollar;
    float m_sparkle_timer = 0.02f;
    float m_sparkle_period = 0.02f;
    uint32_t m_money_color = 0xFFFFFFFFu;
};

// The tables' configuration and polygon files.
inline constexpr const char* kTableIni = "Config/Game/o_table_order.ini";
// The polygon file of a graphics set: 2 and 3 their own, any other set the first.
const char* tablePolygonIni(int graphicsSet);
