#pragma once
// The bonus bar and its timed bonus mode. Only what the effects ask of it is here so far: the
// mode flag, the bar's fill and taking the pending combo points. This bar is never in bonus
// mode, is always empty and has no pending points.

#include "engine/core/cSingleton.h"

class cTempBonuses : public cSingleton<cTempBonuses> {
public:
    cTempBonuses();
    ~cTempBonuses() override;

    // True while the timed bonus mode runs.
    virtual bool isBonusMode() const;
    // The bar's fill, 0 (empty) to 1 (full).
    virtual float getBarFill() const;
    // Adds the pending combo points to the bar, capped at its maximum.
    virtual void commitPending();
};

// The bar, or null when none exists.
cTempBonuses* getTempBonuses();
