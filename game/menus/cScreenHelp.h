#pragma once
// Screen 5: any result returns.
// A stand-in on the shared body (cStandInScreen.h).

#include "game/menus/cStandInScreen.h"

class cScreenHelp : public cStandInScreen {
public:
    explicit cScreenHelp(cSceneNode* parent) : cStandInScreen(parent, L"HELP", {{L"Back", 0}}) {}
};
