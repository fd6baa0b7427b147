#pragma once
// The loading screen of the first entry into the main menu, when the common game files are
// loaded: background, logo, a loading caption and the bar. When it is deleted the caption and
// the bar fall 300 pixels out of view, accelerating, one frame at a time. Configured by
// "Config/Menu/loader_start.ini", section COMMON.

#include "game/flow/cLoadingScreen.h"

class cStartLoader : public cLoadingScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/loader_start.ini";
    // The fall: distance, starting speed and acceleration, in pixels and seconds.
    static constexpr float kFallDistance = 300.0f;
    static constexpr float kFallSpeed = 300.0f;
    static constexpr float kFallAcceleration = 2000.0f;

    cStartLoader();
    // Runs the slide-out before it lets go of its pictures.
    ~cStartLoader() override;

    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void setProgress(uint32_t step, uint32_t count) override;

    cPicture* getCaption() const { return m_caption; }
    cPicture* getBar() const { return m_bar; }
    // Frames the last slide-out ran (tests).
    static unsigned lastSlideFrames();

private:
    void slideOut();

    cPicture* m_background = nullptr;
    cPicture* m_logo = nullptr;
    cPicture* m_caption = nullptr;
    cPicture* m_bar = nullptr;
    cStringA m_background_texture, m_logo_texture, m_caption_texture, m_bar_texture;
    cVector2 m_background_position{400, 300};
    cVector2 m_logo_position{400, 300};
    cVector2 m_caption_position{400, 450};
    cVector2 m_bar_position{400, 450};
    cRect m_bar_rect{0, 0, 256, 128};
    cVector2 m_bar_size{256, 128};
};
