// Builds the status panel and the level-start panel from one fuzzed INI document, which stands
// for the status file, the four world files and the level-start layout at once, and runs them
// through their slides and a changing score. Any input must give a text failure or panels
// that come and go.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "engine/app/cLogic.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "game/interface/PanelFiles.h"
#include "game/interface/cPanelLevel.h"
#include "game/interface/cPanelStatus.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

class Clock : public cSceneServices {
public:
    float getGameDelta() override { return getLogic()->isPaused() ? 0.0f : 1.0f / 30.0f; }
    float getRealDelta() override { return 1.0f / 30.0f; }
};

// A game screen with game data drawn from the input's first bytes.
class Screen : public cSceneNode, public cLevelPanelOwner {
public:
    uint32_t score = 0, goal = 0, expert = 0;
    int32_t level = 1, set = 1;
    float time = 0.0f;
    Screen() {
        show();
        enable();
    }
    cPanelEsc* getPausePanel() override { return nullptr; }
    cPanelLevel* getLevelStartPanel() override { return nullptr; }
    cPanelContinue* getResultPanel() override { return nullptr; }
    cPanelConfirmMenu* getConfirmMenuPanel() override { return nullptr; }
    cPanelConfirmTry* getConfirmPanel() override { return nullptr; }
    bool isFading() override { return false; }
    bool isOptionsPanelVisible() override { return false; }
    bool isConfirmExitPanelVisible() override { return false; }
    void showOptionsPanel() override {}
    void exitToMenu(bool) override {}
    void restartLevel(int) override {}
    void continueAfterWin(bool) override {}
    bool wasGoalReached() override { return false; }
    cSceneNode* getLevelNode() override { return this; }
    uint32_t getScore() override { return score; }
    uint32_t getGoal() override { return goal; }
    uint32_t getExpertGoal() override { return expert; }
    float getLevelTime() override { return time; }
    int32_t getLevel() override { return level; }
    int32_t getLevelInWorld() override { return (level - 1) % 20 + 1; }
    int32_t getWorld() override { return (level - 1) / 20 + 1; }
    int32_t getGraphicsSet() override { return set; }
    int32_t getDifficulty() override { return 0; }
    int32_t getReachedLevel() override { return level; }
    int32_t getMarkedLevel() override { return level; }
    uint32_t getBestScore() override { return 0; }
    uint32_t getCountedBestScore() override { return 0; }
    int32_t getCash(int32_t, int32_t) override { return 0; }
    int32_t getTotalScore(int32_t) override { return 0; }
};


void runFrames(int n) {
    for (int i = 0; i < n; ++i) updateTopLevelNodes(&updateNode);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Clock clock;
    static cLogic logic;
    static cResourceManager resources;
    static bool ready = [] {
        setSceneServices(&clock);
        fuzz::serveDocumentAsEveryIni();
        return true;
    }();
    (void)ready;
    if (size < 8) return 0;
    uint32_t numbers[2];
    std::memcpy(numbers, data, sizeof numbers);
    fuzz::servedDocument().assign(reinterpret_cast<const char*>(data) + 8, size - 8);

    const char* const names[] = {panel_files::kStatus, panel_files::kWorldEasy1, panel_files::kWorldHard1,
                                 panel_files::kWorld2, panel_files::kWorld3, "Config/Game/gi_panel_level.ini"};
    auto* screen = new Screen();
    screen->goal = numbers[0] & 0xFFFFF;
    screen->expert = numbers[1] & 0xFFFFF;
    screen->level = int32_t(numbers[0] >> 26) + 1;   // 1..64: beyond the last world too
    screen->set = int32_t(numbers[1] >> 29);         // 0..7: outside 1..3 too
    screen->time = float(numbers[0] >> 20 & 0x3F);
    try {
        for (const char* name : names) resources.load(name, 11);
        cPanelStatus* status = new cPanelStatus(screen, screen);
        status->show(false);
        runFrames(40);
        cPanelLevel* start = new cPanelLevel(screen, screen);
        start->show(true);
        for (uint32_t s = 0; s < 24; ++s) {
            screen->score = (s * 7919u * (numbers[1] | 1)) % (screen->expert + 200);
            runFrames(3);
        }
        status->finishClock();
        status->setClockFrozen(numbers[0] & 1);
        runFrames(20);
        status->hide(false);
        start->hide(false);
        runFrames(60);
    } catch (...) {
        // A text failure of the configuration: the panels built so far go with the screen.
    }
    delete screen;
    updateTopLevelNodes(nullptr);
    if (logic.isPaused()) logic.setPaused(false);
    for (const char* name : names) resources.unload(name);
    return 0;
}
