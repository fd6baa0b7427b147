#include "game/restaurant/ItemId.h"

#include <array>

namespace {

// The two sauce digits of sauce sets 0..6.
const int kFirstSauce[7] = {0, 1, 2, 3, 1, 2, 3};
const int kSecondSauce[7] = {0, 0, 0, 0, 2, 3, 1};

std::array<cStringW, kItemCount> makeNames() {
    std::array<cStringW, kItemCount> names;
    const wchar_t* fixed[] = {L"", L"drink", L"cake", L"snack", L"cotton_candy_1", L"cotton_candy_2", L"coffee",
                              L"coffee_cream", L"condiment_1", L"condiment_2", L"condiment_3"};
    for (int id = 0; id <= ITEM_SAUCE_3; ++id) names[id] = fixed[id];
    for (ItemId id = ITEM_FIRST_SUB; id <= ITEM_LAST_SUB; ++id) {
        std::wstring name = L"sub_";
        name += wchar_t(L'0' + subBread(id));
        name += wchar_t(L'0' + firstSauce(id));
        name += wchar_t(L'0' + secondSauce(id));
        name += wchar_t(L'0' + (isBakedSub(id) ? 1 : 0));
        names[id] = cStringW(name);
    }
    names[ITEM_MONEY] = L"money";
    return names;
}

}  // namespace

bool isSub(ItemId id) { return id >= ITEM_FIRST_SUB && id <= ITEM_LAST_SUB; }

int subBread(ItemId id) { return isSub(id) ? 1 + (id - ITEM_FIRST_SUB) / 14 : 0; }

int subSauceSet(ItemId id) { return isSub(id) ? ((id - ITEM_FIRST_SUB) % 14) / 2 : 0; }

bool isBakedSub(ItemId id) { return isSub(id) && (id - ITEM_FIRST_SUB) % 2 == 1; }

ItemId subId(int bread, int sauceSet, bool baked) {
    if (bread < 1 || bread > 3 || sauceSet < 0 || sauceSet > 6) return ITEM_NONE;
    return ITEM_FIRST_SUB + 14 * (bread - 1) + 2 * sauceSet + (baked ? 1 : 0);
}

int firstSauce(ItemId id) { return isSub(id) ? kFirstSauce[subSauceSet(id)] : 0; }

int secondSauce(ItemId id) { return isSub(id) ? kSecondSauce[subSauceSet(id)] : 0; }

ItemId plainSubOf(ItemId id) { return isSub(id) ? subId(subBread(id), 0, false) : id; }

ItemId validItemOr0(ItemId id) { return id >= 0 && id < kItemCount ? id : ITEM_NONE; }

const cStringW& itemName(ItemId id) {
    static const std::array<cStringW, kItemCount> names = makeNames();
    return names[validItemOr0(id)];
}
