#include "tests/game/flow/CampaignPlayer.h"

#include <algorithm>

#include "game/characters/cThief.h"
#include "game/effects/EffectRegistry.h"
#include "game/restaurant/cCoffeeStation.h"
#include "game/restaurant/cCottonCandy.h"
#include "game/restaurant/cCottonItem.h"
#include "game/restaurant/cCottonStation.h"
#include "game/restaurant/cOrderCloud.h"
#include "game/restaurant/cCloudItem.h"
#include "game/restaurant/cOven.h"
#include "game/restaurant/cSouseStation.h"
#include "game/restaurant/cSub.h"
#include "game/restaurant/cSubPlace.h"
#include "game/restaurant/cSubStation.h"
#include "game/restaurant/cTrash.h"

namespace restaurant_test {

namespace {

// Frames the waitress may take to walk to a target and act there.
constexpr int kArrivalLimit = 900;
// Clicks in a row that may miss (a target moving or closing meanwhile) before play stops.
constexpr int kClickFailureLimit = 60;
// A guest with this mood or less is served before the player fills its second hand.
constexpr int kUrgentMood = 2;

int sauceMask(ItemId id) {
    int mask = 0;
    if (int a = firstSauce(id)) mask |= 1 << a;
    if (int b = secondSauce(id)) mask |= 1 << b;
    return mask;
}

// The item held or made can become the wanted one: the same item, a coffee that the cream
// station finishes, or a sub of the same bread whose sauces are all wanted and that is not
// baked when the order is not.
bool leadsTo(ItemId have, ItemId want) {
    if (have == 0) return false;
    if (have == want) return true;
    if (have == ITEM_COFFEE && want == ITEM_COFFEE_CREAM) return true;
    if (!isSub(have) || !isSub(want) || subBread(have) != subBread(want)) return false;
    const int h = sauceMask(have), w = sauceMask(want);
    return (h & ~w) == 0 && (!isBakedSub(have) || isBakedSub(want));
}

std::string itemText(ItemId id) {
    const cStringW& name = itemName(id);
    std::string out;
    for (wchar_t c : std::wstring(name.c_str())) out += static_cast<char>(c);
    return out.empty() ? std::to_string(id) : out;
}

std::string tableText(const cTable* table) { return "table " + std::to_string(table->getIndex()); }

}  // namespace

// An item a seated guest shows in its cloud, and who gives it.
struct CampaignPlayer::Want {
    cTable* table = nullptr;
    ItemId item = 0;
    int mood = 0;
    bool covered = false;
};

CampaignPlayer::CampaignPlayer(std::function<void()> frame) : m_driver([this] { this->frame(); }), m_frame(std::move(frame)) {}

void CampaignPlayer::frame() {
    m_frame();
    ++m_tally.frames;
    observeGuests();
}

void CampaignPlayer::observeGuests() {
    cLevel* level = getLevel();
    if (!level) return;
    for (cTable* table : level->getTables()) {
        if (!table) continue;
        const int i = table->getIndex() - 1;
        if (i < 0 || i >= 6) continue;
        const cCustomer* guest = table->getCustomer();
        const int stage = guest ? guest->getStage() : STAGE_GONE;
        if (guest != m_guests[i]) {
            m_guests[i] = guest;
            m_stages[i] = stage;
            continue;
        }
        if (stage != m_stages[i]) {
            if (stage == STAGE_LEAVING_HAPPY) ++m_tally.served;
            if (stage == STAGE_LEAVING_ANGRY) ++m_tally.lost;
            m_stages[i] = stage;
        }
    }
}

bool CampaignPlayer::fail(const std::string& what) {
    cLevel* level = getLevel();
    m_failure = m_label + ", frame " + std::to_string(m_tally.frames) + ": " + what;
    if (level) {
        m_failure += " (time left " + std::to_string(level->getTimeLeft()) + " s; hands " +
                     std::to_string(level->getWaitress() ? level->getWaitress()->getHandItem(0) : -1) + "/" +
                     std::to_string(level->getWaitress() ? level->getWaitress()->getHandItem(1) : -1) + ")";
    }
    return false;
}

std::vector<cClickTarget*> CampaignPlayer::openTargets(const cLevel& level) {
    std::vector<cClickTarget*> first, tables;
    for (cClickTarget* t : level.getBlockableTargets())
        if (!t->isBlocked() && !dynamic_cast<cTable*>(t)) first.push_back(t);
    if (cSubStation* counter = level.getSubStation())
        for (int i = 0; i < 3; ++i)
            for (cClickTarget* t :
                 {static_cast<cClickTarget*>(counter->getSub(i)), static_cast<cClickTarget*>(counter->getPlace(i))})
                if (t && !t->isBlocked()) first.push_back(t);
    for (cTable* t : level.getTables())
        if (t && !t->isBlocked()) tables.push_back(t);
    first.insert(first.end(), tables.begin(), tables.end());
    return first;
}

bool CampaignPlayer::waitressIdle(const cLevel& level) {
    const cWaitress* w = level.getWaitress();
    return w && !w->getCurrentTarget() && w->getQueue().empty();
}

bool CampaignPlayer::playUntil(const std::function<bool()>& done, int frameLimit, const std::string& label) {
    m_label = label;
    m_failure.clear();
    m_tally = LevelTally();
    m_subOrders.clear();
    m_cottonOrdered = 0;
    m_idleFrames = 0;
    m_clickFailures = 0;
    m_waiting = "the level to start";
    std::fill(std::begin(m_guests), std::end(m_guests), nullptr);
    std::fill(std::begin(m_stages), std::end(m_stages), 0);
    for (;;) {
        if (done()) return true;
        if (m_tally.frames >= frameLimit)
            return fail("no end after " + std::to_string(frameLimit) + " frames; waiting for " + m_waiting);
        cLevel* level = getLevel();
        // Clicks count only while the level's clock runs; the bonus count after the time has
        // run out is watched.
        if (!level || level->getTimeLeft() <= 0.0f) {
            m_waiting = level ? "the results" : "a level";
            frame();
            continue;
        }
        if (level->hasTutorialScript()) {
            m_waiting = "the tutorial to open a target";
            if (!tutorialStep(*level)) return false;
            continue;
        }
        if (!waitressIdle(*level)) {
            frame();
            continue;
        }
        std::string why;
        cClickTarget* target = decide(*level, &why);
        if (!target) {
            m_waiting = why;
            frame();
            continue;
        }
        if (!clickAndWait(*level, target, why)) return false;
    }
}

bool CampaignPlayer::tutorialStep(cLevel& level) {
    const std::vector<cClickTarget*> targets = openTargets(level);
    m_idleFrames = waitressIdle(level) ? m_idleFrames + 1 : 0;
    // The scripts open one or two targets at a time; a few quiet frames after each arrival let
    // the script see its result first.
    if (targets.empty() || targets.size() > 4 || m_idleFrames < 8) {
        frame();
        return true;
    }
    m_idleFrames = 0;
    if (m_driver.click(targets.front())) {
        ++m_tally.clicks;
        m_clickFailures = 0;
    } else if (++m_clickFailures > kClickFailureLimit) {
        return fail("the tutorial's open target could not be clicked: " + m_driver.failure());
    }
    return true;
}

bool CampaignPlayer::clickAndWait(cLevel& level, cClickTarget* target, const std::string& why) {
    m_waiting = why;
    const int kind = target->getKind();
    if (!m_driver.click(target)) {
        // The target moved or closed meanwhile (a sub sliding on, a guest leaving): the next
        // decision looks again.
        if (++m_clickFailures > kClickFailureLimit) return fail("clicks keep missing (" + why + "): " + m_driver.failure());
        frame();
        return true;
    }
    m_clickFailures = 0;
    ++m_tally.clicks;
    if (kind == KIND_SUB)
        m_subOrders.push_back(subBread(target->getState()));
    else if (kind == KIND_COTTON_CANDY)
        if (auto* candy = dynamic_cast<cCottonCandy*>(target)) m_cottonOrdered = candy->getCottonKind();
    if (!m_driver.waitFor([&] { return getLevel() != &level || waitressIdle(level) || level.getTimeLeft() <= 0.0f; },
                          kArrivalLimit))
        return fail("the waitress never finished at a target of kind " + std::to_string(kind) + " (" + why + ")");
    return true;
}

cClickTarget* CampaignPlayer::decide(cLevel& level, std::string* why) {
    cWaitress* waitress = level.getWaitress();
    if (!waitress) {
        *why = "a waitress";
        return nullptr;
    }
    const ItemId hands[2] = {waitress->getHandItem(0), waitress->getHandItem(1)};
    const bool freeHand = hands[0] == 0 || hands[1] == 0;

    // ---- What the guests show: wanted items, most impatient first.
    std::vector<Want> wants;
    cTable* orderTable = nullptr;
    int orderMood = 1 << 30;
    cTable* moneyTable = nullptr;
    for (cTable* table : level.getTables()) {
        if (!table) continue;
        const int32_t s = table->getState();
        const cCustomer* guest = table->getCustomer();
        if (s == ITEM_MONEY && !moneyTable) moneyTable = table;
        if (!guest) continue;
        if (s == ITEM_WAITING && guest->getStage() == STAGE_WAITING_FOR_ORDER && guest->getMood() < orderMood) {
            orderTable = table;
            orderMood = guest->getMood();
        }
        const cOrderCloud* cloud = table->getCloud();
        const bool shown = cloud && ((cloud->getFirstItem() && cloud->getFirstItem()->getState() == s) ||
                                     (cloud->getSecondItemHolder() && cloud->getSecondItemHolder()->getState() == s));
        if (guest->getStage() == STAGE_WAITING_FOR_ITEM && s >= ITEM_DRINK && s <= ITEM_LAST_SUB && shown)
            wants.push_back(Want{table, s, guest->getMood()});
    }
    std::stable_sort(wants.begin(), wants.end(), [](const Want& a, const Want& b) { return a.mood < b.mood; });
    auto cover = [&](ItemId have, bool exact) -> Want* {
        for (Want& w : wants)
            if (!w.covered && (exact ? have == w.item : leadsTo(have, w.item))) {
                w.covered = true;
                return &w;
            }
        return nullptr;
    };

    // ---- The hands: exact matches first, then what a hand can still become.
    Want* handWant[2] = {nullptr, nullptr};
    bool handExact[2] = {false, false};
    for (int h = 0; h < 2; ++h)
        if ((handWant[h] = cover(hands[h], true))) handExact[h] = true;
    for (int h = 0; h < 2; ++h)
        if (!handWant[h]) handWant[h] = cover(hands[h], false);

    // ---- What is on its way: ovens, coffee, cotton candy, plates and subs ordered.
    struct Supply {
        ItemId item;
        cClickTarget* pickup;  // null while it is still being made
        Want* want;
    };
    std::vector<Supply> supplies;
    auto supply = [&](ItemId item, cClickTarget* pickup) { supplies.push_back(Supply{item, pickup, cover(item, false)}); };
    cOven* ovens[2] = {level.getOven(1), level.getOven(2)};
    for (cOven* oven : ovens) {
        if (!oven) continue;
        if (isBakedSub(oven->getState()))
            supply(oven->getState(), oven);
        else if (oven->getPhase() != 0 && oven->getPhase() != 3 && oven->getProduct() != 0)
            supply(oven->getProduct(), nullptr);
    }
    cCoffeeStation* coffee = level.getCoffeeStation();
    if (coffee) {
        if (coffee->getState() == ITEM_COFFEE)
            for (int c = 0; c < coffee->getCups(); ++c) supply(ITEM_COFFEE, coffee);
        else if (coffee->isWorking() == 1)
            for (int c = 0; c < std::max(1, coffee->getBatch()); ++c) supply(ITEM_COFFEE, nullptr);
    }
    cCottonStation* stand = level.getCottonStation();
    bool cottonReady = false;
    if (stand) {
        const int s = stand->getState();
        if ((s == ITEM_COTTON_CANDY_1 || s == ITEM_COTTON_CANDY_2) && (stand->getPhase() == 2 || stand->getPhase() == 3)) {
            supply(s, stand);
            cottonReady = true;
            if (s == m_cottonOrdered) m_cottonOrdered = 0;
        }
        for (int m = 0; m < 2; ++m)
            if (cCottonItem* part = stand->hasItemParts() ? stand->getItemPart(m) : nullptr; part && part->getState() != 0) {
                supply(part->getState(), part);
                cottonReady = true;
                if (part->getState() == m_cottonOrdered) m_cottonOrdered = 0;
            }
        if (m_cottonOrdered != 0 && !stand->isBusy() && stand->queuedOrders() == 0 && !cottonReady)
            m_cottonOrdered = 0;  // the order was refused or its portion has been taken
        if (m_cottonOrdered != 0) supply(m_cottonOrdered, nullptr);
    }
    cSubStation* counter = level.getSubStation();
    if (counter) {
        while (m_subOrders.size() > counter->getRequestCount()) m_subOrders.pop_front();
        for (int i = 0; i < counter->getPlaceCount(); ++i)
            if (cSubPlace* plate = counter->getPlace(i); plate && isSub(plate->getState()))
                supply(plate->getState(), plate);
        for (int bread : m_subOrders) supply(subId(bread, 0, false), nullptr);
    }

    // Instant stations for the simple items.
    auto stationFor = [&](ItemId item) -> cClickTarget* {
        switch (item) {
        case ITEM_DRINK: return level.getDrinkStation();
        case ITEM_CAKE: return level.getCakeStation();
        case ITEM_SNACK: return level.getSnackStation();
        default: return nullptr;
        }
    };
    // A pickup for the second hand: something ready for a guest, or a simple item.
    auto quickPickup = [&](std::string* what) -> cClickTarget* {
        for (const Supply& s : supplies)
            if (s.pickup && s.want) {
                *what = "fetch " + itemText(s.item) + " for " + tableText(s.want->table);
                return s.pickup;
            }
        for (Want& w : wants)
            if (!w.covered)
                if (cClickTarget* station = stationFor(w.item)) {
                    *what = "fetch " + itemText(w.item) + " for " + tableText(w.table);
                    return station;
                }
        return nullptr;
    };

    // 1. A thief creeps up to money: collect it first.
    for (const auto& [serial, node] : getThieves()) {
        const auto* thief = dynamic_cast<const cThief*>(node);
        if (thief && thief->getTable() && thief->getTable()->getState() == ITEM_MONEY) {
            *why = "collect the money a thief goes for at " + tableText(thief->getTable());
            return thief->getTable();
        }
    }
    // 2. Deliver what a hand holds, unless the other hand can first take something on the way.
    Want* deliver = nullptr;
    for (int h = 0; h < 2; ++h)
        if (handExact[h] && (!deliver || handWant[h]->mood < deliver->mood)) deliver = handWant[h];
    if (deliver) {
        if (freeHand && deliver->mood > kUrgentMood)
            if (cClickTarget* second = quickPickup(why)) return second;
        *why = "deliver " + itemText(deliver->item) + " to " + tableText(deliver->table);
        return deliver->table;
    }
    // 3. Take an order.
    if (orderTable) {
        *why = "take the order at " + tableText(orderTable);
        return orderTable;
    }
    // 4. Start what takes time: a sub at the counter, a brew, a portion of candy.
    for (Want& w : wants) {
        if (w.covered) continue;
        if (isSub(w.item) && counter) {
            for (int i = 0; i < 3; ++i)
                if (cSub* sub = counter->getSub(i); sub && subBread(sub->getState()) == subBread(w.item)) {
                    *why = "order a sub of bread " + std::to_string(subBread(w.item)) + " for " + tableText(w.table);
                    return sub;
                }
        }
        if ((w.item == ITEM_COFFEE || w.item == ITEM_COFFEE_CREAM) && coffee && coffee->isWorking() != 1 &&
            coffee->getState() != ITEM_COFFEE) {
            *why = "start a brew for " + tableText(w.table);
            return coffee;
        }
        if ((w.item == ITEM_COTTON_CANDY_1 || w.item == ITEM_COTTON_CANDY_2) && stand && m_cottonOrdered == 0 &&
            !cottonReady && !stand->isBusy() && stand->queuedOrders() == 0 &&
            (stand->getPhase() == 0 || stand->getPhase() == 4)) {
            for (int m = 0; m < 2; ++m)
                if (cCottonCandy* candy = stand->getCandy(m); candy && candy->getCottonKind() == w.item) {
                    *why = "order " + itemText(w.item) + " for " + tableText(w.table);
                    return candy;
                }
        }
    }
    // 5. Take what is ready for a guest.
    if (freeHand)
        if (cClickTarget* ready = quickPickup(why)) return ready;
    // 6. Carry on with what a hand holds: cream, sauces, the oven.
    for (int h = 0; h < 2; ++h) {
        const Want* w = handWant[h];
        if (!w || handExact[h]) continue;
        const ItemId have = hands[h];
        if (have == ITEM_COFFEE && w->item == ITEM_COFFEE_CREAM && level.getCreamStation()) {
            *why = "cream for " + tableText(w->table);
            return level.getCreamStation();
        }
        if (!isSub(have)) continue;
        const int missing = sauceMask(w->item) & ~sauceMask(have);
        for (int k = 1; k <= 3; ++k) {
            if (!(missing & (1 << k))) continue;
            for (int slot = 0; slot < 3; ++slot)
                if (cSouseStation* sauce = level.getSauceStation(slot); sauce && sauce->getState() == ITEM_SAUCE_1 + k - 1) {
                    *why = "sauce " + std::to_string(k) + " for " + tableText(w->table);
                    return sauce;
                }
        }
        if (missing == 0 && isBakedSub(w->item) && !isBakedSub(have))
            for (cOven* oven : ovens)
                if (oven && (oven->getPhase() == 0 || oven->getPhase() == 3) && oven->getState() == 0) {
                    *why = "bake " + itemText(have) + " for " + tableText(w->table);
                    return oven;
                }
    }
    // 7. A simple item from its station.
    if (freeHand)
        for (Want& w : wants)
            if (!w.covered)
                if (cClickTarget* station = stationFor(w.item)) {
                    *why = "fetch " + itemText(w.item) + " for " + tableText(w.table);
                    return station;
                }
    // 8. Money.
    if (moneyTable) {
        *why = "collect the money at " + tableText(moneyTable);
        return moneyTable;
    }
    // 9. Clear what blocks a machine: a baked sub or a portion nobody wants.
    if (freeHand) {
        for (const Supply& s : supplies)
            if (s.pickup && !s.want && (s.pickup->getKind() == KIND_OVEN || s.pickup->getKind() == KIND_COTTON_STATION ||
                                        s.pickup->getKind() == KIND_COTTON_ITEM)) {
                *why = "clear " + itemText(s.item) + " nobody wants";
                return s.pickup;
            }
    }
    // 10. The trash, for what nobody wants: when every held item is useless, or both hands are
    // full and nothing else can be done.
    const bool useless[2] = {hands[0] != 0 && !handWant[0], hands[1] != 0 && !handWant[1]};
    if ((useless[0] || useless[1]) && level.getTrash() &&
        (((useless[0] || hands[0] == 0) && (useless[1] || hands[1] == 0)) || !freeHand)) {
        *why = "throw away " + itemText(useless[0] ? hands[0] : hands[1]);
        return level.getTrash();
    }
    std::string open;
    for (const Want& w : wants) open += " " + itemText(w.item) + "@" + std::to_string(w.table->getIndex());
    *why = wants.empty() ? "a guest" : "a way to serve" + open;
    return nullptr;
}

}  // namespace restaurant_test
