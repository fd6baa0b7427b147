#pragma once
// Screen 3: any result returns.
// A stand-in on the shared body (cStandInScreen.h).

#include "engine/core/cSettingsManager.h"
#include "game/menus/cStandInScreen.h"

class cScreenOptions : public cStandInScreen {
public:
    explicit cScreenOptions(cSceneNode* parent) : cStandInScreen(parent, L"OPTIONS", {{L"Back", 0}}) {
        syncFullscreen();
    }
    // Re-reads Graphics/fullscreen (true when missing).
    void syncFullscreen() {
        m_fullscreen = true;
        if (cSettingsManager* settings = getSettingsManager()) settings->getBool(L"Graphics", L"fullscreen", m_fullscreen);
    }
    bool isFullscreenChecked() const { return m_fullscreen; }

private:
    bool m_fullscreen = true;
};
