#pragma once
// The SDL side of the platform's types (for the platform and its own tests only).

#include <SDL.h>

#include "platform/Platform.h"

namespace platform::sdl {

// The SDL window inside the platform's window; null for null.
SDL_Window* windowOf(Window* window);

// The raw input event of an SDL keyboard or mouse event. False for every other event, and for
// mouse events that SDL made up from touches.
bool toRawInputEvent(const SDL_Event& event, RawInputEvent* out);

}  // namespace platform::sdl
