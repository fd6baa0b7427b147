#include "game/shop/cShopButton.h"

#include "engine/core/cIniFile.h"
#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectSupport.h"
#include "game/shop/cShopObject.h"

namespace {

enum Look { LOOK_NORMAL = 0, LOOK_HOVER = 1, LOOK_PRESSED = 2, LOOK_DISABLED = 3 };

cStringA narrowValue(const cIniFile& ini, const wchar_t* section, const wchar_t* key) {
    return ini.getValue(section, key).toNarrow();
}

}  // namespace

cShopButton::cShopButton(cSceneNode* parent, cShopList* list)
    : cPicture(parent), m_list(list), m_top(new cText(this)), m_bottom(new cText(this)), m_icon(new cPicture(this)),
      m_sold(new cPicture(this)) {}

cShopButton::~cShopButton() {
    cSceneNode::hide();
    cSceneNode::disable();
    delete m_top;
    delete m_bottom;
    delete m_icon;
    delete m_sold;
}

void cShopButton::loadFromIni(const cIniFile& ini, const cStringW&) {
    // 1. The picture and the two sounds.
    cPicture::loadFromIni(ini, L"SHOP_BUTTON");
    m_sound_active = toNarrowWord(ini.getValue(L"SHOP_BUTTON", L"sound_active"));
    m_sound_pressed = toNarrowWord(ini.getValue(L"SHOP_BUTTON", L"sound_pressed"));
    // 2. The four looks, of interior offers from their own section.
    const bool interior = m_item && m_item->isInterior();
    const wchar_t* looks = interior ? L"SHOP_BUTTON_INTERIOR" : L"SHOP_BUTTON";
    const wchar_t* keys[4] = {L"texture_normal", L"texture_hover", L"texture_pressed", L"texture_disabled"};
    for (int i = 0; i < 4; ++i) m_textures[i] = narrowValue(ini, looks, keys[i]);
    setPicture(m_textures[LOOK_NORMAL]);
    // 3. Glyph textures and fonts of the two texts.
    const wchar_t* fonts[4] = {L"font_normal", L"font_hover", L"font_pressed", L"font_disabled"};
    for (int i = 0; i < 4; ++i) {
        m_top_glyphs[i] = narrowValue(ini, L"SHOP_BUTTON_TEXT_TOP", fonts[i]);
        m_bottom_glyphs[i] = narrowValue(ini, L"SHOP_BUTTON_TEXT_BOTTOM", fonts[i]);
    }
    m_bottom_font = narrowValue(ini, L"SHOP_BUTTON_TEXT_BOTTOM", L"font");
    m_bottom_lowcash_font = narrowValue(ini, L"SHOP_BUTTON_TEXT_BOTTOM", L"font_lowcash");
    const wchar_t* lowFonts[3] = {L"font_normal_lowcash", L"font_hover_lowcash", L"font_pressed_lowcash"};
    for (int i = 0; i < 3; ++i) m_bottom_lowcash_glyphs[i] = narrowValue(ini, L"SHOP_BUTTON_TEXT_BOTTOM", lowFonts[i]);
    const cVector2 at = getPosition();
    // 4. The icon, placed by its offset from the centre.
    m_icon->loadFromIni(ini, L"SHOP_BUTTON_ICON");
    if (m_item) m_icon->setPicture(m_item->getIconName());
    m_icon_offset = m_icon->getPosition();
    m_icon->setPosition(at + m_icon_offset);
    // 5. The sold picture over the centre, hidden.
    m_sold->loadFromIni(ini, L"PICTURE_SOLD");
    m_sold->setPosition(at);
    m_sold->hide();
    // 6. The texts by their offsets.
    m_top->loadFromIni(ini, L"SHOP_BUTTON_TEXT_TOP");
    m_top->setLayerTexture(0, m_top_glyphs[LOOK_NORMAL]);
    m_top->setPosition(m_top->getPosition() + at);
    m_bottom->loadFromIni(ini, L"SHOP_BUTTON_TEXT_BOTTOM");
    m_bottom->setLayerTexture(0, m_bottom_glyphs[LOOK_NORMAL]);
    m_bottom->setPosition(m_bottom->getPosition() + at);
    // 7. The size and the hit rectangle.
    readVector(ini, L"SHOP_BUTTON", L"size", &m_size);
    updateRect();
}

void cShopButton::setTopText(const cStringW& text) { m_top->setString(text); }
void cShopButton::setBottomText(const cStringW& text) { m_bottom->setString(text); }

void cShopButton::updateRect() {
    const cVector2 p = getPosition();
    m_rect = cRect(p.x - m_size.x / 2.0f + 1.0f, p.y - m_size.y / 2.0f + 1.0f, p.x + m_size.x / 2.0f - 1.0f,
                   p.y + m_size.y / 2.0f - 1.0f);
}

void cShopButton::setPosition(const cVector2& position) {
    cPicture::setPosition(position);
    updateRect();
    const bool inside = m_list && (m_list->containsPoint(cVector2(position.x, m_rect.top)) ||
                                   m_list->containsPoint(cVector2(position.x, m_rect.bottom)));
    if (inside) {
        show();
        if (!m_bought) enable();
    } else {
        hide();
        disable();
    }
}

bool cShopButton::hitTest(const cVector2& point) const {
    if (point.x < m_rect.left || point.x > m_rect.right || point.y < m_rect.top || point.y > m_rect.bottom) return false;
    if (!m_list || !m_list->isNotScrolling()) return false;
    return m_list->containsPoint(getMousePosition()) && m_list->containsPoint(getPosition());
}

bool cShopButton::isHovered() const {
    return (m_flags & SHOP_BUTTON_POINTED) && isVisible() && !(m_flags & SHOP_BUTTON_DISABLED);
}

void cShopButton::update() {
    const bool pointed = isActive() && hitTest(getMousePosition());
    setFlags(pointed ? (m_flags | SHOP_BUTTON_POINTED) : (m_flags & ~SHOP_BUTTON_POINTED));
    cPicture::update();
}

void cShopButton::onEnable() {
    cPicture::onEnable();
    bindInput(INPUT_LEFT_PRESSED, &cShopButton::onMousePress, this);
    // A bought entry stays disabled, whatever enables it.
    setFlags(m_bought ? (m_flags | SHOP_BUTTON_DISABLED) : (m_flags & ~SHOP_BUTTON_DISABLED));
}

void cShopButton::onDisable() {
    cPicture::onDisable();
    unbindInput(INPUT_LEFT_PRESSED, &cShopButton::onMousePress, this);
    setFlags(m_flags | SHOP_BUTTON_DISABLED);
}

void cShopButton::onShow() {
    cPicture::onShow();
    if (!m_bought) m_sold->hide();
    setFlags(m_flags | SHOP_BUTTON_SHOWN);
}

void cShopButton::onHide() {
    cPicture::onHide();
    setFlags(m_flags & ~SHOP_BUTTON_SHOWN);
}

void cShopButton::onMousePress(void* button) { static_cast<cShopButton*>(button)->press(); }

void cShopButton::press() {
    if ((m_flags & SHOP_BUTTON_DISABLED) || !(m_flags & SHOP_BUTTON_SHOWN) || m_bought || !isActive()) return;
    if (!m_list || !m_list->isNotScrolling() || !hitTest(getMousePosition())) return;
    if (m_flags & SHOP_BUTTON_SELECTED) return;
    setFlags(m_flags | SHOP_BUTTON_SELECTED);
    if (m_click_handler) m_click_handler(this);
}

void cShopButton::setFlags(int flags) {
    m_flags = flags;
    refreshLook();
}

void cShopButton::refreshLook() {
    if (!(m_flags & SHOP_BUTTON_SHOWN)) return;
    int look = LOOK_NORMAL;
    if (m_flags & SHOP_BUTTON_DISABLED)
        look = LOOK_DISABLED;
    else if (m_flags & SHOP_BUTTON_SELECTED)
        look = LOOK_PRESSED;
    else if (m_flags & SHOP_BUTTON_POINTED)
        look = LOOK_HOVER;
    // The sounds play only in the frame the button's texture changes.
    const bool changed = getPictureName() != m_textures[look];
    setPicture(m_textures[look]);
    if (changed && look == LOOK_PRESSED) widget_shape::playSound(m_sound_pressed);
    if (changed && look == LOOK_HOVER) widget_shape::playSound(m_sound_active);
    m_top->setLayerTexture(0, m_top_glyphs[look]);
    const bool low = m_low_cash && look != LOOK_DISABLED;
    m_bottom->setLayerTexture(0, low ? m_bottom_lowcash_glyphs[look] : m_bottom_glyphs[look]);
    const cVector2 lift = look == LOOK_HOVER ? cVector2(0.0f, -2.0f) : cVector2();
    if (m_item) m_icon->setPicture(look == LOOK_DISABLED ? m_item->getBoughtIconName() : m_item->getIconName());
    m_icon->setPosition(getPosition() + m_icon_offset + lift);
    if (!m_item) return;
    if (look == LOOK_PRESSED) m_item->setDisplayState(SHOP_STATE_SELECTED);
    if (look == LOOK_HOVER) m_item->setDisplayState(SHOP_STATE_POINTED);
    if (look == LOOK_NORMAL) m_item->setDisplayState(SHOP_STATE_NORMAL);
}

void cShopButton::setCash(int32_t cash) {
    const int32_t cost = m_item ? m_item->getCost() : 0;
    m_low_cash = cost > cash;
    m_bottom->setFont(m_low_cash ? m_bottom_lowcash_font : m_bottom_font);
    refreshLook();
}

int32_t cShopButton::buy() {
    // 1. Disabled (the bought look); 2. the object keeps its level; 3. the sold picture.
    setFlags(m_flags | SHOP_BUTTON_DISABLED);
    if (m_item) m_item->setDisplayState(SHOP_STATE_BOUGHT);
    m_bought = true;
    m_sold->show();
    return m_item ? m_item->getCost() : 0;
}
