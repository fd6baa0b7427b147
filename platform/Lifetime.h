#pragma once
// How the program starts and ends besides the window: the entry of a message box's own process,
// the outcome of a refused single-instance start, and the largest window the platform makes.

namespace platform {

// The largest width or height of the game window and its back buffer, in pixels; createWindow
// refuses more.
constexpr int kMaxWindowSide = 8192;

// The entry of a message box's own process: when argv asks for a box (as showMessageBox starts
// it), shows it and returns the exit code; otherwise -1 (the program starts as usual).
//
// The sdl backend shows every box in such a process, which holds nothing of the game's (no
// lock, no socket) and never outlives it. While the game waits for it, SIGTERM, SIGINT or the
// window's close button end the box at once, and no further box is shown.
int runMessageBoxProcess(int argc, char** argv);

// After acquireSingleInstance refused: true when the running copy was asked to come to the
// front (a hand-over), false when it could not be (nobody listens on its socket, or it has
// no window yet: starting, or stopped at a message), which was then written to standard error.
bool singleInstanceHandedOver();

}  // namespace platform
