#include "game/menus/cPreviewPanel.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cInput.h"
#include "engine/scene/cText.h"
#include "game/data/cGameData.h"
#include "game/menus/cLevelButton.h"

cPreviewPanel::cPreviewPanel(cSceneNode* parent, int32_t page) : cPicture(parent), m_page(page) {
    m_motion.reset();
    // 1. The ten buttons, each with its own layout.
    for (int i = 1; i <= kButtonCount; ++i)
        m_buttons[static_cast<size_t>(i - 1)] = new cLevelButton(this, kButtonCount * (m_page - 1) + i, i);
    // 2. The texts and the page's own layout.
    m_title = new cText(this);
    m_description = new cText(this);
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    m_title->setAlpha(0);
    m_description->setAlpha(0);
    // 3. The points of the slides.
    m_home = getPosition();
    m_off_top = cVector2(m_home.x, kOffTopY);
    m_off_left = cVector2(kOffLeftX, m_home.y);
    m_off_right = cVector2(kOffRightX, m_home.y);
    // 4. Out of sight and deaf until the play screen brings it in.
    cSceneNode::hide();
    disable();
}

cPreviewPanel::~cPreviewPanel() {
    cSceneNode::hide();
    disable();
    for (cLevelButton*& button : m_buttons) {
        delete button;
        button = nullptr;
    }
    delete m_title;
    delete m_description;
}

void cPreviewPanel::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    float thresholds[2] = {m_left_threshold, m_right_threshold};
    parseVector2(thresholds, ini.getValue(section, L"left_right_x_for_alpha"));
    m_left_threshold = thresholds[0];
    m_right_threshold = thresholds[1];
    const cStringW n = intToString(m_page);
    setPicture(toNarrowWord(ini.getValue(section, cStringW(L"picture_") + n)));
    m_title->loadFromIni(ini, L"TITLE");
    m_description->loadFromIni(ini, L"DESCRIPTION");
    m_title->setString(ini.getValue(L"TITLE", cStringW(L"text_") + n));
    m_description->setString(ini.getValue(L"DESCRIPTION", cStringW(L"text_") + n));
}

cLevelButton* cPreviewPanel::getButton(int i) const {
    if (i < 1 || i > kButtonCount) return nullptr;
    return m_buttons[static_cast<size_t>(i - 1)];
}

void cPreviewPanel::enter(const cVector2& from, Mode mode) {
    // An entering page always comes from its off point, wherever it stands now.
    setPosition(from);
    m_motion.initSlideIn(from, m_home);
    m_step = &cPreviewPanel::enterStep;
    m_text_rate = 1.0f;
    m_text_alpha = 0.0f;
    m_mode = mode;
}

void cPreviewPanel::leave(const cVector2& to, Mode mode, float rate) {
    m_motion.initSlideOut(getPosition(), to);
    m_step = &cPreviewPanel::leaveStep;
    m_text_rate = rate;
    m_mode = mode;
}

void cPreviewPanel::enterFromLeft() { enter(m_off_left, MODE_ENTER_LEFT); }
void cPreviewPanel::enterFromRight() { enter(m_off_right, MODE_ENTER_RIGHT); }
void cPreviewPanel::leaveLeft() { leave(m_off_left, MODE_LEAVE_LEFT, -1.0f); }
void cPreviewPanel::leaveRight() { leave(m_off_right, MODE_LEAVE_RIGHT, -1.0f); }
void cPreviewPanel::leaveUp() { leave(m_off_top, MODE_NONE, -1.0f); }

void cPreviewPanel::unlockAll() {
    for (cLevelButton* button : m_buttons) button->unlock();
}

void cPreviewPanel::enterStep() {
    deactivate();
    cSceneNode::show();
    enable();
    setPosition(m_motion.step(getDeltaTime2()));
    if (m_motion.isDone()) {
        setPosition(m_motion.step(0.0f));
        setFinished(false);
        m_step = nullptr;
        activate();
        m_text_rate = 0.0f;
        m_text_alpha = 255.0f;
        m_mode = MODE_NONE;
    }
}

void cPreviewPanel::leaveStep() {
    deactivate();
    setPosition(m_motion.step(getDeltaTime2()));
    if (m_motion.isDone()) {
        setPosition(m_motion.getTarget());
        setFinished(true);
        cSceneNode::hide();
        disable();
        m_step = nullptr;
        m_text_rate = 0.0f;
        m_text_alpha = 0.0f;
        m_mode = MODE_NONE;
    }
}

void cPreviewPanel::stepTextAlpha() {
    const float x = getPosition().x;
    const float change = getDeltaTime2() * kTextAlphaRate * m_text_rate;
    switch (m_mode) {
    case MODE_ENTER_LEFT: m_text_alpha = x < m_left_threshold ? 0.0f : m_text_alpha + change; break;
    case MODE_ENTER_RIGHT: m_text_alpha = x > m_right_threshold ? 0.0f : m_text_alpha + change; break;
    case MODE_LEAVE_LEFT:
        m_text_alpha += change;
        if (x <= m_left_threshold) m_text_alpha = 0.0f;
        break;
    case MODE_LEAVE_RIGHT:
        m_text_alpha += change;
        if (x >= m_right_threshold) m_text_alpha = 0.0f;
        break;
    case MODE_NONE: break;
    }
    if (m_text_alpha > 255.0f) m_text_alpha = 255.0f;
    if (!(m_text_alpha > 0.0f)) m_text_alpha = 0.0f;
    m_title->setAlpha(static_cast<uint32_t>(m_text_alpha));
    m_description->setAlpha(static_cast<uint32_t>(m_text_alpha));
}

void cPreviewPanel::pickHovered() {
    m_hovered = nullptr;
    for (cLevelButton* button : m_buttons) {
        if (m_hovered) {
            button->setHover(false);
            continue;
        }
        button->setHover(true);
        if (button->isHovered()) m_hovered = button;
    }
}

void cPreviewPanel::update() {
    // 1. The texts' alpha by the slide.
    stepTextAlpha();
    // 2. The button under the mouse, found afresh each frame the page listens; none otherwise,
    //    so that a press can never act on a button found before the page was covered.
    if (isActive())
        pickHovered();
    else
        m_hovered = nullptr;
    // 3. The slide.
    if (m_step) (this->*m_step)();
    // 4. The picture and the buttons.
    cPicture::update();
}

void cPreviewPanel::onMousePress(void* object) {
    auto* page = static_cast<cPreviewPanel*>(object);
    if (!page->isActive() || !page->m_hovered) return;
    if (cGameData* data = getGameData()) data->setLevel(page->m_hovered->getLevel());
}

void cPreviewPanel::onEnable() {
    bindInput(INPUT_LEFT_PRESSED, onMousePress, this);
    cPicture::onEnable();
}

void cPreviewPanel::onDisable() {
    unbindInput(INPUT_LEFT_PRESSED, onMousePress, this);
    cPicture::onDisable();
}
