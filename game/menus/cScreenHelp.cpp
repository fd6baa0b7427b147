#include "game/menus/cScreenHelp.h"

#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/media/cInput.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/menus/MenuScreenEnd.h"
#include "game/menus/cMenuPanel.h"
#include "game/interface/cPanel.h"

cScreenHelp::cScreenHelp(cSceneNode* parent) : cMenuScreen(parent) {
    m_panel = new cMenuPanel(this);
    m_title_picture = new cPicture(m_panel);
    m_title_text = new cText(m_panel);
    m_page_picture = new cPicture(m_panel);
    m_ok = new cButton(m_panel);
    m_forward = new cButton(m_panel);
    m_backward = new cButton(m_panel);
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    showPage(0);
    // Nothing listens until the panel has arrived.
    deactivate();
    m_panel->show();
}

cScreenHelp::~cScreenHelp() {
    cSceneNode::hide();
    disable();
    delete m_backward;
    delete m_forward;
    delete m_ok;
    delete m_page_picture;
    delete m_title_text;
    delete m_title_picture;
    delete m_panel;
}

void cScreenHelp::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cMenuScreen::loadFromIni(ini, section);
    m_panel->loadFromIni(ini, L"PANEL");
    m_title_picture->loadFromIni(ini, L"TITLE");
    m_title_text->loadFromIni(ini, L"TEXT_TITLE");
    m_page_picture->loadFromIni(ini, L"PICTURE");
    m_ok->loadFromIni(ini, L"BUTTON_OK");
    m_forward->loadFromIni(ini, L"BUTTON_FORWARD");
    m_backward->loadFromIni(ini, L"BUTTON_BACKWARD");
    for (cButton* button : {m_forward, m_ok, m_backward}) button->setClickHandler(onButton);
    // The pages, each name taken whole, up to the first gap.
    m_pages.clear();
    for (int n = 1;; ++n) {
        const cStringW name = ini.getValue(L"PICTURE", cStringW(L"picture_") + intToString(n));
        if (name.isEmpty()) break;
        m_pages.push_back(name.toNarrow());
    }
}

void cScreenHelp::showPage(unsigned n) {
    if (n < m_pages.size()) {
        m_current = n;
        m_page_picture->setPicture(m_pages[n]);
    }
    updateArrows();
}

void cScreenHelp::updateArrows() {
    m_current + 1 < m_pages.size() ? m_forward->enable() : m_forward->disable();
    m_current > 0 ? m_backward->enable() : m_backward->disable();
}

bool cScreenHelp::onButton(cSceneNode* button) {
    // The buttons stand on the panel, the panel on the screen.
    auto* screen = static_cast<cScreenHelp*>(button->getParent()->getParent());
    if (button == screen->m_ok) {
        screen->m_closing = true;
        screen->m_panel->hide();
    } else if (button == screen->m_forward) {
        screen->showPage(screen->m_current + 1);
    } else if (button == screen->m_backward) {
        // From the first page this wraps out of range and changes nothing.
        screen->showPage(screen->m_current - 1);
    }
    return true;
}

void cScreenHelp::onEnterKey(void* object) {
    auto* screen = static_cast<cScreenHelp*>(object);
    if (!isAltHeld() && screen->m_panel->isActive()) onButton(screen->m_ok);
}

void cScreenHelp::onEnable() {
    bindInput(keyPressedCode(KEY_ENTER), onEnterKey, this);
    cMenuScreen::onEnable();
}

void cScreenHelp::onDisable() {
    unbindInput(keyPressedCode(KEY_ENTER), onEnterKey, this);
    cMenuScreen::onDisable();
}

void cScreenHelp::update() {
    finishOncePanelHidden(*this, *m_panel, &m_closing);
    cSceneNode::update();
}
