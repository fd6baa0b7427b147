#pragma once
// An item in an order cloud: an item holder with the cloud pictures of the items ("Items_Cloud"
// folders), the "CLOUD" overlay offsets of the items file over its "COMMON" ones, and an offset
// inside the bubble per item family ("off_cloud"). setState alone does not move it: the cloud
// places it afterwards, and that placing adds the new item's offset.

#include "game/restaurant/cItemHolder.h"

class cCloudItem : public cItemHolder {
public:
    explicit cCloudItem(cSceneNode* parent);

    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Stands at position plus the offset of the item shown.
    void setPosition(const cVector2& position) override;
    bool setState(int32_t id) override;

    const cVector2& getCloudOffset(ItemId id) const { return m_cloud_offsets[validItemOr0(id)]; }

private:
    void loadCloudItem();

    cVector2 m_cloud_offsets[kItemCount];
};
