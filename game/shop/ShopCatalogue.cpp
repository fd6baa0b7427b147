#include "game/shop/ShopCatalogue.h"

#include "game/data/cGameData.h"

namespace shop {

namespace {

const char* const kNames[ITEM_COUNT] = {"Harold",  "Lucinda",  "Subs_Tables", "Oven",      "Cotton_St",     "Coffee_St",
                                        "Souse",   "Snack_St", "Cake_St",     "Drink_St",  "Cream_St",      "Floor",
                                        "Wall",    "Tables",   "Harold_Counter", "Interior1", "Interior2"};

// The plain items: one getter (offset -1 is the present level), one setter, one maximum.
struct PlainItem {
    int item;
    int32_t (cGameData::*get)(int32_t) const;
    void (cGameData::*set)(int32_t, int32_t);
    int32_t maximum;
};
const PlainItem kPlain[] = {
    {ITEM_HAROLD, &cGameData::getSandwichMakerLevel, &cGameData::setSandwichMakerLevel, 2},
    {ITEM_LUCINDA, &cGameData::getWaitressLevel, &cGameData::setWaitressLevel, 2},
    {ITEM_COFFEE, &cGameData::getCoffeeLevel, &cGameData::setCoffeeLevel, 3},
    {ITEM_SNACK, &cGameData::getSnackLevel, &cGameData::setSnackLevel, 2},
    {ITEM_CAKE, &cGameData::getCakeLevel, &cGameData::setCakeLevel, 2},
    {ITEM_DRINK, &cGameData::getDrinkLevel, &cGameData::setDrinkLevel, 2},
    {ITEM_CREAM, &cGameData::getCreamLevel, &cGameData::setCreamLevel, 1},
    {ITEM_FLOOR, &cGameData::getFloorLevel, &cGameData::setFloorLevel, 2},
    {ITEM_WALL, &cGameData::getWallLevel, &cGameData::setWallLevel, 2},
    {ITEM_TABLES, &cGameData::getTablesLevel, &cGameData::setTablesLevel, 2},
    {ITEM_COUNTER, &cGameData::getCounterLevel, &cGameData::setCounterLevel, 2},
    {ITEM_INTERIOR1, &cGameData::getInterior1Level, &cGameData::setInterior1Level, 2},
    {ITEM_INTERIOR2, &cGameData::getInterior2Level, &cGameData::setInterior2Level, 2},
};

const PlainItem* plainItem(int item) {
    for (const PlainItem& p : kPlain)
        if (p.item == item) return &p;
    return nullptr;
}

int32_t countPresent(int32_t a, int32_t b, int32_t c) { return (a > 0) + (b > 0) + (c > 0); }

cStringA digits(int32_t v) { return intToNarrowString(v); }

}  // namespace

const char* itemName(int item) { return item >= 0 && item < ITEM_COUNT ? kNames[item] : ""; }

int itemOf(const cStringA& name) {
    for (int i = 0; i < ITEM_COUNT; ++i)
        if (name == kNames[i]) return i;
    return ITEM_NONE;
}

cStringW sectionOf(const cStringA& name) {
    cStringW section = name.toWide();
    for (wchar_t& c : section)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return section;
}

const char* catalogueFile(int32_t world, int32_t difficulty) {
    switch (world) {
    case 2: return "Config/Shop/shop_objects_2.ini";
    case 3: return "Config/Shop/shop_objects_3.ini";
    default: return difficulty == 0 ? "Config/Shop/shop_objects_1.ini" : "Config/Shop/shop_objects_12.ini";
    }
}

UpgradeRange getUpgradeRange(const cGameData& d, int item, int32_t world) {
    UpgradeRange r;
    if (const PlainItem* p = plainItem(item)) {
        r.present = (d.*p->get)(-1);
        r.maximum = p->maximum;
        return r;
    }
    switch (item) {
    case ITEM_SUBS_TABLES:
        r.present = countPresent(d.getSubPlace1Level(-1), d.getSubPlace2Level(-1), d.getSubPlace3Level(-1));
        r.maximum = world == 1 ? r.present : 3;
        break;
    case ITEM_OVEN:
        r.present = d.getOven1Level(-1);
        r.maximum = world == 2 && d.getOven2Level(-1) == 0 ? r.present : 2;
        break;
    case ITEM_COTTON:
        r.present = d.getCotton1Level(-1);
        if (r.present == 0 || (world == 2 && d.getCotton2Level(-1) == 0))
            r.maximum = r.present;
        else
            r.maximum = world == 1 ? 2 : 3;
        break;
    case ITEM_SOUSE:
        r.present = d.getSauce1Level(-1);
        r.maximum = 2;
        if (world == 1 && r.present == 0) r.maximum = -1;
        if ((world == 2 && d.getSauce2Level(-1) == 0) || (world == 3 && d.getSauce3Level(-1) == 0))
            r.maximum = r.present;
        break;
    default: r.maximum = -1; break;
    }
    return r;
}

void writeLevel(cGameData& d, int item, int32_t value, bool offered, int32_t offeredLevel) {
    if (const PlainItem* p = plainItem(item)) {
        (d.*p->set)(value, 0);
        return;
    }
    switch (item) {
    case ITEM_SUBS_TABLES:
        if (offeredLevel == 2) d.setSubPlace2Level(offered ? 1 : 0, 0);
        if (offeredLevel == 3) d.setSubPlace3Level(offered ? 1 : 0, 0);
        break;
    case ITEM_OVEN:
        d.setOven1Level(value, 0);
        if (d.getOven2Level(0) != 0) d.setOven2Level(value, 0);
        break;
    case ITEM_COTTON:
        d.setCotton1Level(value, 0);
        if (d.getCotton2Level(0) != 0) d.setCotton2Level(value, 0);
        break;
    case ITEM_SOUSE:
        d.setSauce1Level(value, 0);
        if (d.getSauce2Level(0) != 0) d.setSauce2Level(value, 0);
        if (d.getSauce3Level(0) != 0) d.setSauce3Level(value, 0);
        break;
    default: break;
    }
}

PictureCodes pictureCodes(const cGameData& d, int item, int32_t world, int32_t present, int32_t offered) {
    const cStringA p = digits(present), o = digits(offered);
    switch (item) {
    case ITEM_COUNTER: {
        const cStringA k = digits(countPresent(d.getSub1Level(-1), d.getSub2Level(-1), d.getSub3Level(-1)));
        return {k + "0" + p, k + "0" + o};
    }
    case ITEM_SUBS_TABLES: {
        const cStringA t = digits(d.getTablesLevel(0));
        return {p + "0" + t, o + "0" + t};
    }
    case ITEM_SOUSE: {
        const cStringA s = digits(countPresent(d.getSauce1Level(-1), d.getSauce2Level(-1), d.getSauce3Level(-1)));
        return {s + "0" + p, s + "0" + o};
    }
    case ITEM_OVEN:
        if (world != 2) break;
        if (d.getOven2Level(-1) == 0) return {"1", "2"};
        if (d.getOven1Level(0) >= 2) return {"3", "3"};
        return {"2", "3"};
    case ITEM_COTTON:
        if (world == 2 && d.getCotton2Level(-1) == 1) return {p + "2", o};
        break;
    default: break;
    }
    return {p, o};
}

cStringA previewPrefix(int32_t world, const cStringA& name) {
    return cStringA("Shop/Preview/") + digits(world) + "/" + name + "/upg_";
}

cStringA iconPrefix(int32_t world, const cStringA& name) {
    return cStringA("Shop/Icons/") + digits(world) + "/" + name + "/upg_";
}

}  // namespace shop
