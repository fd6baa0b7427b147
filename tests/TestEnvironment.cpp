// Linked into every test program: the environment every test runs in, whoever starts it
// (CTest, a debugger, a developer's shell). Values already set in the environment win.
#include <cstdlib>

extern "C" {
// Read by the sanitizer runtimes before main. The address sanitizer does not follow the
// dynamic thread-local blocks of the libraries (the GL driver's): with some layouts of the
// heap the leak checker read a stale record of such a block at exit and crashed (seen under
// CTest after a test that draws).
const char* __asan_default_options() { return "detect_leaks=1:intercept_tls_get_addr=0"; }
const char* __ubsan_default_options() { return "print_stacktrace=1"; }
}

namespace {

// Tests run headless: SDL's offscreen video driver and the test clock; sound plays only where a
// test opens the audio device itself.
const bool g_environment = [] {
    setenv("RW_BACKEND", "headless", 0);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // Mesa's software rasteriser draws on the calling thread: the pixels are the same, and the
    // leak checker's stop-the-world pass at exit no longer races its worker threads (under CTest
    // it crashed there).
    setenv("LP_NUM_THREADS", "0", 0);
    // Mesa's shader cache writes from a thread of its own, started with the first context and
    // still ending while the leak checker stops the world at exit (under load it crashed
    // there); tests compile their few shaders anew.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    return true;
}();

}  // namespace
