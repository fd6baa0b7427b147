#include "game/menus/cDialogPanel.h"

cDialogPanel::cDialogPanel(cSceneNode* parent) : cPanel(parent, nullptr) {
    m_modal = false;
    m_dim_level = false;
    m_freeze_time = false;
}

cDialogPanel::~cDialogPanel() {
    cSceneNode::hide();
    cSceneNode::disable();
}

void cDialogPanel::loadPanel(const cIniFile& ini) {
    cCompositePicture::loadFromIni(ini, L"COMMON");
    m_background->loadFromIni(ini, L"PANEL_ADD");
}

void cDialogPanel::park() {
    setSlidePoints();
    prepareSlideInFromHidden();
    parkHidden();
    setFinished(false);
    cSceneNode::hide();
    cSceneNode::disable();
}

void cDialogPanel::onEnable() {
    bindInput(kEnterPressed, onEnterKey, this);
    bindInput(kEscapePressed, onEscapeKey, this);
    cPanel::onEnable();
}

void cDialogPanel::onDisable() {
    unbindInput(kEnterPressed, onEnterKey, this);
    unbindInput(kEscapePressed, onEscapeKey, this);
    cPanel::onDisable();
}

void cDialogPanel::onEnterKey(void* object) {
    auto* dialog = static_cast<cDialogPanel*>(object);
    if (!isAltHeld() && dialog->isActive()) dialog->answer(true);
}

void cDialogPanel::onEscapeKey(void* object) {
    auto* dialog = static_cast<cDialogPanel*>(object);
    if (dialog->isActive()) dialog->answer(false);
}
