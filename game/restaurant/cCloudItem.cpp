#include "game/restaurant/cCloudItem.h"

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/LevelLook.h"

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

    const cLevelLook look = currentLevelLook();
    for (ItemId id = ITEM_DRINK; id <= ITEM_COFFEE_CREAM; ++id)
        setRecordTexture(id, world_textures::itemTexture(look.graphicsSet, id, look.upgrades, true));
    setRecordTexture(11, world_textures::commonItemTexture("sub01", true));
    setRecordTexture(25, world_textures::commonItemTexture("sub02", true));
    setRecordTexture(39, world_textures::commonItemTexture("sub03", true));
    const std::string souse[3] = {world_textures::commonItemTexture("souse01", true),
                                  world_textures::commonItemTexture("souse02", true),
                                  world_textures::commonItemTexture("souse03", true)};
    setOverlayTextures(world_textures::commonItemTexture("hot", true), souse);
}

bool cCloudItem::setState(int32_t id) { return cItemHolder::setState(validItemOr0(id)); }

void cCloudItem::setPosition(const cVector2& position) {
    cItemHolder::setPosition(position + m_cloud_offsets[plainSubOf(getState())]);
}
