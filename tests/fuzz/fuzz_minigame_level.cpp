// Reads fuzzed bytes as a mini-game level file (the status panel reads the same document as
// its own file), runs frames of play and clicks at points drawn from the first bytes: any input
// must give a text failure or a mini game that runs, with a clock and effects that stay
// numbers.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/app/cLogic.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "game/minigame/cFlyingObject.h"
#include "game/minigame/cHiddenObject.h"
#include "game/minigame/cMiniGame.h"
#include "game/minigame/cMiniGameStatusPanel.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

class Clock : public cSceneServices {
public:
    cVector2 mouse;
    float getGameDelta() override { return getLogic()->isPaused() ? 0.0f : 1.0f / 30.0f; }
    float getRealDelta() override { return 1.0f / 30.0f; }
    cVector2 getMousePosition() override { return mouse; }
};

const char* const kLevel = "Config/MiniGame1/fuzz.ini";
const char* const kStatus = "Config/MiniGame1/mgi_panel_status.ini";

void runFrames(int n) {
    for (int i = 0; i < n; ++i) {
        updateTopLevelNodes(&updateNode);
        destroyPendingObjects();
    }
}

void checkNumbers(const cMiniGame& game) {
    if (!std::isfinite(game.getTime()) || game.getTime() < 0.0f) __builtin_trap();
    for (const auto& [serial, node] : getFlyingObjects()) {
        const cVector2 p = static_cast<cFlyingObject*>(node)->getPosition();
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) __builtin_trap();
    }
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
    if (size < 16) return 0;
    uint16_t clicks[8];
    std::memcpy(clicks, data, sizeof clicks);
    fuzz::servedDocument().assign(reinterpret_cast<const char*>(data) + 16, size - 16);

    auto* state = new cSceneNode();
    state->show();
    state->enable();
    try {
        resources.load(kLevel, 11);
        resources.load(kStatus, 11);
        new cMiniGameStatusPanel(state, nullptr);
        cMiniGame* game = new cMiniGame(state, nullptr, kLevel);
        game->setPaused(false);
        runFrames(2);
        // Four clicks: at the points of the first bytes, then on the top object to find.
        for (int i = 0; i < 4; ++i) {
            clock.mouse = cVector2(float(clicks[2 * i] % 1000) - 100.0f, float(clicks[2 * i + 1] % 800) - 100.0f);
            runFrames(1);
            game->onClick();
            runFrames(10);
            checkNumbers(*game);
            if (!game->getObjectsToFind().empty()) {
                const cHiddenObject* top = game->getObjectsToFind().front();
                if (!top->getTriangles().empty()) {
                    const cTriangle& t = top->getTriangles().front();
                    clock.mouse = top->getPosition() + (t.a + t.b + t.c) / 3.0f - top->getLayerFrameSize(0) / 2.0f;
                }
                runFrames(1);
                game->onClick();
            }
            runFrames(20);
            checkNumbers(*game);
        }
        game->hint();
        game->addPenalty();
        runFrames(120);
        checkNumbers(*game);
    } catch (...) {
        // A text failure of the level file (a missing resource, too long a polygon).
    }
    delete state;
    updateTopLevelNodes(nullptr);
    destroyPendingObjects();
    if (logic.isPaused()) logic.setPaused(false);
    resources.unload(kLevel);
    resources.unload(kStatus);
    return 0;
}
