// Backend choice, clocks, message boxes and the executable's path.
#include <SDL.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/common/PlatformState.h"

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace platform {

using detail::state;

Backend backend() {
    auto& s = state();
    if (!s.backendChosen) {
        const char* env = std::getenv("RW_BACKEND");
        s.backend = (env && std::strcmp(env, "headless") == 0) ? Backend::Headless : Backend::Sdl;
        s.backendChosen = true;
    }
    return s.backend;
}

void setBackend(Backend b) {
    state().backend = b;
    state().backendChosen = true;
}

namespace {
uint64_t monotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<uint64_t>(ts.tv_nsec);
}
}  // namespace

uint32_t timeMs() {
    if (backend() == Backend::Headless) return state().testClock;
    return static_cast<uint32_t>(monotonicNs() / 1000000ull);
}

void sleepMs(uint32_t ms) {
    if (backend() == Backend::Headless) {
        state().testClock += ms;
        return;
    }
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

void advanceTestClock(uint32_t ms) { state().testClock += ms; }
void setTestClock(uint32_t ms) { state().testClock = ms; }

uint64_t readCycleCounter() {
    if (backend() == Backend::Headless) return uint64_t(state().testClock) * 1000000ull;
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return monotonicNs();
#endif
}

std::tm localTime() {
    std::tm local{};
    if (backend() == Backend::Headless) {
        std::tm start{};
        start.tm_year = 2026 - 1900;
        start.tm_mon = 0;
        start.tm_mday = 1;
        start.tm_hour = 12;
        start.tm_isdst = 0;
        const std::time_t t = timegm(&start) + std::time_t(state().testClock / 1000u);
        gmtime_r(&t, &local);
        return local;
    }
    const std::time_t t = std::time(nullptr);
    localtime_r(&t, &local);
    return local;
}

std::string executablePath() {
    std::string buffer(256, '\0');
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return std::string();
        if (static_cast<size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<size_t>(n));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string executableDir() {
    std::string path = executablePath();
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "./";
    return path.substr(0, slash + 1);
}

}  // namespace platform
