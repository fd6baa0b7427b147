#include "game/menus/cBrightnessFade.h"

#include "engine/media/cGraphics.h"

void cBrightnessFade::step(cSceneNode& owner) {
    if (m_direction == NONE) return;
    owner.deactivate();
    const float end = m_direction == IN ? 255.0f : 0.0f;
    cGraphics* graphics = getGraphics();
    if (graphics) {
        const float change = kSpeed * owner.getDeltaTime2();
        const float brightness = graphics->getFade() + (m_direction == IN ? change : -change);
        const bool reached = m_direction == IN ? brightness >= 255.0f : brightness <= 0.0f;
        graphics->setFade(reached ? end : brightness);
        if (!reached) return;
    }
    // The end value is held one frame before the fade is over.
    if (!m_end_reached) {
        m_end_reached = true;
        return;
    }
    if (m_direction == IN) owner.activate();
    m_direction = NONE;
    m_end_reached = false;
}
