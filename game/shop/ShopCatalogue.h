#pragma once
// The seventeen upgradeable parts the shop sells, in list order, and everything that is fixed
// per part: where its present level comes from (the level just played, offset -1), the
// highest level for sale in each world, what an offer writes into the level about to be
// played (offset 0), and the codes of its preview pictures.
//
// The names are the folder names of the shop's icons and previews; the catalogue files use
// them upper-cased as section names.

#include <cstdint>

#include "engine/core/cString.h"

class cGameData;

namespace shop {

enum Item : int {
    ITEM_NONE = -1,
    ITEM_HAROLD = 0,
    ITEM_LUCINDA,
    ITEM_SUBS_TABLES,
    ITEM_OVEN,
    ITEM_COTTON,
    ITEM_COFFEE,
    ITEM_SOUSE,
    ITEM_SNACK,
    ITEM_CAKE,
    ITEM_DRINK,
    ITEM_CREAM,
    ITEM_FLOOR,
    ITEM_WALL,
    ITEM_TABLES,
    ITEM_COUNTER,
    ITEM_INTERIOR1,
    ITEM_INTERIOR2,
    ITEM_COUNT
};

// "Harold", "Lucinda", "Subs_Tables", ... in list order.
const char* itemName(int item);
// The item of a name (exact spelling), ITEM_NONE for any other.
int itemOf(const cStringA& name);
// The catalogue section of a name: the name upper-cased.
cStringW sectionOf(const cStringA& name);
// The catalogue file of a world and difficulty (world 1: a separate file for any difficulty
// but 0, the easy mode).
const char* catalogueFile(int32_t world, int32_t difficulty);

struct UpgradeRange {
    int32_t present = 0;  // the level just played
    int32_t maximum = 0;  // the highest level for sale; -1 when the item is absent for good
};
UpgradeRange getUpgradeRange(const cGameData& data, int item, int32_t world);

// Writes a level of the item into the level about to be played. Machines and stations of
// which that level has no second (or third) one are never created by an upgrade. Subs_Tables
// switches the sub place of the offered level on (offered) or off.
void writeLevel(cGameData& data, int item, int32_t value, bool offered, int32_t offeredLevel);

// The codes of the normal and offered preview pictures (present level P, offered level O).
struct PictureCodes {
    cStringA normal;
    cStringA offered;
};
PictureCodes pictureCodes(const cGameData& data, int item, int32_t world, int32_t present, int32_t offered);

// "Shop/Preview/<w>/<name>/upg_" and "Shop/Icons/<w>/<name>/upg_".
cStringA previewPrefix(int32_t world, const cStringA& name);
cStringA iconPrefix(int32_t world, const cStringA& name);

}  // namespace shop
