#include "game/flow/cTempBonuses.h"

cTempBonuses::cTempBonuses() = default;
cTempBonuses::~cTempBonuses() = default;

bool cTempBonuses::isBonusMode() const { return false; }
float cTempBonuses::getBarFill() const { return 0.0f; }
void cTempBonuses::commitPending() {}

cTempBonuses* getTempBonuses() { return cTempBonuses::instance(); }
