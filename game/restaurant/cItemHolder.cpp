#include "game/restaurant/cItemHolder.h"

#include <string>

#include "engine/core/cIniFile.h"
#include "game/effects/EffectSupport.h"
#include "game/restaurant/LevelLook.h"

namespace {

// The item families of the items file and the ids each fills.
struct Family {
    const wchar_t* section;
    ItemId ids[3];
};
const Family kFamilies[] = {
    {L"DRINK", {ITEM_DRINK, 0, 0}},
    {L"CAKE", {ITEM_CAKE, 0, 0}},
    {L"SNACK", {ITEM_SNACK, 0, 0}},
    {L"COTTONCANDY", {ITEM_COTTON_CANDY_1, ITEM_COTTON_CANDY_2, 0}},
    {L"COFFEE", {ITEM_COFFEE, ITEM_COFFEE_CREAM, 0}},
    {L"SUBS", {11, 25, 39}},
};

cPicture* makeOverlay(cSceneNode* parent) {
    cPicture* overlay = new cPicture(parent);
    overlay->hide();
    overlay->disable();
    return overlay;
}

void showOverlay(cPicture* overlay, bool shown, const cStringA& texture = cStringA()) {
    if (!shown) {
        overlay->hide();
        overlay->disable();
        return;
    }
    if (!texture.empty()) overlay->setPicture(texture);
    overlay->show();
    overlay->enable();
}

}  // namespace

cItemHolder::cItemHolder(cSceneNode* parent)
    : cPicture(parent),
      cClickTarget(this),
      m_souse_overlay(makeOverlay(this)),
      m_souse1_overlay(makeOverlay(this)),
      m_hot_overlay(makeOverlay(this)) {
    resetRecords();
    loadHolder();
    cItemHolder::setState(0);
}

// The overlays are children, deleted with the holder.
cItemHolder::~cItemHolder() {
    hide();
    disable();
}

void cItemHolder::resetRecords() {
    for (cAnimation& record : m_item_animations) {
        record = cAnimation();
        record.frameSize = cVector2(64.0f, 64.0f);
    }
}

void cItemHolder::loadFromIni(const cIniFile&, const cStringW&) { loadHolder(); }

void cItemHolder::readOverlayOffsets(const cIniFile& ini, const wchar_t* section) {
    for (int b = 0; b < 3; ++b) {
        const std::wstring n = std::to_wstring(b + 1);
        readVector(ini, section, (L"off_souse_" + n).c_str(), &m_souse_offsets[b]);
        readVector(ini, section, (L"off_souse1_" + n).c_str(), &m_souse1_offsets[b]);
        readVector(ini, section, (L"off_hot_" + n).c_str(), &m_hot_offsets[b]);
    }
}

void cItemHolder::readFamilyOffsets(const cIniFile& ini, const cStringW& key, cVector2* offsets) {
    for (const Family& family : kFamilies) {
        cVector2 value;
        readVector(ini, family.section, key.c_str(), &value);
        for (ItemId id : family.ids)
            if (id != 0) offsets[id] = value;
    }
}

void cItemHolder::loadHolder() {
    const cIniFile& ini = effectIni(kItemsIni);
    cPicture::loadFromIni(ini, L"COMMON");
    readOverlayOffsets(ini, L"COMMON");
    loadAnimation(&m_item_animations[ITEM_MONEY], ini, L"MONEY");

    setItemTextures(false);
    setRecordTexture(ITEM_MONEY, world_textures::commonItemTexture("money", false));
    setRecordTexture(ITEM_ORDER_TAKEN, world_textures::commonItemTexture("nothing", false));
}

void cItemHolder::setItemTextures(bool cloud) {
    const cLevelLook look = currentLevelLook();
    for (ItemId id = ITEM_DRINK; id <= ITEM_COFFEE_CREAM; ++id)
        setRecordTexture(id, world_textures::itemTexture(look.graphicsSet, id, look.upgrades, cloud));
    setRecordTexture(subId(1, 0, false), world_textures::commonItemTexture("sub01", cloud));
    setRecordTexture(subId(2, 0, false), world_textures::commonItemTexture("sub02", cloud));
    setRecordTexture(subId(3, 0, false), world_textures::commonItemTexture("sub03", cloud));
    m_hot_overlay->setPicture(world_textures::commonItemTexture("hot", cloud).c_str());
    const char* const souse[3] = {"souse01", "souse02", "souse03"};
    for (int k = 0; k < 3; ++k) m_souse_textures[k] = world_textures::commonItemTexture(souse[k], cloud).c_str();
}

bool cItemHolder::setState(int32_t value) {
    // Every id indexes the records: one outside them shows and stores nothing.
    const ItemId id = validItemOr0(value);
    setLayer0Animation(m_item_animations[plainSubOf(id)], ORIGIN_START, 0.0f);
    // An item without a picture hides the holder by its own flag, also under a hidden parent:
    // otherwise it would draw as an untextured square once the parent shows.
    if (getPictureName().empty()) {
        if (isOwnVisible()) {
            hide();
            disable();
        }
    } else if (!isOwnVisible()) {
        show();
        enable();
    }
    const int first = firstSauce(id), second = secondSauce(id);
    showOverlay(m_souse_overlay, first != 0, first ? m_souse_textures[first - 1] : cStringA());
    showOverlay(m_souse1_overlay, second != 0, second ? m_souse_textures[second - 1] : cStringA());
    showOverlay(m_hot_overlay, isBakedSub(id));
    if (const int bread = subBread(id)) {
        m_overlay_offsets[0] = m_souse_offsets[bread - 1];
        m_overlay_offsets[1] = m_souse1_offsets[bread - 1];
        m_overlay_offsets[2] = m_hot_offsets[bread - 1];
    }
    storeState(id);
    return true;
}

void cItemHolder::setPosition(const cVector2& position) {
    cPicture::setPosition(position);
    m_souse_overlay->setPosition(position + m_overlay_offsets[0]);
    m_souse1_overlay->setPosition(position + m_overlay_offsets[1]);
    m_hot_overlay->setPosition(position + m_overlay_offsets[2]);
    setDeep(getDeep());
}

void cItemHolder::setScale(const cVector2& scale) {
    cPicture::setScale(scale);
    for (cPicture* overlay : {m_souse_overlay, m_souse1_overlay, m_hot_overlay}) overlay->setScale(scale);
}

void cItemHolder::setDeep(float deep) {
    cPicture::setDeep(deep);
    m_souse_overlay->setDeep(deep + 0.1f);
    m_souse1_overlay->setDeep(deep + 0.2f);
    m_hot_overlay->setDeep(deep + 0.3f);
}

void cItemHolder::setAlpha(uint32_t alpha) {
    cPicture::setAlpha(alpha);
    for (cPicture* overlay : {m_souse_overlay, m_souse1_overlay, m_hot_overlay}) overlay->setAlpha(alpha);
}
