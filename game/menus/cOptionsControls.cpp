#include "game/menus/cOptionsControls.h"

#include "engine/core/cSettingsManager.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "engine/scene/cCheckButton.h"
#include "engine/scene/cCompositePicture.h"
#include "engine/scene/cSlider.h"
#include "engine/scene/cText.h"
#include "game/data/cGameData.h"

namespace {

bool readSetting(const wchar_t* section, const wchar_t* key, bool& value) {
    cSettingsManager* settings = getSettingsManager();
    return settings && settings->getBool(section, key, value);
}

void writeSetting(const wchar_t* section, const wchar_t* key, bool value) {
    if (cSettingsManager* settings = getSettingsManager()) settings->setBool(section, key, value);
}

void setMusic(int32_t volume) {
    if (cGameData* data = getGameData()) data->setMusicVolume(volume);
    if (cSound* sound = getSound()) sound->setMusicVolume(volume);
}

void setSound(int32_t volume) {
    if (cGameData* data = getGameData()) data->setSoundVolume(volume);
    if (cSound* sound = getSound()) sound->setSoundVolume(volume);
}

}  // namespace

cOptionsControls::cOptionsControls(cSceneNode* parent)
    : m_title_picture(new cPicture(parent)),
      m_title_text(new cText(parent)),
      m_music_label(new cText(parent)),
      m_sound_label(new cText(parent)),
      m_ok(new cButton(parent)),
      m_cancel(new cButton(parent)),
      m_fullscreen_box(new cCheckButton(parent)),
      m_cursor_box(new cCheckButton(parent)),
      m_effects_box(new cCheckButton(parent)),
      m_music_slider(new cSlider(parent)),
      m_sound_slider(new cSlider(parent)) {}

void cOptionsControls::load(const cIniFile& ini, ButtonHandler onButton, ButtonHandler onSlider) {
    m_title_picture->loadFromIni(ini, L"TITLE");
    m_title_text->loadFromIni(ini, L"TEXT_TITLE");
    m_music_label->loadFromIni(ini, L"TEXT_MUSIC_VOL");
    m_sound_label->loadFromIni(ini, L"TEXT_SOUND_VOL");
    m_ok->loadFromIni(ini, L"BUTTON_OK");
    m_cancel->loadFromIni(ini, L"BUTTON_CANCEL");
    m_ok->setClickHandler(onButton);
    m_cancel->setClickHandler(onButton);
    m_fullscreen_box->loadFromIni(ini, L"CHECKUTTON_FULLSCREEN");
    m_cursor_box->loadFromIni(ini, L"CHECKUTTON_CURSOR");
    m_effects_box->loadFromIni(ini, L"CHECKUTTON_EFFECTS");
    m_music_slider->loadFromIni(ini, L"TRACKBAR_MUSIC");
    m_sound_slider->loadFromIni(ini, L"TRACKBAR_SOUND");
    m_music_slider->setChangeHandler(onSlider);
    m_sound_slider->setChangeHandler(onSlider);
}

void cOptionsControls::attachTo(cCompositePicture& composite) const {
    cSprite* parts[] = {m_title_picture, m_title_text,     m_music_label, m_sound_label,
                        m_ok,            m_cancel,         m_fullscreen_box, m_cursor_box,
                        m_effects_box,   m_music_slider,   m_sound_slider};
    for (cSprite* part : parts) composite.attach(part);
}

void cOptionsControls::readSettings() {
    readSetting(L"Graphics", L"fullscreen", m_fullscreen);
    readSetting(L"Graphics", L"hardware_cursor", m_hardware_cursor);
    readSetting(L"Performance", L"enable_full_effects", m_full_effects);
    m_fullscreen_box->setChecked(m_fullscreen);
    m_cursor_box->setChecked(!m_hardware_cursor);
    m_effects_box->setChecked(m_full_effects);
}

void cOptionsControls::readVolumes() {
    cGameData* data = getGameData();
    if (!data) return;
    m_music_at_opening = data->getMusicVolume();
    m_sound_at_opening = data->getSoundVolume();
    m_music_slider->setValue(m_music_at_opening);
    m_sound_slider->setValue(m_sound_at_opening);
}

void cOptionsControls::onSliderChanged(const cSceneNode* slider) const {
    if (slider == m_music_slider)
        setMusic(m_music_slider->getValue());
    else if (slider == m_sound_slider)
        setSound(m_sound_slider->getValue());
}

void cOptionsControls::applyOk() {
    // 1. The volumes (the sound manager has them from the sliders already).
    m_music_at_opening = m_music_slider->getValue();
    m_sound_at_opening = m_sound_slider->getValue();
    if (cGameData* data = getGameData()) {
        data->setMusicVolume(m_music_at_opening);
        data->setSoundVolume(m_sound_at_opening);
    }
    // 2. Full screen: the renderer switches at its next frame.
    if (m_fullscreen_box->isChecked() != m_fullscreen) {
        m_fullscreen = m_fullscreen_box->isChecked();
        writeSetting(L"Graphics", L"fullscreen", m_fullscreen);
        if (cGraphics* graphics = getGraphics()) graphics->requestReset(true);
    }
    // 3. The cursor box shows the negation: it changed when it equals the known value.
    if (m_cursor_box->isChecked() == m_hardware_cursor) {
        m_hardware_cursor = !m_cursor_box->isChecked();
        writeSetting(L"Graphics", L"hardware_cursor", m_hardware_cursor);
        if (cInput* input = getInput()) input->setHardwareCursor(m_hardware_cursor);
    }
    // 4. Effects: their users read the setting when they next need it.
    if (m_effects_box->isChecked() != m_full_effects) {
        m_full_effects = m_effects_box->isChecked();
        writeSetting(L"Performance", L"enable_full_effects", m_full_effects);
    }
    // 5. The game data keeps the volumes.
    if (cGameData* data = getGameData()) data->saveNow();
}

void cOptionsControls::applyCancel() const {
    setMusic(m_music_at_opening);
    setSound(m_sound_at_opening);
}

void cOptionsControls::syncFullscreen() {
    bool fullscreen = true;
    readSetting(L"Graphics", L"fullscreen", fullscreen);
    m_fullscreen = fullscreen;
    m_fullscreen_box->setChecked(fullscreen);
}

void cOptionsControls::guardFullscreenBox() const {
    cGraphics* graphics = getGraphics();
    if (!graphics || graphics->canRunWindowed() || !graphics->isFullscreen()) return;
    m_fullscreen_box->hide();
    m_fullscreen_box->disable();
}
