#pragma once
// The level as its restaurant objects and characters see it: the few things they ask of the
// level they stand in. The level implements it; the restaurant and the characters reach the
// level only through it, so they never include the flow that builds them.

#include <array>

class cSceneNode;
class cTable;

class cRestaurantHost {
public:
    virtual ~cRestaurantHost() = default;

    // The level's own scene node: the parent of what an object leaves behind on the level
    // (the fading pointer marks of a click target).
    virtual cSceneNode* getHostNode() = 0;
    // Seconds of level time left, 0 when the time is up (the rooms change their light by it).
    virtual float getTimeLeft() const = 0;
    // The six tables in order, table 1 first; null where a table is absent.
    virtual const std::array<cTable*, 6>& getTables() const = 0;
};

// The level being played, or null when none exists.
cRestaurantHost* getRestaurantHost();
