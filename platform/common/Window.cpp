// The one game window, for both backends: SDL2 with a real video driver, or with the offscreen
// driver when headless.
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Lifetime.h"
#include "platform/common/PlatformState.h"
#include "platform/sdl/SdlTypes.h"

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
    if (width <= 0 || height <= 0 || width > kMaxWindowSide || height > kMaxWindowSide)
        throw std::string("Invalid window size " + std::to_string(width) + "x" + std::to_string(height) + ".");
    if (s.handle.sdl) destroyWindow();
    if (!initVideo()) throw std::string("The video system cannot be started: ") + videoFailure();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window) throw std::string("The game window cannot be created: ") + SDL_GetError();
    s.handle.sdl = window;
    s.wndProc = wndProc;
    s.minimized = false;
    s.focused = (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
    SDL_StartTextInput();
}

std::string videoFailure() { return state().videoFailure; }

std::string missingDisplay() {
    initVideo();
    return state().noDisplay ? std::string(kNoDisplay) : std::string();
}

bool hasWindow() { return state().handle.sdl != nullptr; }

Window* window() {
    auto& s = state();
    return s.handle.sdl ? &s.handle : nullptr;
}

SDL_Window* sdl::windowOf(Window* window) { return window ? window->sdl : nullptr; }

void destroyWindow() {
    auto& s = state();
    if (s.handle.sdl) {
        SDL_DestroyWindow(s.handle.sdl);
        s.handle.sdl = nullptr;
    }
    s.wndProc = nullptr;
    s.minimized = false;
    s.focused = true;
}

void setWindowTitle(const std::string& title) {
    if (state().handle.sdl) SDL_SetWindowTitle(state().handle.sdl, title.c_str());
}

std::string windowTitle() {
    auto* w = state().handle.sdl;
    return w ? std::string(SDL_GetWindowTitle(w)) : std::string();
}

void setClientSize(int width, int height) {
    auto* w = state().handle.sdl;
    if (!w) return;
    SDL_SetWindowSize(w, width, height);
    SDL_SetWindowPosition(w, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

bool windowPosition(int* x, int* y) {
    auto* w = state().handle.sdl;
    if (!w) return false;
    SDL_GetWindowPosition(w, x, y);
    return true;
}

bool windowSize(int* width, int* height) {
    auto* w = state().handle.sdl;
    if (!w) return false;
    SDL_GetWindowSize(w, width, height);
    return true;
}

void setWindowPosition(int x, int y) {
    if (auto* w = state().handle.sdl) SDL_SetWindowPosition(w, x, y);
}

void setFullscreen(bool fullscreen, int width, int height) {
    auto* w = state().handle.sdl;
    if (!w) return;
    if (fullscreen) {
        SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(w, 0);
        SDL_SetWindowSize(w, width, height);
    }
}

bool windowHasFocus() {
    auto& s = state();
    return backend() == Backend::Headless || !s.handle.sdl || s.focused;
}

void setRelativeMouseMode(bool on) {
    if (backend() == Backend::Sdl && SDL_WasInit(SDL_INIT_VIDEO)) SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE);
}

bool isMinimized() {
    auto& s = state();
    if (!s.handle.sdl) return false;
    if (backend() == Backend::Headless) return s.minimized;
    return (SDL_GetWindowFlags(s.handle.sdl) & SDL_WINDOW_MINIMIZED) != 0;
}

// Headless: the window's state changes at once and the size message follows, as a real window
// would report it.
void restoreWindow() {
    auto& s = state();
    if (!s.handle.sdl) return;
    if (backend() == Backend::Headless) {
        if (s.minimized) {
            s.minimized = false;
            postMessage(MSG_SIZE, SIZE_STATE_RESTORED, 0);
        }
        return;
    }
    SDL_RestoreWindow(s.handle.sdl);
}

void raiseWindow() {
    auto& s = state();
    if (!s.handle.sdl || backend() == Backend::Headless) return;
    SDL_RaiseWindow(s.handle.sdl);
}

void minimizeWindow() {
    auto& s = state();
    if (!s.handle.sdl) return;
    if (backend() == Backend::Headless) {
        if (!s.minimized) {
            s.minimized = true;
            postMessage(MSG_SIZE, SIZE_STATE_MINIMIZED, 0);
        }
        return;
    }
    SDL_MinimizeWindow(s.handle.sdl);
}

void showSystemCursor(bool show) {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

int desktopBitsPerPixel() {
    SDL_DisplayMode mode;
    if (!SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
    return int(SDL_BITSPERPIXEL(mode.format));
}

std::string probeOpenGL33() {
    if (!initVideo()) return videoFailure();
    int major = 0, minor = 0, profile = 0;
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, &major);
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, &minor);
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, &profile);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    bool made = false;
    std::string failure;
    SDL_Window* window = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 16, 16,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window) {
        SDL_GLContext context = SDL_GL_CreateContext(window);
        made = context != nullptr;
        if (context)
            SDL_GL_DeleteContext(context);
        else
            failure = SDL_GetError();
        SDL_DestroyWindow(window);
    } else {
        failure = SDL_GetError();
    }
    // The game window made next asks for the same attributes; anything else made here keeps
    // what it had.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, major);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, minor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, profile);
    if (made) return std::string();
    return failure.empty() ? std::string("no OpenGL 3.3 context can be made") : failure;
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
