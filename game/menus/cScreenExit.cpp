#include "game/menus/cScreenExit.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/menus/cMainMenu.h"
#include "game/menus/cMenuPanel.h"

cScreenExit::cScreenExit(cSceneNode* parent) : cMenuScreen(parent) {
    m_panel = new cMenuPanel(this);
    m_title_picture = new cPicture(m_panel);
    m_title_text = new cText(m_panel);
    m_yes = new cButton(m_panel);
    m_no = new cButton(m_panel);
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    // Nothing listens until the panel has arrived.
    deactivate();
    m_panel->show();
}

cScreenExit::~cScreenExit() {
    cSceneNode::hide();
    disable();
}

void cScreenExit::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cMenuScreen::loadFromIni(ini, section);
    m_panel->loadFromIni(ini, L"PANEL");
    m_title_picture->loadFromIni(ini, L"PIC_TITLE");
    m_title_text->loadFromIni(ini, L"TEXT_TITLE");
    m_yes->loadFromIni(ini, L"BUTTON_YES");
    m_no->loadFromIni(ini, L"BUTTON_NO");
    m_yes->setClickHandler(onButtonClick);
    m_no->setClickHandler(onButtonClick);
}

void cScreenExit::answer(cButton* button) {
    setResult(button == m_yes ? RESULT_YES : RESULT_NO);
    m_closing = true;
    m_panel->hide();
}

bool cScreenExit::onButtonClick(cSceneNode* button) {
    // The buttons stand on the panel, the panel on the screen.
    auto* screen = static_cast<cScreenExit*>(button->getParent()->getParent());
    screen->answer(static_cast<cButton*>(button));
    return true;
}

void cScreenExit::onEnter(void* object) {
    auto* screen = static_cast<cScreenExit*>(object);
    if (!isAltHeld() && screen->m_panel->isActive()) screen->answer(screen->m_yes);
}

void cScreenExit::onEscape(void* object) {
    auto* screen = static_cast<cScreenExit*>(object);
    if (screen->m_panel->isActive()) screen->answer(screen->m_no);
}

void cScreenExit::onEnable() {
    bindInput(keyPressedCode(KEY_ENTER), onEnter, this);
    bindInput(keyPressedCode(KEY_ESCAPE), onEscape, this);
    cSceneNode::onEnable();
}

void cScreenExit::onDisable() {
    unbindInput(keyPressedCode(KEY_ENTER), onEnter, this);
    unbindInput(keyPressedCode(KEY_ESCAPE), onEscape, this);
    cSceneNode::onDisable();
}

void cScreenExit::update() {
    if (m_closing) {
        if (m_panel->getVertexAlpha(0) <= kEarlyFadeAlpha && getResult() == RESULT_YES)
            if (auto* menu = dynamic_cast<cMainMenu*>(getParent())) menu->startFadeOut();
        if (!m_panel->isVisible()) {
            m_closing = false;
            cSceneNode::hide();
            disable();
            setFinished(true);
        }
    }
    cSceneNode::update();
}
