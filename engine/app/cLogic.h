#pragma once
// The logic manager: runs one frame of the whole program (timer, input, object updates,
// drawing, sound) in a fixed order, pauses game time and asks the window to close.

#include "engine/core/cSingleton.h"

using FrameHook = void (*)();

class cLogic : public cSingleton<cLogic> {
public:
    cLogic() = default;
    ~cLogic() override = default;

    // Pausing stops game time (the timer's game speed becomes 0, the speed before is kept);
    // resuming restores the kept speed.
    virtual void setPaused(bool paused);
    virtual bool isPaused() const { return m_paused; }
    // One frame: timer, input, top-level node updates, frame hook, begin frame, the render set,
    // end frame, sound.
    virtual void frame();
    // Asks the window to close: the window procedure receives the destroy message.
    virtual void quit();
    // Installed by tests and tools; runs after the object updates of each frame.
    virtual void setFrameHook(FrameHook hook) { m_frame_hook = hook; }

private:
    FrameHook m_frame_hook = nullptr;
    bool m_paused = false;
    float m_saved_game_speed = 1.0f;
};

cLogic* getLogic();

// Game time paused (false when no logic manager exists); pausing without one does nothing.
bool isLogicPaused();
void setLogicPaused(bool paused);
