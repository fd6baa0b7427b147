#pragma once
// The checks the core runs at start-up before the window exists: the graphics check, the
// user-data version check (which wipes "$common$/" when the installed data is of another
// version) and the hardware-requirements check. They log on the channel "game" and use the
// managers the core has already created.

#include <string>
#include <vector>

#include "engine/core/HardwareProbe.h"
#include "engine/core/cString.h"

// Throws "The game requires OpenGL 3.3 or higher.\n..." when no OpenGL 3.3 context can be
// made; logs "  no OpenGL 3.3 has been found.\n" or "  OpenGL 3.3 or better has been found.\n".
void checkDirectX();
// True when an OpenGL 3.3 core context can be made on a hidden window.
bool canCreateOpenGL33();
// Test hook: replaces the OpenGL test (null restores it).
using GraphicsTest = bool (*)();
void setGraphicsTest(GraphicsTest test);

// Compares key version of section UserData of "Config/version.ini" and "$common$/version.ini"
// ignoring case; a missing or unreadable working file or another version resets "$common$/":
// its contents are deleted (entries whose names begin with "." stay) except the kept files
// (see setUserFilesKeptByReset), which are set aside first and come back under their own names
// (a damaged "config.ini" is kept as a copy first); the file manager rescans, the version file
// is copied and the reset is logged with what was kept. A kept file that cannot be set aside
// stops the reset with a thrown text before anything is deleted. Needs the file manager and
// the resource manager.
void checkUserDataVersion();
// The names (fnmatch patterns, e.g. "data_damaged*.ssp") of the files directly in "$common$/"
// that a user-data reset keeps, besides the kept copies of damaged settings.
void setUserFilesKeptByReset(const std::vector<std::string>& patterns);
// Copies "Config/version.ini" to "$common$/version.ini"; up to 11 attempts 100 ms apart,
// false when all failed (no message).
bool copyVersionFile();
// Deletes a folder with its contents except entries whose names begin with "."; the result
// is that of the final removal of the folder itself (false when something stayed).
bool deleteFolder(const cStringA& path);

// The system's message for the last error of a system call (errno), as the C library words it.
cStringA getSystemErrorText();

// Reads the Performance settings and, when check_hardware_requirements is on, compares the
// probe's figures with the section HardwareRequirements_<kind> of "Config/performance.ini".
// A machine that falls short gets one warning box, and enable_full_effects and
// perform_performance_test are turned off; a completed check turns
// check_hardware_requirements off. Needs the settings manager.
void checkHardwareRequirements();
// The requirements of a section of the requirements document (defaults 100 MHz, 512 MB,
// 32 MB for missing or unreadable values), in bytes.
class cIniFile;
HardwareFigures readRequirements(const cIniFile& document, const cStringW& section);
