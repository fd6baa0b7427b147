#pragma once
// The two vocabularies the whole restaurant shares: the item ids carried in click-target
// states, hands, orders and on tables, and the kinds of click targets by which the waitress
// chooses her action on arrival.
//
// Subs: id = 11 + 14 x (bread - 1) + 2 x sauce set + baked. Bread 1..3; sauce set 0 none,
// 1..3 one sauce, 4 sauces 1 and 2, 5 sauces 2 and 3, 6 sauces 3 and 1. Odd ids are raw, even
// ones baked: baking turns an id into id + 1.

#include <cstdint>

#include "engine/core/cString.h"

using ItemId = int32_t;

inline constexpr ItemId ITEM_NONE = 0;
inline constexpr ItemId ITEM_DRINK = 1;
inline constexpr ItemId ITEM_CAKE = 2;
inline constexpr ItemId ITEM_SNACK = 3;
inline constexpr ItemId ITEM_COTTON_CANDY_1 = 4;
inline constexpr ItemId ITEM_COTTON_CANDY_2 = 5;
inline constexpr ItemId ITEM_COFFEE = 6;
inline constexpr ItemId ITEM_COFFEE_CREAM = 7;
inline constexpr ItemId ITEM_SAUCE_1 = 8;
inline constexpr ItemId ITEM_SAUCE_2 = 9;
inline constexpr ItemId ITEM_SAUCE_3 = 10;
inline constexpr ItemId ITEM_FIRST_SUB = 11;
inline constexpr ItemId ITEM_LAST_SUB = 52;
inline constexpr ItemId ITEM_MONEY = 53;
inline constexpr ItemId ITEM_WAITING = 54;      // a guest is seated and waits to order
inline constexpr ItemId ITEM_ORDER_TAKEN = 55;  // the order has been taken
inline constexpr int kItemCount = 56;

enum TargetKind : int32_t {
    KIND_NONE = 0,
    KIND_ITEM_HOLDER = 2,
    KIND_WAITRESS = 4,
    KIND_SANDWICH_MAKER = 5,
    KIND_CUSTOMER = 6,
    KIND_TABLE = 7,
    KIND_TRASH = 8,
    KIND_COFFEE_STATION = 9,
    KIND_CAKE_STATION = 10,
    KIND_SNACK_STATION = 11,
    KIND_CREAM_STATION = 12,
    KIND_DRINK_STATION = 13,
    KIND_OVEN = 14,
    KIND_OVEN_PROGRESS = 15,
    KIND_SUB = 16,
    KIND_SUB_PLACE = 17,
    KIND_SUB_STATION = 18,
    KIND_SOUSE_STATION = 19,
    KIND_COTTON_CANDY = 20,
    KIND_COTTON_ITEM = 21,
    KIND_COTTON_STATION = 22,
};

// True for 11..52.
bool isSub(ItemId id);
// Bread type 1..3 of a sub, 0 for any other id.
int subBread(ItemId id);
// Sauce set 0..6 of a sub, 0 for any other id.
int subSauceSet(ItemId id);
bool isBakedSub(ItemId id);
// The sub of bread 1..3, sauce set 0..6 and baked flag; 0 when a value is out of range.
ItemId subId(int bread, int sauceSet, bool baked);
// The two digits of a sub's sauce code: its first and second sauce, 1..3, or 0 for none
// (and for any id that is not a sub).
int firstSauce(ItemId id);
int secondSauce(ItemId id);
// A sub folded onto the plain raw sub of its bread (12..24 -> 11, 26..38 -> 25, 40..52 -> 39),
// the record whose picture and offsets every sub of that bread shares; other ids unchanged.
ItemId plainSubOf(ItemId id);
// An id as the holders store it: ids outside 0..55 become 0.
ItemId validItemOr0(ItemId id);

// The name of an id ("drink", "sub_1120", ...); empty for 0, 54, 55 and ids outside 0..55.
const cStringW& itemName(ItemId id);
