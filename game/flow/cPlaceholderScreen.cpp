#include "game/flow/cPlaceholderScreen.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "engine/scene/cPicture.h"
#include "engine/scene/cText.h"
#include "game/flow/cCursor.h"
#include "game/flow/cGame.h"

cPlaceholderScreen::cPlaceholderScreen(cSceneNode* parent, const cStringA& background, bool withCursor)
    : cSceneNode(parent) {
    if (!background.isEmpty()) {
        m_background = new cPicture(this);
        m_background->setPicture(background);
        m_background->setPosition(cVector2(400, 300));
        m_background->setDeep(10.0f);
        m_background->show();
    }
    m_title = makeText(kTitleFont, kTitleImage, 120.0f, 1000.0f);
    m_notice = makeText(kTextFont, kTextImage, 300.0f, 1000.0f);
    m_help = makeText(kTextFont, kTextImage, 540.0f, 1000.0f);
    if (withCursor) {
        m_cursor = new cCursor(this);
        if (cResourceManager* resources = getResourceManager())
            m_cursor->loadFromIni(*resources->getIni(cCursor::kConfig), L"COMMON");
    }
    show();
    enable();
}

cPlaceholderScreen::~cPlaceholderScreen() {
    hide();
    disable();
    destroyChildren();
}

cText* cPlaceholderScreen::makeText(const char* font, const char* image, float y, float deep) {
    cText* text = new cText(this);
    text->setFont(font);
    text->setLayerTexture(0, image);
    text->setPosition(cVector2(400, y));
    text->setDeep(deep);
    text->show();
    return text;
}

const cStringW& cPlaceholderScreen::getTitle() const { return m_title->getString(); }
void cPlaceholderScreen::setTitle(const cStringW& title) { m_title->setString(title); }
void cPlaceholderScreen::setHelp(const cStringW& help) { m_help->setString(help); }
void cPlaceholderScreen::setNotice(const cStringW& notice) { m_notice->setString(notice); }

void cPlaceholderScreen::pauseMusicWhileInactive() {
    if (getGame() && !getGame()->isActive())
        if (cSound* sound = getSound()) sound->pauseMusic();
}

void cPlaceholderScreen::finish(int32_t result) {
    if (isFinished()) return;
    setResult(result);
    setFinished(true);
}

void cPlaceholderScreen::update() {
    step(getDeltaTime2());
    // The cursor's look follows the widgets under it; then the children, the cursor among them.
    if (m_cursor) cCursor::testSubtree(this);
    cSceneNode::update();
}

void cPlaceholderScreen::confirmKey(void* screen) {
    auto* self = static_cast<cPlaceholderScreen*>(screen);
    if (self->isActive()) self->onConfirm();
}

void cPlaceholderScreen::backKey(void* screen) {
    auto* self = static_cast<cPlaceholderScreen*>(screen);
    if (self->isActive()) self->onBack();
}

void cPlaceholderScreen::onEnable() {
    bindInput(keyPressedCode(KEY_ENTER), confirmKey, this);
    bindInput(keyPressedCode(KEY_KEYPAD_ENTER), confirmKey, this);
    bindInput(INPUT_LEFT_PRESSED, confirmKey, this);
    bindInput(keyPressedCode(KEY_ESCAPE), backKey, this);
    cSceneNode::onEnable();
}

void cPlaceholderScreen::onDisable() {
    unbindInput(keyPressedCode(KEY_ENTER), confirmKey, this);
    unbindInput(keyPressedCode(KEY_KEYPAD_ENTER), confirmKey, this);
    unbindInput(INPUT_LEFT_PRESSED, confirmKey, this);
    unbindInput(keyPressedCode(KEY_ESCAPE), backKey, this);
    cSceneNode::onDisable();
}
