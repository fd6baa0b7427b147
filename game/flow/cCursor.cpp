#include "game/flow/cCursor.h"

#include "engine/core/cIniFile.h"
#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cCheckButton.h"
#include "game/shop/cCloudButton.h"

cCursor* getCursor() { return cCursor::instance(); }

cCursor::cCursor(cSceneNode* parent) : cPicture(parent) {
    m_saved_alpha = static_cast<uint8_t>(getVertexAlpha(0));
}

cCursor::~cCursor() {
    hide();
    disable();
    if (cInput* input = getInput()) input->showCursor(false);
}

void cCursor::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cPicture::loadFromIni(ini, section);
    const wchar_t* keys[3] = {L"picture_normal", L"picture_active", L"picture_pressed"};
    for (int i = 0; i < 3; ++i) m_names[i] = ini.getValue(section, cStringW(keys[i])).toNarrow();
    setPicture(m_current);
}

void cCursor::setPicture(int32_t look) {
    if (look < LOOK_NORMAL || look > LOOK_PRESSED) return;
    setLayerTexture(0, m_names[look]);
    m_current = look;
}

void cCursor::testWidget(cSceneNode* node) {
    cCursor* cursor = getCursor();
    if (!cursor || !node) return;
    bool hot = false;
    if (node->getTypeId() == SCENE_BUTTON) {
        auto* button = static_cast<cButton*>(node);
        hot = button->isHovered() && button->isEnabled() && button->isVisible() && button->isActive();
    } else if (node->getTypeId() == SCENE_CHECK_BUTTON) {
        const int32_t state = static_cast<cCheckButton*>(node)->getState();
        hot = (state & CHECK_SHOWN) && (state & CHECK_HOVER) && !(state & CHECK_DISABLED);
    } else {
        hot = isCloudButtonHot(node);
    }
    cursor->m_over_widget = cursor->m_over_widget || hot;
}

void cCursor::testSubtree(cSceneNode* state) {
    cCursor* cursor = getCursor();
    if (!cursor || !state) return;
    cursor->setOverWidget(false);
    state->forEachInSubtree(testWidget);
}

void cCursor::update() {
    // 1. Position and look, while the cursor is enabled and shown.
    if (isEnabled() && isVisible()) {
        setPosition(getMousePosition());
        if (m_pressed)
            setPicture(LOOK_PRESSED);
        else if (m_over_widget || m_over_object) {
            if (m_current != LOOK_ACTIVE) setPicture(LOOK_ACTIVE);
        } else if (m_current != LOOK_NORMAL) {
            setPicture(LOOK_NORMAL);
        }
    }
    // 2. Is the pointer on the screen (edges included), and does the player prefer the system's?
    const cVector2 p = getMousePosition();
    const cVector2 screen = getScreenSize();
    const bool inside = p.x >= 0 && p.x <= screen.x && p.y >= 0 && p.y <= screen.y;
    cInput* input = getInput();
    const bool hardware = input && input->isHardwareCursor();
    // 3. Hidden by a zero alpha; it comes back with the alpha it had.
    if (isVisible() && inside && !hardware) {
        setAlpha(m_saved_alpha);
    } else {
        if (getVertexAlpha(0) != 0) m_saved_alpha = static_cast<uint8_t>(getVertexAlpha(0));
        setAlpha(0);
    }
    // 4. The system pointer.
    if (input) input->showCursor(isVisible() && (hardware || !inside));
    cPicture::update();
}

void cCursor::onPress(void* cursor) { static_cast<cCursor*>(cursor)->m_pressed = true; }
void cCursor::onRelease(void* cursor) { static_cast<cCursor*>(cursor)->m_pressed = false; }

void cCursor::onEnable() {
    bindInput(INPUT_LEFT_PRESSED, onPress, this);
    bindInput(INPUT_LEFT_RELEASED, onRelease, this);
    cPicture::onEnable();
}

void cCursor::onDisable() {
    unbindInput(INPUT_LEFT_PRESSED, onPress, this);
    unbindInput(INPUT_LEFT_RELEASED, onRelease, this);
    cPicture::onDisable();
}
