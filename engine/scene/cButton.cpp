#include "engine/scene/cButton.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "engine/scene/cText.h"

// ---- Shared widget helpers ----

namespace widget_shape {

std::vector<cVector2> loadHitPoints(const cIniFile& ini, const cStringW& section) {
    std::vector<cVector2> points;
    for (int n = 1;; ++n) {
        float p[2] = {-100000.0f, -100000.0f};
        parseVector2(p, ini.getValue(section, cStringW(L"v") + intToString(n)));
        if (p[0] == -100000.0f && p[1] == -100000.0f) break;
        points.emplace_back(p[0], p[1]);
    }
    return points;
}

bool contains(const cSprite& sprite, const cVector2& size, const std::vector<cVector2>& points,
              const cVector2& point) {
    cVector2 corner = sprite.getPosition();
    if (sprite.testTransformFlags(TF_CENTERED)) corner = corner - size * 0.5f;
    if (points.size() < 3) {
        return corner.x <= point.x && point.x <= corner.x + size.x && corner.y <= point.y &&
               point.y <= corner.y + size.y;
    }
    for (size_t i = 0; i < points.size(); ++i) {
        cVector2 a = corner + points[i];
        cVector2 b = corner + points[(i + 1) % points.size()];
        if (!((b.x - a.x) * (point.y - a.y) - (b.y - a.y) * (point.x - a.x) > 0.0f)) return false;
    }
    return true;
}

const cIniFile& styleSource(const cIniFile& ini, const cStringW& section, const wchar_t* styleSection,
                            cStringW* styleSectionOut) {
    cStringA name = ini.getValue(section, cStringW(L"ini")).toNarrow();
    if (name.isEmpty()) {
        *styleSectionOut = section;
        return ini;
    }
    cResourceManager* resources = getResourceManager();
    if (!resources) throw cStringA("Style \"") + name + "\": there is no resource manager.";
    *styleSectionOut = styleSection;
    return *resources->getIni(name);   // throws for a name that is not loaded
}

void playSound(const cStringA& name) {
    if (name.isEmpty()) return;
    if (cSound* sound = getSound()) sound->playSample(name, -1);
}

void replaceLabel(cSprite& owner, cText*& label, const cIniFile& ini, const cStringW& section,
                  const cIniFile& style, const cStringW& styleSection, const cStringW& text,
                  cVector2& textOffset) {
    delete label;
    label = nullptr;
    cText* made = new cText(&owner);
    label = made;
    made->loadFromIni(style, styleSection);
    made->setString(text);
    made->setDeep(owner.getDeep() + 1.0f);
    float offset[2] = {textOffset.x, textOffset.y};
    parseVector2(offset, ini.getValue(section, cStringW(L"text_offset")));
    textOffset = cVector2(offset[0], offset[1]);
    made->setPosition(owner.getPosition() + textOffset);
}

}  // namespace widget_shape

// ---- cButton ----

cButton::cButton(cSceneNode* parent) : cPicture(parent) {}

cButton::~cButton() {
    hide();
    disable();
    delete m_label;
    m_label = nullptr;
}

void cButton::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    cStringW text = ini.getValue(section, cStringW(L"text"));
    cStringW styleSection;
    const cIniFile& style = widget_shape::styleSource(ini, section, L"BUTTON", &styleSection);
    auto get = [&](const wchar_t* key) { return style.getValue(styleSection, cStringW(key)); };

    if (!text.isEmpty()) {
        widget_shape::replaceLabel(*this, m_label, ini, section, style, styleSection, text, m_text_offset);
        m_font_normal = get(L"font_normal").toNarrow();
        m_font_pressed = get(L"font_pressed").toNarrow();
        m_font_hover = get(L"font_hover").toNarrow();
        m_font_disabled = get(L"font_disabled").toNarrow();
        m_label->setLayerTexture(0, m_font_normal);
    }

    float size[2] = {m_size.x, m_size.y};
    parseVector2(size, get(L"size"));
    m_size = cVector2(size[0], size[1]);
    toNarrowWord(&m_texture_normal, get(L"texture_normal"));
    toNarrowWord(&m_texture_pressed, get(L"texture_pressed"));
    toNarrowWord(&m_texture_hover, get(L"texture_hover"));
    toNarrowWord(&m_texture_disabled, get(L"texture_disabled"));
    setLayerTexture(0, m_texture_normal);
    toNarrowWord(&m_sound_active, get(L"sound_active"));
    toNarrowWord(&m_sound_pressed, get(L"sound_pressed"));
    m_hit_points = widget_shape::loadHitPoints(style, styleSection);
}

void cButton::onShow() {
    cPicture::onShow();
    if (m_label) m_label->show();
}

void cButton::onHide() {
    cPicture::onHide();
    if (m_label) m_label->hide();
}

void cButton::onEnable() {
    cPicture::onEnable();
    bindInput(INPUT_LEFT_RELEASED, &releaseCallback, this);
    bindInput(INPUT_LEFT_PRESSED, &pressCallback, this);
}

void cButton::onDisable() {
    cPicture::onDisable();
    unbindInput(INPUT_LEFT_RELEASED, &releaseCallback, this);
    unbindInput(INPUT_LEFT_PRESSED, &pressCallback, this);
}

void cButton::setTransformOrigin(const cVector2& origin) {
    cSprite::setTransformOrigin(origin);
    if (m_label) m_label->setTransformOrigin(origin);
}

void cButton::setAngle(float degrees) {
    cPicture::setAngle(degrees);
    if (m_label) m_label->setAngle(degrees);
}

void cButton::setAlpha(uint32_t alpha) {
    cPicture::setAlpha(alpha);
    if (m_label) m_label->setAlpha(alpha);
}

void cButton::setLookTextures(const cStringA& normal, const cStringA& hover, const cStringA& pressed,
                              const cStringA& disabled) {
    m_texture_normal = normal;
    m_texture_hover = hover;
    m_texture_pressed = pressed;
    m_texture_disabled = disabled;
}

void cButton::setLookFonts(const cStringA& normal, const cStringA& hover, const cStringA& pressed,
                           const cStringA& disabled) {
    m_font_normal = normal;
    m_font_hover = hover;
    m_font_pressed = pressed;
    m_font_disabled = disabled;
}

bool cButton::hitTest() const {
    if (!isActive()) return false;
    return widget_shape::contains(*this, m_size, m_hit_points, getMousePosition() + getTransformOrigin());
}

void cButton::update() {
    cPicture::update();
    m_hover = hitTest();
    if (!m_hover) m_pressed = false;
    refreshLook();
}

void cButton::setLabelTexture(const cStringA& name) {
    if (m_label) m_label->setLayerTexture(0, name);
}

void cButton::refreshLook() {
    if (!isVisible()) return;
    const cStringA& current = getPictureName();  // read before any change below
    if (!isEnabled()) {
        setLayerTexture(0, m_texture_disabled);
        setLabelTexture(m_font_disabled);
    } else if (m_pressed) {
        if (!current.equals(m_texture_pressed)) {
            widget_shape::playSound(m_sound_pressed);
            setLayerTexture(0, m_texture_pressed);
            setLabelTexture(m_font_pressed);
        }
    } else if (m_hover) {
        if (!current.equals(m_texture_hover)) {
            if (!current.equals(m_texture_pressed)) widget_shape::playSound(m_sound_active);
            setLayerTexture(0, m_texture_hover);
            setLabelTexture(m_font_hover);
        }
    } else {
        setLayerTexture(0, m_texture_normal);
        setLabelTexture(m_font_normal);
    }
}

bool cButton::onPress() {
    if (!isEnabled() || !isVisible() || !hitTest()) return false;
    m_pressed = true;
    // Handlers may delete the button: each is the last thing the button does.
    return m_press_handler ? m_press_handler(this) : false;
}

bool cButton::onRelease() {
    if (!isEnabled() || !isVisible()) return false;
    if (m_release_handler) {
        cDeletionWatch::Scope scope(m_deletion_watch);
        m_release_handler(this);
        if (scope.deleted()) return false;
    }
    if (hitTest() && m_pressed) {
        m_pressed = false;
        return m_click_handler ? m_click_handler(this) : false;
    }
    return false;
}

void cButton::pressCallback(void* object) { static_cast<cButton*>(object)->onPress(); }
void cButton::releaseCallback(void* object) { static_cast<cButton*>(object)->onRelease(); }
