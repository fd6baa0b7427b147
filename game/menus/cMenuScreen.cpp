#include "game/menus/cMenuScreen.h"

#include "engine/core/cIniFile.h"

cMenuScreen::cMenuScreen(cSceneNode* parent) : cSceneNode(parent) {}

cMenuScreen::~cMenuScreen() {
    hide();
    disable();
}

void cMenuScreen::loadFromIni(const cIniFile& ini, const cStringW& section) {
    cSceneNode::loadFromIni(ini, section);
    m_background_texture = ini.getValue(L"COMMON", L"background_texture").toNarrow();
}
