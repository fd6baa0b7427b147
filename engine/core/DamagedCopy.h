#pragma once
// Keeping a copy of a damaged working file before the program replaces it, so that the user's
// data can still be rescued by hand.

#include "engine/core/cString.h"

// Copies the file (a file-manager name) beside itself as path + ".damaged", a later incident as
// path + ".damaged_2" and so on (at most 99 copies), unless a kept copy already holds the same
// bytes. what names the file's kind in the log lines ("settings"). Needs the file manager;
// failures are only logged, never thrown.
void keepDamagedCopy(const cStringA& path, const char* what);
