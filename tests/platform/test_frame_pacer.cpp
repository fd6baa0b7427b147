// The frame pacer on a fake clock: a swap that returns at once gets frames one refresh
// interval apart, with no drift and no hurry after a late frame; a swap that waits for the
// retrace, v-sync off and slow frames get no sleep.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/device/FramePacer.h"

namespace {

constexpr int64_t kMs = 1000000;

// A frame loop on a fake clock: each frame works, swaps (returning at once or at the next
// retrace of a display at the given rate) and hands over to the pacer.
class FakeLoop {
public:
    explicit FakeLoop(int displayHz) : m_retrace(1000000000 / displayHz), pacer(clock(), sleeper()) {}

    cFramePacer::Clock clock() {
        return [this] { return now; };
    }
    cFramePacer::SleepUntil sleeper() {
        return [this](int64_t until) {
            sleeps.push_back(until - now);
            if (until > now) now = until;
        };
    }
    // One frame; returns the time it ended (after any sleep).
    int64_t frame(int64_t workNs, bool swapWaits) {
        now += workNs;
        if (swapWaits) now = (now / m_retrace + 1) * m_retrace;
        else now += kMs / 2;  // a swap that copies the frame and returns
        pacer.afterSwap();
        ends.push_back(now);
        return now;
    }
    void frames(int n, int64_t workNs, bool swapWaits) {
        for (int i = 0; i < n; ++i) frame(workNs, swapWaits);
    }

    int64_t now = 1000 * kMs;
    int64_t m_retrace;
    cFramePacer pacer;
    std::vector<int64_t> sleeps;
    std::vector<int64_t> ends;
};

TEST(FramePacer, ASwapThatDoesNotWaitGetsFramesOneIntervalApart) {
    struct Case {
        int reportedHz;   // what the display says (0: unknown)
        int64_t work;     // the frame's own time before the swap
        int64_t expected; // the spacing of the frames
    };
    // The last case works for 90 % of the interval: still paced, not left at 63 frames a second.
    for (const Case& c : {Case{0, 2 * kMs, 1000000000 / 60}, Case{60, 2 * kMs, 1000000000 / 60},
                          Case{75, 2 * kMs, 1000000000 / 75}, Case{144, 2 * kMs, 1000000000 / 144},
                          Case{60, 15 * kMs, 1000000000 / 60}}) {
        FakeLoop loop(60);
        loop.pacer.setRefreshRate(c.reportedHz);
        loop.pacer.setEnabled(true);
        loop.frames(40, c.work, false);
        EXPECT_FALSE(loop.pacer.swapWaits()) << c.reportedHz;
        // Once decided, the frame ends lie exactly one interval apart.
        const size_t first = cFramePacer::kFrames + 2;
        for (size_t i = first; i < loop.ends.size(); ++i)
            ASSERT_EQ(loop.ends[i] - loop.ends[i - 1], c.expected) << c.reportedHz << " frame " << i;
        // The sleeps are what the frame left of its interval: one each, never spinning.
        EXPECT_EQ(loop.sleeps.size(), loop.ends.size() - cFramePacer::kFrames) << c.reportedHz;
    }
}

TEST(FramePacer, FramesOfChangingWorkStayOnTheGridAndALateFrameStartsANewOne) {
    FakeLoop loop(60);
    loop.pacer.setEnabled(true);
    loop.frames(20, 2 * kMs, false);
    const int64_t interval = loop.pacer.intervalNs();
    // Work that varies from frame to frame: the ends stay on the grid (no drift).
    const int64_t gridStart = loop.ends.back();
    for (int i = 1; i <= 30; ++i) {
        loop.frame((i % 5 + 1) * kMs, false);
        ASSERT_EQ(loop.ends.back(), gridStart + i * interval) << i;
    }
    // A frame slightly late is caught up by the next one; one late by more than an interval is
    // not hurried after: the next frames keep a full interval from it.
    loop.frame(interval + 3 * kMs, false);
    const int64_t slightlyLate = loop.ends.back();
    loop.frame(2 * kMs, false);
    EXPECT_EQ(loop.ends.back(), gridStart + 32 * interval);
    EXPECT_LT(loop.ends.back() - slightlyLate, interval);
    loop.frame(3 * interval, false);
    const int64_t veryLate = loop.ends.back();
    loop.frame(2 * kMs, false);
    EXPECT_EQ(loop.ends.back() - veryLate, interval);
    loop.frame(2 * kMs, false);
    EXPECT_EQ(loop.ends.back() - veryLate, 2 * interval);
}

TEST(FramePacer, NoSleepIsAddedWhereTheSwapWaitsVSyncIsOffOrFramesAreSlow) {
    {
        SCOPED_TRACE("a swap that waits for the retrace");
        FakeLoop loop(60);
        loop.pacer.setEnabled(true);
        loop.frames(60, 2 * kMs, true);
        EXPECT_TRUE(loop.pacer.swapWaits());
        EXPECT_TRUE(loop.sleeps.empty());
        // A heavy frame now and then (two retraces) changes nothing.
        for (int i = 0; i < 30; ++i) loop.frame(i % 4 == 0 ? 20 * kMs : 2 * kMs, true);
        EXPECT_TRUE(loop.sleeps.empty());
    }
    {
        SCOPED_TRACE("v-sync off");
        FakeLoop loop(60);
        loop.frames(60, 2 * kMs, false);
        EXPECT_TRUE(loop.sleeps.empty());
    }
    {
        SCOPED_TRACE("frames that take longer than the interval");
        FakeLoop loop(60);
        loop.pacer.setEnabled(true);
        loop.frames(60, 25 * kMs, false);
        EXPECT_TRUE(loop.sleeps.empty());
    }
}

TEST(FramePacer, TheDecisionFollowsTheFramesAndStartsAgainAfterAReset) {
    FakeLoop loop(60);
    loop.pacer.setEnabled(true);
    loop.frames(30, 2 * kMs, true);
    ASSERT_TRUE(loop.pacer.swapWaits());
    // The swap stops waiting (say a compositor was switched off): pacing starts within the
    // measured frames.
    loop.frames(int(cFramePacer::kFrames), 2 * kMs, false);
    EXPECT_FALSE(loop.pacer.swapWaits());
    loop.frames(20, 2 * kMs, false);
    EXPECT_GT(loop.sleeps.size(), 0u);
    // Frames heavier than the interval need no sleep; light ones are paced again.
    loop.frames(int(cFramePacer::kFrames), 30 * kMs, false);
    EXPECT_TRUE(loop.pacer.swapWaits());
    size_t sleeps = loop.sleeps.size();
    loop.frames(5, 30 * kMs, false);
    EXPECT_EQ(loop.sleeps.size(), sleeps);
    loop.frames(int(cFramePacer::kFrames), 2 * kMs, false);
    EXPECT_FALSE(loop.pacer.swapWaits());
    // A device reset measures again, trusting the swap until the frames have spoken.
    loop.pacer.measureAgain();
    EXPECT_TRUE(loop.pacer.swapWaits());
    sleeps = loop.sleeps.size();
    loop.frames(int(cFramePacer::kFrames), 2 * kMs, true);
    loop.frames(30, 2 * kMs, true);
    EXPECT_TRUE(loop.pacer.swapWaits());
    EXPECT_EQ(loop.sleeps.size(), sleeps);
    // A driver that refused the swap interval: paced from the second frame on.
    FakeLoop refused(60);
    refused.pacer.setEnabled(true);
    refused.pacer.setSwapCannotWait();
    refused.frames(3, 2 * kMs, false);
    EXPECT_EQ(refused.ends[2] - refused.ends[1], refused.pacer.intervalNs());
}

}  // namespace
