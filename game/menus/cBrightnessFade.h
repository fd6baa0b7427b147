#pragma once
// The whole-frame fade of the menu and the comics: the renderer's brightness (255 shows the
// frame, 0 is black) moves at 800 per second of interface time towards its end value, is
// held there one more frame, and then the fade is over. While it runs the owner is inactive;
// after a fade-in it listens again, after a fade-out it stays inactive.

#include "engine/scene/cSceneNode.h"

class cBrightnessFade {
public:
    static constexpr float kSpeed = 800.0f;
    enum Direction { NONE, IN, OUT };

    void start(Direction direction) { m_direction = direction; }
    bool isRunning() const { return m_direction != NONE; }
    Direction getDirection() const { return m_direction; }
    // One frame of the fade for its owner (the node that is deactivated meanwhile).
    void step(cSceneNode& owner);

private:
    Direction m_direction = NONE;
    bool m_end_reached = false;
};
