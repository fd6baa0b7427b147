#include "game/menus/cOptionsPanel.h"

#include "engine/core/cSettingsManager.h"

cOptionsPanel* getOptionsPanel() { return cOptionsPanel::instance(); }

cOptionsPanel::cOptionsPanel(cSceneNode* parent) : cCompositePicture(parent) {
    hide();
    disable();
    syncFullscreen();
}

cOptionsPanel::~cOptionsPanel() {
    hide();
    disable();
}

void cOptionsPanel::syncFullscreen() {
    bool fullscreen = true;
    if (cSettingsManager* settings = getSettingsManager()) settings->getBool(L"Graphics", L"fullscreen", fullscreen);
    m_fullscreen = fullscreen;
}

void cOptionsPanel::show(bool /*withSound*/) {}
