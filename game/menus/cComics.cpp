#include "game/menus/cComics.h"

#include "engine/media/cSound.h"
#include "game/flow/cGame.h"
#include "game/flow/cGameData.h"
#include "game/flow/cMusicManager.h"

cComics::cComics(cSceneNode* parent) : cPlaceholderScreen(parent, kBackground, true) {
    const int32_t number = getGameData() ? getGameData()->getComicsNumber() : 1;
    setTitle(cStringW(L"COMICS ") + intToString(number));
    setHelp(L"Enter or click: continue");
    if (cMusicManager* music = getMusicManager()) music->playMiniGame();
    if (getGame() && !getGame()->isActive())
        if (cSound* sound = getSound()) sound->pauseMusic();
}

cComics::~cComics() {
    if (cMusicManager* music = getMusicManager()) music->stop(true);
}
