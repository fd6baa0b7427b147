// Raw keyboard and mouse: SDL events (or injected ones) buffered per device until the input
// manager reads them once per frame.

#include "platform/input/Input.h"

#include <SDL2/SDL.h>

#include <array>
#include <cstring>

#include "platform/Platform.h"

namespace platform::input {
namespace {

struct State {
    bool open = false;
    bool keyboardAcquired = false;
    bool mouseAcquired = false;
    std::vector<KeyEvent> keys;
    std::vector<ButtonEvent> buttons;
    bool keysOverflow = false;
    bool buttonsOverflow = false;
    bool keyboardLost = false;
    bool mouseLost = false;
    MouseState motion;
    uint8_t held[256] = {};
    bool cursorKnown = false;
    float cursorX = 0.0f;
    float cursorY = 0.0f;
    CoordinateMapper mapper;
};

State& state() {
    static State s;
    return s;
}

// SDL scancode -> set-1 key code. Built once from the pairs below.
const std::array<uint8_t, SDL_NUM_SCANCODES>& scancodeTable() {
    static const std::array<uint8_t, SDL_NUM_SCANCODES> table = [] {
        std::array<uint8_t, SDL_NUM_SCANCODES> t{};
        const struct { int sdl; uint8_t key; } pairs[] = {
            {SDL_SCANCODE_ESCAPE, KEY_ESCAPE},
            {SDL_SCANCODE_1, KEY_1}, {SDL_SCANCODE_2, KEY_2}, {SDL_SCANCODE_3, KEY_3},
            {SDL_SCANCODE_4, KEY_4}, {SDL_SCANCODE_5, KEY_5}, {SDL_SCANCODE_6, KEY_6},
            {SDL_SCANCODE_7, KEY_7}, {SDL_SCANCODE_8, KEY_8}, {SDL_SCANCODE_9, KEY_9},
            {SDL_SCANCODE_0, KEY_0},
            {SDL_SCANCODE_MINUS, KEY_MINUS}, {SDL_SCANCODE_EQUALS, KEY_EQUALS},
            {SDL_SCANCODE_BACKSPACE, KEY_BACKSPACE}, {SDL_SCANCODE_TAB, KEY_TAB},
            {SDL_SCANCODE_Q, KEY_Q}, {SDL_SCANCODE_W, KEY_W}, {SDL_SCANCODE_E, KEY_E},
            {SDL_SCANCODE_R, KEY_R}, {SDL_SCANCODE_T, KEY_T}, {SDL_SCANCODE_Y, KEY_Y},
            {SDL_SCANCODE_U, KEY_U}, {SDL_SCANCODE_I, KEY_I}, {SDL_SCANCODE_O, KEY_O},
            {SDL_SCANCODE_P, KEY_P},
            {SDL_SCANCODE_LEFTBRACKET, KEY_LEFT_BRACKET}, {SDL_SCANCODE_RIGHTBRACKET, KEY_RIGHT_BRACKET},
            {SDL_SCANCODE_RETURN, KEY_ENTER}, {SDL_SCANCODE_LCTRL, KEY_LEFT_CTRL},
            {SDL_SCANCODE_A, KEY_A}, {SDL_SCANCODE_S, KEY_S}, {SDL_SCANCODE_D, KEY_D},
            {SDL_SCANCODE_F, KEY_F}, {SDL_SCANCODE_G, KEY_G}, {SDL_SCANCODE_H, KEY_H},
            {SDL_SCANCODE_J, KEY_J}, {SDL_SCANCODE_K, KEY_K}, {SDL_SCANCODE_L, KEY_L},
            {SDL_SCANCODE_SEMICOLON, KEY_SEMICOLON}, {SDL_SCANCODE_APOSTROPHE, KEY_APOSTROPHE},
            {SDL_SCANCODE_GRAVE, KEY_GRAVE}, {SDL_SCANCODE_LSHIFT, KEY_LEFT_SHIFT},
            {SDL_SCANCODE_BACKSLASH, KEY_BACKSLASH}, {SDL_SCANCODE_NONUSHASH, KEY_BACKSLASH},
            {SDL_SCANCODE_Z, KEY_Z}, {SDL_SCANCODE_X, KEY_X}, {SDL_SCANCODE_C, KEY_C},
            {SDL_SCANCODE_V, KEY_V}, {SDL_SCANCODE_B, KEY_B}, {SDL_SCANCODE_N, KEY_N},
            {SDL_SCANCODE_M, KEY_M},
            {SDL_SCANCODE_COMMA, KEY_COMMA}, {SDL_SCANCODE_PERIOD, KEY_PERIOD},
            {SDL_SCANCODE_SLASH, KEY_SLASH}, {SDL_SCANCODE_RSHIFT, KEY_RIGHT_SHIFT},
            {SDL_SCANCODE_KP_MULTIPLY, KEY_KEYPAD_MULTIPLY}, {SDL_SCANCODE_LALT, KEY_LEFT_ALT},
            {SDL_SCANCODE_SPACE, KEY_SPACE}, {SDL_SCANCODE_CAPSLOCK, KEY_CAPS_LOCK},
            {SDL_SCANCODE_F1, KEY_F1}, {SDL_SCANCODE_F2, KEY_F2}, {SDL_SCANCODE_F3, KEY_F3},
            {SDL_SCANCODE_F4, KEY_F4}, {SDL_SCANCODE_F5, KEY_F5}, {SDL_SCANCODE_F6, KEY_F6},
            {SDL_SCANCODE_F7, KEY_F7}, {SDL_SCANCODE_F8, KEY_F8}, {SDL_SCANCODE_F9, KEY_F9},
            {SDL_SCANCODE_F10, KEY_F10},
            {SDL_SCANCODE_NUMLOCKCLEAR, KEY_NUM_LOCK}, {SDL_SCANCODE_SCROLLLOCK, KEY_SCROLL_LOCK},
            {SDL_SCANCODE_KP_7, KEY_KEYPAD_7}, {SDL_SCANCODE_KP_8, KEY_KEYPAD_8},
            {SDL_SCANCODE_KP_9, KEY_KEYPAD_9}, {SDL_SCANCODE_KP_MINUS, KEY_KEYPAD_MINUS},
            {SDL_SCANCODE_KP_4, KEY_KEYPAD_4}, {SDL_SCANCODE_KP_5, KEY_KEYPAD_5},
            {SDL_SCANCODE_KP_6, KEY_KEYPAD_6}, {SDL_SCANCODE_KP_PLUS, KEY_KEYPAD_PLUS},
            {SDL_SCANCODE_KP_1, KEY_KEYPAD_1}, {SDL_SCANCODE_KP_2, KEY_KEYPAD_2},
            {SDL_SCANCODE_KP_3, KEY_KEYPAD_3}, {SDL_SCANCODE_KP_0, KEY_KEYPAD_0},
            {SDL_SCANCODE_KP_PERIOD, KEY_KEYPAD_PERIOD},
            {SDL_SCANCODE_NONUSBACKSLASH, KEY_NON_US_BACKSLASH},
            {SDL_SCANCODE_F11, KEY_F11}, {SDL_SCANCODE_F12, KEY_F12},
            {SDL_SCANCODE_F13, KEY_F13}, {SDL_SCANCODE_F14, KEY_F14}, {SDL_SCANCODE_F15, KEY_F15},
            {SDL_SCANCODE_INTERNATIONAL2, KEY_KANA}, {SDL_SCANCODE_INTERNATIONAL1, KEY_RO},
            {SDL_SCANCODE_INTERNATIONAL4, KEY_CONVERT}, {SDL_SCANCODE_INTERNATIONAL5, KEY_NO_CONVERT},
            {SDL_SCANCODE_INTERNATIONAL3, KEY_YEN},
            {SDL_SCANCODE_KP_EQUALS, KEY_KEYPAD_EQUALS},
            {SDL_SCANCODE_AUDIOPREV, KEY_PREVIOUS_TRACK}, {SDL_SCANCODE_AUDIONEXT, KEY_NEXT_TRACK},
            {SDL_SCANCODE_KP_ENTER, KEY_KEYPAD_ENTER}, {SDL_SCANCODE_RCTRL, KEY_RIGHT_CTRL},
            {SDL_SCANCODE_AUDIOMUTE, KEY_MUTE}, {SDL_SCANCODE_MUTE, KEY_MUTE},
            {SDL_SCANCODE_CALCULATOR, KEY_CALCULATOR}, {SDL_SCANCODE_AUDIOPLAY, KEY_PLAY_PAUSE},
            {SDL_SCANCODE_AUDIOSTOP, KEY_MEDIA_STOP},
            {SDL_SCANCODE_VOLUMEDOWN, KEY_VOLUME_DOWN}, {SDL_SCANCODE_VOLUMEUP, KEY_VOLUME_UP},
            {SDL_SCANCODE_AC_HOME, KEY_WEB_HOME}, {SDL_SCANCODE_KP_COMMA, KEY_KEYPAD_COMMA},
            {SDL_SCANCODE_KP_DIVIDE, KEY_KEYPAD_DIVIDE}, {SDL_SCANCODE_PRINTSCREEN, KEY_PRINT_SCREEN},
            {SDL_SCANCODE_SYSREQ, KEY_PRINT_SCREEN}, {SDL_SCANCODE_RALT, KEY_RIGHT_ALT},
            {SDL_SCANCODE_PAUSE, KEY_PAUSE}, {SDL_SCANCODE_HOME, KEY_HOME}, {SDL_SCANCODE_UP, KEY_UP},
            {SDL_SCANCODE_PAGEUP, KEY_PAGE_UP}, {SDL_SCANCODE_LEFT, KEY_LEFT},
            {SDL_SCANCODE_RIGHT, KEY_RIGHT}, {SDL_SCANCODE_END, KEY_END}, {SDL_SCANCODE_DOWN, KEY_DOWN},
            {SDL_SCANCODE_PAGEDOWN, KEY_PAGE_DOWN}, {SDL_SCANCODE_INSERT, KEY_INSERT},
            {SDL_SCANCODE_DELETE, KEY_DELETE},
            {SDL_SCANCODE_LGUI, KEY_LEFT_SUPER}, {SDL_SCANCODE_RGUI, KEY_RIGHT_SUPER},
            {SDL_SCANCODE_APPLICATION, KEY_APPLICATION}, {SDL_SCANCODE_MENU, KEY_APPLICATION},
            {SDL_SCANCODE_POWER, KEY_POWER}, {SDL_SCANCODE_SLEEP, KEY_SLEEP},
            {SDL_SCANCODE_AC_SEARCH, KEY_WEB_SEARCH}, {SDL_SCANCODE_AC_BOOKMARKS, KEY_WEB_FAVORITES},
            {SDL_SCANCODE_AC_REFRESH, KEY_WEB_REFRESH}, {SDL_SCANCODE_AC_STOP, KEY_WEB_STOP},
            {SDL_SCANCODE_AC_FORWARD, KEY_WEB_FORWARD}, {SDL_SCANCODE_AC_BACK, KEY_WEB_BACK},
            {SDL_SCANCODE_COMPUTER, KEY_MY_COMPUTER}, {SDL_SCANCODE_MAIL, KEY_MAIL},
            {SDL_SCANCODE_MEDIASELECT, KEY_MEDIA_SELECT},
        };
        for (const auto& p : pairs) t[p.sdl] = p.key;
        return t;
    }();
    return table;
}

void rawListener(const RawInputEvent& event, void*) { handleRawEvent(event); }

// altFromSystem: the system's own modifier state with the event; the keys seen held so far
// count too, so that injected events carry Alt as the system's would.
void keyEvent(uint8_t key, bool pressed, bool repeat, bool postChar, bool altFromSystem) {
    State& s = state();
    if (key == KEY_NONE) return;
    if (!repeat) {
        s.held[key] = pressed ? 0x80 : 0;
        const bool alt = altFromSystem || s.held[KEY_LEFT_ALT] || s.held[KEY_RIGHT_ALT];
        if (s.keyboardAcquired) {
            if (s.keys.size() < kBufferSize) s.keys.push_back({key, pressed, alt});
            else s.keysOverflow = true;
        }
    }
    if (pressed && postChar) {
        if (wchar_t c = controlCharOfKey(key)) postMessage(MSG_CHAR, uintptr_t(c), repeat ? (intptr_t(1) << 30) | 1 : 1);
    }
}

void buttonEvent(uint8_t button, bool pressed) {
    State& s = state();
    if (button >= MOUSE_BUTTON_COUNT || !s.mouseAcquired) return;
    if (s.buttons.size() < kBufferSize) s.buttons.push_back({button, pressed});
    else s.buttonsOverflow = true;
}

}  // namespace

void open() {
    State& s = state();
    CoordinateMapper mapper = std::move(s.mapper);
    s = State{};
    s.mapper = std::move(mapper);
    s.open = true;
    setRawEventListener(&rawListener, nullptr);
}

void close() {
    setRawEventListener(nullptr, nullptr);
    State& s = state();
    CoordinateMapper mapper = std::move(s.mapper);
    s = State{};
    s.mapper = std::move(mapper);
}

bool isOpen() { return state().open; }

bool acquireKeyboard() {
    if (!windowHasFocus()) return false;
    state().keyboardAcquired = true;
    return true;
}

bool acquireMouse() {
    if (!windowHasFocus()) return false;
    state().mouseAcquired = true;
    return true;
}

void unacquireKeyboard() {
    State& s = state();
    s.keyboardAcquired = false;
    s.keys.clear();
    s.keysOverflow = false;
}

void unacquireMouse() {
    State& s = state();
    s.mouseAcquired = false;
    s.buttons.clear();
    s.buttonsOverflow = false;
    s.motion = MouseState{};
}

bool isKeyboardAcquired() { return state().keyboardAcquired; }
bool isMouseAcquired() { return state().mouseAcquired; }

ReadResult readKeyboard(std::vector<KeyEvent>& out) {
    State& s = state();
    if (s.keyboardLost) {
        s.keyboardLost = false;
        return ReadResult::InputLost;
    }
    if (!s.keyboardAcquired) return ReadResult::NotAcquired;
    out.insert(out.end(), s.keys.begin(), s.keys.end());
    s.keys.clear();
    bool overflow = s.keysOverflow;
    s.keysOverflow = false;
    return overflow ? ReadResult::BufferOverflow : ReadResult::Ok;
}

ReadResult readButtons(std::vector<ButtonEvent>& out) {
    State& s = state();
    if (s.mouseLost) return ReadResult::InputLost;  // answered once, by readMouseState
    if (!s.mouseAcquired) return ReadResult::NotAcquired;
    out.insert(out.end(), s.buttons.begin(), s.buttons.end());
    s.buttons.clear();
    bool overflow = s.buttonsOverflow;
    s.buttonsOverflow = false;
    return overflow ? ReadResult::BufferOverflow : ReadResult::Ok;
}

ReadResult readMouseState(MouseState& out) {
    State& s = state();
    if (s.mouseLost) {
        s.mouseLost = false;
        return ReadResult::InputLost;
    }
    if (!s.mouseAcquired) return ReadResult::NotAcquired;
    out = s.motion;
    s.motion = MouseState{};
    return ReadResult::Ok;
}

ReadResult readKeyState(uint8_t out[256]) {
    State& s = state();
    if (!s.keyboardAcquired) {
        std::memset(out, 0, 256);
        return ReadResult::NotAcquired;
    }
    std::memcpy(out, s.held, 256);
    return ReadResult::Ok;
}

void flush() {
    State& s = state();
    s.keys.clear();
    s.buttons.clear();
    s.keysOverflow = false;
    s.buttonsOverflow = false;
    s.motion = MouseState{};
}

bool cursorPosition(float* x, float* y) {
    State& s = state();
    if (!s.cursorKnown) return false;
    float px = s.cursorX, py = s.cursorY;
    if (s.mapper) s.mapper(&px, &py);
    *x = px;
    *y = py;
    return true;
}

void setCoordinateMapper(CoordinateMapper mapper) { state().mapper = std::move(mapper); }

uint8_t keyFromScancode(int sdlScancode) {
    if (sdlScancode < 0 || sdlScancode >= SDL_NUM_SCANCODES) return 0;
    return scancodeTable()[sdlScancode];
}

wchar_t controlCharOfKey(uint8_t key) {
    switch (key) {
        case KEY_BACKSPACE: return 8;
        case KEY_TAB: return 9;
        case KEY_ENTER:
        case KEY_KEYPAD_ENTER: return 13;
        case KEY_ESCAPE: return 27;
        default: return 0;
    }
}

void handleRawEvent(const RawInputEvent& event) {
    switch (event.type) {
        case RawInputEvent::KEY:
            // The platform's event translation posts the control characters of these keys.
            keyEvent(event.key, event.pressed, event.repeat, false, event.alt);
            break;
        case RawInputEvent::BUTTON:
            buttonEvent(event.button, event.pressed);
            break;
        case RawInputEvent::MOTION:
            injectCursor(float(event.x), float(event.y));
            injectMotion(event.dx, event.dy);
            break;
        case RawInputEvent::WHEEL:
            injectWheel(event.notches);
            break;
    }
}

void injectKey(uint8_t key, bool pressed, bool repeat) { keyEvent(key, pressed, repeat && pressed, true, false); }

void injectButton(uint8_t button, bool pressed) { buttonEvent(button, pressed); }

void injectMotion(int32_t dx, int32_t dy) {
    State& s = state();
    if (!s.mouseAcquired) return;
    s.motion.dx += dx;
    s.motion.dy += dy;
}

void injectWheel(int32_t notches) {
    State& s = state();
    if (!s.mouseAcquired) return;
    s.motion.wheel += notches * WHEEL_NOTCH;
}

void injectCursor(float windowX, float windowY) {
    State& s = state();
    s.cursorKnown = true;
    s.cursorX = windowX;
    s.cursorY = windowY;
}

void injectInputLost() {
    State& s = state();
    s.keyboardLost = true;
    s.mouseLost = true;
    s.keys.clear();
    s.buttons.clear();
    s.motion = MouseState{};
}

}  // namespace platform::input
