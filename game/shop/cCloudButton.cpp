#include "game/shop/cCloudButton.h"

#include "engine/core/cIniFile.h"
#include "engine/media/cDrawRecord.h"
#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectSupport.h"

cCloudButtonBase::cCloudButtonBase(cSceneNode* parent) : cPicture(parent) {
    for (cPicture*& b : m_borders) b = new cPicture(this);
}

cCloudButtonBase::~cCloudButtonBase() {
    cSceneNode::hide();
    cSceneNode::disable();
    delete m_text;
    for (cPicture*& b : m_borders) {
        delete b;
        b = nullptr;
    }
}

void cCloudButtonBase::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    cStringW styleSection;
    const cIniFile& style = widget_shape::styleSource(ini, section, L"CLOUD_BUTTON", &styleSection);
    auto get = [&](const wchar_t* key) { return style.getValue(styleSection, cStringW(key)); };
    const cStringW text = ini.getValue(section, L"text");
    if (!text.isEmpty()) {
        if (!m_text) m_text = new cText(this);
        m_text->loadFromIni(style, styleSection);
        m_text->setString(text);
        m_text->show();
        m_text->setLayerTexture(0, get(L"font_normal").toNarrow());
    }
    setPicture(toNarrowWord(get(L"texture_normal")));
    for (cPicture* b : m_borders) b->setPicture(getPictureName());
    float ts[2] = {m_texture_size.x, m_texture_size.y};
    parseVector2(ts, get(L"texture_size"));
    m_texture_size = cVector2(ts[0], ts[1]);
    float r[4] = {m_center.left, m_center.top, m_center.right, m_center.bottom};
    parseRect(r, get(L"rect_center"));
    m_center = cRect(r[0], r[1], r[2], r[3]);
    float mg[2] = {m_margins.x, m_margins.y};
    parseVector2(mg, get(L"margins"));
    m_margins = cVector2(mg[0], mg[1]);
    m_border_size = m_texture_size - cVector2(m_center.width(), m_center.height());
    float size[2] = {kNoSize, kNoSize};
    parseVector2(size, get(L"size"));
    if (size[0] != kNoSize || size[1] != kNoSize)
        m_content_size = cVector2(size[0], size[1]) - m_margins * 2.0f - m_border_size;
    else if (m_text)
        m_content_size = m_text->getSize();
    setDeepAll(getDeep());
    for (cPicture* b : m_borders) b->setPosition(getPosition());
    if (m_text) m_text->setPosition(getPosition());
    for (cPicture* b : m_borders) b->setAutoFiltering(getAutoFiltering());
    arrange();
    applyTextureRects();
}

void cCloudButtonBase::applyTextureRects() {
    const float Tw = m_texture_size.x, Th = m_texture_size.y;
    const float Cl = m_center.left, Ct = m_center.top, Cr = m_center.right, Cb = m_center.bottom;
    setLayer0TextureRect(m_center);
    m_borders[TOP_LEFT]->setLayer0TextureRect(cRect(0, 0, Cl, Ct));
    m_borders[LEFT]->setLayer0TextureRect(cRect(0, Ct, Cl, Cb));
    m_borders[BOTTOM_LEFT]->setLayer0TextureRect(cRect(0, Cb, Cl, Th));
    m_borders[BOTTOM]->setLayer0TextureRect(cRect(Cl, Cb, Cr, Th));
    m_borders[BOTTOM_RIGHT]->setLayer0TextureRect(cRect(Cr, Cb, Tw, Th));
    m_borders[RIGHT]->setLayer0TextureRect(cRect(Cr, Ct, Tw, Cb));
    m_borders[TOP_RIGHT]->setLayer0TextureRect(cRect(Cr, 0, Tw, Ct));
    m_borders[TOP]->setLayer0TextureRect(cRect(Cl, 0, Cr, Ct));
}

void cCloudButtonBase::arrange() {
    const float cw = m_center.width(), ch = m_center.height();
    // A centre slice without size has nothing to stretch: the face keeps its own scale.
    const cVector2 inner = getInnerSize();
    const cVector2 k(cw > 0.0f ? inner.x / cw : 1.0f, ch > 0.0f ? inner.y / ch : 1.0f);
    cPicture::setScale(k);
    m_borders[LEFT]->setScale(cVector2(1.0f, k.y));
    m_borders[RIGHT]->setScale(cVector2(1.0f, k.y));
    m_borders[TOP]->setScale(cVector2(k.x, 1.0f));
    m_borders[BOTTOM]->setScale(cVector2(k.x, 1.0f));
    const cVector2 h(cw * k.x / 2.0f, ch * k.y / 2.0f);
    const float left = -(m_center.left / 2.0f + h.x), right = (m_texture_size.x - m_center.right) / 2.0f + h.x;
    const float top = -(m_center.top / 2.0f + h.y), bottom = (m_texture_size.y - m_center.bottom) / 2.0f + h.y;
    const cVector2 shift[BORDER_COUNT] = {{left, 0.0f}, {left, top},   {0.0f, top},      {right, top},
                                          {right, 0.0f}, {right, bottom}, {0.0f, bottom}, {left, bottom}};
    for (int i = 0; i < BORDER_COUNT; ++i) {
        m_borders[i]->setPosition(getPosition());
        m_borders[i]->setTransformOrigin(cVector2(-shift[i].x, -shift[i].y));
    }
}

void cCloudButtonBase::onShow() {
    cPicture::onShow();
    if (m_text) m_text->show();
}

void cCloudButtonBase::onHide() {
    cPicture::onHide();
    if (m_text) m_text->hide();
}

void cCloudButtonBase::setAngle(float degrees) {
    cPicture::setAngle(degrees);
    for (cPicture* b : m_borders) b->setAngle(degrees);
    if (m_text) m_text->setAngle(degrees);
}

void cCloudButtonBase::setAlpha(uint32_t alpha) {
    cPicture::setAlpha(alpha);
    for (cPicture* b : m_borders) b->setAlpha(alpha);
    if (m_text) m_text->setAlpha(alpha);
}

void cCloudButtonBase::setDeepAll(float deep) {
    cPicture::setDeep(deep);
    for (cPicture* b : m_borders) b->setDeep(deep + 0.01f);
    if (m_text) m_text->setDeep(deep + 0.03f);
}

void cCloudButtonBase::setFaceTexture(const cStringA& name) {
    setPicture(name);
    for (cPicture* b : m_borders) b->setPicture(name);
}

void cCloudButtonBase::setFontTexture(const cStringA& name) {
    if (m_text) m_text->setLayerTexture(0, name);
}

cCloudButton::cCloudButton(cSceneNode* parent) : cCloudButtonBase(parent), m_back(new cCloudButtonBase(this)) {}

cCloudButton::~cCloudButton() {
    cSceneNode::hide();
    cSceneNode::disable();
    delete m_back;
    m_back = nullptr;
}

void cCloudButton::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cCloudButtonBase::loadFromIni(ini, section);
    // The base loader placed the face half a step above the section's deep.
    const float deep = getDeep() - 0.5f;
    m_back->loadFromIni(ini, section);
    cStringW styleSection;
    const cIniFile& style = widget_shape::styleSource(ini, section, L"CLOUD_BUTTON", &styleSection);
    auto get = [&](const wchar_t* key) { return style.getValue(styleSection, cStringW(key)); };
    const wchar_t* faces[4] = {L"texture_normal", L"texture_hover", L"texture_pressed", L"texture_disabled"};
    const wchar_t* fonts[4] = {L"font_normal", L"font_hover", L"font_pressed", L"font_disabled"};
    for (int i = 0; i < 4; ++i) {
        m_faces[i] = toNarrowWord(get(faces[i]));
        m_fonts[i] = get(fonts[i]).toNarrow();
    }
    m_sound_active = toNarrowWord(get(L"sound_active"));
    m_sound_pressed = toNarrowWord(get(L"sound_pressed"));
    float off[2] = {m_back_offset.x, m_back_offset.y};
    parseVector2(off, get(L"offset_back"));
    m_back_offset = cVector2(off[0], off[1]);
    stringToFloat(&m_back_alpha, get(L"alpha_back"));
    m_back->setPosition(getPosition() + m_back_offset);
    setDeepAll(deep);
    setAlpha(getVertexAlpha(0));
}

void cCloudButton::setAngle(float degrees) {
    cCloudButtonBase::setAngle(degrees);
    if (m_back) m_back->setAngle(degrees);
}

void cCloudButton::setAlpha(uint32_t alpha) {
    cCloudButtonBase::setAlpha(alpha);
    if (!m_back) return;
    const float back = static_cast<float>(alpha & 0xFF) - 255.0f + m_back_alpha;
    m_back->setAlpha(back > 0.0f ? static_cast<uint32_t>(back > 255.0f ? 255.0f : back) : 0u);
}

void cCloudButton::setDeepAll(float deep) {
    // The back at d, the face half a step above it (the face's move shifts its children, the
    // back among them, so the back is set last).
    cCloudButtonBase::setDeepAll(deep + 0.5f);
    if (m_back) m_back->setDeepAll(deep);
}

void cCloudButton::onEnable() {
    cCloudButtonBase::onEnable();
    bindInput(INPUT_LEFT_RELEASED, &cCloudButton::onReleaseInput, this);
    bindInput(INPUT_LEFT_PRESSED, &cCloudButton::onPressInput, this);
}

void cCloudButton::onDisable() {
    cCloudButtonBase::onDisable();
    unbindInput(INPUT_LEFT_RELEASED, &cCloudButton::onReleaseInput, this);
    unbindInput(INPUT_LEFT_PRESSED, &cCloudButton::onPressInput, this);
}

bool cCloudButton::isMouseInside() const {
    const cVector2 m = getMousePosition(), p = getPosition(), s = getInnerSize();
    const cVector2 corner = testTransformFlags(TF_CENTERED) ? p - s / 2.0f : p;
    return m.x >= corner.x && m.x <= corner.x + s.x && m.y >= corner.y && m.y <= corner.y + s.y;
}

void cCloudButton::onPressInput(void* object) {
    auto* b = static_cast<cCloudButton*>(object);
    if (!b->isEnabled() || !b->isVisible() || !b->isActive() || !b->isMouseInside()) return;
    b->m_pressed = true;
    if (b->m_press) b->m_press(b);
}

void cCloudButton::onReleaseInput(void* object) {
    auto* b = static_cast<cCloudButton*>(object);
    if (!b->isEnabled() || !b->isVisible()) return;
    if (b->m_release) b->m_release(b);
    if (b->isMouseInside() && b->m_pressed) {
        b->m_pressed = false;
        if (b->m_click) b->m_click(b);
    }
}

void cCloudButton::showLook(int look) {
    if (look == m_look) return;
    if (look == LOOK_PRESSED) widget_shape::playSound(m_sound_pressed);
    if (look == LOOK_HOVER && m_look != LOOK_PRESSED) widget_shape::playSound(m_sound_active);
    m_look = look;
    setFaceTexture(m_faces[look]);
    setFontTexture(m_fonts[look]);
    m_back->setFaceTexture(m_faces[look]);
    m_back->setFontTexture(m_fonts[look]);
}

void cCloudButton::update() {
    m_hovered = isActive() && isMouseInside();
    if (!m_hovered) m_pressed = false;
    if (isVisible())
        showLook(!isEnabled() ? LOOK_DISABLED : m_pressed ? LOOK_PRESSED : m_hovered ? LOOK_HOVER : LOOK_NORMAL);
    cCloudButtonBase::update();
}

bool isCloudButtonHot(cSceneNode* node) {
    auto* b = node && node->getTypeId() == cCloudButton::kTypeId ? dynamic_cast<cCloudButton*>(node) : nullptr;
    return b && b->isEnabled() && b->isVisible() && b->isHovered();
}
