#pragma once
// Holds a window's frames to the display's refresh rate where the swap does not wait for the
// vertical retrace although v-sync was asked for (an X server without v-blank, software GL,
// some compositors, virtual machines): without it the frame loop runs as fast as it can and
// burns a core on an idle menu.
//
// It watches each frame's own time: from the end of the previous frame (after any wait added
// here) to the return of this frame's swap. A swap that waits for the retrace makes that time
// about one refresh interval (or more); a swap that returns at once leaves it at the work of
// the frame. Over the last frames (their median, so a single slow or quick frame changes
// nothing) the pacer decides whether the swap waits. Where it does not, the pacer sleeps until
// the frame's slot: slots lie one interval apart on a fixed grid, so sleep overshoot does not
// add up (no drift), and a frame late by more than an interval starts a new grid instead of
// hurrying to catch up. Where the swap waits, nothing is added.
//
// Off (v-sync off, or no window) it never sleeps. The clock and the sleep are injected so
// tests can drive it with a fake clock; system() gives the steady clock and a real sleep.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

class cFramePacer {
public:
    // Nanoseconds of a steady clock.
    using Clock = std::function<int64_t()>;
    // Returns once the clock reads at least the given time (nanoseconds), without spinning.
    using SleepUntil = std::function<void(int64_t)>;

    // The refresh rate used when the display does not say.
    static constexpr int kDefaultRefreshHz = 60;
    // Frames whose time decides (an odd count: the median is one of them).
    static constexpr size_t kFrames = 15;

    cFramePacer(Clock clock, SleepUntil sleepUntil);
    // The steady clock of the system and an absolute sleep on it.
    static cFramePacer system();

    // On while v-sync is asked for on a window. Switching starts the measurement again.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // The display's refresh rate in Hz; 0 or less means unknown (60 Hz).
    void setRefreshRate(int hz);
    int64_t intervalNs() const { return m_interval; }
    // Forgets the measured frames and trusts the swap to wait again until the next frames have
    // been measured (a device reset: another mode, full screen, another display). While frames
    // are paced the pacer cannot tell that the swap began to wait, as the sleep takes the time
    // the swap would have waited; a reset is where that may change.
    void measureAgain();
    // The driver refused the swap interval: the swap will not wait, so pacing starts at once
    // rather than after the first measured frames.
    void setSwapCannotWait();

    // Called right after the swap returned: measures the frame and, where the swap does not
    // wait, sleeps until the frame's slot.
    void afterSwap();

    // The current decision: true while the swap is taken to wait (and nothing is added).
    bool swapWaits() const { return m_swap_waits; }

private:
    void restart();
    int64_t medianFrameTime() const;

    Clock m_clock;
    SleepUntil m_sleep_until;
    bool m_enabled = false;
    int64_t m_interval = 0;
    // Until the frames say otherwise the swap is trusted to wait.
    bool m_swap_waits = true;
    std::array<int64_t, kFrames> m_frame_times{};
    size_t m_count = 0;       // frames measured since the last restart (saturates at kFrames)
    size_t m_next = 0;        // ring position of the next measurement
    int64_t m_frame_end = 0;  // end of the previous frame; 0 before the first
    int64_t m_slot = 0;       // where the next paced frame should end
};
