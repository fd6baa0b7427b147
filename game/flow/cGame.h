#pragma once
// The root game object: created by the core after its managers are up, with the first word of
// the command line; its window-message hook sees every message first.

#include <cstdint>

#include "engine/core/cSingleton.h"
#include "engine/core/cString.h"

class cGame : public cSingleton<cGame> {
public:
    explicit cGame(const cStringA& commandWord);
    virtual ~cGame();

    // The core's window-message hook (see MessageHook in engine/app/cRenderWren.h).
    static intptr_t onWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool* passOn);

    // The first word of the command line the game was started with.
    const cStringA& getCommandWord() const { return m_command_word; }

private:
    cStringA m_command_word;
};

cGame* getGame();
