#include "game/minigame/cMiniGame.h"

cMiniGame::cMiniGame(cSceneNode* parent) : cSceneNode(parent) {}
cMiniGame::~cMiniGame() = default;

cMiniGame* getMiniGame() { return cMiniGame::instance(); }
