#pragma once
// The loading screen of every list loaded with progress: a background and a bar that grows
// with each step. Configured by "Config/Menu/loader.ini", section COMMON; its two textures
// are loaded into group 0 for its lifetime and unloaded by name when it is deleted.

#include "game/flow/cLoadingScreen.h"

class cLoader : public cLoadingScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/loader.ini";

    cLoader();
    ~cLoader() override;

    // Reads texture_loading, texture_progress, position_loading, position_progress,
    // rect_progress and size_progress of section COMMON (the section argument is not used).
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    void setProgress(uint32_t step, uint32_t count) override;

    cPicture* getBackground() const { return m_background; }
    cPicture* getBar() const { return m_bar; }
    const cRect& getBarRect() const { return m_bar_rect; }
    const cVector2& getBarPosition() const { return m_bar_position; }

private:
    cPicture* m_background = nullptr;
    cPicture* m_bar = nullptr;
    cStringA m_background_texture;
    cStringA m_bar_texture;
    cVector2 m_background_position{400, 300};
    cVector2 m_bar_position{400, 300};
    cRect m_bar_rect{0, 0, 256, 128};
    cVector2 m_bar_size{256, 128};
};
