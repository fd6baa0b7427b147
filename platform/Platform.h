#pragma once
// Our stand-in for the operating system services the engine expects: the game window and its
// message queue, message boxes, the millisecond clock and sleep, the executable's name, the
// single-instance lock and a few system facts.
//
// Two backends: "sdl" (a real SDL2 window; what players run) and "headless" (SDL2's
// offscreen video driver, no display; the test clock and injected messages). The backend is
// chosen once, from the environment variable RW_BACKEND ("headless" or "sdl", default sdl).

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// The game window as the platform hands it out; only the platform looks inside.
struct Window;

enum class Backend { Sdl, Headless };
Backend backend();
// Chooses the backend explicitly (tests); must run before anything else of the platform.
void setBackend(Backend backend);

// ---- Messages -------------------------------------------------------------------------
// Our own message set: what the core's window procedure and the game's hook handle.
enum MessageId : uint32_t {
    MSG_NULL = 0,
    MSG_CLOSE,          // close request (window close button, Alt+F4)
    MSG_DESTROY,        // the window is being destroyed: the window procedure posts MSG_QUIT
    MSG_SIZE,           // wParam: SizeState
    MSG_ACTIVATE,       // wParam: ActivateState
    MSG_ACTIVATEAPP,    // wParam: 1 activated, 0 deactivated
    MSG_CHAR,           // wParam: one UTF-16 unit
    MSG_KEYDOWN,        // wParam: WindowKey, lParam: bit 30 set for a repeat
    MSG_KEYUP,
    MSG_SYSKEYDOWN,     // keys pressed with Alt held, and Alt itself
    MSG_SYSKEYUP,
    MSG_SYSCHAR,        // characters typed with Alt held
    MSG_MOUSEMOVE,      // lParam: x | y << 16 in client pixels
    MSG_SYSCOMMAND,     // wParam: SystemCommand
    MSG_QUIT,           // ends the message loop; wParam: exit code
};

// wParam of MSG_SIZE.
enum SizeState : uintptr_t { SIZE_STATE_RESTORED = 0, SIZE_STATE_MINIMIZED, SIZE_STATE_MAXIMIZED };
// wParam of MSG_ACTIVATE.
enum ActivateState : uintptr_t { ACTIVATE_INACTIVE = 0, ACTIVATE_ACTIVE, ACTIVATE_CLICK };
// wParam of MSG_SYSCOMMAND.
enum SystemCommand : uintptr_t { SYSCMD_MINIMIZE = 1, SYSCMD_RESTORE, SYSCMD_CLOSE };

// Keys carried by the key messages. Letters and digits are their upper-case characters ('A',
// '0'); every other key is one of these, all below '0'.
enum WindowKey : uintptr_t {
    WKEY_NONE = 0, WKEY_BACK, WKEY_TAB, WKEY_RETURN, WKEY_SHIFT, WKEY_CONTROL, WKEY_ALT,
    WKEY_PAUSE, WKEY_ESCAPE, WKEY_SPACE, WKEY_LEFT, WKEY_UP, WKEY_RIGHT, WKEY_DOWN,
    WKEY_PAGEUP, WKEY_PAGEDOWN, WKEY_END, WKEY_HOME, WKEY_INSERT, WKEY_DELETE,
    WKEY_F1, WKEY_F2, WKEY_F3, WKEY_F4, WKEY_F5, WKEY_F6, WKEY_F7, WKEY_F8, WKEY_F9, WKEY_F10,
    WKEY_F11, WKEY_F12,
    WKEY_NUMPAD0, WKEY_NUMPAD1, WKEY_NUMPAD2, WKEY_NUMPAD3, WKEY_NUMPAD4, WKEY_NUMPAD5,
    WKEY_NUMPAD6, WKEY_NUMPAD7, WKEY_NUMPAD8, WKEY_NUMPAD9,
};
static_assert(WKEY_NUMPAD9 < '0', "window keys stay below the digit characters");

struct Message {
    uint32_t message = MSG_NULL;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// The window procedure: receives every dispatched message.
using WindowProc = intptr_t (*)(uint32_t message, uintptr_t wParam, intptr_t lParam);

// ---- The window -----------------------------------------------------------------------
// Starts SDL's video and event system (headless: the offscreen driver) and keeps the OpenGL
// library loaded for the rest of the run, so that windows and probes may come and go. False
// when the video system cannot start (videoFailure tells why). createWindow calls it.
// The sdl backend refuses to start without a display (a driver without a screen only when
// SDL_VIDEODRIVER names it).
bool initVideo();
std::string videoFailure();
// The sdl backend without a display: the text telling the user what to do ("no display: ...");
// empty otherwise. Starts the video system to find out.
std::string missingDisplay();
// Creates the one game window: fixed size, client area exactly width x height, centred on the
// desktop, OpenGL-capable, shown. Throws a narrow text on failure. wndProc receives the messages.
void createWindow(const std::string& title, int width, int height, WindowProc wndProc);
bool hasWindow();
Window* window();                       // null without a window
void destroyWindow();
void setWindowTitle(const std::string& title);
std::string windowTitle();              // empty without a window
// Resizes the client area to width x height and centres the window on the desktop.
void setClientSize(int width, int height);
// The window's position on the desktop and its client size, in pixels; false (and nothing
// stored) without a window.
bool windowPosition(int* x, int* y);
bool windowSize(int* width, int* height);
void setWindowPosition(int x, int y);
// Full screen covers the desktop (the frame is letterboxed into it); leaving it gives the
// window back a client area of width x height.
void setFullscreen(bool fullscreen, int width, int height);
bool isMinimized();
void restoreWindow();                   // un-minimize
void raiseWindow();                     // bring to the foreground
void minimizeWindow();
// Whether the window has the keyboard focus, as the focus messages last told (true without a
// window, and always on the headless backend).
bool windowHasFocus();
void showSystemCursor(bool show);
// The sdl backend: the mouse reports relative motion only and the cursor stays in the window
// (an exclusive mouse). Nothing on the headless backend.
void setRelativeMouseMode(bool on);
void desktopSize(int* width, int* height);
// Bits per pixel of the desktop's display mode; 0 when unknown.
int desktopBitsPerPixel();
// Makes (and drops again) an OpenGL 3.3 core context on a hidden window of the current video
// driver. Empty when that worked, otherwise the graphics system's reason.
std::string probeOpenGL33();

// ---- The message queue ----------------------------------------------------------------
// Removes the next message (translating waiting SDL events first); false when none waits.
bool peekMessage(Message* out);
// Calls the window procedure with the message; returns its result (0 without a window).
intptr_t dispatchMessage(const Message& msg);
// Appends a message to the queue.
void postMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
void postQuitMessage(int exitCode);
// Calls the window procedure at once.
intptr_t sendMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
// Empties the queue (tests).
void clearMessages();
// What the system does with a message the window procedure does not handle itself: a close
// request destroys the window (MSG_DESTROY is sent to the window procedure), the system
// commands minimize, restore and close act on the window; everything else gives 0.
intptr_t defWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
// Headless only: the message is appended to the queue once the test clock reaches timeMs
// (peekMessage looks at the clock each time it runs).
void postMessageAt(uint32_t timeMs, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
// Keyboard and mouse input as the system reported it, before it became messages: what the
// input layer buffers.
struct RawInputEvent {
    enum Type : uint8_t { KEY, BUTTON, MOTION, WHEEL };
    Type type = KEY;
    bool pressed = false;  // KEY, BUTTON: false for a release
    bool repeat = false;   // KEY: an auto-repeated press
    bool alt = false;      // KEY: the system reported an Alt key held with this event
    uint8_t key = 0;       // KEY: the engine's key code (platform/input/KeyCodes.h); 0 for unknown keys
    uint8_t button = 0;    // BUTTON: 0 left, 1 right, 2 middle, 3 X1, 4 X2, further buttons in order
    int32_t x = 0;         // MOTION: the cursor in window pixels
    int32_t y = 0;
    int32_t dx = 0;        // MOTION: relative motion in pixels
    int32_t dy = 0;
    int32_t notches = 0;   // WHEEL: positive away from the user
};
// Keyboard and mouse events are also handed to this listener (the input layer) while
// peekMessage pumps the system's queue; mouse events made up from touches are not. One
// listener; null removes it.
using RawEventListener = void (*)(const RawInputEvent& event, void* user);
void setRawEventListener(RawEventListener listener, void* user);

// ---- Clock ----------------------------------------------------------------------------
// Milliseconds since an arbitrary start, wrapping at 2^32. The headless backend's clock moves
// only when a test advances it.
uint32_t timeMs();
void sleepMs(uint32_t ms);          // headless: advances the test clock instead of sleeping
void advanceTestClock(uint32_t ms); // headless only
void setTestClock(uint32_t ms);     // headless only
// The processor's cycle counter; headless: the test clock in nanoseconds, so two runs of one
// test see the same values.
uint64_t readCycleCounter();
// The local date and time; headless: 1 January 2026, 12:00, plus the test clock, so logs and
// statistics of a test do not depend on the day it runs.
std::tm localTime();

// ---- Dialogs and system facts -----------------------------------------------------------
// A warning box with an OK button when a display exists; headless records it instead.
void showMessageBox(const std::string& caption, const std::string& text);
// The boxes shown so far by the headless backend (caption + "\n" + text each).
const std::vector<std::string>& shownMessageBoxes();
void clearShownMessageBoxes();
std::string executablePath();       // absolute path of the running program
std::string executableDir();        // its folder, with a trailing '/'

// ---- Single instance --------------------------------------------------------------------
// Takes the program-wide lock named name (a file in $XDG_RUNTIME_DIR or the temp folder held
// with flock). When another process holds it, asks that process to restore and raise its
// window and returns false. While the lock is held, such requests arrive as restore/raise
// of the window during peekMessage.
bool acquireSingleInstance(const std::string& name);
void releaseSingleInstance();
// The lock file's path for a name ($XDG_RUNTIME_DIR, else the temp folder).
std::string singleInstanceLockPath(const std::string& name);

}  // namespace platform
