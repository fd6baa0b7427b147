#include "game/data/LevelPack.h"

#include <cmath>
#include <string>

#include "game/data/cProfile.h"

#include "engine/core/cXmlNode.h"

namespace levelpack {

cStringW attribute(const cXmlNode* node, const wchar_t* name) {
    if (!node) return cStringW();
    return node->getAttribute(cStringW(name));
}

const cXmlNode* child(const cXmlNode* node, const char* name) {
    if (!node) return nullptr;
    const cXmlNode* found = nullptr;
    if (!node->getChild(cStringA(name), found)) return nullptr;
    return found;
}

uint32_t countLevels(const cXmlNode* pack) {
    uint32_t count = 0;
    readUnsigned(pack, L"count_levels", &count);
    return count;
}

const cXmlNode* findLevel(const cXmlNode* pack, uint32_t n) {
    return child(pack, ("Level_" + std::to_string(n)).c_str());
}

const cXmlNode* requireLevel(const cXmlNode* pack, uint32_t n, const cStringA& packName) {
    const cXmlNode* level = findLevel(pack, n);
    if (!level)
        throw cStringA("Level pack '" + packName + "' has no element Level_" + std::to_string(n) + ".");
    return level;
}

void requirePlayableTime(float seconds, const cXmlNode* level, const cStringA& packName, uint32_t levelInWorld) {
    constexpr float kShortest = 1.0f, kLongest = 3600.0f;
    if (std::isfinite(seconds) && seconds >= kShortest && seconds <= kLongest) return;
    const cStringA text = level ? attribute(level, L"level_time").toNarrow() : cStringA();
    throw cStringA("Level pack '" + packName + "', level " + std::to_string(levelInWorld) + " (Level_" +
                   std::to_string(levelInWorld) + "): level_time \"" + text +
                   "\" is not a number of seconds from 1 to 3600.");
}

void readUnsigned(const cXmlNode* node, const wchar_t* name, uint32_t* target) {
    cStringW text = attribute(node, name);
    if (!text.empty()) stringToUnsigned(target, text);
}

void readInt(const cXmlNode* node, const wchar_t* name, int32_t* target) {
    cStringW text = attribute(node, name);
    if (!text.empty()) stringToInt(target, text);
}

void readFloat(const cXmlNode* node, const wchar_t* name, float* target) {
    cStringW text = attribute(node, name);
    if (!text.empty()) stringToFloat(target, text);
}

bool isOrderServable(int code, const int32_t upgrades[18], int world) {
    auto has = [&](int array) { return upgrades[array - PA_DRINK] != 0; };
    switch (code) {
        case 1: return has(PA_CAKE);
        case 2: return has(PA_COTTON_1);
        case 3: return has(PA_COFFEE);
        case 4: return has(PA_COFFEE) && has(PA_CREAM);
        case 5: return has(PA_DRINK);
        case 6: return has(PA_SNACK);
        default: break;
    }
    if (code < 7 || code > 24) return false;
    int i = code - 7;
    int bread = i / 6;        // 0..2
    int sauces = (i % 6) / 2;  // 0 none, 1 one, 2 two
    bool baked = code % 2 == 0;
    if (!has(PA_SUB_1 + bread)) return false;
    if (!has(PA_SUB_PLACE_1) && !has(PA_SUB_PLACE_2) && !has(PA_SUB_PLACE_3)) return false;
    if (baked && !has(PA_OVEN_1) && !has(PA_OVEN_2)) return false;
    int built = (has(PA_SAUCE_1) ? 1 : 0) + (world >= 2 && has(PA_SAUCE_2) ? 1 : 0) + (world >= 3 && has(PA_SAUCE_3) ? 1 : 0);
    return built >= sauces;
}

}  // namespace levelpack
