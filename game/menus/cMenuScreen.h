#pragma once
// The base of the main menu's screens. A screen is built by the menu with the menu as its
// parent, reads its own INI file in its constructor and brings itself in; when the player has
// chosen it stores its result, plays its exit, hides and disables itself and reports finished.
// It answers complete once none of its animations runs; the menu deletes a screen that is
// hidden and complete.
//
// Each screen names the background that the menu cross-fades to while it is shown: the key
// background_texture of section COMMON of the screen's INI.

#include "engine/core/cString.h"
#include "engine/scene/cSceneNode.h"
#include "game/interface/cCompletion.h"

class cMenuScreen : public cSceneNode, public cCompletion {
public:
    // Neither visible nor enabled until its loader reads the node keys of its COMMON section.
    explicit cMenuScreen(cSceneNode* parent);
    ~cMenuScreen() override;

    // The node keys of the section, then background_texture of COMMON whatever the section
    // (empty when absent). Every screen calls it first in its own loader.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    cStringA getBackgroundTexture() const { return m_background_texture; }

private:
    cStringA m_background_texture;
};
