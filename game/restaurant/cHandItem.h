#pragma once
// An item in one of the waitress's hands (0 right, 1 left): an item holder whose offset from
// the hand's anchor depends on the hand, on her direction and on the item's family (keys
// "off_right_hand_<d>" and "off_left_hand_<d>" of the family sections of the items file).
//
// The hand item remembers the anchor of its last setPosition; a new item or a new direction
// places it again from that anchor, so the offset is applied once, never on top of itself.

#include "game/restaurant/cItemHolder.h"

class cHandItem : public cItemHolder {
public:
    cHandItem(cSceneNode* parent, int hand);

    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // anchor: the hand's point; the item stands at anchor plus its offset.
    void setPosition(const cVector2& anchor) override;
    // Shows the item and places it again from the anchor. Always true.
    bool setState(int32_t id) override;
    // The waitress's direction or animation code 0..26 (9..17 and 18..26 fold onto 0..8; any
    // other value counts as standing), then places the item again from the anchor.
    void setDirection(int code);

    int getHand() const { return m_hand; }
    int getDirection() const { return m_direction; }
    const cVector2& getAnchor() const { return m_anchor; }
    const cVector2& getHandOffset(int direction, ItemId id) const { return m_hand_offsets[m_hand][direction][validItemOr0(id)]; }

private:
    void loadHandItem();

    int m_hand;
    int m_direction = 0;
    cVector2 m_hand_offsets[2][9][kItemCount];
    cVector2 m_anchor;
};
