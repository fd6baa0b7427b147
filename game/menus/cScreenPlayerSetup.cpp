#include "game/menus/cScreenPlayerSetup.h"

#include "engine/core/cResourceManager.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cEditBox.h"
#include "engine/scene/cListBox.h"
#include "engine/scene/cText.h"
#include "game/data/cGameData.h"
#include "game/interface/cPanel.h"
#include "game/menus/ProfileNames.h"
#include "game/menus/cMenuPanel.h"

cScreenPlayerSetup::cScreenPlayerSetup(cSceneNode* parent) : cMenuScreen(parent) {
    // 1. The parts, each on its panel.
    m_panel = new cMenuPanel(this);
    m_title_picture = new cPicture(m_panel);
    m_title_text = new cText(m_panel);
    m_list = new cListBox(m_panel);
    m_ok = new cButton(m_panel);
    m_new = new cButton(m_panel);
    m_delete = new cButton(m_panel);
    m_delete_panel = new cMenuPanel(this);
    m_delete_yes = new cButton(m_delete_panel);
    m_delete_no = new cButton(m_delete_panel);
    m_delete_top = new cText(m_delete_panel);
    m_delete_name = new cText(m_delete_panel);
    m_delete_bottom = new cText(m_delete_panel);
    m_new_panel = new cMenuPanel(this);
    m_edit = new cEditBox(m_new_panel);
    m_new_ok = new cButton(m_new_panel);
    m_new_cancel = new cButton(m_new_panel);
    m_new_text = new cText(m_new_panel);
    m_exist_panel = new cMenuPanel(this);
    m_exist_ok = new cButton(m_exist_panel);
    m_exist_text = new cText(m_exist_panel);
    // 2. The configuration.
    loadFromIni(*getResourceManager()->getIni(kConfig), L"COMMON");
    // 3. The names, the current one selected.
    fillList();
    // 4. The dialogs wait hidden.
    for (cMenuPanel* panel : {m_new_panel, m_delete_panel, m_exist_panel}) {
        panel->cSceneNode::hide();
        panel->disable();
    }
    // 5. The listed selection is the current profile.
    selectListedProfile();
    // 6. Nothing listens until the main panel has arrived.
    deactivate();
    m_panel->show();
}

cScreenPlayerSetup::~cScreenPlayerSetup() {
    cSceneNode::hide();
    disable();
}

void cScreenPlayerSetup::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cMenuScreen::loadFromIni(ini, section);
    m_panel->loadFromIni(ini, L"PANEL");
    m_title_picture->loadFromIni(ini, L"TITLE");
    m_title_text->loadFromIni(ini, L"TEXT_TITLE");
    m_list->loadFromIni(ini, L"LISTBOX");
    m_list->setSelectHandler(onListSelect);
    m_ok->loadFromIni(ini, L"BUTTON_OK");
    m_new->loadFromIni(ini, L"BUTTON_NEW");
    m_delete->loadFromIni(ini, L"BUTTON_DELETE");
    for (cButton* button : {m_ok, m_new, m_delete}) button->setClickHandler(onButtonClick);
    m_delete_panel->loadFromIni(ini, L"PANEL_DELETE");
    m_delete_yes->loadFromIni(ini, L"BUTTON_DELETE_YES");
    m_delete_no->loadFromIni(ini, L"BUTTON_DELETE_NO");
    m_delete_yes->setClickHandler(onDeletePanelButton);
    m_delete_no->setClickHandler(onDeletePanelButton);
    m_delete_top->loadFromIni(ini, L"TEXT_DELETE_TOP");
    m_delete_name->loadFromIni(ini, L"TEXT_DELETE_NAME");
    m_delete_bottom->loadFromIni(ini, L"TEXT_DELETE_BOTTOM");
    m_new_panel->loadFromIni(ini, L"PANEL_NEW");
    m_new_text->loadFromIni(ini, L"TEXT_NEW");
    m_edit->loadFromIni(ini, L"EDITBOX_NEW");
    m_new_ok->loadFromIni(ini, L"BUTTON_NEW_OK");
    m_new_cancel->loadFromIni(ini, L"BUTTON_NEW_CANCEL");
    m_new_ok->setClickHandler(onNewPanelButton);
    m_new_cancel->setClickHandler(onNewPanelButton);
    m_exist_panel->loadFromIni(ini, L"PANEL_EXIST");
    m_exist_text->loadFromIni(ini, L"TEXT_EXIST");
    m_exist_ok->loadFromIni(ini, L"BUTTON_EXIST_OK");
    m_exist_ok->setClickHandler(onExistPanelButton);
}

void cScreenPlayerSetup::fillList() {
    cGameData* data = getGameData();
    const int32_t count = data ? data->getProfileCount() : 0;
    for (int32_t i = 0; i < count; ++i) {
        m_list->addItem(data->getProfileNameAt(i));
        ++m_count;
    }
    updateDeleteButton();
    if (data) m_list->select(data->getCurrentProfileIndex());
}

void cScreenPlayerSetup::updateDeleteButton() {
    if (m_count > 1)
        m_delete->enable();
    else
        m_delete->disable();
}

void cScreenPlayerSetup::selectListedProfile() {
    // Row i is profile i: the row addresses the profile, whatever names are alike.
    if (cGameData* data = getGameData()) data->selectProfile(m_list->getSelected());
}

bool cScreenPlayerSetup::isDialogOpen() const {
    for (const cMenuPanel* panel : {m_new_panel, m_delete_panel, m_exist_panel})
        if (panel->isVisible() || panel->isSliding()) return true;
    return m_name_exists;
}

bool cScreenPlayerSetup::isOpenAndActive(const cMenuPanel* panel) { return panel->isEnabled() && panel->isActive(); }

void cScreenPlayerSetup::putAway(cMenuPanel* panel) {
    panel->cSceneNode::hide();
    panel->disable();
    panel->deactivate();
}

cScreenPlayerSetup* cScreenPlayerSetup::ofButton(cSceneNode* button) {
    // Every button and the list stand on a panel, every panel on the screen.
    return static_cast<cScreenPlayerSetup*>(button->getParent()->getParent());
}

// ---- the main panel

void cScreenPlayerSetup::pressMain(cButton* button) {
    if (m_leaving || isDialogOpen()) return;
    if (button == m_ok) {
        selectListedProfile();
        m_leaving = true;
        m_panel->hide();
    } else if (button == m_new) {
        deactivate();
        m_new_panel->show();
    } else if (button == m_delete) {
        if (m_count < 2) return;
        m_delete_name->setString(m_list->getSelectedText());
        deactivate();
        m_delete_panel->show();
        widget_shape::playSound(kErrorSound);
    }
}

bool cScreenPlayerSetup::onButtonClick(cSceneNode* button) {
    ofButton(button)->pressMain(static_cast<cButton*>(button));
    return true;
}

bool cScreenPlayerSetup::onListSelect(cSceneNode* list) {
    ofButton(list)->selectListedProfile();
    return true;
}

// ---- the new-profile panel

void cScreenPlayerSetup::answerNew(bool ok) {
    if (m_new_closing) return;
    m_new_closing = true;
    m_new_panel->hide();
    if (ok)
        createProfile();
    else
        m_edit->setText(cStringW());
}

void cScreenPlayerSetup::createProfile() {
    // 1. Taken and cleared; 2. trimmed and cut as the game data keeps it.
    const cStringW name = profile_names::clean(m_edit->getText());
    m_edit->setText(cStringW());
    // 3. Listed already: refused, the notice follows.
    bool listed = false;
    for (int32_t row = 0; row < m_list->getItemCount() && !listed; ++row)
        listed = profile_names::sameIgnoringCase(m_list->getItemText(row), name);
    if (listed) {
        m_name_exists = true;
        widget_shape::playSound(kErrorSound);
    } else if (!name.isEmpty()) {
        // 4. A new player, current and saved, selected at the end of the list.
        m_list->addItem(name);
        if (cGameData* data = getGameData()) {
            data->addProfile(name);
            data->saveNow();
        }
        ++m_count;
        m_list->select(m_count - 1);
        updateDeleteButton();
    }
    // 5. In every case the listed selection is current.
    selectListedProfile();
}

bool cScreenPlayerSetup::onNewPanelButton(cSceneNode* button) {
    cScreenPlayerSetup* screen = ofButton(button);
    screen->answerNew(button == screen->m_new_ok);
    return true;
}

// ---- the delete panel

void cScreenPlayerSetup::answerDelete(bool yes) {
    if (m_delete_closing) return;
    m_delete_closing = true;
    m_delete_panel->hide();
    if (yes) deleteProfile();
}

void cScreenPlayerSetup::deleteProfile() {
    const int32_t row = m_list->getSelected();
    cGameData* data = getGameData();
    if (m_count < 2 || row < 0 || row >= m_count || !data) return;
    m_list->removeItemAt(row);
    data->selectProfile(row);
    data->deleteCurrentProfile();
    --m_count;
    selectListedProfile();
    updateDeleteButton();
}

bool cScreenPlayerSetup::onDeletePanelButton(cSceneNode* button) {
    cScreenPlayerSetup* screen = ofButton(button);
    screen->answerDelete(button == screen->m_delete_yes);
    return true;
}

// ---- the notice

void cScreenPlayerSetup::answerExist() {
    if (m_exist_closing) return;
    m_exist_closing = true;
    m_exist_panel->hide();
}

bool cScreenPlayerSetup::onExistPanelButton(cSceneNode* button) {
    ofButton(button)->answerExist();
    return true;
}

// ---- keys

void cScreenPlayerSetup::onEnterKey(void* object) {
    auto* screen = static_cast<cScreenPlayerSetup*>(object);
    if (isAltHeld()) return;
    if (isOpenAndActive(screen->m_new_panel))
        screen->answerNew(true);
    else if (isOpenAndActive(screen->m_delete_panel))
        screen->answerDelete(true);
    else if (isOpenAndActive(screen->m_exist_panel))
        screen->answerExist();
    else if (screen->m_ok->isActive())
        screen->pressMain(screen->m_ok);
}

void cScreenPlayerSetup::onEscapeKey(void* object) {
    auto* screen = static_cast<cScreenPlayerSetup*>(object);
    if (isOpenAndActive(screen->m_new_panel))
        screen->answerNew(false);
    else if (isOpenAndActive(screen->m_delete_panel))
        screen->answerDelete(false);
    else if (isOpenAndActive(screen->m_exist_panel))
        screen->answerExist();
}

void cScreenPlayerSetup::onEnable() {
    bindInput(kEnterPressed, onEnterKey, this);
    bindInput(kEscapePressed, onEscapeKey, this);
    cSceneNode::onEnable();
}

void cScreenPlayerSetup::onDisable() {
    unbindInput(kEnterPressed, onEnterKey, this);
    unbindInput(kEscapePressed, onEscapeKey, this);
    cSceneNode::onDisable();
}

void cScreenPlayerSetup::update() {
    // 1. The new panel has gone: the notice follows a refused name, else the list listens.
    if (m_new_closing && !m_new_panel->isVisible()) {
        m_new_closing = false;
        putAway(m_new_panel);
        if (m_name_exists) {
            m_name_exists = false;
            m_exist_panel->show();
        } else {
            m_panel->activate();
        }
    }
    if (m_new_panel->isVisible()) m_panel->deactivate();
    // 2. The delete panel; 3. the notice.
    if (m_delete_closing && !m_delete_panel->isVisible()) {
        m_delete_closing = false;
        putAway(m_delete_panel);
        m_panel->activate();
    }
    if (m_delete_panel->isVisible()) m_panel->deactivate();
    if (m_exist_closing && !m_exist_panel->isVisible()) {
        m_exist_closing = false;
        putAway(m_exist_panel);
        m_panel->activate();
    }
    if (m_exist_panel->isVisible()) m_panel->deactivate();
    // 4. Left: the screen finishes.
    if (m_leaving && !m_panel->isVisible()) {
        m_leaving = false;
        cSceneNode::hide();
        disable();
        setFinished(true);
    }
    // 5. The parts.
    cSceneNode::update();
}
