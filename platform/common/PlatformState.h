#pragma once
// State shared by the parts of the platform layer (not for use outside platform/).

#include <deque>

#include "platform/Platform.h"

struct SDL_Window;

namespace platform {

struct Window {
    SDL_Window* sdl = nullptr;
};

}  // namespace platform

namespace platform::detail {

struct TimedMessage {
    uint32_t due;
    Message message;
};

struct State {
    bool backendChosen = false;
    Backend backend = Backend::Sdl;
    std::deque<Message> queue;
    std::deque<TimedMessage> timed;  // headless: released when the test clock reaches due
    WindowProc wndProc = nullptr;
    Window handle;           // the game window; window() hands it out while handle.sdl is set
    bool minimized = false;  // headless keeps it here; sdl asks SDL
    bool focused = true;     // sdl: as the last focus event told
    std::string videoFailure;  // why the video system did not start
    bool noDisplay = false;    // the sdl backend found no display
    RawEventListener rawListener = nullptr;
    void* rawUser = nullptr;
    std::vector<std::string> messageBoxes;
    uint32_t testClock = 0;
};

State& state();

// Translates waiting SDL events into messages (and hands input events to the raw listener).
void pumpSdlEvents();
// Serves the requests of second instances (restore and raise the window).
void serveInstanceRequests();

}  // namespace platform::detail
