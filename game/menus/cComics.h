#pragma once
// Application state 2: the picture story of the game data's comics number (1 to 4), shown
// before a world begins and after the last level. The state fades in from black, shows page 1,
// turns to the next page at once on NEXT or Enter (not Alt+Enter), and on NEXT at the last
// page finishes (result 0) and fades out; it is complete one frame after black. During either
// fade nothing reacts. Plays the mini game's music (paused while the window is inactive);
// its deletion stops all sounds and fades the music out.

#include <vector>

#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "engine/scene/cSceneNode.h"
#include "game/interface/cCompletion.h"
#include "game/menus/cBrightnessFade.h"

class cButton;
class cCursor;
class cPicture;

class cComics : public cSceneNode, public cCompletion {
public:
    static constexpr const char* kConfig = "Config/comics.ini";

    explicit cComics(cSceneNode* parent);
    ~cComics() override;

    void update() override;
    // The node keys of the section; the page picture from COMMON; picture_<i> and
    // position_<i> of the section until the first empty picture; the NEXT button.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Bind and remove Enter.
    void onEnable() override;
    void onDisable() override;
    bool isComplete() override { return !m_fade.isRunning(); }

    // NEXT: the following page, or after the last one finished and the fade-out.
    void next();
    uint32_t getPageCount() const { return static_cast<uint32_t>(m_textures.size()); }
    uint32_t getCurrentPage() const { return m_current_page; }
    cPicture* getPicture() const { return m_picture; }
    cButton* getNextButton() const { return m_next; }
    cCursor* getOwnCursor() const { return m_cursor; }
    bool isFading() const { return m_fade.isRunning(); }

private:
    static bool onNext(cSceneNode* button);
    static void onEnter(void* comics);
    void showPage(uint32_t page);

    std::vector<cStringA> m_textures;
    std::vector<cVector2> m_positions;
    uint32_t m_current_page = 0;
    cPicture* m_picture = nullptr;
    cButton* m_next = nullptr;
    cCursor* m_cursor = nullptr;
    cBrightnessFade m_fade;
};
