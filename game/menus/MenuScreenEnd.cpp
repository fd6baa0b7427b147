#include "game/menus/MenuScreenEnd.h"

#include "game/menus/cMenuPanel.h"
#include "game/menus/cMenuScreen.h"

void finishOncePanelHidden(cMenuScreen& screen, const cMenuPanel& panel, bool* closing) {
    if (!*closing || panel.isVisible()) return;
    *closing = false;
    screen.cSceneNode::hide();
    screen.disable();
    screen.setFinished(true);
}
