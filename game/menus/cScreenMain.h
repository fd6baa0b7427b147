#pragma once
// Menu screen 1: the logo, two main pictures, a welcome line with the player's name and six
// buttons. Its ten parts fly in one after another when the screen is built (the last button
// rests about 1.7 s later; only then does the screen listen) and fly out together in 0.3 s
// when a button is pressed; the button decides the result. The screen binds no keys.
//
// On the first runs (setting Performance/perform_performance_test, read every frame) it also
// watches the frame rate: from 2 s after it was built it averages the timer's frame rate and,
// at or below the fps of its COMMON section, shows the menu's performance prompt and turns
// the full effects off. A button, Alt+Enter or the screen's deletion end the check for good.

#include <array>

#include "engine/core/cString.h"
#include "engine/core/cVector2.h"
#include "engine/scene/cMotion.h"
#include "game/menus/cMenuScreen.h"

class cButton;
class cPicture;
class cSprite;
class cText;

class cScreenMain : public cMenuScreen {
public:
    static constexpr const char* kConfig = "Config/Menu/screen_main.ini";
    enum Result : int32_t {
        RESULT_PLAY = 1,
        RESULT_HIGHSCORES = 2,
        RESULT_OPTIONS = 3,
        RESULT_HELP = 4,
        RESULT_EXIT = 5,
        RESULT_PLAYER_SETUP = 6,
    };
    // The parts in the order of their flights.
    enum Part {
        PART_LOGO,
        PART_MAIN_PICTURE,
        PART_MAIN_OVERLAY,
        PART_WELCOME,
        PART_PLAYER_SETUP,
        PART_PLAY,
        PART_HIGHSCORE,
        PART_OPTIONS,
        PART_HELP,
        PART_EXIT,
        PART_COUNT,
    };
    // When each part starts to fly in, seconds after the screen was built.
    static constexpr std::array<float, PART_COUNT> kStartTimes = {0.0f, 0.4f, 0.2f, 0.4f, 0.4f,
                                                                  0.6f, 0.7f, 0.8f, 0.9f, 1.0f};
    static constexpr float kOffRightX = 1100.0f;
    static constexpr float kOffLeftX = -300.0f;
    // Where the logo starts on the first visit of the run.
    static constexpr float kFirstLogoX = 400.0f, kFirstLogoY = 300.0f;
    // Interface time before the first frame-rate sample.
    static constexpr float kCheckWait = 2.0f;

    cScreenMain(cSceneNode* parent, bool firstVisit);
    ~cScreenMain() override;

    void update() override;
    // The node keys and the background, fps of the section, then the parts' sections.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;
    bool isComplete() override { return m_step == STEP_NONE; }

    void updateWelcome();
    void startFlyIn();
    void startFlyOut();
    // Ends the frame-rate check for good (the setting too).
    void cancelPerformanceCheck();

    cSprite* getPart(Part part) const { return m_parts[part]; }
    cButton* getButton(Result result) const;
    cText* getWelcomeText() const { return m_welcome; }
    const cVector2& getHomePosition(Part part) const { return m_home[part]; }
    const cVector2& getOffPosition(Part part) const { return m_off[part]; }
    bool isFlying() const { return m_step != STEP_NONE; }
    bool isCheckActive() const { return m_check_active; }
    bool isSampled() const { return m_sampled; }
    float getAverageFps() const { return m_average_fps; }
    float getFpsThreshold() const { return m_fps_threshold; }

private:
    enum Step { STEP_NONE, STEP_FLY_IN, STEP_FLY_OUT };

    static bool onButtonClick(cSceneNode* button);
    void flyInStep();
    void flyOutStep();
    void checkPerformance(float dt);
    void showPerformancePrompt();

    cPicture* m_logo = nullptr;
    cPicture* m_main_picture = nullptr;
    cPicture* m_main_overlay = nullptr;
    cText* m_welcome = nullptr;
    cStringW m_welcome_template;
    cButton* m_play = nullptr;
    cButton* m_highscore = nullptr;
    cButton* m_options = nullptr;
    cButton* m_help = nullptr;
    cButton* m_exit = nullptr;
    cButton* m_player_setup = nullptr;
    std::array<cSprite*, PART_COUNT> m_parts{};
    std::array<cMotion, PART_COUNT> m_motions{};
    std::array<cVector2, PART_COUNT> m_home{};
    std::array<cVector2, PART_COUNT> m_off{};
    float m_elapsed = 0.0f;
    bool m_first_visit = false;
    Step m_step = STEP_NONE;
    bool m_check_active = false;
    float m_average_fps = 0.0f;
    bool m_sampled = false;
    float m_check_wait = kCheckWait;
    float m_fps_threshold = 0.0f;
};
