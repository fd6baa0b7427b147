#pragma once
// Screen 2: START plays the game data's current level (0), BACK returns (1).
// A stand-in on the shared body (cStandInScreen.h).

#include "game/menus/cStandInScreen.h"

class cScreenPlay : public cStandInScreen {
public:
    enum Result : int32_t { RESULT_START = 0, RESULT_BACK = 1 };
    explicit cScreenPlay(cSceneNode* parent)
        : cStandInScreen(parent, L"PLAY", {{L"Start", RESULT_START}, {L"Back", RESULT_BACK}}) {}
    void unlockAllLevels() { m_all_levels_open = true; }
    bool areAllLevelsOpen() const { return m_all_levels_open; }

private:
    bool m_all_levels_open = false;
};
