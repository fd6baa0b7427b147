#pragma once
// The base of the mini game's panels (start, alert, pause, continue and the status panel): an
// in-game panel that never dims anything, never keeps the status panel inactive and freezes
// game time from its first slide-in step to the end of its slide-out. While it slides in it
// sends a visible status panel out (silently, every frame); when it has slid out it brings a
// hidden status panel back. Opening and closing are virtual (appear, disappear), so the status
// panel can replace the sliding altogether.
//
// Each panel's points: shown = the configured positions, hidden = (shown x, -250); slide-in
// 0.9 to 9.42 over 0.7 s, slide-out 0.9 to 3.0 over 0.3 s. To close: close().

#include "game/interface/cPanel.h"

class cMiniGamePanel : public cPanel {
public:
    cMiniGamePanel(cSceneNode* parent, cPanelOwner* owner);

    // Starts the slide-in with the next update (with the appear sound when asked). It neither
    // moves nor shows anything by itself.
    virtual void appear(bool sound) { show(sound); }
    // Starts the slide-out along the prepared motions (with the disappear sound when asked).
    virtual void disappear(bool sound) { hide(sound); }
    // Slide-out motions from here to the hidden points, then disappear with sound.
    void close();

protected:
    void appearStep() override;
    void disappearStep() override;
    // The owner's status panel when it is a mini-game panel other than this one.
    cMiniGamePanel* otherStatusPanel();
};
