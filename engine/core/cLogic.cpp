#include "engine/core/cLogic.h"

#include "engine/core/cTimer.h"
#include "platform/Platform.h"

cLogic* getLogic() { return cLogic::instance(); }

void cLogic::setPaused(bool paused) {
    m_paused = paused;
    cTimer* timer = getTimer();
    if (!timer) return;
    if (paused) {
        m_saved_game_speed = timer->getGameSpeed();
        if (m_saved_game_speed == 0.0f) m_saved_game_speed = 1.0f;
        timer->setGameSpeed(0.0f);
    } else {
        timer->setGameSpeed(m_saved_game_speed);
    }
}

void cLogic::frame() {
    // 1. New time steps.
    if (cTimer* timer = getTimer()) timer->update();
    // 2. Input: typed characters, buffered keyboard and mouse events, bound callbacks.
    //    (input manager: not in the engine yet)
    // 3. Pending enables/disables and deferred deletions, then every top-level node with its
    //    children. (scene objects: not in the engine yet)
    // 4. The frame hook.
    if (m_frame_hook) m_frame_hook();
    // 5. Begin the frame (present the previous one), 6. draw the render set in depth order,
    // 7. end the frame. (renderer and scene objects: not in the engine yet)
    // 8. Music fades. (sound manager: not in the engine yet)
}

void cLogic::quit() { platform::postMessage(platform::MSG_DESTROY, 0, 0); }
