// Loads a tutorial hints file from fuzzed bytes (the first four bytes choose the calls of a
// script, the rest is the file's text) and runs the changes of hint on game time. Any input
// must give a text failure or hints whose every change comes to an end.
#include <cstdint>
#include <string>

#include "engine/core/cResourceManager.h"
#include "game/interface/cHint.h"
#include "game/interface/cHints.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void runFrames(int n) {
    for (int i = 0; i < n; ++i) updateTopLevelNodes(&updateNode);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::FixedStepServices clock;
    static cResourceManager resources;
    static bool ready = (setSceneServices(&clock), fuzz::serveDocumentAsEveryIni(), true);
    (void)ready;
    if (size < 4) return 0;
    fuzz::servedDocument() = fuzz::iniBytes(data + 4, size - 4);
    const std::string name = cHints::fileName(1);

    auto* level = new cSceneNode();
    level->show();
    level->enable();
    try {
        resources.load(cStringA(name), 11);
        auto* hints = new cHints(level, 1);
        for (int i = 0; i < 4; ++i) {
            switch (data[i] % 5) {
            case 0: hints->nextStep(); break;
            case 1: hints->nextStepAndShow(); break;
            case 2: hints->showCurrent(); break;
            case 3: hints->hideCurrent(); break;
            default: runFrames(data[i] % 7); break;
            }
        }
        // Every change ends: a fade takes two frames of 0.1 s, a change two fades.
        runFrames(8);
        if (hints->isPending()) __builtin_trap();
        for (size_t k = 0; k < hints->getHintCount(); ++k)
            if (!hints->getHint(k)->isDone()) __builtin_trap();
    } catch (...) {
        // A text failure of the file: what was built goes with the level.
    }
    delete level;
    updateTopLevelNodes(nullptr);
    resources.unload(cStringA(name));
    return 0;
}
