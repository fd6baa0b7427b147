#include "game/menus/cLevelButton.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cDrawRecord.h"
#include "engine/scene/cText.h"
#include "game/data/cGameData.h"
#include "game/effects/EffectSupport.h"
#include "game/menus/cPreviewPanel.h"

namespace {

// Without game data no level is reached and none is current.
int32_t currentLevel() { return getGameData() ? getGameData()->getLevel() : 0; }
int32_t reachedLevel() { return getGameData() ? getGameData()->getReachedLevel() : 0; }

cStringW numbered(const wchar_t* key, int32_t n) { return cStringW(key) + intToString(n); }

}  // namespace

cLevelButton::cLevelButton(cSceneNode* parent, int32_t level, int32_t index)
    : cPicture(parent), m_level(level), m_index(index) {
    // 1. The number, the selected mark and the star.
    m_number = new cText(this);
    m_selected = new cPicture(this);
    m_star = new cPicture(this);
    m_number->setHorizontalAlignByName(L"CENTER");
    m_number->setVerticalAlignByName(L"CENTER");
    // 2. The layout.
    loadFromIni(*getResourceManager()->getIni(cPreviewPanel::kConfig), L"LEVEL_BUTTON");
    // 3. The number shows in every look; the star only where the look asks for it.
    m_number->show();
    m_number->enable();
    m_expert = getGameData() && getGameData()->isExpertReached(m_level);
    m_star->hide();
    // 4. The state from the game data.
    if (reachedLevel() < m_level)
        setState(STATE_DISABLED);
    else if (currentLevel() == m_level)
        setState(STATE_SELECTED);
    else
        setState(STATE_NORMAL);
}

cLevelButton::~cLevelButton() {
    cSceneNode::hide();
    disable();
    delete m_number;
    delete m_selected;
    delete m_star;
}

void cLevelButton::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    const wchar_t* own = section.c_str();
    readVector(ini, own, L"size", &m_size);
    readVector(ini, L"BUTTON_POSITIONS", L"off_active", &m_off_active);
    const wchar_t* glyphKeys[kLooks] = {L"font_picture_normal", L"font_picture_active", L"font_picture_disabled",
                                        L"font_picture_selected"};
    const wchar_t* fontKeys[kLooks] = {L"font_normal", L"font_active", L"font_disabled", L"font_selected"};
    for (size_t look = 0; look < kLooks; ++look) {
        toNarrowWord(&m_glyphs[look], ini.getValue(section, glyphKeys[look]));
        toNarrowWord(&m_fonts[look], ini.getValue(section, fontKeys[look]));
    }
    m_selected->setPicture(toNarrowWord(ini.getValue(section, L"picture_selected")));
    m_star->setPicture(toNarrowWord(ini.getValue(section, L"picture_star")));
    m_number->setString(intToString(m_level));
    cVector2 position;
    readVector(ini, L"BUTTON_POSITIONS", numbered(L"position_", m_index).c_str(), &position);
    setPosition(position);
    readVector(ini, L"BUTTON_POSITIONS", numbered(L"off_selected_", m_index).c_str(), &m_off_selected);
    readVector(ini, L"BUTTON_POSITIONS", numbered(L"off_selected_num_", m_index).c_str(), &m_off_selected_num);
    // Larger is drawn later: the number over the mark over the button; the star, made after
    // the button, at its depth.
    m_number->setDeep(getDeep() + 0.5f);
    m_selected->setDeep(getDeep() + 0.3f);
    m_star->setDeep(getDeep());
}

void cLevelButton::setPosition(const cVector2& position) {
    cPicture::setPosition(position);
    if (!m_number) return;
    switch (m_state) {
    case STATE_ACTIVE:
        m_number->setPosition(position + m_off_active);
        m_selected->setPosition(position);
        break;
    case STATE_SELECTED:
        m_number->setPosition(position + m_off_selected_num);
        m_selected->setPosition(position + m_off_selected);
        break;
    default:
        m_number->setPosition(position);
        m_selected->setPosition(position);
        break;
    }
}

void cLevelButton::setState(int32_t s) {
    if (s == m_state || m_state == STATE_DISABLED) return;
    if (s >= STATE_NORMAL && s <= STATE_SELECTED) {
        const size_t look = static_cast<size_t>(s);
        m_number->setLayerTexture(0, m_glyphs[look]);
        m_number->setFont(m_fonts[look]);
        if (s == STATE_SELECTED)
            m_selected->show();
        else
            m_selected->hide();
        if (m_expert && (s == STATE_NORMAL || s == STATE_ACTIVE))
            m_star->show();
        else
            m_star->hide();
    }
    m_state = s;
    setPosition(getPosition());
}

void cLevelButton::unlock() {
    m_state = STATE_UNSET;
    setState(STATE_NORMAL);
}

void cLevelButton::setHover(bool test) {
    m_hovered = test && hitTest(getMousePosition());
    setState(m_hovered ? STATE_ACTIVE : STATE_NORMAL);
}

bool cLevelButton::hitTest(const cVector2& point) const {
    if (m_state == STATE_DISABLED) return false;
    cVector2 first = getPosition();
    if (testTransformFlags(TF_CENTERED)) first = first - m_size * 0.5f;
    const cVector2 second = first + m_size;
    return point.x >= first.x && point.x <= second.x && point.y >= first.y && point.y <= second.y;
}

void cLevelButton::update() {
    if (currentLevel() == m_level)
        setState(STATE_SELECTED);
    else
        setState(m_hovered ? STATE_ACTIVE : STATE_NORMAL);
    cPicture::update();
}
