#include "engine/scene/cEditBox.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cBitmapFont.h"
#include "engine/media/cInput.h"
#include "engine/scene/cText.h"

cEditBox::cEditBox(cSceneNode* parent) : cPicture(parent) {
    m_value_text = new cText(this);
    m_cursor_text = new cText(this);
}

cEditBox::~cEditBox() {
    hide();
    disable();
    delete m_value_text;
    delete m_cursor_text;
    m_value_text = m_cursor_text = nullptr;
}

void cEditBox::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    cStringA styleName = ini.getValue(section, cStringW(L"ini")).toNarrow();
    cResourceManager* resources = getResourceManager();
    if (!resources) throw cStringA("Edit box style \"") + styleName + "\": there is no resource manager.";
    const cIniFile& style = *resources->getIni(styleName);   // throws for a name that is not loaded

    m_font_texture = style.getValue(L"paths", L"name_font").toNarrow();
    m_value_text->setLayerTexture(0, m_font_texture);
    m_cursor_text->setLayerTexture(0, m_font_texture);
    cStringA fontName = style.getValue(L"paths", L"name_font_param").toNarrow();
    m_value_text->setFont(fontName);
    m_cursor_text->setFont(fontName);

    m_value_text->setString(ini.getValue(section, cStringW(L"text")));
    m_cursor_string = ini.getValue(section, cStringW(L"cursor"));
    m_cursor_text->setString(m_cursor_string);

    cStringW align = style.getValue(L"sizes", L"text_align");
    m_value_text->setHorizontalAlignByName(align);
    m_cursor_text->setHorizontalAlignByName(align);
    float offset[2] = {0.0f, 0.0f};
    parseVector2(offset, style.getValue(L"sizes", L"text_offset"));
    m_value_text->setPosition(getPosition() + cVector2(offset[0], offset[1]));
    m_cursor_text->setPosition(getPosition() + cVector2(offset[0], offset[1]));
    stringToUnsigned(&m_max_text_size, style.getValue(L"sizes", L"max_text_size"));
    stringToFloat(&m_cursor_speed, style.getValue(L"sizes", L"cursor_speed"));

    for (cText* text : {m_value_text, m_cursor_text}) {
        text->setDeep(getDeep() + 1.0f);
        text->show();
        text->enable();
    }
    setLayerTexture(0, style.getValue(L"paths", L"name_pic").toNarrow());
    show();
    enable();
}

void cEditBox::onShow() {
    cPicture::onShow();
    m_hidden = false;
}

void cEditBox::onHide() {
    cPicture::onHide();
    m_hidden = true;
}

void cEditBox::onEnable() {
    cPicture::onEnable();
    bindInput(keyReleasedCode(KEY_ESCAPE), &escapeCallback, this);
    bindInput(keyReleasedCode(KEY_ENTER), &enterCallback, this);
    setTextReceiver(&charCallback, this);
}

void cEditBox::onDisable() {
    cPicture::onDisable();
    unbindInput(keyReleasedCode(KEY_ESCAPE), &escapeCallback, this);
    unbindInput(keyReleasedCode(KEY_ENTER), &enterCallback, this);
    clearTextReceiver();
}

void cEditBox::setDeep(float deep) {
    cSprite::setDeep(deep);
    m_value_text->setDeep(deep + 1.0f);
    m_cursor_text->setDeep(deep + 1.0f);
}

void cEditBox::setAlpha(uint32_t alpha) {
    cPicture::setAlpha(alpha);
    m_value_text->setAlpha(alpha);
    m_cursor_text->setAlpha(alpha);
}

void cEditBox::setText(const cStringW& value) {
    m_value = value;
    m_value_text->setString(m_value);
}

void cEditBox::onCharacter(wchar_t c) {
    if (!isActive()) return;
    if (c == 8) {
        if (m_value.empty()) return;
        m_value.pop_back();
        m_value_text->setString(m_value);
        return;
    }
    if (c == 13) return;
    if (!(m_value_text->getWidth() < float(m_max_text_size))) return;
    cBitmapFont* font = m_value_text->getFont();
    if (!font || !font->hasGlyph(c)) return;
    m_value.push_back(c);
    m_value_text->setString(m_value);
    if (!(m_value_text->getWidth() < float(m_max_text_size))) {
        m_value.pop_back();
        m_value_text->setString(m_value);
    }
}

// The handlers may delete the edit box: each is the last thing it does.
void cEditBox::onEnter() {
    if (m_hidden || !isActive()) return;
    if (m_enter_handler) m_enter_handler(this);
}

void cEditBox::onEscape() {
    if (m_hidden || !isActive()) return;
    if (m_escape_handler) m_escape_handler(this);
}

void cEditBox::update() {
    if (!m_blink_started) {
        m_blink_started = true;
        m_blink_time = m_cursor_speed;
    }
    m_blink_time -= getDeltaTime2();
    if (m_blink_time < 0.0f) {
        m_blink_on = !m_blink_on;
        m_blink_time = m_cursor_speed;
    }
    if (m_blink_on) {
        m_cursor_text->setString(m_cursor_string);
        const float valueWidth = m_value_text->getWidth();
        const float cursorWidth = m_cursor_text->getWidth();
        float dx;
        switch (m_value_text->getHorizontalAlign()) {
            case TEXT_ALIGN_LEFT: dx = valueWidth; break;
            case TEXT_ALIGN_RIGHT: dx = cursorWidth; break;
            default: dx = (valueWidth + cursorWidth) / 2.0f; break;
        }
        m_cursor_text->setPosition(m_value_text->getPosition() + cVector2(dx, 0.0f));
    } else {
        m_cursor_text->setString(cStringW());
    }
    cPicture::update();
}

void cEditBox::charCallback(wchar_t character, void* user) { static_cast<cEditBox*>(user)->onCharacter(character); }
void cEditBox::enterCallback(void* object) { static_cast<cEditBox*>(object)->onEnter(); }
void cEditBox::escapeCallback(void* object) { static_cast<cEditBox*>(object)->onEscape(); }
