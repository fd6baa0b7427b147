#include "game/flow/cGame.h"

cGame* getGame() { return cGame::instance(); }

cGame::cGame(const cStringA& commandWord) : m_command_word(commandWord) {}

cGame::~cGame() = default;

intptr_t cGame::onWindowMessage(uint32_t, uintptr_t, intptr_t, bool*) {
    // No application states yet: every message, the close request included, goes on to the
    // core's own handling, so closing the window ends the program.
    return 0;
}
