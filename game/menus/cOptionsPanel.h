#pragma once
// The game-wide options dialog that the pause panels of the game screen, the shop and the mini
// game open over their paused scene: a single instance owned by the root object, built hidden
// and disabled. show(true) lets it slide in (its overlay leads, as on the menu's panels); while
// it slides and while it is up the logic stays paused and the music plays. OK or Cancel (Enter
// and Escape while it is active, Enter not with Alt held) let it slide out; once it has gone it
// is hidden, disabled, finished, and the music is paused again. The logic stays paused: its
// opener releases the pause when it closes itself.
//
// Each opening reads the settings and volumes again (see cOptionsControls). Visibility is what
// the openers test: true from the first slide-in step until the slide-out has ended.

#include "engine/core/cSingleton.h"
#include "game/menus/cDialogPanel.h"
#include "game/menus/cOptionsControls.h"

class cOptionsPanel : public cDialogPanel, public cSingleton<cOptionsPanel> {
public:
    static constexpr const char* kConfig = "Config/Common/panel_options.ini";

    explicit cOptionsPanel(cSceneNode* parent);
    ~cOptionsPanel() override;

    void update() override;
    // Runs once each time the panel turns enabled, on its first slide-in step: fresh motions,
    // settings and volumes, and the Enter and Escape bindings.
    void onEnable() override;

    // Opens the dialog (the sound asks for the appear sample). Nothing else happens at the
    // call; the slide-in does the rest from the next update on.
    void show(bool withSound) { cPanel::show(withSound); }
    // After Alt+Enter: the full-screen box and its known value follow the setting, so that a
    // later OK does not switch back.
    void syncFullscreen() { m_controls.syncFullscreen(); }
    bool isFullscreenChecked() const { return m_controls.isFullscreenKnown(); }

    // OK for the OK button, Cancel for any other; one answer until the panel has gone.
    static bool apply(cSceneNode* button);
    const cOptionsControls& getControls() const { return m_controls; }
    bool isClosing() const { return isDisappearing(); }

protected:
    void appearStep() override;
    void disappearStep() override;
    // OK (true) or Cancel.
    void answer(bool ok) override;

private:
    static bool onVolumeSlider(cSceneNode* slider);

    cOptionsControls m_controls;
};

cOptionsPanel* getOptionsPanel();
