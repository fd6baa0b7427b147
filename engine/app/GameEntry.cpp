#include "engine/app/GameEntry.h"

#include "game/flow/cGame.h"

const GameEntry& gameEntry() {
    static const GameEntry entry{
        [](const cStringA& word) -> void* { return new cGame(word); },
        [](void* game) { delete static_cast<cGame*>(game); },
        cGame::onWindowMessage,
    };
    return entry;
}
