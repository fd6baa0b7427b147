// SDL events become the messages of the game window. Keyboard and mouse events are also handed
// to the raw listener (the input layer) as raw input events.
#include <SDL.h>

#include "platform/common/PlatformState.h"
#include "platform/input/Input.h"
#include "platform/sdl/SdlTypes.h"

namespace platform {

using detail::state;

namespace {

uintptr_t virtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<uintptr_t>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + static_cast<uintptr_t>(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return WKEY_F1 + static_cast<uintptr_t>(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return WKEY_NUMPAD1 + static_cast<uintptr_t>(key - SDLK_KP_1);
    switch (key) {
    case SDLK_KP_0: return WKEY_NUMPAD0;
    case SDLK_BACKSPACE: return WKEY_BACK;
    case SDLK_TAB: return WKEY_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return WKEY_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return WKEY_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return WKEY_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return WKEY_ALT;
    case SDLK_PAUSE: return WKEY_PAUSE;
    case SDLK_ESCAPE: return WKEY_ESCAPE;
    case SDLK_SPACE: return WKEY_SPACE;
    case SDLK_PAGEUP: return WKEY_PAGEUP;
    case SDLK_PAGEDOWN: return WKEY_PAGEDOWN;
    case SDLK_END: return WKEY_END;
    case SDLK_HOME: return WKEY_HOME;
    case SDLK_LEFT: return WKEY_LEFT;
    case SDLK_UP: return WKEY_UP;
    case SDLK_RIGHT: return WKEY_RIGHT;
    case SDLK_DOWN: return WKEY_DOWN;
    case SDLK_INSERT: return WKEY_INSERT;
    case SDLK_DELETE: return WKEY_DELETE;
    default: return 0;
    }
}

void translateKey(const SDL_KeyboardEvent& e) {
    uintptr_t vk = virtualKey(e.keysym.sym);
    bool alt = (e.keysym.mod & KMOD_ALT) != 0 || vk == WKEY_ALT;
    bool down = e.type == SDL_KEYDOWN;
    if (down && alt && vk == WKEY_F4) {
        postMessage(MSG_CLOSE);
        return;
    }
    if (vk == 0) return;
    intptr_t lParam = 1;  // repeat count
    if (e.repeat) lParam |= intptr_t(1) << 30;
    if (!down) lParam |= intptr_t(3) << 30;
    uint32_t message = alt ? (down ? MSG_SYSKEYDOWN : MSG_SYSKEYUP) : (down ? MSG_KEYDOWN : MSG_KEYUP);
    postMessage(message, vk, lParam);
    // The control characters that text input does not deliver come from their keys, with repeat.
    if (down && !alt) {
        uintptr_t character = vk == WKEY_BACK ? 8 : vk == WKEY_TAB ? 9 : vk == WKEY_RETURN ? 13 : vk == WKEY_ESCAPE ? 27 : 0;
        if (character) postMessage(MSG_CHAR, character, lParam);
    }
}

// UTF-8 text becomes one character message per UTF-16 unit.
void translateText(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        uint32_t c = *p;
        int extra = 0;
        if (c >= 0xF0) { c &= 0x07; extra = 3; }
        else if (c >= 0xE0) { c &= 0x0F; extra = 2; }
        else if (c >= 0xC0) { c &= 0x1F; extra = 1; }
        else if (c >= 0x80) { ++p; continue; }  // stray continuation byte
        ++p;
        bool ok = true;
        for (int i = 0; i < extra; ++i) {
            if ((*p & 0xC0) != 0x80) { ok = false; break; }
            c = (c << 6) | (*p & 0x3F);
            ++p;
        }
        if (!ok || c > 0x10FFFF) continue;
        if (c >= 0x10000) {
            c -= 0x10000;
            postMessage(MSG_CHAR, 0xD800 + (c >> 10), 1);
            postMessage(MSG_CHAR, 0xDC00 + (c & 0x3FF), 1);
        } else {
            postMessage(MSG_CHAR, c, 1);
        }
    }
}

void translateWindowEvent(const SDL_WindowEvent& e) {
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE: postMessage(MSG_CLOSE); break;
    case SDL_WINDOWEVENT_MINIMIZED: postMessage(MSG_SIZE, SIZE_STATE_MINIMIZED); break;
    case SDL_WINDOWEVENT_RESTORED: postMessage(MSG_SIZE, SIZE_STATE_RESTORED); break;
    case SDL_WINDOWEVENT_MAXIMIZED: postMessage(MSG_SIZE, SIZE_STATE_MAXIMIZED); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        state().focused = true;
        postMessage(MSG_ACTIVATEAPP, 1);
        postMessage(MSG_ACTIVATE, ACTIVATE_ACTIVE);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        state().focused = false;
        postMessage(MSG_ACTIVATE, ACTIVATE_INACTIVE);
        postMessage(MSG_ACTIVATEAPP, 0);
        break;
    default: break;
    }
}

uint8_t buttonIndex(uint8_t sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    case SDL_BUTTON_X1: return 3;
    case SDL_BUTTON_X2: return 4;
    default: return uint8_t(sdlButton - 1);  // further buttons in order
    }
}

}  // namespace

bool sdl::toRawInputEvent(const SDL_Event& e, RawInputEvent* out) {
    RawInputEvent raw;
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        raw.type = RawInputEvent::KEY;
        raw.key = input::keyFromScancode(e.key.keysym.scancode);
        raw.pressed = e.type == SDL_KEYDOWN;
        raw.repeat = e.key.repeat != 0;
        raw.alt = (e.key.keysym.mod & KMOD_ALT) != 0;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (e.button.which == SDL_TOUCH_MOUSEID) return false;
        raw.type = RawInputEvent::BUTTON;
        raw.button = buttonIndex(e.button.button);
        raw.pressed = e.type == SDL_MOUSEBUTTONDOWN;
        break;
    case SDL_MOUSEMOTION:
        if (e.motion.which == SDL_TOUCH_MOUSEID) return false;
        raw.type = RawInputEvent::MOTION;
        raw.x = e.motion.x;
        raw.y = e.motion.y;
        raw.dx = e.motion.xrel;
        raw.dy = e.motion.yrel;
        break;
    case SDL_MOUSEWHEEL:
        raw.type = RawInputEvent::WHEEL;
        raw.notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        break;
    default:
        return false;
    }
    *out = raw;
    return true;
}

namespace detail {

void pumpSdlEvents() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    auto& s = state();
    // Headless windows report nothing of their own: tests inject the window's messages.
    bool windowEvents = backend() != Backend::Headless;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        RawInputEvent raw;
        if (s.rawListener && sdl::toRawInputEvent(e, &raw)) s.rawListener(raw, s.rawUser);
        switch (e.type) {
        // SDL_QUIT comes from SIGINT and SIGTERM (the window's close button is a window
        // event): a logout or a kill asks the program to end now, with no question that
        // nobody will answer. The window is destroyed, so the game still writes its settings.
        case SDL_QUIT: postMessage(MSG_DESTROY); break;
        case SDL_WINDOWEVENT:
            if (windowEvents) translateWindowEvent(e.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: translateKey(e.key); break;
        case SDL_TEXTINPUT: translateText(e.text.text); break;
        case SDL_MOUSEMOTION:
            postMessage(MSG_MOUSEMOVE, 0, (e.motion.x & 0xFFFF) | ((e.motion.y & 0xFFFF) << 16));
            break;
        default: break;
        }
    }
}

}  // namespace detail

}  // namespace platform
