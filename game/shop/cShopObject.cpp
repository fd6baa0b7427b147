#include "game/shop/cShopObject.h"

#include "engine/core/cIniFile.h"
#include "game/data/cGameData.h"
#include "game/effects/EffectSupport.h"
#include "game/shop/ShopCatalogue.h"
#include "game/shop/cTextCloud.h"

namespace {

constexpr float kBlinkSpeed = 4000.0f;
constexpr float kBlinkPause = 0.2f;

int32_t difficulty() {
    cGameData* data = getGameData();
    return data ? data->getDifficulty() : 0;
}

}  // namespace

cShopObject::cShopObject(cSceneNode* parent, int32_t world, const cStringA& name, int32_t present, int32_t offered,
                         cShopItemRecord* record)
    : cPicture(parent), m_world(world), m_present(present), m_offered(offered), m_name(name),
      m_item(shop::itemOf(name)), m_record(record) {
    if (!m_record) {
        m_own_record.present = present;
        m_record = &m_own_record;
    }
}

cShopObject* cShopObject::create(int32_t world, const cStringA& name, int32_t present, int32_t offered,
                                 cSceneNode* parent, cShopItemRecord* record) {
    // 1. The object; 2. its catalogue file and section.
    auto* object = new cShopObject(parent, world, name, present, offered, record);
    try {
        object->load(effectIni(shop::catalogueFile(world, difficulty())));
    } catch (...) {
        delete object;
        throw;
    }
    return object;
}

void cShopObject::load(const cIniFile& ini) {
    const cStringW section = shop::sectionOf(m_name);
    // 3. The object's own picture.
    cPicture::loadFromIni(ini, section);
    // 4. The keys of the offered level.
    if (m_offered >= 2 && m_offered <= 4) {
        const cStringW n = intToString(m_offered);
        stringToInt(&m_cost, ini.getValue(section, L"cost_upgrade_" + n));
        m_display_name = ini.getValue(section, L"name_upgrade_" + n);
        m_cloud_text = ini.getValue(section, L"cloud_text_" + n);
        const cStringW pos = L"cloud_pos_" + n, size = L"cloud_size_" + n;
        readVector(ini, section.c_str(), pos.c_str(), &m_cloud_position);
        readVector(ini, section.c_str(), size.c_str(), &m_cloud_size);
        m_cloud_layout = ini.getValue(section, L"cloud_layout_" + n).toNarrow();
    }
    // 5. Fitted when no size was read; the interior flag.
    m_fit_cloud = m_cloud_size.x == kNoCloudSize && m_cloud_size.y == kNoCloudSize;
    stringToBool(&m_interior, ini.getValue(section, L"interior"));
    // 6. Icons and picture names.
    const cStringA icon = shop::iconPrefix(m_world, m_name) + intToNarrowString(m_offered);
    m_icon_name = icon + ".dds";
    m_bought_icon_name = icon + "_d.dds";
    buildTextureNames(false);
    // 7. The highlight, one step above the object.
    m_highlight = new cPicture(this);
    m_highlight->loadFromIni(ini, section);
    m_highlight->hide();
    m_highlight->setDeep(getDeep() + 1.0f);
    m_highlight->setPicture(m_interior ? m_offered_texture : m_selected_texture);
    // 8. The second preview picture; Tables has none while the level just played had no sauce
    //    station.
    bool sp = false;
    stringToBool(&sp, ini.getValue(section, L"sp"));
    cGameData* data = getGameData();
    if (m_item == shop::ITEM_TABLES && data && data->getSauce1Level(-1) == 0) sp = false;
    if (sp) {
        m_preview = new cPicture(this);
        m_preview->loadFromIni(ini, section + L"_SP");
        m_preview->setPosition(m_preview->getPosition() + getPosition());
        const cStringA prefix = shop::previewPrefix(m_world, m_name);
        m_present_preview_texture = prefix + intToNarrowString(m_present) + "_sp.dds";
        m_offered_preview_texture = prefix + intToNarrowString(m_offered) + "_sp.dds";
    }
    // 9. Normal.
    setDisplayState(SHOP_STATE_NORMAL);
}

cShopObject::~cShopObject() {
    cSceneNode::hide();
    cSceneNode::disable();
    // A preview never outlives the shop.
    if (m_applied && m_state != SHOP_STATE_BOUGHT) applyToGameData(false);
    if (m_record->previewing == m_offered) m_record->previewing = 0;
    delete m_highlight;
    delete m_preview;
}

void cShopObject::buildTextureNames(bool reapply) {
    cGameData* data = getGameData();
    shop::PictureCodes codes{intToNarrowString(m_present), intToNarrowString(m_offered)};
    if (data) codes = shop::pictureCodes(*data, m_item, m_world, m_present, m_offered);
    const cStringA prefix = shop::previewPrefix(m_world, m_name);
    m_normal_texture = prefix + codes.normal + ".dds";
    m_offered_texture = prefix + codes.offered + ".dds";
    m_selected_texture = prefix + codes.offered + "_a.dds";
    if (reapply) setDisplayState(m_state);
}

void cShopObject::setDisplayState(int state) {
    // 1. The names again.
    buildTextureNames(false);
    // 2. The highlight blinks only while pointed at.
    if (state != SHOP_STATE_POINTED && m_highlight && m_highlight->isOwnVisible()) {
        m_highlight->hide();
        m_blink_direction = 0.0f;
        m_blink_pause = 0.0f;
    }
    // 3. Writes and pictures of the state.
    switch (state) {
    case SHOP_STATE_NORMAL:
        if (m_applied) {
            applyToGameData(false);
            m_applied = false;
        }
        setPicture(m_normal_texture);
        if (m_preview) m_preview->setPicture(m_present_preview_texture);
        break;
    case SHOP_STATE_POINTED:
        applyToGameData(true);
        m_applied = true;
        if (m_state != SHOP_STATE_POINTED && !m_interior && m_highlight) {
            m_blink_direction = 1.0f;
            m_blink_alpha = 0.0f;
            m_highlight->setAlpha(0);
            m_highlight->show();
        }
        setPicture(m_offered_texture);
        if (m_preview) m_preview->setPicture(m_offered_preview_texture);
        break;
    case SHOP_STATE_SELECTED:
        applyToGameData(true);
        m_applied = true;
        setPicture(m_interior ? m_offered_texture : m_selected_texture);
        if (m_preview) m_preview->setPicture(m_offered_preview_texture);
        break;
    case SHOP_STATE_BOUGHT:
        if (m_offered > m_record->bought) m_record->bought = m_offered;
        applyToGameData(true);
        // Bought: nothing puts the present level back.
        m_applied = false;
        setPicture(m_offered_texture);
        if (m_preview) m_preview->setPicture(m_offered_preview_texture);
        break;
    default: break;
    }
    // 4. The state, and which object of the name is seen.
    if (state == SHOP_STATE_POINTED || state == SHOP_STATE_SELECTED)
        m_record->previewing = m_offered;
    else if (m_record->previewing == m_offered)
        m_record->previewing = 0;
    m_state = state;
    showIfItStandsForItsName();
}

void cShopObject::showIfItStandsForItsName() {
    // The offer previewed; else the offer bought last, when it raised the level; else the
    // object at the level just played. The others follow in their own update.
    bool stands;
    if (m_record->previewing != 0)
        stands = m_offered == m_record->previewing && (m_state == SHOP_STATE_POINTED || m_state == SHOP_STATE_SELECTED);
    else if (m_record->bought > m_record->present)
        stands = m_state == SHOP_STATE_BOUGHT && m_offered == m_record->bought;
    else
        stands = m_state == SHOP_STATE_NORMAL && m_present == m_record->present;
    if (stands)
        show();
    else
        hide();
}

void cShopObject::applyToGameData(bool offered) {
    cGameData* data = getGameData();
    if (!data || m_item == shop::ITEM_NONE) return;
    // Never below what this visit has bought for the name: a lower offer's preview or its end
    // does not take a bought level back.
    int32_t value = offered ? m_offered : m_record->inForce();
    if (value < m_record->bought) value = m_record->bought;
    const bool on = offered || m_record->bought >= m_offered;
    shop::writeLevel(*data, m_item, value, on, m_offered);
}

void cShopObject::placeCloud(cTextCloud* cloud, const cVector2& offset) const {
    if (!cloud) return;
    cloud->setPosition(m_cloud_position + offset);
    cloud->setText(m_cloud_text);
    cloud->setLayout(m_cloud_layout);
    if (m_fit_cloud)
        cloud->fitToText();
    else
        cloud->setSize(m_cloud_size);
}

void cShopObject::update() {
    // 1. The picture; 2. names and state again from the game data; 3. the blink.
    cPicture::update();
    buildTextureNames(true);
    stepBlink();
}

void cShopObject::stepBlink() {
    const float dt = getDeltaTime();
    if (m_blink_pause > 0.0f) {
        m_blink_pause -= dt;
        if (m_blink_pause > 0.0f) return;
    }
    if (m_interior || m_blink_direction == 0.0f || !m_highlight) return;
    m_blink_alpha += kBlinkSpeed * dt * m_blink_direction;
    if (m_blink_alpha >= 255.0f) {
        m_blink_alpha = 255.0f;
        m_blink_direction = -1.0f;
        m_blink_pause = kBlinkPause;
    } else if (m_blink_alpha <= 0.0f) {
        m_blink_alpha = 0.0f;
        m_blink_direction = 1.0f;
        m_blink_pause = kBlinkPause;
    }
    m_highlight->setAlpha(static_cast<uint32_t>(m_blink_alpha));
}
