#pragma once
// The options panel, opened by the pause panels of the game screen, the shop and the mini
// game: a single instance owned by the root object, hidden until opened. It mirrors the
// full-screen setting.

#include "engine/core/cSingleton.h"
#include "engine/scene/cCompositePicture.h"

class cOptionsPanel : public cCompositePicture, public cSingleton<cOptionsPanel> {
public:
    explicit cOptionsPanel(cSceneNode* parent);
    ~cOptionsPanel() override;

    // Opens the dialog over the paused scene (the pause panels' Options button). Until the
    // dialog's controls exist this does nothing.
    void show(bool withSound);

    // Re-reads Graphics/fullscreen (true when missing) into the full-screen check box.
    void syncFullscreen();
    bool isFullscreenChecked() const { return m_fullscreen; }

private:
    bool m_fullscreen = true;
};

cOptionsPanel* getOptionsPanel();
