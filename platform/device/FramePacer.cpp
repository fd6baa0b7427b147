#include "platform/device/FramePacer.h"

#include <time.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace {

// The swap is taken to wait when the median frame time reaches this share of the interval, and
// to return at once when it falls below the lower share; between the two the decision stands,
// so frames whose work is close to the interval do not flip it back and forth. The band is
// narrow: frames left unpaced inside it run at most 5 % above the refresh rate, and a swap that
// waits gives frames of one interval within the clock's jitter.
constexpr int64_t kWaitsPercent = 98;
constexpr int64_t kReturnsPercent = 95;

int64_t steadyNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// std::chrono::steady_clock is CLOCK_MONOTONIC; an absolute sleep on it lands on the slot
// however long the caller took to get here.
void sleepUntilSteady(int64_t ns) {
    timespec until{};
    until.tv_sec = time_t(ns / 1000000000);
    until.tv_nsec = long(ns % 1000000000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

}  // namespace

cFramePacer::cFramePacer(Clock clock, SleepUntil sleepUntil)
    : m_clock(std::move(clock)), m_sleep_until(std::move(sleepUntil)) {
    setRefreshRate(0);
}

cFramePacer cFramePacer::system() { return cFramePacer(steadyNow, sleepUntilSteady); }

void cFramePacer::setEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    measureAgain();
}

void cFramePacer::setRefreshRate(int hz) {
    if (hz <= 0) hz = kDefaultRefreshHz;
    const int64_t interval = 1000000000 / hz;
    if (interval == m_interval) return;
    m_interval = interval;
    restart();
}

void cFramePacer::measureAgain() {
    m_swap_waits = true;
    restart();
}

void cFramePacer::setSwapCannotWait() { m_swap_waits = false; }

void cFramePacer::restart() {
    m_count = 0;
    m_next = 0;
    m_frame_end = 0;
    m_slot = 0;
}

int64_t cFramePacer::medianFrameTime() const {
    std::array<int64_t, kFrames> sorted = m_frame_times;
    std::nth_element(sorted.begin(), sorted.begin() + kFrames / 2, sorted.end());
    return sorted[kFrames / 2];
}

void cFramePacer::afterSwap() {
    if (!m_enabled) return;
    const int64_t now = m_clock();
    if (m_frame_end != 0) {
        // 1. The frame's own time: work and swap, not the sleep added after the last one.
        m_frame_times[m_next] = now - m_frame_end;
        m_next = (m_next + 1) % kFrames;
        if (m_count < kFrames) ++m_count;
        // 2. Decide once enough frames were seen.
        if (m_count == kFrames) {
            const int64_t median = medianFrameTime();
            if (m_swap_waits && median * 100 < m_interval * kReturnsPercent)
                m_swap_waits = false;
            else if (!m_swap_waits && median * 100 >= m_interval * kWaitsPercent)
                m_swap_waits = true;
        }
    }
    // 3. A swap that waits, or the first frame: the next slot follows this frame.
    if (m_swap_waits || m_frame_end == 0) {
        m_frame_end = now;
        m_slot = now + m_interval;
        return;
    }
    // 4. Otherwise sleep until the slot; a frame late by more than an interval starts a new grid.
    if (now < m_slot) {
        m_sleep_until(m_slot);
    } else if (now - m_slot > m_interval) {
        m_slot = now;
    }
    m_frame_end = m_clock();
    m_slot += m_interval;
}
