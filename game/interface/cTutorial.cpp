#include "game/interface/cTutorial.h"

#include <algorithm>
#include <iterator>

#include "game/characters/cCustomer.h"
#include "game/data/GameConstants.h"
#include "game/restaurant/ItemId.h"

namespace {

const int kOvenBaking = 5;
const int kOvenReady = 2;
const int kAll = -1;

// A test of a customer's stage is false while the table has no customer.
bool customerAt(const cTutorialHost& host, int table, int32_t stage) {
    return host.hasCustomer(table) && host.getCustomerStage(table) == stage;
}

bool handHolds(const cTutorialHost& host, ItemId item) {
    return host.getHandItem(0) == item || host.getHandItem(1) == item;
}

bool bothHandsHold(const cTutorialHost& host, ItemId item) {
    return host.getHandItem(0) == item && host.getHandItem(1) == item;
}

// Steps -1 and 0 of levels 2 and 3: the first guest, at table 2, is let in alone and orders.
void takeFirstOrder(cTutorialHost& host) {
    if (host.getHintStep() < 0) {
        if (!host.hasCustomer(2)) return;
        host.setSpawning(false);
        host.setTableBlocked(2, false);
        host.nextHint();
    } else if (customerAt(host, 2, STAGE_ORDERING)) {
        host.setTableBlocked(2, true);
        host.nextHint();
    }
}

// The cook's two steps of the sub lessons (levels 1 and 3): once he starts, the subs are
// blocked again; once he is done, the sub can be taken from plate 1.
void cookStep(cTutorialHost& host, bool waitForStart) {
    if (host.isMakerWorking() != waitForStart) return;
    if (waitForStart)
        host.setSubsBlocked(true, kAll);
    else
        host.setPlacesBlocked(false, 0);
    host.nextHint();
}

void unblockEverything(cTutorialHost& host) {
    host.setAllTargetsBlocked(false);
    host.setPlacesBlocked(false, kAll);
    host.setSubsBlocked(false, kAll);
}

}  // namespace

cTutorial::cTutorial(int level) : m_level(level) {
    static const Script kScripts[] = {&cTutorial::runTutorialLevel1, &cTutorial::runTutorialLevel2,
                                      &cTutorial::runTutorialLevel3, &cTutorial::runTutorialLevel4};
    static_assert(std::size(kScripts) == game::kTutorialLevels.size());
    for (size_t i = 0; i < game::kTutorialLevels.size(); ++i)
        if (game::kTutorialLevels[i] == level) m_script = kScripts[i];
    if (!m_script) m_level = 0;
}

cTutorial cTutorial::forLevel(int world, int level, bool normalMode) {
    if (world != 1 || !normalMode) return cTutorial();
    return cTutorial(level);
}

void cTutorial::setUp(cTutorialHost& host) {
    if (!isInstalled()) return;
    host.setFastFill(true);
    host.setWaitressTutorialMode(true);
    host.setPatientCustomers(true);
    host.setPlacesBlocked(true, kAll);
    host.setSubsBlocked(true, kAll);
    host.setAllTargetsBlocked(true);
    if (m_level == 1) {
        host.setSpawning(false);
        m_countdown = 1.0f;
    }
}

void cTutorial::update(cTutorialHost& host, bool logicPaused, float dt) {
    if (logicPaused || !m_script) return;
    m_countdown = std::max(0.0f, m_countdown - dt);
    (this->*m_script)(host);
}

void cTutorial::finale(cTutorialHost& host) {
    unblockEverything(host);
    host.setPatientCustomers(false);
    host.setSpawning(true);
    host.setWaitressTutorialMode(false);
    host.nextHint();
    m_script = nullptr;
}

// Level 1: a sub from the sub station, served; the money; cakes into both hands, emptied at the
// trash; then the next guests come and the level runs on.
void cTutorial::runTutorialLevel1(cTutorialHost& host) {
    switch (host.getHintStep()) {
    case -1:
        if (countdownOut()) {
            host.setSubsBlocked(false, 0);
            host.nextHint();
        }
        break;
    case 0:
        if (host.isMakerWorking()) {
            host.setSubsBlocked(true, kAll);
            host.hideHint();
        }
        if (host.getPlaceItem(0) != ITEM_NONE) {
            host.nextHint();
            m_countdown = 3.0f;
        }
        break;
    case 1:
        if (countdownOut()) host.setSpawning(true);
        if (host.hasCustomer(2)) {
            host.setSpawning(false);
            host.setTableBlocked(2, false);
            host.nextHint();
        }
        break;
    case 2:
        if (customerAt(host, 2, STAGE_ORDERING)) {
            host.setTableBlocked(2, true);
            host.nextHint();
        }
        break;
    case 3:
        if (customerAt(host, 2, STAGE_WAITING_FOR_ITEM)) {
            host.setSubsBlocked(false, 1);
            host.nextHint();
        }
        break;
    case 4:
    case 5:
        cookStep(host, host.getHintStep() == 4);
        break;
    case 6:
        if (handHolds(host, 25)) {
            host.setPlacesBlocked(true, kAll);
            host.setTableBlocked(2, false);
            host.nextHint();
        }
        break;
    case 7:
        if (customerAt(host, 2, STAGE_LEAVING_HAPPY)) host.setTableBlocked(2, true);
        if (host.getTableState(2) == ITEM_MONEY) {
            host.setTableBlocked(2, false);
            host.nextHint();
        }
        break;
    case 8:
        if (host.getTableState(2) == ITEM_NONE) {
            host.setTableBlocked(2, true);
            host.setStationBlocked(TutorialStation::Cake, false);
            host.nextHint();
        }
        break;
    case 9:
        if (bothHandsHold(host, ITEM_CAKE)) {
            host.setStationBlocked(TutorialStation::Cake, true);
            host.setStationBlocked(TutorialStation::Trash, false);
            host.nextHint();
        }
        break;
    case 10:
        if (bothHandsHold(host, ITEM_NONE)) {
            host.setStationBlocked(TutorialStation::Trash, true);
            host.setSpawning(true);
            host.hideHint();
            host.silentHintStep();
            m_countdown = 7.0f;
        }
        break;
    case 11:
        // Release is already on since the trash: this level ends without the general finale.
        if (host.hasCustomer(3)) {
            host.showHint();
            unblockEverything(host);
            host.setWaitressTutorialMode(false);
            if (customerAt(host, 3, STAGE_ORDERING) || customerAt(host, 4, STAGE_ORDERING) || countdownOut()) {
                if (host.hasCustomer(3)) host.setCustomerWaitTime(3, 4.0f);
                if (host.hasCustomer(4)) host.setCustomerWaitTime(4, 5.0f);
                host.nextHint();
                host.setPatientCustomers(false);
                m_script = nullptr;
            }
        }
        break;
    default:
        break;
    }
}

// Level 2: coffee from the machine, then coffee with cream. The machine is watched through its
// brew: blocked while it brews, free again once the cups stand ready.
void cTutorial::runTutorialLevel2(cTutorialHost& host) {
    switch (host.getHintStep()) {
    case -1:
    case 0:
        takeFirstOrder(host);
        break;
    case 1:
        if (customerAt(host, 2, STAGE_WAITING_FOR_ITEM)) {
            host.setTableBlocked(2, true);
            host.setStationBlocked(TutorialStation::Coffee, false);
            host.nextHint();
        }
        break;
    case 2:
    case 8:
        if (host.isCoffeeBrewing()) {
            host.setStationBlocked(TutorialStation::Coffee, true);
            host.nextHint();
        }
        break;
    case 3:
    case 9:
        if (!host.isCoffeeBrewing()) {
            host.setStationBlocked(TutorialStation::Coffee, false);
            host.nextHint();
        }
        break;
    case 4:
        if (handHolds(host, ITEM_COFFEE)) {
            host.setStationBlocked(TutorialStation::Coffee, true);
            host.setTableBlocked(2, false);
            host.hideHint();
        }
        if (host.getTableState(2) == ITEM_MONEY) host.nextHint();
        break;
    case 5:
        if (host.isTableFree(2)) {
            host.hideHint();
            host.silentHintStep();
            host.setTableBlocked(2, true);
            host.setSpawning(true);
        }
        break;
    case 6:
        if (host.hasCustomer(3)) {
            host.setTableBlocked(3, false);
            host.setSpawning(false);
            host.showHint();
        }
        if (customerAt(host, 3, STAGE_ORDERING)) {
            host.setTableBlocked(3, true);
            host.nextHint();
        }
        break;
    case 7:
        if (customerAt(host, 3, STAGE_WAITING_FOR_ITEM)) {
            host.setTableBlocked(3, true);
            host.setStationBlocked(TutorialStation::Coffee, false);
            host.nextHint();
        }
        break;
    case 10:
        if (handHolds(host, ITEM_COFFEE)) {
            host.setStationBlocked(TutorialStation::Coffee, true);
            host.setStationBlocked(TutorialStation::Cream, false);
            host.nextHint();
        }
        break;
    case 11:
        if (handHolds(host, ITEM_COFFEE_CREAM)) {
            host.setStationBlocked(TutorialStation::Cream, true);
            host.setTableBlocked(3, false);
            host.nextHint();
        }
        break;
    case 12:
        if (bothHandsHold(host, ITEM_NONE)) {
            host.hideHint();
            host.silentHintStep();
            host.setTableBlocked(3, true);
        }
        break;
    case 13:
        if (host.getTableState(3) == ITEM_MONEY) {
            host.showHint();
            host.setTableBlocked(3, false);
        }
        if (host.isTableFree(3)) finale(host);
        break;
    default:
        break;
    }
}

// Level 3: a raw sub of bread 1 baked in the first oven, then served.
void cTutorial::runTutorialLevel3(cTutorialHost& host) {
    switch (host.getHintStep()) {
    case -1:
    case 0:
        takeFirstOrder(host);
        break;
    case 1:
        if (customerAt(host, 2, STAGE_WAITING_FOR_ITEM)) {
            host.setTableBlocked(2, true);
            host.setSubsBlocked(false, 0);
            host.nextHint();
        }
        break;
    case 2:
    case 3:
        cookStep(host, host.getHintStep() == 2);
        break;
    case 4:
        if (handHolds(host, 11)) {
            host.setPlacesBlocked(true, kAll);
            host.setStationBlocked(TutorialStation::Oven1, false);
            host.nextHint();
        }
        break;
    case 5:
        if (host.getOvenPhase(1) == kOvenBaking) {
            host.setStationBlocked(TutorialStation::Oven1, true);
            host.nextHint();
        }
        break;
    case 6:
        if (host.getOvenPhase(1) == kOvenReady) {
            host.setStationBlocked(TutorialStation::Oven1, false);
            host.nextHint();
        }
        break;
    case 7:
        if (handHolds(host, 12)) {
            host.setTableBlocked(2, false);
            host.setStationBlocked(TutorialStation::Oven1, true);
            host.hideHint();
        }
        if (host.getTableState(2) == ITEM_MONEY) host.nextHint();
        break;
    case 8:
        if (host.isTableFree(2)) finale(host);
        break;
    default:
        break;
    }
}

// Level 4: two tables at once, a drink and a cake; the last two hints with the bonus-mode
// timer stopped.
void cTutorial::runTutorialLevel4(cTutorialHost& host) {
    switch (host.getHintStep()) {
    case -1:
        if (host.hasCustomer(2) && host.hasCustomer(3)) {
            host.setSpawning(false);
            host.nextHint();
            m_countdown = 4.0f;
        }
        break;
    case 0:
        if (countdownOut()) {
            host.setTableBlocked(2, false);
            host.nextHint();
        }
        break;
    case 1:
        if (customerAt(host, 2, STAGE_ORDERING)) {
            host.setTableBlocked(2, true);
            host.setTableBlocked(3, false);
            host.nextHint();
        }
        break;
    case 2:
        if (customerAt(host, 3, STAGE_ORDERING)) {
            host.setTableBlocked(3, true);
            host.nextHint();
            m_countdown = 5.0f;
        }
        break;
    case 3:
        if (countdownOut()) {
            host.setTableBlocked(2, false);
            host.setStationBlocked(TutorialStation::Drink, false);
            host.nextHint();
        }
        break;
    case 4:
        if (handHolds(host, ITEM_DRINK)) {
            host.setStationBlocked(TutorialStation::Drink, true);
            host.hideHint();
        }
        if (customerAt(host, 2, STAGE_LEAVING_HAPPY)) {
            host.setTableBlocked(2, true);
            host.setTableBlocked(3, false);
            host.setStationBlocked(TutorialStation::Cake, false);
            host.nextHint();
        }
        break;
    case 5:
        if (handHolds(host, ITEM_CAKE)) {
            host.setStationBlocked(TutorialStation::Cake, true);
            host.hideHint();
        }
        if (customerAt(host, 3, STAGE_LEAVING_HAPPY)) {
            host.setTableBlocked(3, true);
            host.nextHint();
            m_countdown = 5.0f;
        }
        break;
    case 6:
        if (countdownOut()) {
            host.setTableBlocked(2, false);
            host.nextHint();
        }
        break;
    case 7:
        if (host.isTableFree(2)) {
            host.setTableBlocked(2, true);
            host.setTableBlocked(3, false);
            host.nextHint();
        }
        break;
    case 8:
        if (host.isTableFree(3)) {
            host.setTableBlocked(3, true);
            host.nextHint();
            m_countdown = 5.0f;
            host.setBonusFrozen(true);
        }
        break;
    case 9:
        if (countdownOut()) {
            host.nextHint();
            m_countdown = 5.0f;
        }
        break;
    case 10:
        if (countdownOut()) {
            finale(host);
            host.setBonusFrozen(false);
        }
        break;
    default:
        break;
    }
}
