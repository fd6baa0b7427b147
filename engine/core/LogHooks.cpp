#include "engine/core/LogHooks.h"

// Without a log manager the fatal report goes to standard error only.
bool writeCallStackLog(const cStringA&) { return false; }
