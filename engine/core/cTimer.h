#pragma once
// The frame clock: turns the millisecond clock into the game-time step (scaled, stopped while
// paused) and the interface-time step, clamped to the maximum step, counts frames per second
// and seeds the random generator once.

#include <cstdint>

#include "engine/core/cSingleton.h"

class cTimer;
using TimerRoutine = void (*)(cTimer& timer);
using TimerClock = float (*)(const cTimer& timer);

class cTimer : public cSingleton<cTimer> {
public:
    cTimer();
    ~cTimer() override;

    // One new frame: computes both steps.
    virtual void update();
    virtual const float& getGameDelta() const { return m_game_delta; }
    virtual const float& getRealDelta() const { return m_real_delta; }
    // Runs one update at once; that update and the next n yield the token step of 0.0001 s.
    virtual void skipFrames(unsigned n);
    virtual const float& getGameSpeed() const { return m_game_speed; }
    virtual void setGameSpeed(const float& speed) { m_game_speed = speed; }
    virtual const float& getRealSpeed() const { return m_real_speed; }
    virtual void setRealSpeed(const float& speed) { m_real_speed = speed; }
    virtual const float& getMinFps() const { return m_min_fps; }
    // Also sets the maximum step to 1 / fps.
    virtual void setMinFps(const float& fps);
    // Frames counted in the last full second.
    virtual const float& getFps() const { return m_fps; }
    // Seconds since the timer started, millisecond resolution.
    virtual float getTime() const;
    // The processor's cycle counter, also stored into out when out is not null.
    virtual uint64_t readCycleCounter(uint64_t* out) const;

    static constexpr float TOKEN_STEP = 0.0001f;

private:
    friend void timerStart(cTimer&);
    friend void timerUpdate(cTimer&);
    friend void timerStop(cTimer&);
    friend float timerNow(const cTimer&);

    TimerRoutine m_start = nullptr;
    TimerRoutine m_update = nullptr;
    TimerRoutine m_stop = nullptr;
    TimerClock m_now = nullptr;
    uint32_t m_start_time = 0;
    uint32_t m_last_time = 0;
    float m_min_fps = 15.0f;
    float m_max_step = 1.0f / 15.0f;
    float m_game_speed = 1.0f;
    float m_real_speed = 1.0f;
    float m_fps = 0.0f;
    float m_game_delta = 0.0f;
    float m_real_delta = 0.0f;
    uint32_t m_frames_to_skip = 0;
    // The frame-rate window: frames and milliseconds gathered since it was last published.
    uint32_t m_frame_count = 0;
    uint32_t m_accumulated_ms = 0;
};

cTimer* getTimer();
