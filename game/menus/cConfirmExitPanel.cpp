#include "game/menus/cConfirmExitPanel.h"

#include "engine/app/cLogic.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "engine/scene/cText.h"
#include "game/flow/cPlaceholderScreen.h"

cConfirmExitPanel* getConfirmExitPanel() { return cConfirmExitPanel::instance(); }

namespace {

cText* panelText(cSceneNode* parent, const char* font, const char* image, float y, const wchar_t* text) {
    cText* t = new cText(parent);
    t->setFont(font);
    t->setLayerTexture(0, image);
    t->setPosition(cVector2(400, y));
    t->setDeep(9010.0f);
    t->setString(text);
    t->show();
    return t;
}

}  // namespace

cConfirmExitPanel::cConfirmExitPanel(cSceneNode* parent) : cCompositePicture(parent) {
    setPicture(kBackground);
    cCompositePicture::setPosition(cVector2(400, 300));
    cCompositePicture::setDeep(9000.0f);
    m_title = panelText(this, cPlaceholderScreen::kTitleFont, cPlaceholderScreen::kTitleImage, 280, L"QUIT THE GAME?");
    m_help = panelText(this, cPlaceholderScreen::kTextFont, cPlaceholderScreen::kTextImage, 330, L"Y or Enter: yes   N or Escape: no");
    attach(m_title);
    attach(m_help);
    hide();
    disable();
}

cConfirmExitPanel::~cConfirmExitPanel() {
    hide();
    disable();
    destroyChildren();
}

void cConfirmExitPanel::show(bool withSound) {
    if (withSound)
        if (cSound* sound = getSound()) sound->playSample(kAppearSound, -1);
    if (cLogic* logic = getLogic()) {
        m_saved_logic_pause = logic->isPaused();
        logic->setPaused(true);
    }
    cSceneNode::show();
    enable();
}

void cConfirmExitPanel::hidePanel() {
    if (!isOwnVisible()) return;
    disable();
    cSceneNode::hide();
    if (cLogic* logic = getLogic()) logic->setPaused(m_saved_logic_pause);
}

void cConfirmExitPanel::yes() {
    if (cLogic* logic = getLogic()) logic->quit();
}

void cConfirmExitPanel::no() { hidePanel(); }

void cConfirmExitPanel::yesKey(void* panel) { static_cast<cConfirmExitPanel*>(panel)->yes(); }
void cConfirmExitPanel::noKey(void* panel) { static_cast<cConfirmExitPanel*>(panel)->no(); }

void cConfirmExitPanel::onEnable() {
    for (uint8_t key : {KEY_Y, KEY_ENTER}) bindInput(keyPressedCode(key), yesKey, this);
    for (uint8_t key : {KEY_N, KEY_ESCAPE}) bindInput(keyPressedCode(key), noKey, this);
    cCompositePicture::onEnable();
}

void cConfirmExitPanel::onDisable() {
    for (uint8_t key : {KEY_Y, KEY_ENTER}) unbindInput(keyPressedCode(key), yesKey, this);
    for (uint8_t key : {KEY_N, KEY_ESCAPE}) unbindInput(keyPressedCode(key), noKey, this);
    cCompositePicture::onDisable();
}
