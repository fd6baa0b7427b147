#pragma once
// The level being played. Only what the restaurant objects ask of it is here so far: it is a
// scene node (the parent of the fading pointer copies and the score stars), it tells the time
// left and it lists its six tables. This level has no clock: no time is left.

#include <array>

#include "engine/core/cSingleton.h"
#include "engine/scene/cSceneNode.h"

class cTable;

class cLevel : public cSceneNode, public cSingleton<cLevel> {
public:
    explicit cLevel(cSceneNode* parent = nullptr);
    ~cLevel() override;

    // Seconds of level time left, 0 when the time is up.
    virtual float getTimeLeft() const;

    // The six tables in order, table 1 first; null where a table is absent. The level fills
    // them as it builds its tables (tests install their own).
    const std::array<cTable*, 6>& getTables() const { return m_tables; }
    void setTables(const std::array<cTable*, 6>& tables) { m_tables = tables; }

    // The dim over the level while a dialog covers it; it pauses nothing.
    void setDimmed(bool dimmed) { m_dimmed = dimmed; }
    bool isDimmed() const { return m_dimmed; }

private:
    bool m_dimmed = false;
    std::array<cTable*, 6> m_tables{};
};

// The level, or null when none exists.
cLevel* getLevel();
