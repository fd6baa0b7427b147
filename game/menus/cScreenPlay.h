#pragma once
// Menu screen 2: the campaign as six pages of ten level buttons (cPreviewPanel), a sliding
// frame with a title and the buttons PREV, NEXT, START and BACK, and the game-mode panel.
//
// The frame drops in from y = -350; once its curve has passed 3.0 the page of the game data's
// current level (the first page for a level outside 1..60) enters from the left, and the
// screen listens once both have arrived. PREV and NEXT leaf through the pages (disabled on
// the first and the last page). START starts the current level (result 0), or, while the
// profile has no game mode, opens the game-mode panel, which starts the level once a mode
// is chosen; BACK returns (result 1). Enter acts as START (not with Alt held, so Alt+Enter
// stays the full-screen toggle) and Escape as BACK, both while the frame listens. While the
// shown page does not hold the current level START ignores the mouse; Enter still starts
// the current level. The frame and the page leave upwards in 0.3 s; the screen finishes when
// the frame has left.
//
// While the game-mode panel is shown only the panel takes the mouse; while the game-wide
// confirm-exit panel is shown the screen does not make itself listen again.
//
// Layout: "Config/Menu/screen_play.ini" (COMMON, PANEL, TITLE, TEXT_TITLE, BUTTON_PREV,
// BUTTON_NEXT, BUTTON_START, BUTTON_BACK); the pages and the panel read their own files.

#include <array>
#include <cstdint>

#include "engine/core/cVector2.h"
#include "engine/scene/cMotion.h"
#include "game/menus/cMenuScreen.h"

class cButton;
class cCompositePicture;
class cPanelGameMode;
class cPicture;
class cPreviewPanel;
class cText;

class cScreenPlay : public cMenuScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/screen_play.ini";
    enum Result : int32_t { RESULT_START = 0, RESULT_BACK = 1 };
    static constexpr int kPageCount = 6;
    static constexpr float kOffY = -350.0f;
    // The frame's curve parameter after which the first page starts to enter.
    static constexpr float kPageFollowsAt = 3.0f;

    explicit cScreenPlay(cSceneNode* parent);
    ~cScreenPlay() override;

    void update() override;
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    // Bind and remove Enter and Escape.
    void onEnable() override;
    void onDisable() override;
    bool isComplete() override { return m_step == nullptr; }

    // Result 0 and the slide-out (START, and the game-mode panel after a mode).
    void start();
    // Result 1 and the slide-out.
    void back();
    // Every level of every page can be chosen (a debug command).
    void unlockAllLevels();
    // The click handler of the four buttons; public for the keys' sake and for tests.
    static bool onButton(cSceneNode* button);

    // The page index (0..5) of a level; any other level keeps previous.
    static int pageOf(int32_t level, int previous);

    cCompositePicture* getFrame() const { return m_frame; }
    cButton* getPrevButton() const { return m_prev; }
    cButton* getNextButton() const { return m_next; }
    cButton* getStartButton() const { return m_start; }
    cButton* getBackButton() const { return m_back; }
    cPanelGameMode* getGameModePanel() const { return m_game_mode; }
    // Page 0 to 5 (null otherwise).
    cPreviewPanel* getPage(int index) const;
    int getShownPage() const { return m_shown_page; }
    int getCurrentLevelPage() const { return m_current_page; }
    const cVector2& getHomePosition() const { return m_home; }

private:
    void slideIn();
    void slideOut();
    void stepSlideIn();
    void stepSlideOut();
    void updateArrows();
    static void onEnterKey(void* screen);
    static void onEscapeKey(void* screen);

    cCompositePicture* m_frame = nullptr;
    cPicture* m_title_picture = nullptr;
    cText* m_title_text = nullptr;
    cButton* m_prev = nullptr;
    cButton* m_next = nullptr;
    cButton* m_start = nullptr;
    cButton* m_back = nullptr;
    cPanelGameMode* m_game_mode = nullptr;
    std::array<cPreviewPanel*, kPageCount> m_pages{};
    int m_shown_page = 0;
    int m_current_page = 0;
    void (cScreenPlay::*m_step)() = nullptr;
    cMotion m_motion;
    cVector2 m_home;
    cVector2 m_off;
    bool m_page_called = false;
};
