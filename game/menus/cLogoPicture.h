#pragma once
// One picture of the logo sequence: on its page it fades in, holds and fades out on game
// time, then is done. Pictures of page 1 keep full alpha throughout (they appear and vanish at
// once but still last the whole time). A skip turns any phase into a short fade-out from the
// current strength. A fade time of zero or less (or not a number) is instant.

#include <cstdint>

#include "engine/scene/cPicture.h"

class cLogoPicture : public cPicture {
public:
    enum Phase : int32_t {
        PHASE_WAITING = 0,
        PHASE_START = 1,
        PHASE_FADE_IN = 2,
        PHASE_HOLD = 3,
        PHASE_FADE_OUT = 4,
        PHASE_DONE = 6,
    };

    // Hidden and disabled until started.
    explicit cLogoPicture(cSceneNode* parent);
    ~cLogoPicture() override;

    void update() override;
    void setTimes(float appear, float hold, float disappear, float skipDisappear);
    void start() { m_phase = PHASE_START; }
    void skip();
    bool isDone() const { return m_phase == PHASE_DONE; }
    uint32_t getPage() const { return m_page; }
    void setPage(uint32_t page) { m_page = page; }
    // Clamped to 0..1; sets the alpha (255 on page 1).
    void setProgress(float progress);
    float getProgress() const { return m_progress; }
    Phase getPhase() const { return m_phase; }

private:
    uint32_t m_page = 0;
    float m_appear = 0.0f;
    float m_hold = 0.0f;
    float m_disappear = 0.0f;
    float m_skip_disappear = 0.0f;
    float m_progress = 0.0f;
    float m_held = 0.0f;
    Phase m_phase = PHASE_WAITING;
};
