#include "game/restaurant/cCloudItem.h"

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"

cCloudItem::cCloudItem(cSceneNode* parent) : cItemHolder(parent) {
    resetRecords();
    loadCloudItem();
    cCloudItem::setState(0);
}

void cCloudItem::loadFromIni(const cIniFile&, const cStringW&) { loadCloudItem(); }

void cCloudItem::loadCloudItem() {
    loadHolder();
    const cIniFile& ini = effectIni(kItemsIni);
    readOverlayOffsets(ini, L"CLOUD");
    for (cVector2& offset : m_cloud_offsets) offset = cVector2();
    readFamilyOffsets(ini, L"off_cloud", m_cloud_offsets);

    // Money and the order-taken marker keep the holder's pictures.
    setItemTextures(true);
}

bool cCloudItem::setState(int32_t id) { return cItemHolder::setState(validItemOr0(id)); }

void cCloudItem::setPosition(const cVector2& position) {
    cItemHolder::setPosition(position + m_cloud_offsets[plainSubOf(getState())]);
}
