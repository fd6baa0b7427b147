#pragma once
// Typed bytes as letters of the game's language. The code page comes from
// "Config/language.ini" (section Localization, key CodePage; the keyboard layout id in key
// Language, default "00000409"). On this system typed text arrives as wide characters
// already, so choosing and activating a keyboard layout does nothing; the code page serves
// the byte path (charToWide).

#include <cstdint>

#include "engine/core/cString.h"

// Adds a user; the first one reads the language settings.
void acquireKeyboardLayout();
// Removes a user; the last one returns the code page to 1250.
void releaseKeyboardLayout();
// Nothing to do on this system (kept for the input manager's calls).
void activateKeyboardLayout();
// Reads "Config/language.ini" through the resource manager (loads it into group 0 and
// unloads it again); a missing file throws the loader's text.
void loadLanguageSettings();

// One typed byte converted with the current code page; 0 when the conversion fails.
wchar_t charToWide(uint8_t byte);
// The same with a given code page (CP1250, CP1251, ...); 0 when the code page is unknown or
// the byte has no character of its own there.
wchar_t charToWide(uint8_t byte, uint32_t codePage);

uint32_t getCodePage();
const cStringA& getKeyboardLayoutId();
int getKeyboardLayoutUsers();
