#pragma once
// The controls shared by the options panel over the game and the menu's options screen: a
// title picture and text, two labels, OK and Cancel, three check boxes bound to settings and
// two volume sliders. The sliders act at once, on the sound manager and on the game data
// alike; OK writes each check box that changed and saves the game data; Cancel puts both
// volumes back as they were when the controls were last read.
//
// The check boxes: full screen shows Graphics/fullscreen, the cursor box the negation of
// Graphics/hardware_cursor (checked: the game draws its own cursor), effects shows
// Performance/enable_full_effects. A setting that is missing leaves the known value as it was.
// Settings reach the settings file when the program ends; the full-screen change needs a
// device reset, which the renderer runs at the start of the next frame.

#include <cstdint>

#include "engine/core/cString.h"
#include "engine/scene/cButton.h"

class cCheckButton;
class cCompositePicture;
class cIniFile;
class cPicture;
class cSceneNode;
class cSlider;
class cText;

class cOptionsControls {
public:
    // Creates the eleven parts with parent as their scene parent (which owns them).
    explicit cOptionsControls(cSceneNode* parent);

    // The parts' loaders on their sections of ini; both buttons get onButton, both sliders
    // onSlider as their handlers.
    void load(const cIniFile& ini, ButtonHandler onButton, ButtonHandler onSlider);
    // Attaches the parts to a composite in their order (title picture first).
    void attachTo(cCompositePicture& composite) const;

    // The three settings into the known values and the boxes.
    void readSettings();
    // The game data's volumes into the volumes at opening and the sliders.
    void readVolumes();
    // A slider moved: its value to the sound manager and the game data at once.
    void onSliderChanged(const cSceneNode* slider) const;
    // OK: the volumes become the volumes at opening, each changed box is written, then the
    // game data is saved.
    void applyOk();
    // Cancel: both volumes back to those at opening, music first.
    void applyCancel() const;
    // After Alt+Enter: Graphics/fullscreen (true when missing) into the box and the known value.
    void syncFullscreen();
    // Windowed mode is not offered on a desktop no wider than 800 pixels in full screen: the
    // full-screen box is hidden and disabled then.
    void guardFullscreenBox() const;

    bool isOkButton(const cSceneNode* button) const { return button == m_ok; }
    cButton* getOkButton() const { return m_ok; }
    cButton* getCancelButton() const { return m_cancel; }
    cCheckButton* getFullscreenBox() const { return m_fullscreen_box; }
    cCheckButton* getCursorBox() const { return m_cursor_box; }
    cCheckButton* getEffectsBox() const { return m_effects_box; }
    cSlider* getMusicSlider() const { return m_music_slider; }
    cSlider* getSoundSlider() const { return m_sound_slider; }
    int32_t getMusicAtOpening() const { return m_music_at_opening; }
    int32_t getSoundAtOpening() const { return m_sound_at_opening; }
    bool isFullscreenKnown() const { return m_fullscreen; }
    bool isHardwareCursorKnown() const { return m_hardware_cursor; }
    bool isFullEffectsKnown() const { return m_full_effects; }

private:
    cPicture* m_title_picture = nullptr;
    cText* m_title_text = nullptr;
    cText* m_music_label = nullptr;
    cText* m_sound_label = nullptr;
    cButton* m_ok = nullptr;
    cButton* m_cancel = nullptr;
    cCheckButton* m_fullscreen_box = nullptr;
    cCheckButton* m_cursor_box = nullptr;
    cCheckButton* m_effects_box = nullptr;
    cSlider* m_music_slider = nullptr;
    cSlider* m_sound_slider = nullptr;
    int32_t m_music_at_opening = 0;
    int32_t m_sound_at_opening = 0;
    bool m_fullscreen = false;
    bool m_hardware_cursor = false;
    bool m_full_effects = false;
};
