#pragma once
// What the characters share: the inclusive random draw, their sounds, the end test of a
// non-looped animation run and their configuration files.

#include <cstdint>

#include "engine/core/cString.h"

class cIniFile;
class cSprite;

namespace characters {

// lo + (r mod (hi - lo + 1)), r the next random number (0..32767). An empty range (hi below
// lo) gives lo: configuration with a maximum below its minimum must not divide by zero.
int32_t randomInt(int32_t lo, int32_t hi);

// A float truncated toward zero, held within the int32 range (not a number gives 0).
int32_t toIntClamped(float value);

// Plays a sample once at its stored volume; nothing without a sound manager.
void playSound(const char* name);

// True when layer 0 has played its run to the end: a non-looped run whose time reached its
// length (the renderer clamps it there), or a looped one whose time is exactly its length.
bool isAnimationAtEnd(const cSprite& sprite);

// "Config/Game/c_" + name + ".ini" as a loaded document; throws the resource manager's text
// when it is not loaded.
const cIniFile& characterIni(const cStringA& name);

// An int of the section; an absent or unreadable value keeps the target.
void readInt(const cIniFile& ini, const wchar_t* section, const wchar_t* key, int32_t* target);

}  // namespace characters
