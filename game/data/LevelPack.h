#pragma once
// Reading the level packs: XML documents whose top element carries `count_levels` and one
// child element "Level_<n>" per level, n = 1 .. count_levels. Values are attribute texts.

#include <cstdint>

#include "engine/core/cString.h"

class cXmlNode;

namespace levelpack {

// `count_levels` of the pack's top element; 0 when missing or unreadable.
uint32_t countLevels(const cXmlNode* pack);
// The element "Level_<n>", or null when the pack has none.
const cXmlNode* findLevel(const cXmlNode* pack, uint32_t n);
// The element "Level_<n>"; throws a text naming the pack when it is missing.
const cXmlNode* requireLevel(const cXmlNode* pack, uint32_t n, const cStringA& packName);
// The text of an attribute, empty when missing.
cStringW attribute(const cXmlNode* node, const wchar_t* name);
// Typed reads: the target keeps its value when the attribute is missing or unreadable.
void readUnsigned(const cXmlNode* node, const wchar_t* name, uint32_t* target);
void readInt(const cXmlNode* node, const wchar_t* name, int32_t* target);
void readFloat(const cXmlNode* node, const wchar_t* name, float* target);
// Throws a text naming the pack and the level when a level's time (level_time, in seconds) is
// not a finite number from 1 to 3600: such a level would end at once (0, negative, unreadable)
// or count a time no clock can hold. level: the level's element (its text is quoted), or null.
void requirePlayableTime(float seconds, const cXmlNode* level, const cStringA& packName, uint32_t levelInWorld);
// A child element by name, or null.
const cXmlNode* child(const cXmlNode* node, const char* name);

// Whether a customer's order code (1..24) can be served in a level of a world whose station
// values (the 18 upgrade attributes, in the order of kUpgradeAttributes, 0 = absent) are
// given: its station, or for subs the bread, a sub place, the sauce stations the world builds
// (sauce 2 from world 2, sauce 3 in world 3) and, for baked subs, an oven.
bool isOrderServable(int code, const int32_t upgrades[18], int world);

}  // namespace levelpack
