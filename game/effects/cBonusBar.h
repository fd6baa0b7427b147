#pragma once
// The level's bonus bar as the effects see it: a combo star hands the pending points into the
// bar when it goes, and some effects look different while the bonus mode runs. The bonus bar
// of the score rules (cTempBonuses) implements it; the effects reach it only through this, so
// they never include the scoring above them.

class cBonusBar {
public:
    virtual ~cBonusBar() = default;

    // Adds the pending combo points to the bar, capped at its capacity.
    virtual void commitPending() = 0;
    // True while the timed bonus mode runs.
    virtual bool isBonusMode() const = 0;
    // The bar's fill, 0 (empty) to 1 (full).
    virtual float getBarFill() const = 0;
};

// The bonus bar that exists, or null when none does.
cBonusBar* activeBonusBar();
