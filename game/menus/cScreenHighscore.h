#pragma once
// Screen 4: any result returns.
// A stand-in on the shared body (cStandInScreen.h).

#include "game/menus/cStandInScreen.h"

class cScreenHighscore : public cStandInScreen {
public:
    explicit cScreenHighscore(cSceneNode* parent) : cStandInScreen(parent, L"HIGHSCORES", {{L"Back", 0}}) {}
};
