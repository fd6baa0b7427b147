#pragma once
// A combo star: it waits in its combo picture's row until the picture drops it, then flies at
// 900 units per second along a curve to the point of the bonus bar that matches the bar's fill
// (`end_pos1` empty, `end_pos2` full). Whenever it is destroyed - at the end of its flight, or
// when the level clears the stars - the bar takes its pending points.
// "Config/Game/fx_star.ini": picture keys, `end_pos1`, `end_pos2`, `angle_per_sec` of
// "COMMON"; the glow's picture keys of "GLOW".

#include "game/effects/cFlyingStar.h"

class cFxStar : public cFlyingStar {
public:
    explicit cFxStar(cSceneNode* parent);
    ~cFxStar() override;
    void update() override;
    // Reads its own file and sections whatever it is given.
    void loadFromIni(const cIniFile& ini, const cStringW& section) override;

    // Starts the flight to the bar.
    void drop();
    bool isFlying() const { return m_flying; }

private:
    bool m_flying = false;
    cVector2 m_end_pos1, m_end_pos2;
};
