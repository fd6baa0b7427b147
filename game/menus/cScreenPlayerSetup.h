#pragma once
// Screen 7: any result returns.
// A stand-in on the shared body (cStandInScreen.h).

#include "game/menus/cStandInScreen.h"

class cScreenPlayerSetup : public cStandInScreen {
public:
    explicit cScreenPlayerSetup(cSceneNode* parent) : cStandInScreen(parent, L"PLAYER SETUP", {{L"Back", 0}}) {}
};
