#pragma once
// A score star of the end-of-level bonus count: from the point of the bonus bar that matches
// its fill (`start_pos1` empty, `start_pos2` full) it flies at 600 units per second, bending
// the other way from a combo star, to the given end point plus `off_end_pos`. The level does
// not end while a score star is alive. It takes no points.
// "Config/Game/fx_score_star.ini": picture keys, `off_end_pos`, `start_pos1`, `start_pos2`,
// `angle_per_sec` of "COMMON"; the glow's picture keys of "GLOW".

#include "game/effects/cFlyingStar.h"

class cFxScoreStar : public cFlyingStar {
public:
    cFxScoreStar(cSceneNode* parent, const cVector2& end);
    ~cFxScoreStar() override;
    void update() override;
    // Reads its own file and sections whatever it is given.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;

private:
    cVector2 m_off_end;
    cVector2 m_start_pos1, m_start_pos2;
};
