#include "engine/scene/cCheckButton.h"

#include "engine/core/cIniFile.h"
#include "engine/media/cInput.h"
#include "engine/scene/cText.h"

cCheckButton::cCheckButton(cSceneNode* parent) : cPicture(parent) {}

cCheckButton::~cCheckButton() {
    hide();
    disable();
    delete m_label;
    m_label = nullptr;
}

void cCheckButton::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    cStringW text = ini.getValue(section, cStringW(L"text"));
    // "1" checks it; "0" and anything unreadable leave it unchecked.
    bool checked = false;
    if (*stringToBool(&checked, ini.getValue(section, cStringW(L"checked")))) m_state |= CHECK_CHECKED;
    cStringW styleSection;
    const cIniFile& style = widget_shape::styleSource(ini, section, L"CHECK_BUTTON", &styleSection);
    auto get = [&](const wchar_t* key) { return style.getValue(styleSection, cStringW(key)); };

    if (!text.isEmpty()) {
        widget_shape::replaceLabel(*this, m_label, ini, section, style, styleSection, text, m_text_offset);
        m_font_normal = get(L"font_normal").toNarrow();
        m_font_hover = get(L"font_hover").toNarrow();
        m_font_disabled = get(L"font_disabled").toNarrow();
        m_label->setLayerTexture(0, m_font_normal);
    }

    float size[2] = {m_size.x, m_size.y};
    parseVector2(size, get(L"size"));
    m_size = cVector2(size[0], size[1]);
    toNarrowWord(&m_texture_normal_on, get(L"texture_normal_on"));
    toNarrowWord(&m_texture_normal_off, get(L"texture_normal_off"));
    toNarrowWord(&m_texture_hover_on, get(L"texture_hover_on"));
    toNarrowWord(&m_texture_hover_off, get(L"texture_hover_off"));
    toNarrowWord(&m_texture_disabled_on, get(L"texture_disabled_on"));
    toNarrowWord(&m_texture_disabled_off, get(L"texture_disabled_off"));
    setLayerTexture(0, m_texture_normal_off);
    m_hit_points = widget_shape::loadHitPoints(style, styleSection);
    // A check button shown by its own keys shows its state at once, not at its next change.
    refreshLook();
}

void cCheckButton::setState(int32_t bits) {
    if (bits == m_state) return;
    m_state = bits;
    refreshLook();
}

void cCheckButton::changeState(int32_t bits) { setState(bits); }

void cCheckButton::setChecked(bool checked) {
    setState(checked ? (m_state | CHECK_CHECKED) : (m_state & ~CHECK_CHECKED));
}

void cCheckButton::onShow() {
    cPicture::onShow();
    changeState(m_state | CHECK_SHOWN);
}

void cCheckButton::onHide() {
    cPicture::onHide();
    changeState(m_state & ~CHECK_SHOWN);
}

void cCheckButton::onEnable() {
    cPicture::onEnable();
    bindInput(INPUT_LEFT_RELEASED, &releaseCallback, this);
    bindInput(INPUT_LEFT_PRESSED, &pressCallback, this);
    changeState(m_state & ~CHECK_DISABLED);
}

void cCheckButton::onDisable() {
    cPicture::onDisable();
    unbindInput(INPUT_LEFT_RELEASED, &releaseCallback, this);
    unbindInput(INPUT_LEFT_PRESSED, &pressCallback, this);
    changeState(m_state | CHECK_DISABLED);
}

void cCheckButton::setScale(const cVector2& scale) {
    cPicture::setScale(scale);
    if (m_label) m_label->setScale(scale);
}

void cCheckButton::setAlpha(uint32_t alpha) {
    cPicture::setAlpha(alpha);
    if (m_label) m_label->setAlpha(alpha);
}

bool cCheckButton::hitTest() const {
    if (!isActive()) return false;
    return widget_shape::contains(*this, m_size, m_hit_points, getMousePosition());
}

void cCheckButton::update() {
    cPicture::update();
    changeState(hitTest() ? (m_state | CHECK_HOVER) : (m_state & ~CHECK_HOVER));
}

void cCheckButton::refreshLook() {
    if (!(m_state & CHECK_SHOWN)) return;
    const bool on = (m_state & CHECK_CHECKED) != 0;
    if (m_state & CHECK_DISABLED) {
        setLayerTexture(0, on ? m_texture_disabled_on : m_texture_disabled_off);
        if (m_label) m_label->setLayerTexture(0, m_font_disabled);
    } else if (m_state & CHECK_HOVER) {
        setLayerTexture(0, on ? m_texture_hover_on : m_texture_hover_off);
        if (m_label) m_label->setLayerTexture(0, m_font_hover);
    } else {
        setLayerTexture(0, on ? m_texture_normal_on : m_texture_normal_off);
        if (m_label) m_label->setLayerTexture(0, m_font_normal);
    }
}

bool cCheckButton::onPress() {
    if ((m_state & CHECK_DISABLED) || !(m_state & CHECK_SHOWN) || !hitTest()) return false;
    setState(m_state ^ CHECK_CHECKED);
    return false;
}

bool cCheckButton::onRelease() {
    if ((m_state & CHECK_DISABLED) || !(m_state & CHECK_SHOWN) || !hitTest()) return false;
    // The handler may delete the check button: nothing of it is used afterwards.
    return m_click_handler ? m_click_handler(this) : false;
}

void cCheckButton::pressCallback(void* object) { static_cast<cCheckButton*>(object)->onPress(); }
void cCheckButton::releaseCallback(void* object) { static_cast<cCheckButton*>(object)->onRelease(); }
