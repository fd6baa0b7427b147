#include "engine/core/LogHooks.h"

#include "engine/core/cLogManager.h"

// The fatal report's line on the channel "call_stack", when a log manager exists.
bool writeCallStackLog(const cStringA& text) { return logText("call_stack", text); }
