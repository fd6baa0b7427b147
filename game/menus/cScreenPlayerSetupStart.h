#pragma once
// Screen 8, the first player: "Player" makes a profile of that name and saves.
// A stand-in on the shared body (cStandInScreen.h).

#include "game/flow/cGameData.h"
#include "game/menus/cStandInScreen.h"

class cScreenPlayerSetupStart : public cStandInScreen {
public:
    static constexpr const wchar_t* kPlayerName = L"Player";
    explicit cScreenPlayerSetupStart(cSceneNode* parent)
        : cStandInScreen(parent, L"NEW PLAYER", {{kPlayerName, 0}}) {}

protected:
    void onChoice(int32_t) override {
        if (cGameData* data = getGameData()) {
            data->addProfile(kPlayerName);
            data->saveNow();
        }
    }
};
