#pragma once
// Raw keyboard and mouse for the input manager: buffered key and button events in the
// engine's key codes, relative motion and wheel, the key-state snapshot, the cursor position
// in back-buffer pixels.
//
// Events reach the layer from the system (the platform's raw event listener, installed by open())
// or from a test (the inject functions, for the headless backend). Like a foreground device,
// the layer buffers events only while it is acquired; reading an unacquired device answers
// NotAcquired. Every buffer holds at most kBufferSize events; later events are dropped and
// the next read answers BufferOverflow (the events read are still valid).

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/Platform.h"
#include "platform/input/KeyCodes.h"

namespace platform::input {

constexpr size_t kBufferSize = 1024;

enum class ReadResult {
    Ok,
    BufferOverflow,  // events were lost; those returned are valid
    NotAcquired,     // the device is not acquired: nothing was read
    InputLost,       // the device lost its input (focus taken away): nothing was read
};

struct KeyEvent {
    uint8_t key = 0;       // KeyCode
    bool pressed = false;  // false: released
    bool alt = false;      // an Alt key was held when this event happened
};

struct ButtonEvent {
    uint8_t button = 0;    // MouseButton, 0 to 7
    bool pressed = false;
};

struct MouseState {
    int32_t dx = 0;     // relative motion since the last read, pixels
    int32_t dy = 0;
    int32_t wheel = 0;  // WHEEL_NOTCH per notch, positive away from the user
};

// Installs the raw event listener (the SDL path) and clears every buffer. close() removes it.
void open();
void close();
bool isOpen();

// Acquisition. acquire() fails (false) while the sdl backend's window lacks the input focus.
bool acquireKeyboard();
bool acquireMouse();
void unacquireKeyboard();
void unacquireMouse();
bool isKeyboardAcquired();
bool isMouseAcquired();

// Takes the buffered events (appending to out, in arrival order) and empties the buffer.
ReadResult readKeyboard(std::vector<KeyEvent>& out);
ReadResult readButtons(std::vector<ButtonEvent>& out);
// Takes the motion gathered since the last read.
ReadResult readMouseState(MouseState& out);
// Copies the held keys: bit 7 of state[key] is set while the key is down. Fails (and clears
// the state) while the keyboard is not acquired.
ReadResult readKeyState(uint8_t state[256]);
// Discards the buffered events and the gathered motion of both devices.
void flush();

// The cursor position in back-buffer pixels (the window coordinates mapped through the
// coordinate mapper). False when no position is known yet.
bool cursorPosition(float* x, float* y);
// Maps window pixels to back-buffer pixels (letterboxing, scaling). Identity when unset.
using CoordinateMapper = std::function<void(float* x, float* y)>;
void setCoordinateMapper(CoordinateMapper mapper);

// The engine key code of an SDL scancode (0 for keys the engine does not know).
uint8_t keyFromScancode(int sdlScancode);
// Handles one raw input event as the raw event listener does (key, button, motion, wheel).
void handleRawEvent(const RawInputEvent& event);

// The control character typed by a key (Backspace 8, Tab 9, Enter 13, Escape 27), 0 for the
// other keys. The platform's SDL event translation posts these as MSG_CHAR messages on every
// press and repeat; injected keys post them here, in event order.
wchar_t controlCharOfKey(uint8_t key);

// ---- Injection (tests, headless backend) ------------------------------------------------
// Each behaves as the matching SDL event would. A repeat is an auto-repeated press: it types
// its control character but is no buffered event.
void injectKey(uint8_t key, bool pressed, bool repeat = false);
void injectButton(uint8_t button, bool pressed);
void injectMotion(int32_t dx, int32_t dy);
void injectWheel(int32_t notches);                 // positive away from the user
void injectCursor(float windowX, float windowY);   // absolute, window pixels
// The next reads of the keyboard and the mouse answer InputLost once (as after focus loss).
void injectInputLost();

}  // namespace platform::input
