#include "game/minigame/cMiniGamePanel.h"

cMiniGamePanel::cMiniGamePanel(cSceneNode* parent, cPanelOwner* owner) : cPanel(parent, owner) {
    m_modal = false;
    m_dim_level = false;
    m_freeze_time = true;
}

void cMiniGamePanel::close() {
    prepareSlideOut();
    disappear(true);
}

cMiniGamePanel* cMiniGamePanel::otherStatusPanel() {
    auto* status = dynamic_cast<cMiniGamePanel*>(m_owner ? m_owner->getStatusPanel() : nullptr);
    return status == this ? nullptr : status;
}

void cMiniGamePanel::appearStep() {
    // A visible status panel is sent out on every frame of the slide-in.
    if (cMiniGamePanel* status = otherStatusPanel())
        if (status->isVisible()) status->disappear(false);
    cPanel::appearStep();
}

void cMiniGamePanel::disappearStep() {
    cPanel::disappearStep();
    // At the end of the slide-out a hidden status panel comes back.
    if (!isComplete()) return;
    if (cMiniGamePanel* status = otherStatusPanel())
        if (!status->isVisible()) status->appear(false);
}
