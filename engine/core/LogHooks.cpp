#include "engine/core/LogHooks.h"

#include "engine/core/cLogManager.h"

// The fatal report's line on the channel "call_stack", when a log manager exists.
bool writeCallStackLog(const cStringA& text) { return logText("call_stack", text); }

namespace {
GameLogObserver g_logObserver = nullptr;
void* g_logObserverUser = nullptr;
}  // namespace

void writeGameLog(const char* text) {
    if (g_logObserver) g_logObserver(text, g_logObserverUser);
    logText("game", cStringA(text));
}

void logGameQuietly(const cStringA& text) {
    try {
        logText("game", text);
    } catch (...) {
    }
}

void setGameLogObserver(GameLogObserver observer, void* user) {
    g_logObserver = observer;
    g_logObserverUser = user;
}
