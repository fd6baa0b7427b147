#pragma once
// Menu screen 5: the help as a sequence of full pictures on a menu panel, with FORWARD and
// BACKWARD to leaf through them and OK (or Enter, not with Alt held) to return. The pages are
// the values of picture_1, picture_2, ... of section PICTURE, each taken whole, up to the
// first empty or absent one; without any, the page picture keeps the picture of its own
// section and both arrows are disabled. An arrow is disabled where there is no page in its
// direction. The screen finishes once the panel has slid out after OK; always complete.
//
// Layout: "Config/Menu/screen_help.ini" (COMMON, PANEL, PANEL_ADD, TITLE, TEXT_TITLE,
// PICTURE, BUTTON_OK, BUTTON_FORWARD, BUTTON_BACKWARD).

#include <vector>

#include "engine/core/cString.h"
#include "game/menus/cMenuScreen.h"

class cButton;
class cMenuPanel;
class cPicture;
class cText;

class cScreenHelp : public cMenuScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/screen_help.ini";

    explicit cScreenHelp(cSceneNode* parent);
    ~cScreenHelp() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Bind and remove Enter.
    void onEnable() override;
    void onDisable() override;
    bool isComplete() override { return true; }

    // Shows page n when there is one; the arrows follow in any case.
    void showPage(unsigned n);

    cMenuPanel* getPanel() const { return m_panel; }
    cPicture* getPagePicture() const { return m_page_picture; }
    cButton* getOkButton() const { return m_ok; }
    cButton* getForwardButton() const { return m_forward; }
    cButton* getBackwardButton() const { return m_backward; }
    unsigned getCurrentPage() const { return m_current; }
    const std::vector<cStringA>& getPages() const { return m_pages; }
    bool isClosing() const { return m_closing; }

private:
    void updateArrows();
    static bool onButton(cSceneNode* button);
    static void onEnterKey(void* screen);

    cMenuPanel* m_panel = nullptr;
    cPicture* m_title_picture = nullptr;
    cText* m_title_text = nullptr;
    cPicture* m_page_picture = nullptr;
    cButton* m_ok = nullptr;
    cButton* m_forward = nullptr;
    cButton* m_backward = nullptr;
    unsigned m_current = 0;
    std::vector<cStringA> m_pages;
    bool m_closing = false;
};
