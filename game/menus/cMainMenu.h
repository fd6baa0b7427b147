#pragma once
// Application state 3, the main menu between the logo or a level and the game. It owns ten
// screens of which one is shown at a time: it builds a screen when it is switched to and
// deletes it once it is hidden and complete, cross-fades a full-screen background towards the
// background each screen names, plays a switching sound, fades the whole picture in and out,
// and keeps the software cursor and the performance prompt. It finishes with result 1 (play
// the current level) or 2 (quit), complete one frame after the fade-out has reached black.
//
// The first visit of a run (a flag of the program, not of the object) starts at full
// brightness at once; later visits fade in from what the previous state left.

#include <array>
#include <cstdint>

#include "engine/core/cString.h"
#include "engine/scene/cSceneNode.h"
#include "game/interface/cCompletion.h"
#include "game/menus/cBrightnessFade.h"

class cCursor;
class cMenuScreen;
class cPanelPerformance;
class cPicture;

class cMainMenu : public cSceneNode, public cCompletion {
public:
    static constexpr const char* kConfig = "Config/Menu/common_mainmenu.ini";
    static constexpr int kScreenCount = 10;
    enum ScreenId : int32_t {
        kNoScreen = 0,
        kMainScreen = 1,
        kPlayScreen = 2,
        kOptionsScreen = 3,
        kHighscoreScreen = 4,
        kHelpScreen = 5,
        kExitScreen = 6,
        kPlayerSetupScreen = 7,
        kPlayerSetupStartScreen = 8,
        kGameModeScreen = 9,
        kPerformanceTestScreen = 10,
    };
    // The switching sounds, played in turn.
    static constexpr std::array<const char*, 3> kSwitchSounds = {
        "sounds/menu/switch_screen1.ogg", "sounds/menu/switch_screen2.ogg", "sounds/menu/switch_screen3.ogg"};

    // startScreen: 1 the main screen, 2 the play screen; 8 whatever it is while the game data
    // has no profile.
    cMainMenu(cSceneNode* parent, int32_t startScreen);
    ~cMainMenu() override;

    void update() override;
    // The node keys of the section; both backgrounds from BACKGROUND (the upper one 0.3
    // nearer), the cursor from its own file, background_time_change from COMMON.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    bool isComplete() override { return !m_fade.isRunning(); }

    // Builds screen id at the next chance; a switch to a screen (not 0) plays the next sound.
    void switchTo(int32_t id);
    void startFadeIn() { m_fade.start(cBrightnessFade::IN); }
    void startFadeOut() { m_fade.start(cBrightnessFade::OUT); }
    bool isFading() const { return m_fade.isRunning(); }
    bool isFadingOut() const { return m_fade.getDirection() == cBrightnessFade::OUT; }

    // The screen shown or to be built next: 0 none, 1 to 10; 6 is the exit screen.
    int32_t getScreenId() const { return m_screen_id; }
    // The screen object of an id (null while that screen does not exist).
    cMenuScreen* getScreen(int32_t id) const;
    cPanelPerformance* getPerformancePanel() const { return m_performance_panel; }
    cCursor* getOwnCursor() const { return m_cursor; }
    cPicture* getUpperBackground() const { return m_upper_background; }
    cPicture* getLowerBackground() const { return m_lower_background; }
    float getCrossFadeProgress() const { return m_cross_fade; }
    bool isSwitchPending() const { return m_switch_pending; }
    int getSwitchSoundIndex() const { return m_switch_sound; }

    // After Alt+Enter: the options screen shows the full-screen setting again and the main
    // screen ends its frame-rate check.
    void refreshScreens();
    // Debug commands of the root object.
    void cheatOpenAllLevels();
    void cheatReload();

    // The program-wide first-visit flag (true at program start, cleared once the main screen
    // has been built).
    static bool isFirstVisit();
    static void setFirstVisit(bool first);

private:
    void playSwitchSound();
    void actOnResult(int32_t screen, int32_t result);
    // The menu's own end: no screen more, the result, the fade-out, finished.
    void start(int32_t result);
    void buildScreen();
    cMenuScreen* makeScreen(int32_t id);
    void destroyScreens(bool force);
    void startCrossFade(const cStringA& texture);
    void crossFadeStep();
    // The music of the menu, paused while the window is inactive.
    void playMusic();

    int m_switch_sound = 0;
    int32_t m_screen_id = kNoScreen;
    std::array<cMenuScreen*, kScreenCount> m_screens{};
    cPanelPerformance* m_performance_panel = nullptr;
    cCursor* m_cursor = nullptr;
    bool m_switch_pending = true;
    cPicture* m_upper_background = nullptr;
    cPicture* m_lower_background = nullptr;
    float m_cross_fade = 1.0f;
    float m_background_time_change = 0.0f;
    cBrightnessFade m_fade;
};
