#pragma once
// Menu screen 3: the menu's own options page with the controls of the game-wide options panel
// (cOptionsControls) on a menu panel. The settings and volumes are read once, when the screen
// is built; the sliders act at once. OK or Cancel (Enter, not with Alt held, and Escape, both
// while the panel is active) slide the panel out; then the screen hides, disables itself and
// finishes, and the menu returns to its main screen. It leaves the logic pause and the music
// alone. Always complete.

#include "game/menus/cMenuScreen.h"
#include "game/menus/cOptionsControls.h"

class cMenuPanel;

class cScreenOptions : public cMenuScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/screen_options.ini";

    explicit cScreenOptions(cSceneNode* parent);
    ~cScreenOptions() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void onEnable() override;
    void onDisable() override;
    bool isComplete() override { return true; }
    // Clearing the flag also puts the sliders back to the volumes at opening and the boxes to
    // the known settings.
    void setFinished(bool finished) override;

    // After Alt+Enter (the menu's refreshScreens).
    void syncFullscreen() { m_controls.syncFullscreen(); }
    bool isFullscreenChecked() const { return m_controls.isFullscreenKnown(); }

    cMenuPanel* getPanel() const { return m_panel; }
    const cOptionsControls& getControls() const { return m_controls; }
    bool isClosing() const { return m_closing; }

private:
    static bool onButtonClick(cSceneNode* button);
    static bool onVolumeSlider(cSceneNode* slider);
    static void onEnterKey(void* screen);
    static void onEscapeKey(void* screen);
    void answer(bool ok);

    cMenuPanel* m_panel = nullptr;
    cOptionsControls m_controls;
    bool m_closing = false;
};
