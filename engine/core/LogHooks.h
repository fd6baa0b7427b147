#pragma once
// The link between the fatal report and the log manager: the report writes through the log
// channel "call_stack" when a log manager exists.

#include "engine/core/cString.h"

// Writes the text as one line of the channel "call_stack"; false when there is no log manager.
// May throw when the channel's file cannot be written.
bool writeCallStackLog(const cStringA& text);
