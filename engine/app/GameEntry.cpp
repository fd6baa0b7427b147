#include "engine/app/GameEntry.h"

#include "game/data/GameConstants.h"
#include "game/flow/cGame.h"

const GameEntry& gameEntry() {
    static const GameEntry entry{
        [](const cStringA& word) -> void* { return new cGame(word); },
        [](void* game) { delete static_cast<cGame*>(game); },
        cGame::onWindowMessage,
        // The save and its kept damaged copies ("data_damaged.ssp", "data_damaged_2.ssp", ...).
        {game::kSaveFileName, "data_damaged*.ssp"},
    };
    return entry;
}
