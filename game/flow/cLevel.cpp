#include "game/flow/cLevel.h"

cLevel::cLevel(cSceneNode* parent) : cSceneNode(parent) {}
cLevel::~cLevel() = default;

float cLevel::getTimeLeft() const { return 0.0f; }

cLevel* getLevel() { return cLevel::instance(); }
