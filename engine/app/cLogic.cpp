#include "engine/app/cLogic.h"

#include "engine/core/cTimer.h"
#include "engine/media/cGraphics.h"
#include "engine/media/cInput.h"
#include "engine/media/cSound.h"
#include "engine/scene/cSceneNode.h"
#include "platform/Platform.h"

cLogic* getLogic() { return cLogic::instance(); }

bool isLogicPaused() {
    cLogic* logic = getLogic();
    return logic && logic->isPaused();
}

void setLogicPaused(bool paused) {
    if (cLogic* logic = getLogic()) logic->setPaused(paused);
}

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
    if (cInput* input = getInput()) input->update();
    // 3. Pending disables and enables of top-level nodes, deferred deletions, then every
    //    top-level node with its children (the root game object among them).
    updateTopLevelNodes(updateNode);
    // 4. The frame hook.
    if (m_frame_hook) m_frame_hook();
    // 5. Begin the frame: present the previous one, prepare the buffers.
    cGraphics* graphics = getGraphics();
    if (graphics) graphics->beginFrame();
    // 6. Every shown sprite, in ascending depth, hands its draw record to the renderer.
    forEachInRenderSet(drawObject);
    // 7. End the frame: chunks, fade quad, overlay.
    if (graphics) graphics->endFrame();
    // 8. Music fades.
    if (cSound* sound = getSound()) sound->update();
}

void cLogic::quit() { platform::postMessage(platform::MSG_DESTROY, 0, 0); }
