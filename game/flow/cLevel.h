#pragma once
// The level being played. Only what the restaurant objects ask of it is here so far: it is a
// scene node (the parent of the fading pointer copies and the score stars) and it tells the
// time left. This level has no clock: no time is left.

#include "engine/core/cSingleton.h"
#include "engine/scene/cSceneNode.h"

class cLevel : public cSceneNode, public cSingleton<cLevel> {
public:
    explicit cLevel(cSceneNode* parent = nullptr);
    ~cLevel() override;

    // Seconds of level time left, 0 when the time is up.
    virtual float getTimeLeft() const;

    // The dim over the level while a dialog covers it; it pauses nothing.
    void setDimmed(bool dimmed) { m_dimmed = dimmed; }
    bool isDimmed() const { return m_dimmed; }

private:
    bool m_dimmed = false;
};

// The level, or null when none exists.
cLevel* getLevel();
