#include "game/characters/CharacterSupport.h"

#include <cmath>
#include <limits>

#include "engine/core/Random.h"
#include "engine/core/cIniFile.h"
#include "engine/media/cSound.h"
#include "engine/scene/cSprite.h"
#include "game/effects/EffectSupport.h"

namespace characters {

int32_t randomInt(int32_t lo, int32_t hi) {
    if (hi < lo) return lo;
    const int64_t span = int64_t(hi) - int64_t(lo) + 1;
    return static_cast<int32_t>(int64_t(lo) + int64_t(rwRand()) % span);
}

int32_t toIntClamped(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0f) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

void playSound(const char* name) {
    if (cSound* sound = getSound()) sound->playSample(cStringA(name), -1);
}

bool isAnimationAtEnd(const cSprite& sprite) {
    const float time = sprite.getLayer0Time();
    const float length = sprite.getLayer0Length();
    return sprite.isLayer0Looped() ? time == length : time >= length;
}

const cIniFile& characterIni(const cStringA& name) {
    const cStringA file = cStringA("Config/Game/c_") + name + ".ini";
    return effectIni(file.c_str());
}

void readInt(const cIniFile& ini, const wchar_t* section, const wchar_t* key, int32_t* target) {
    stringToInt(target, ini.getValue(section, key));
}

}  // namespace characters
