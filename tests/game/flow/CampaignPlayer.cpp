#include "tests/game/flow/CampaignPlayer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>

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
// A guest with this mood or less is about to leave: what serves it comes first.
constexpr int kUrgentMood = 2;
// The waitress's walk in pixels per second, for weighing walks against each other.
constexpr float kWalkSpeed = 200.0f;

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
    const std::string out = itemName(id).toNarrow();
    return out.empty() ? std::to_string(id) : out;
}

std::string waitressHands(const cLevel& level) {
    const cWaitress* w = level.getWaitress();
    return w ? itemText(w->getHandItem(0)) + "," + itemText(w->getHandItem(1)) : "";
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

CampaignPlayer::CampaignPlayer(std::function<void()> frame)
    : m_driver([this] { this->frame(); }), m_frame(std::move(frame)), m_trace(std::getenv("RW_CAMPAIGN_TRACE") != nullptr) {}

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
            if (stage == STAGE_LEAVING_ANGRY) {
                ++m_tally.lost;
                if (m_trace)
                    std::cerr << m_label << " " << level->getTimeLeft() << " s: a guest leaves angry from table "
                              << i + 1 << " wanting " << itemText(m_wanted[i]) << "\n";
            }
            m_stages[i] = stage;
        }
        m_wanted[i] = guest ? (stage == STAGE_WAITING_FOR_ORDER ? ITEM_WAITING : table->getState()) : 0;
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
    m_done = &done;
    for (;;) {
        if (done()) return true;
        if (m_tally.frames >= frameLimit)
            return fail("no end after " + std::to_string(frameLimit) + " frames; waiting for " + m_waiting);
        cLevel* level = getLevel();
        // Past the level's time the guests still seated are served and the money collected:
        // the level ends only at an empty restaurant.
        if (!level) {
            m_waiting = "a level";
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

cClickTarget* CampaignPlayer::tutorialTarget(const cLevel& level, int* idleFrames) {
    const std::vector<cClickTarget*> targets = openTargets(level);
    *idleFrames = waitressIdle(level) ? *idleFrames + 1 : 0;
    if (targets.empty() || targets.size() > 4 || *idleFrames < 8) return nullptr;
    *idleFrames = 0;
    return targets.front();
}

bool CampaignPlayer::tutorialStep(cLevel& level) {
    cClickTarget* target = tutorialTarget(level, &m_idleFrames);
    if (!target) {
        frame();
        return true;
    }
    if (m_driver.click(target)) {
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
    if (kind == KIND_SUB)
        m_subOrders.push_back(subBread(target->getState()));
    else if (kind == KIND_COTTON_CANDY)
        if (auto* candy = dynamic_cast<cCottonCandy*>(target)) m_cottonOrdered = candy->getCottonKind();
    if (m_trace)
        std::cerr << m_label << " " << level.getTimeLeft() << " s: " << why << " [" << waitressHands(level) << "]\n";
    // The level may end meanwhile: the last money collected, a walk to the trash is not finished.
    if (!m_driver.waitFor([&] { return getLevel() != &level || waitressIdle(level) || (*m_done)(); },
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
    for (cTable* table : level.getTables()) {
        const cCustomer* guest = table ? table->getCustomer() : nullptr;
        if (!guest) continue;
        const int32_t s = table->getState();
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
    // A hand holding a sub a guest waits for once it is baked.
    auto toBake = [&](int h) {
        return handWant[h] && isSub(hands[h]) && isBakedSub(handWant[h]->item) && !isBakedSub(hands[h]);
    };

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
    // ---- Every click that would help, each with a cost in seconds: the walk to the target
    // plus a weight by what the click does (less is sooner). An impatient guest lowers the
    // weight of what serves it, so the player walks to the counter once for all it needs there
    // and still turns to a guest about to leave.
    struct Candidate {
        cClickTarget* target;
        float cost;
        std::string why;
    };
    std::vector<Candidate> candidates;
    const cVector2 here = waitress->getPosition();
    auto offer = [&](cClickTarget* target, float weight, std::string what) {
        if (!target || target->isBlocked()) return;
        const cVector2 d = target->getControlPoint() - here;
        const float walk = std::sqrt(d.x * d.x + d.y * d.y) / kWalkSpeed;
        candidates.push_back(Candidate{target, weight + walk, std::move(what)});
    };
    auto urgency = [](int mood) { return 1.2f * static_cast<float>(std::max(0, kUrgentMood + 3 - mood)); };

    // A thief creeps up to money: collect it first.
    for (const auto& [serial, node] : getThieves()) {
        const auto* thief = dynamic_cast<const cThief*>(node);
        if (thief && thief->getTable() && thief->getTable()->getState() == ITEM_MONEY)
            offer(thief->getTable(), -100.0f, "collect the money a thief goes for at " + tableText(thief->getTable()));
    }
    // Deliver what a hand holds.
    for (int h = 0; h < 2; ++h)
        if (handExact[h])
            offer(handWant[h]->table, 0.0f - urgency(handWant[h]->mood),
                  "deliver " + itemText(hands[h]) + " to " + tableText(handWant[h]->table));
    // Take an order.
    for (cTable* table : level.getTables()) {
        const cCustomer* guest = table ? table->getCustomer() : nullptr;
        if (guest && table->getState() == ITEM_WAITING && guest->getStage() == STAGE_WAITING_FOR_ORDER)
            offer(table, 3.0f - urgency(guest->getMood()), "take the order at " + tableText(table));
    }
    // Carry on with what a hand holds: cream, sauces, the oven.
    for (int h = 0; h < 2; ++h) {
        const Want* w = handWant[h];
        if (!w || handExact[h]) continue;
        const ItemId have = hands[h];
        const float weight = 0.5f - urgency(w->mood);
        if (have == ITEM_COFFEE && w->item == ITEM_COFFEE_CREAM) {
            offer(level.getCreamStation(), weight, "cream for " + tableText(w->table));
            continue;
        }
        if (!isSub(have)) continue;
        const int missing = sauceMask(w->item) & ~sauceMask(have);
        for (int k = 1; k <= 3; ++k) {
            if (!(missing & (1 << k))) continue;
            for (int slot = 0; slot < 3; ++slot)
                if (cSouseStation* sauce = level.getSauceStation(slot); sauce && sauce->getState() == ITEM_SAUCE_1 + k - 1)
                    offer(sauce, weight, "sauce " + std::to_string(k) + " for " + tableText(w->table));
        }
        if (missing == 0 && isBakedSub(w->item) && !isBakedSub(have)) {
            // An empty oven; with both hands full, also an oven holding a baked sub: the
            // waitress puts this sub in and takes the baked one out. One nobody wants is taken
            // so only when both hands hold subs still to be baked (else nothing would move).
            cClickTarget* use = nullptr;
            for (cOven* oven : ovens)
                if (oven && !use && (oven->getPhase() == 0 || oven->getPhase() == 3) && oven->getState() == 0) use = oven;
            for (const Supply& ready : supplies)
                if (!use && !freeHand && ready.pickup && ready.pickup->getKind() == KIND_OVEN &&
                    (ready.want || (toBake(0) && toBake(1))))
                    use = ready.pickup;
            if (use) offer(use, weight, "bake " + itemText(have) + " for " + tableText(w->table));
        }
    }
    // Take what is ready for a guest.
    if (freeHand)
        for (const Supply& s : supplies)
            if (s.pickup && s.want)
                offer(s.pickup, 1.0f - urgency(s.want->mood), "fetch " + itemText(s.item) + " for " + tableText(s.want->table));
    // Start what takes time: a sub at the counter (no more than its plates hold: a finished
    // sub pushes the oldest off a full counter), a brew, a portion of candy; or fetch a simple
    // item from its station.
    int subsAtCounter = static_cast<int>(m_subOrders.size());
    for (int i = 0; counter && i < counter->getPlaceCount(); ++i) subsAtCounter += isSub(counter->getPlaceState(i)) ? 1 : 0;
    bool subOffered[4] = {}, brewOffered = false, cottonOffered = false;
    for (Want& w : wants) {
        if (w.covered) continue;
        const float weight = 1.5f - urgency(w.mood);
        const int bread = subBread(w.item);
        if (isSub(w.item) && counter && subsAtCounter < counter->getPlaceCount() && !subOffered[bread]) {
            subOffered[bread] = true;
            for (int i = 0; i < 3; ++i)
                if (cSub* sub = counter->getSub(i); sub && subBread(sub->getState()) == bread)
                    offer(sub, weight, "order a sub of bread " + std::to_string(bread) + " for " + tableText(w.table));
        }
        if ((w.item == ITEM_COFFEE || w.item == ITEM_COFFEE_CREAM) && coffee && coffee->isWorking() != 1 &&
            coffee->getState() != ITEM_COFFEE && !brewOffered) {
            brewOffered = true;
            offer(coffee, weight, "start a brew for " + tableText(w.table));
        }
        if ((w.item == ITEM_COTTON_CANDY_1 || w.item == ITEM_COTTON_CANDY_2) && stand && m_cottonOrdered == 0 &&
            !cottonReady && !stand->isBusy() && stand->queuedOrders() == 0 &&
            (stand->getPhase() == 0 || stand->getPhase() == 4) && !cottonOffered) {
            cottonOffered = true;
            for (int m = 0; m < 2; ++m)
                if (cCottonCandy* candy = stand->getCandy(m); candy && candy->getCottonKind() == w.item)
                    offer(candy, weight, "order " + itemText(w.item) + " for " + tableText(w.table));
        }
        if (freeHand)
            if (cClickTarget* station = stationFor(w.item))
                offer(station, 1.5f - urgency(w.mood), "fetch " + itemText(w.item) + " for " + tableText(w.table));
    }
    // Money.
    for (cTable* table : level.getTables())
        if (table && table->getState() == ITEM_MONEY) offer(table, 2.5f, "collect the money at " + tableText(table));
    // Clear what blocks a machine: a baked sub or a portion nobody wants; an oven soon when a
    // hand holds a sub still to be baked.
    const bool subToBake = toBake(0) || toBake(1);
    if (freeHand)
        for (const Supply& s : supplies)
            if (s.pickup && !s.want &&
                (s.pickup->getKind() == KIND_OVEN || s.pickup->getKind() == KIND_COTTON_STATION ||
                 s.pickup->getKind() == KIND_COTTON_ITEM))
                offer(s.pickup, subToBake && s.pickup->getKind() == KIND_OVEN ? 0.5f : 6.0f,
                      "clear " + itemText(s.item) + " nobody wants");
    // The trash, for what nobody wants (it empties both hands; past the level's time nothing
    // more is fetched, so nothing needs a free hand).
    const bool useless[2] = {hands[0] != 0 && !handWant[0], hands[1] != 0 && !handWant[1]};
    if ((useless[0] || useless[1]) && level.getTimeLeft() > 0.0f)
        offer(level.getTrash(), 3.0f, "throw away " + itemText(useless[0] ? hands[0] : hands[1]));

    if (!candidates.empty()) {
        const Candidate* best = &candidates.front();
        for (const Candidate& c : candidates)
            if (c.cost < best->cost) best = &c;
        *why = best->why;
        return best->target;
    }
    std::string open;
    for (const Want& w : wants) open += " " + itemText(w.item) + "@" + std::to_string(w.table->getIndex());
    *why = wants.empty() ? "a guest" : "a way to serve" + open;
    return nullptr;
}

}  // namespace restaurant_test
