#pragma once
// Screen 9: EASY (0) and HARD (1) store the game mode and save; BACK (2) returns.
// A stand-in on the shared body (cStandInScreen.h).

#include "game/flow/cGameData.h"
#include "game/menus/cStandInScreen.h"

class cScreenGameMode : public cStandInScreen {
public:
    enum Result : int32_t { RESULT_EASY = 0, RESULT_HARD = 1, RESULT_BACK = 2 };
    explicit cScreenGameMode(cSceneNode* parent)
        : cStandInScreen(parent, L"GAME MODE", {{L"Easy", RESULT_EASY}, {L"Hard", RESULT_HARD}, {L"Back", RESULT_BACK}}) {}

protected:
    void onChoice(int32_t result) override {
        if (result == RESULT_BACK) return;
        if (cGameData* data = getGameData()) {
            data->setDifficulty(result);
            data->saveNow();
        }
    }
};
