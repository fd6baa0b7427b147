#pragma once
// Menu screen 6: a menu panel drops in with a title picture, a title text and YES and NO. YES
// quits (result 0), NO returns to the main screen (result 1). Enter answers YES unless an Alt
// key is held (Alt+Enter toggles full screen), Escape answers NO; both only while the panel is
// active, so not while it slides. The screen finishes once the panel has slid out. With a
// panel alpha of 200 or less, YES starts the menu's fade-out during the slide-out already.
// While this screen is current the window's close request is ignored. Always complete.

#include "game/menus/cMenuScreen.h"

class cButton;
class cMenuPanel;
class cPicture;
class cText;

class cScreenExit : public cMenuScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/screen_exit.ini";
    enum Result : int32_t { RESULT_YES = 0, RESULT_NO = 1 };
    // A panel at this alpha or below lets the menu fade out during the slide-out after YES.
    static constexpr uint32_t kEarlyFadeAlpha = 200;

    explicit cScreenExit(cSceneNode* parent);
    ~cScreenExit() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Bind and remove Enter and Escape.
    void onEnable() override;
    void onDisable() override;
    bool isComplete() override { return true; }

    cMenuPanel* getPanel() const { return m_panel; }
    cButton* getYesButton() const { return m_yes; }
    cButton* getNoButton() const { return m_no; }
    bool isClosing() const { return m_closing; }

private:
    static bool onButtonClick(cSceneNode* button);
    static void onEnter(void* screen);
    static void onEscape(void* screen);
    void answer(cButton* button);

    cMenuPanel* m_panel = nullptr;
    cPicture* m_title_picture = nullptr;
    cText* m_title_text = nullptr;
    cButton* m_yes = nullptr;
    cButton* m_no = nullptr;
    bool m_closing = false;
};

// True while either Alt key is held (Enter then belongs to the full-screen toggle); defined
// with the in-game panels, which share it.
bool isAltHeld();
