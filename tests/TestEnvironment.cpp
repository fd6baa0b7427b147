// Linked into every test program: the environment every test runs in, whoever starts it
// (CTest, a debugger, a developer's shell). Values already set in the environment win.
#include <cstdlib>

extern "C" {
// Read by the sanitizer runtimes before main.
const char* __asan_default_options() { return "detect_leaks=1"; }
const char* __ubsan_default_options() { return "print_stacktrace=1"; }
}

namespace {

// Tests run headless: SDL's offscreen video driver, no audio device, the test clock.
const bool g_environment = [] {
    setenv("RW_BACKEND", "headless", 0);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();

}  // namespace
