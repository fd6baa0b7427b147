#include "game/effects/EffectSupport.h"

#include <string>

#include "engine/core/Random.h"
#include "engine/core/cCurveSet.h"
#include "engine/core/cIniFile.h"
#include "engine/core/cResourceManager.h"
#include "engine/core/cSettingsManager.h"
#include "engine/scene/cSceneNode.h"
#include "game/effects/cBonusBar.h"
#include "platform/device/Device.h"

namespace {
cResourceManager& resources(const char* name) {
    cResourceManager* manager = getResourceManager();
    if (!manager) throw std::string("Resource '") + name + "' is not loaded.";
    return *manager;
}
}  // namespace

const cIniFile& effectIni(const char* name) { return *resources(name).getIni(cStringA(name)); }

cCurve* effectCurve(const char* set, const char* curve) {
    return resources(set).getCurve(cStringA(set), cStringA(curve));
}

void readFloat(const cIniFile& ini, const wchar_t* section, const wchar_t* key, float* target) {
    stringToFloat(target, ini.getValue(section, key));
}

void readVector(const cIniFile& ini, const wchar_t* section, const wchar_t* key, cVector2* target) {
    float xy[2] = {target->x, target->y};
    parseVector2(xy, ini.getValue(section, key));
    *target = cVector2(xy[0], xy[1]);
}

bool isFullEffectsOn() {
    bool on = true;
    if (cSettingsManager* settings = getSettingsManager()) settings->getBool(L"Performance", L"enable_full_effects", on);
    return on;
}

bool isBonusModeOn() {
    cBonusBar* bar = activeBonusBar();
    return bar && bar->isBonusMode();
}

float getBonusBarFill() {
    cBonusBar* bar = activeBonusBar();
    return bar ? bar->getBarFill() : 0.0f;
}

void commitBonusPending() {
    if (cBonusBar* bar = activeBonusBar()) bar->commitPending();
}

void drawSilhouette(cDevice* device) { device->setStageState(0, StageState::ColorOp, TOP_SELECTARG2); }

float endAtZero(cSceneNode* effect, float value) {
    if (value > 0.0f) return value;
    scheduleDelete(effect);
    return 0.0f;
}

uint32_t toAlpha(float value) {
    if (!(value > 0.0f)) return 0;
    if (value >= 255.0f) return 255;
    return static_cast<uint32_t>(value);
}

uint32_t greyOf(float value) {
    uint32_t v = toAlpha(value);
    return (v << 16) | (v << 8) | v;
}

cVector2 randomShift(int spread) {
    float x = static_cast<float>(rwRand() % spread);
    float y = static_cast<float>(rwRand() % spread);
    if (rwRand() % 2 == 0) x = -x;
    if (rwRand() % 2 == 0) y = -y;
    return cVector2(x, y);
}
