#include "engine/core/cTimer.h"

#include "engine/core/Random.h"
#include "engine/core/LogHooks.h"
#include "platform/Platform.h"

cTimer* getTimer() { return cTimer::instance(); }

// Begins timing at the current clock.
void timerStart(cTimer& t) {
    t.m_start_time = t.m_last_time = platform::timeMs();
}

// Computes the frame's two steps from the clock.
void timerUpdate(cTimer& t) {
    uint32_t now = platform::timeMs();
    uint32_t elapsed = now - t.m_last_time;  // unsigned: a wrap of the clock still subtracts right
    t.m_last_time = now;

    if (t.m_accumulated_ms > 1000) {
        t.m_fps = static_cast<float>(t.m_frame_count);
        t.m_accumulated_ms -= 1000;
        t.m_frame_count = 0;
    }
    t.m_accumulated_ms += elapsed;
    t.m_frame_count += 1;

    float step = static_cast<float>(elapsed) * 0.001f;
    if (step > t.m_max_step) step = t.m_max_step;
    t.m_game_delta = step * t.m_game_speed;
    t.m_real_delta = step * t.m_real_speed;
}

void timerStop(cTimer&) {}

float timerNow(const cTimer& t) {
    return static_cast<float>(platform::timeMs() - t.m_start_time) * 0.001f;
}

cTimer::cTimer() {
    writeGameLog("  set resolution");
    m_start = timerStart;
    m_update = timerUpdate;
    m_stop = timerStop;
    m_now = timerNow;
    writeGameLog("  randomize");
    uint64_t counter = 0;
    readCycleCounter(&counter);
    rwSrand(static_cast<uint32_t>(counter));
    writeGameLog("  initialize system timer parameters");
    m_start(*this);
}

cTimer::~cTimer() {
    try {
        writeGameLog("  restore system timer parameters");
    } catch (...) {
        // A failing log channel must not keep the timer from stopping.
    }
    m_stop(*this);
}

void cTimer::update() {
    m_update(*this);
    if (m_frames_to_skip > 0 && m_update == timerUpdate) {
        m_frames_to_skip -= 1;
        m_game_delta = TOKEN_STEP;
        m_real_delta = TOKEN_STEP;
    }
}

void cTimer::skipFrames(unsigned n) {
    m_frames_to_skip = n + 1;
    update();
}

void cTimer::setMinFps(const float& fps) {
    m_min_fps = fps;
    m_max_step = 1.0f / fps;
}

float cTimer::getTime() const { return m_now(*this); }

uint64_t cTimer::readCycleCounter(uint64_t* out) const {
    uint64_t value = platform::readCycleCounter();
    if (out) *out = value;
    return value;
}
