#pragma once
// The engine's shared log lines: the fatal report's channel "call_stack", and the channel "game"
// on which the start-up and release steps and the managers log.

#include "engine/core/cString.h"

// Writes the text as one line of the channel "call_stack"; false when there is no log manager.
// May throw when the channel's file cannot be written.
bool writeCallStackLog(const cStringA& text);

// Writes one text on the log channel "game" (one timed line; the engine's start-up and release
// steps log through it). Throws when the channel cannot be written.
void writeGameLog(const char* text);
// A line on the channel "game" when a log manager exists; a log that cannot be written never
// stops its caller, so any failure is swallowed.
void logGameQuietly(const cStringA& text);
// Every text written with writeGameLog is also handed to this observer (tests); null removes it.
// An observer may throw to stand for a failing log channel.
using GameLogObserver = void (*)(const char* text, void* user);
void setGameLogObserver(GameLogObserver observer, void* user);
