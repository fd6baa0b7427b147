#include "game/menus/cLogo.h"

cLogo::cLogo(cSceneNode* parent) : cPlaceholderScreen(parent, kBackground, false) {
    setTitle(L"LOGO");
    setHelp(L"Enter or click: skip");
}

void cLogo::step(float dt) {
    m_time += dt;
    if (m_time >= kDuration) finish(0);
}
