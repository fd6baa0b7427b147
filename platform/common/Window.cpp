// The one game window, for both backends: SDL2 with a real video driver, or with the offscreen
// driver when headless.
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/common/PlatformState.h"

namespace platform {

using detail::state;

namespace {

const char* const kNoDisplay = "no display: set DISPLAY, or RW_BACKEND=headless for tests";

// SDL falls back to a driver without any screen when no display answers. The sdl backend takes
// such a driver only when SDL_VIDEODRIVER names it: otherwise the game would run unseen.
bool displayMissing() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0)) return false;
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return !asked || std::strstr(asked, driver) == nullptr;
}

}  // namespace

bool initVideo() {
    auto& s = state();
    if (backend() == Backend::Headless) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // The close button sends a close request only; the game decides whether to quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    static bool started = false;
    if (!started) {
        s.noDisplay = false;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            s.videoFailure = SDL_GetError();
            return false;
        }
        if (backend() == Backend::Sdl && displayMissing()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
            s.noDisplay = true;
            s.videoFailure = kNoDisplay;
            return false;
        }
        started = true;
        s.videoFailure.clear();
        // The OpenGL library stays loaded for the whole run: windows come and go (tests), and
        // a library unloaded and loaded again each time costs time and leaves its allocations
        // behind.
        SDL_GL_LoadLibrary(nullptr);
    }
    return true;
}

void createWindow(const std::string& title, int width, int height, WindowProc wndProc) {
    auto& s = state();
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        throw std::string("Invalid window size " + std::to_string(width) + "x" + std::to_string(height) + ".");
    if (s.window) destroyWindow();
    if (!initVideo()) throw std::string("The video system cannot be started: ") + videoFailure();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window) throw std::string("The game window cannot be created: ") + SDL_GetError();
    s.window = window;
    s.wndProc = wndProc;
    s.minimized = false;
    SDL_StartTextInput();
}

std::string videoFailure() { return state().videoFailure; }

std::string missingDisplay() {
    initVideo();
    return state().noDisplay ? std::string(kNoDisplay) : std::string();
}

bool hasWindow() { return state().window != nullptr; }
SDL_Window* sdlWindow() { return state().window; }

void destroyWindow() {
    auto& s = state();
    if (s.window) {
        SDL_DestroyWindow(s.window);
        s.window = nullptr;
    }
    s.wndProc = nullptr;
    s.minimized = false;
}

void setWindowTitle(const std::string& title) {
    if (state().window) SDL_SetWindowTitle(state().window, title.c_str());
}

void setClientSize(int width, int height) {
    auto* w = state().window;
    if (!w) return;
    SDL_SetWindowSize(w, width, height);
    SDL_SetWindowPosition(w, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

bool isMinimized() {
    auto& s = state();
    if (!s.window) return false;
    if (backend() == Backend::Headless) return s.minimized;
    return (SDL_GetWindowFlags(s.window) & SDL_WINDOW_MINIMIZED) != 0;
}

// Headless: the window's state changes at once and the size message follows, as a real window
// would report it.
void restoreWindow() {
    auto& s = state();
    if (!s.window) return;
    if (backend() == Backend::Headless) {
        if (s.minimized) {
            s.minimized = false;
            postMessage(MSG_SIZE, SIZE_STATE_RESTORED, 0);
        }
        return;
    }
    SDL_RestoreWindow(s.window);
}

void raiseWindow() {
    auto& s = state();
    if (!s.window || backend() == Backend::Headless) return;
    SDL_RaiseWindow(s.window);
}

void minimizeWindow() {
    auto& s = state();
    if (!s.window) return;
    if (backend() == Backend::Headless) {
        if (!s.minimized) {
            s.minimized = true;
            postMessage(MSG_SIZE, SIZE_STATE_MINIMIZED, 0);
        }
        return;
    }
    SDL_MinimizeWindow(s.window);
}

void showSystemCursor(bool show) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void desktopSize(int* width, int* height) {
    int w = 800, h = 600;
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        w = mode.w;
        h = mode.h;
    }
    if (width) *width = w;
    if (height) *height = h;
}

}  // namespace platform
