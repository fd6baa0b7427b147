// The options dialog over the game (cOptionsPanel) and the menu's options screen (screen 3):
// what OK and Cancel write, the slide and its pauses, Alt+Enter, the small desktop, and one
// answer per opening.
#include <functional>

#include "engine/scene/cCheckButton.h"
#include "engine/scene/cSlider.h"
#include "game/menus/cMenuPanel.h"
#include "game/menus/cOptionsPanel.h"
#include "game/menus/cScreenOptions.h"
#include "platform/audio/Audio.h"
#include "tests/game/menus/test_dialogs_fixture.h"

namespace {

using namespace menus_test;

bool settingOf(const wchar_t* section, const wchar_t* key) {
    bool value = false;
    getSettingsManager()->getBool(section, key, value);
    return value;
}

platform::audio::State musicState() { return platform::audio::state(getSound()->musicChannel()); }

// One dialog under test: the panel or the screen, opened afresh.
struct Dialog {
    const char* name;
    std::function<const cOptionsControls&()> controls;
    std::function<bool()> atRest;  // arrived and listening
    std::function<bool()> gone;    // slid out after an answer
};

class OptionsTest : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        data->addProfile(L"Ann");  // something to save
        resetSettings();
    }
    void TearDown() override {
        delete screen;
        delete panel;
        DialogFixture::TearDown();
    }
    void resetSettings() {
        getSettingsManager()->setBool(L"Graphics", L"fullscreen", false);
        getSettingsManager()->setBool(L"Graphics", L"hardware_cursor", false);
        getSettingsManager()->setBool(L"Performance", L"enable_full_effects", true);
        getInput()->setHardwareCursor(false);
        data->setMusicVolume(80);
        data->setSoundVolume(70);
        getSound()->setMusicVolume(80);
        getSound()->setSoundVolume(70);
        if (getGraphics()->isFullscreen()) {
            getGraphics()->requestReset(true);
            frame();
        }
        getGraphics()->requestReset(false);
    }
    Dialog openPanel() {
        if (!panel) panel = new cOptionsPanel(root.get());
        panel->show(true);
        return {"panel", [this]() -> const cOptionsControls& { return panel->getControls(); },
                [this] { return panel->isVisible() && panel->isActive() && panel->isComplete(); },
                [this] { return !panel->isVisible(); }};
    }
    Dialog openScreen() {
        delete screen;
        screen = new cScreenOptions(root.get());
        return {"screen", [this]() -> const cOptionsControls& { return screen->getControls(); },
                [this] { return screen->getPanel()->isActive() && !screen->getPanel()->isSliding(); },
                [this] { return screen->isFinished(); }};
    }

    cOptionsPanel* panel = nullptr;
    cScreenOptions* screen = nullptr;
};

TEST_F(OptionsTest, OkWritesWhatChangedCancelRestoresTheVolumes) {
    enum Box { NONE, FULLSCREEN, CURSOR, EFFECTS };
    struct Case {
        Box box;
        bool ok;
    };
    const Case cases[] = {{NONE, true},  {NONE, false},    {FULLSCREEN, true}, {FULLSCREEN, false},
                          {CURSOR, true}, {CURSOR, false}, {EFFECTS, true},    {EFFECTS, false}};
    for (bool onScreen : {false, true}) {
        for (const Case& c : cases) {
            resetSettings();
            forgetSave();
            Dialog d = onScreen ? openScreen() : openPanel();
            const std::string label = std::string(d.name) + " box " + std::to_string(c.box) + (c.ok ? " OK" : " Cancel");
            ASSERT_TRUE(framesUntil(d.atRest)) << label;
            const cOptionsControls& controls = d.controls();
            // As read: full screen off, own cursor on (hardware cursor off), effects on.
            EXPECT_FALSE(controls.getFullscreenBox()->isChecked()) << label;
            EXPECT_TRUE(controls.getCursorBox()->isChecked()) << label;
            EXPECT_TRUE(controls.getEffectsBox()->isChecked()) << label;
            EXPECT_EQ(controls.getMusicSlider()->getValue(), 80) << label;
            // The sliders act at once, on the sound manager and the game data.
            controls.getMusicSlider()->setValue(30);
            controls.getSoundSlider()->setValue(20);
            EXPECT_EQ(getSound()->getMusicVolume(), 30u) << label;
            EXPECT_EQ(data->getSoundVolume(), 20) << label;
            cCheckButton* boxes[] = {nullptr, controls.getFullscreenBox(), controls.getCursorBox(), controls.getEffectsBox()};
            if (cCheckButton* box = boxes[c.box]) box->setChecked(!box->isChecked());
            key(c.ok ? KEY_ENTER : KEY_ESCAPE);
            const bool wrote = c.ok;
            EXPECT_EQ(settingOf(L"Graphics", L"fullscreen"), wrote && c.box == FULLSCREEN) << label;
            EXPECT_EQ(getGraphics()->isResetRequested() || getGraphics()->isFullscreen(), wrote && c.box == FULLSCREEN)
                << label;
            EXPECT_EQ(settingOf(L"Graphics", L"hardware_cursor"), wrote && c.box == CURSOR) << label;
            EXPECT_EQ(getInput()->isHardwareCursor(), wrote && c.box == CURSOR) << label;
            EXPECT_EQ(settingOf(L"Performance", L"enable_full_effects"), !(wrote && c.box == EFFECTS)) << label;
            EXPECT_EQ(saved(), c.ok) << label;
            EXPECT_EQ(data->getMusicVolume(), c.ok ? 30 : 80) << label;
            EXPECT_EQ(data->getSoundVolume(), c.ok ? 20 : 70) << label;
            EXPECT_EQ(getSound()->getMusicVolume(), c.ok ? 30u : 80u) << label;
            EXPECT_EQ(getSound()->getSoundVolume(), c.ok ? 20u : 70u) << label;
            ASSERT_TRUE(framesUntil(d.gone)) << label;
        }
    }
    resetSettings();
}

TEST_F(OptionsTest, AfterAltEnterTheBoxFollowsAndOkDoesNotSwitchBack) {
    for (bool onScreen : {false, true}) {
        resetSettings();
        Dialog d = onScreen ? openScreen() : openPanel();
        ASSERT_TRUE(framesUntil(d.atRest)) << d.name;
        // What the root object's Alt+Enter does: the setting flips, a reset comes, the boxes follow.
        getSettingsManager()->setBool(L"Graphics", L"fullscreen", true);
        if (onScreen)
            screen->syncFullscreen();
        else
            panel->syncFullscreen();
        getGraphics()->requestReset(false);
        EXPECT_TRUE(d.controls().getFullscreenBox()->isChecked()) << d.name;
        key(KEY_ENTER);
        EXPECT_TRUE(settingOf(L"Graphics", L"fullscreen")) << d.name;
        EXPECT_FALSE(getGraphics()->isResetRequested()) << d.name;
        ASSERT_TRUE(framesUntil(d.gone)) << d.name;
    }
    resetSettings();
}

TEST_F(OptionsTest, ThePanelSlidesPausedWithMusicAndClosesPausedWithout) {
    getSound()->playMusic("music/world1.ogg", true, true, false, 0.0f);
    getSound()->pauseMusic();
    ASSERT_FALSE(paused());
    panel = new cOptionsPanel(root.get());
    // Built hidden and disabled, parked above the screen; a second one is refused.
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(panel->isEnabled());
    EXPECT_EQ(panel->getPosition().y, cPanel::kHiddenY);
    try {
        cOptionsPanel second(root.get());
        ADD_FAILURE() << "a second options panel was built";
    } catch (const char* text) {
        EXPECT_STREQ(text, "Object already exist.");
    }
    EXPECT_EQ(getOptionsPanel(), panel);

    // The call alone changes nothing; the first step shows it, pauses the logic, plays music.
    panel->show(true);
    EXPECT_FALSE(panel->isVisible());
    frame();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(paused());
    EXPECT_EQ(musicState(), platform::audio::State::Playing);
    // The overlay leads; the panel waits until the overlay's curve has passed 3.0.
    EXPECT_GT(panel->getBackground()->getPosition().y, cPanel::kHiddenY);
    EXPECT_EQ(panel->getPosition().y, cPanel::kHiddenY);
    // Inert while it slides: Escape does nothing, the widgets ignore the mouse.
    panel->getControls().getMusicSlider()->setValue(10);
    key(KEY_ESCAPE);
    EXPECT_FALSE(panel->isClosing());
    EXPECT_FALSE(panel->getControls().getOkButton()->isActive());
    ASSERT_TRUE(framesUntil([&] { return panel->isActive() && panel->isComplete(); }));
    EXPECT_EQ(panel->getPosition(), panel->getShownPosition());

    // Enter and a click on Cancel in one frame: the key comes first and is the only answer.
    const cVector2 cancel = panel->getControls().getCancelButton()->getPosition();
    platform::input::injectCursor(cancel.x, cancel.y);
    frame();
    platform::input::injectButton(0, true);
    frame();
    platform::input::injectKey(KEY_ENTER, true);
    platform::input::injectButton(0, false);
    frame();
    platform::input::injectKey(KEY_ENTER, false);
    EXPECT_TRUE(panel->isClosing());
    EXPECT_EQ(data->getMusicVolume(), 10);  // OK kept it; a Cancel after it would have restored 80

    // Closed: hidden, disabled, finished, music paused, the logic still paused for the opener.
    ASSERT_TRUE(framesUntil([&] { return !panel->isVisible(); }));
    EXPECT_FALSE(panel->isEnabled());
    EXPECT_TRUE(panel->isFinished());
    EXPECT_TRUE(panel->isComplete());
    EXPECT_EQ(musicState(), platform::audio::State::Paused);
    EXPECT_TRUE(paused());
    getLogic()->setPaused(false);
    resetSettings();
}

TEST_F(OptionsTest, NoWindowedModeOnASmallDesktopInFullScreen) {
    cGraphics::setDesktopWidthOverride(800);
    getSettingsManager()->setBool(L"Graphics", L"fullscreen", true);
    getGraphics()->requestReset(true);
    frame();
    ASSERT_TRUE(getGraphics()->isFullscreen());
    for (int opening = 0; opening < 2; ++opening) {
        Dialog d = opening == 0 ? openPanel() : openScreen();
        ASSERT_TRUE(framesUntil(d.atRest)) << d.name;
        EXPECT_FALSE(d.controls().getFullscreenBox()->isVisible()) << d.name;
        EXPECT_FALSE(d.controls().getFullscreenBox()->isEnabled()) << d.name;
        EXPECT_TRUE(d.controls().getCursorBox()->isVisible()) << d.name;
        key(KEY_ESCAPE);
        ASSERT_TRUE(framesUntil(d.gone)) << d.name;
    }
    // Reopened, the panel hides the box again.
    Dialog again = openPanel();
    ASSERT_TRUE(framesUntil(again.atRest));
    EXPECT_FALSE(again.controls().getFullscreenBox()->isVisible());
    genv->saveFrame("options_panel_small_desktop.png");
    cGraphics::setDesktopWidthOverride(0);
    getLogic()->setPaused(false);
    resetSettings();
}

}  // namespace
