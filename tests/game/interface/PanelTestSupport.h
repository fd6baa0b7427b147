#pragma once
// The fixture of the in-game panel tests: the headless input manager behind fake scene
// services whose game-time step stops while the logic is paused, a sound manager that records
// what is played, paused and resumed, a resource manager over a private data folder holding
// every panel file, two world files and a test font, and a recording fake game screen that
// owns the panels and answers for the level and the game data.
//
// Every picture is a 64 x 32 fake texture named by its file; the font "fonts/fixed.rwf"
// advances 12 pixels per glyph and 6 for the blank; "fonts/noblank.rwf" has no blank.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/app/cLogic.h"
#include "engine/core/Random.h"
#include "engine/core/cCurveSet.h"
#include "engine/core/cSettingsManager.h"
#include "engine/scene/cButton.h"
#include "engine/scene/cText.h"
#include "game/effects/EffectRegistry.h"
#include "game/interface/PanelFiles.h"
#include "game/interface/cPanelConfirm.h"
#include "game/interface/cPanelContinue.h"
#include "game/interface/cPanelEsc.h"
#include "game/interface/cPanelLevel.h"
#include "game/interface/cPanelStatus.h"
#include "game/interface/cProgressBar.h"
#include "game/scoring/cTempBonuses.h"
#include "tests/engine/scene/test_widget_support.h"

namespace panel_test {

namespace in = platform::input;

// Game time stops with the logic; interface time never does.
class PanelServices : public widget_test::InputFakeServices {
public:
    float getGameDelta() override {
        cLogic* logic = getLogic();
        return logic && logic->isPaused() ? 0.0f : gameDelta;
    }
};

// Samples played and the pause and resume calls, in order ("play:<name>", "pauseAll", ...).
class PanelSound : public cSound {
public:
    std::vector<std::string> events;
    void playSample(const cStringA& name, int) override { events.push_back("play:" + name); }
    void pauseAll() override { events.push_back("pauseAll"); }
    void resumeAll() override { events.push_back("resumeAll"); }
    void pauseMusic() override { events.push_back("pauseMusic"); }
    void resumeMusic() override { events.push_back("resumeMusic"); }
    void stopAll() override { events.push_back("stopAll"); }
    size_t count(const std::string& event) const {
        size_t n = 0;
        for (const std::string& e : events) n += e == event;
        return n;
    }
};

class TestBonuses : public cTempBonuses {
public:
    bool mode = false;
    float fill = 0.0f;
    bool isBonusMode() const override { return mode; }
    float getBarFill() const override { return fill; }
};

// The game screen as the panels see it: a shown and enabled top-level node that owns the
// panels, records every call on it and answers with the values the test sets.
class FakeGameScreen : public cSceneNode, public cLevelPanelOwner {
public:
    std::vector<std::string> calls;
    std::vector<bool> dims;
    bool fading = false, optionsVisible = false, confirmExitVisible = false, goalReached = false;
    uint32_t score = 0, goal = 1000, expertGoal = 2000, bestScore = 0, countedBestScore = 0;
    float levelTime = 120.0f;
    int32_t level = 5, reachedLevel = 5, markedLevel = 5, graphicsSet = 1, difficulty = 0;
    int32_t cash = 700, totalScore = 9000;
    cSceneNode* levelNode = nullptr;

    cPanelEsc* pause = nullptr;
    cPanelLevel* start = nullptr;
    cPanelContinue* results = nullptr;
    cPanelConfirmMenu* confirmMenu = nullptr;
    cPanelConfirmTry* confirmTry = nullptr;
    cPanelStatus* status = nullptr;
    cPanel* statusStandIn = nullptr;   // a status panel of another kind, for the base tests

    FakeGameScreen() {
        show();
        enable();
    }
    // The panels in the game screen's order: pause, level start, results, confirm menu,
    // confirm try, status.
    void buildPanels() {
        pause = new cPanelEsc(this, this);
        start = new cPanelLevel(this, this);
        results = new cPanelContinue(this, this);
        confirmMenu = new cPanelConfirmMenu(this, this, CONFIRM_OWNER_GAME_SCREEN);
        confirmTry = new cPanelConfirmTry(this, this);
        status = new cPanelStatus(this, this);
    }

    cPanel* getStatusPanel() override { return status ? status : statusStandIn; }
    void setDimmed(bool dimmed) override { dims.push_back(dimmed); }
    void hidePauseAndQuitToMenu() override { calls.push_back("hidePauseAndQuitToMenu"); }
    cPanelEsc* getPausePanel() override { return pause; }
    cPanelLevel* getLevelStartPanel() override { return start; }
    cPanelContinue* getResultPanel() override { return results; }
    cPanelConfirmMenu* getConfirmMenuPanel() override { return confirmMenu; }
    cPanelConfirmTry* getConfirmPanel() override { return confirmTry; }
    bool isFading() override { return fading; }
    bool isOptionsPanelVisible() override { return optionsVisible; }
    bool isConfirmExitPanelVisible() override { return confirmExitVisible; }
    void showOptionsPanel() override { calls.push_back("showOptionsPanel"); }
    void exitToMenu(bool record) override { calls.push_back(std::string("exitToMenu(") + (record ? "true)" : "false)")); }
    void restartLevel(int mode) override { calls.push_back("restartLevel(" + std::to_string(mode) + ")"); }
    void continueAfterWin(bool record) override {
        calls.push_back(std::string("continueAfterWin(") + (record ? "true)" : "false)"));
    }
    bool wasGoalReached() override { return goalReached; }
    cSceneNode* getLevelNode() override { return levelNode; }
    uint32_t getScore() override { return score; }
    uint32_t getGoal() override { return goal; }
    uint32_t getExpertGoal() override { return expertGoal; }
    float getLevelTime() override { return levelTime; }
    int32_t getLevel() override { return level; }
    int32_t getLevelInWorld() override { return (level - 1) % 20 + 1; }
    int32_t getWorld() override { return (level - 1) / 20 + 1; }
    int32_t getGraphicsSet() override { return graphicsSet; }
    int32_t getDifficulty() override { return difficulty; }
    int32_t getReachedLevel() override { return reachedLevel; }
    int32_t getMarkedLevel() override { return markedLevel; }
    uint32_t getBestScore() override { return bestScore; }
    uint32_t getCountedBestScore() override { return countedBestScore; }
    int32_t getCash(int32_t first, int32_t last) override {
        calls.push_back("getCash(" + std::to_string(first) + "," + std::to_string(last) + ")");
        return cash;
    }
    int32_t getTotalScore(int32_t n) override {
        calls.push_back("getTotalScore(" + std::to_string(n) + ")");
        return totalScore;
    }
    bool called(const std::string& call) const {
        for (const std::string& c : calls)
            if (c == call) return true;
        return false;
    }
    // The calls that leave the level or open something (not the game-data reads).
    std::vector<std::string> actions() const {
        std::vector<std::string> out;
        for (const std::string& c : calls)
            if (c.rfind("get", 0) != 0) out.push_back(c);
        return out;
    }
};

// ASCII text with "\n" line ends as an INI file (UTF-16LE, CR LF).
std::string iniText(const std::string& text);
// A button section: normal texture named after the section, 100 x 40, at an offset.
std::string buttonSection(const std::string& section, const std::string& offset, const std::string& deep);
// A text section with the fixed font.
std::string textSection(const std::string& section, const std::string& text, const std::string& offset,
                        const std::string& deep, const std::string& font = "fonts/fixed.rwf");
// The files of the fixture.
std::string confirmIni(const std::string& title, int deep);
std::string escIni();
std::string continueIni();
std::string levelPanelIni();
std::string statusIni(const std::string& offGoal = "-20,10", const std::string& offExpert = "-10,5",
                      int clockFrames = 4);
// A world file; "LEVEL_<n>" sections all name "Config/Game/gi_panel_level.ini", with the
// extra sections given appended.
std::string worldIni(const std::string& tag, const std::string& extraLevelKeys = "");

class PanelTest : public ::testing::Test {
protected:
    file_test::TempWorld world;
    std::unique_ptr<cFileManager> files;
    std::unique_ptr<cResourceManager> resources;
    std::unique_ptr<cSettingsManager> settings;
    std::unique_ptr<cLogic> logic;
    std::unique_ptr<TestBonuses> bar;
    PanelServices services;
    cSceneServices* previous = nullptr;
    cInput* input = nullptr;
    PanelSound* sound = nullptr;
    FakeGameScreen* screen = nullptr;

    void SetUp() override;
    void TearDown() override;

    void addFile(const std::string& name, const std::string& bytes);
    void addIni(const std::string& name, const std::string& text);
    void replaceIni(const std::string& name, const std::string& text);
    void setFullEffects(bool on) { settings->setBool(L"Performance", L"enable_full_effects", on); }
    TestBonuses* makeBar() {
        if (!bar) bar = std::make_unique<TestBonuses>();
        return bar.get();
    }

    // One frame of dt seconds (game and interface time): input dispatch, then the top-level
    // updates.
    void frame(float dt = 1.0f / 60.0f);
    void frames(int n, float dt = 1.0f / 60.0f) {
        for (int i = 0; i < n; ++i) frame(dt);
    }
    // Frames until the panel's slide step ends (at most 300).
    void settle(cPanel* panel, float dt = 1.0f / 60.0f);
    // A key pressed (its press code reaches the bindings) in one frame; with alt, a left Alt is
    // held meanwhile.
    void pressKey(uint8_t key, bool alt = false);
    // A click on the button as the button delivers it: only when it is visible, enabled and
    // active; false when it would not react.
    bool click(cButton* button) {
        if (!button || !button->isVisible() || !button->isEnabled() || !button->isActive()) return false;
        button->getClickHandler()(button);
        return true;
    }
    // Shows the panel with sound and runs frames until it rests.
    void showAndSettle(cPanel* panel) {
        panel->show(true);
        settle(panel);
    }
};

}  // namespace panel_test
