#pragma once
// The restaurant as the tutorial scripts of world 1, levels 1 to 4, see it: what they read and
// what they do. The level implements it; the tests drive the scripts with a fake restaurant.
//
// What each call must do in the level (tables are numbered 1 to 6, table n fed by line n of
// the level script; a station or oven the level did not build is skipped by every call):
//
// Reads
// - hasCustomer(n):          the table's seated customer exists (cTable::getCustomer).
// - getCustomerStage(n):     that customer's stage (cCustomer::getStage: 2 ordering, 3 waiting
//                            for the food, 5 leaving happy). Only asked when hasCustomer(n).
// - getTableState(n):        the table's click-target state (53 while money lies on it, else 0).
// - isTableFree(n):          cTable::isFree (no customer and state 0).
// - getHandItem(hand):       cWaitress::getHandItem, hand 0 or 1 (0 when empty).
// - isMakerWorking():        cSubStation::isMakerWorking (the cook is making a sub).
// - getPlaceItem(i):         cSubStation::getPlaceState(i), plate i = 0..2 (0 when empty).
// - isCoffeeBrewing():       cCoffeeStation::isWorking != 0; false without a coffee machine.
// - getOvenPhase(n):         cOven::getPhase of oven n = 1 or 2 (5 baking, 2 ready); -1 when
//                            that oven was not built. Never the oven's click-target state.
// Acts
// - setTableBlocked(n, b):   cClickTarget::setBlocked on table n.
// - setStationBlocked(s, b): cClickTarget::setBlocked on that station, when built.
// - setAllTargetsBlocked(b): setBlocked on every target of the level's blockable set (six
//                            tables, sauce stations, coffee, cake, snack, cream and drink
//                            stations, both ovens, cotton-candy stand, trash, as built).
// - setSubsBlocked(b, i) / setPlacesBlocked(b, i): cSubStation::setSubsBlocked and
//                            setPlacesBlocked; i = 0..2, or -1 for all.
// - setSpawning(b):          cCustomerGenerator::setSpawning (release queued customers).
// - setPatientCustomers(b):  cCustomerGenerator::setPatientCustomers.
// - setWaitressTutorialMode(b): cWaitress::setTutorialMode (drop a repeated click).
// - setCustomerWaitTime(n, s): cCustomer::setWaitTime(s) on the customer of table n; only
//                            asked when that table has a customer.
// - setFastFill(b) / setBonusFrozen(b): cTempBonuses::setFastFill / setFrozen.
// Hints (the level's cHints, created with the level number)
// - getHintStep():    cHints::getStep, the step the script is at (-1 before the first hint).
// - nextHint():       cHints::nextStepAndShow.    - silentHintStep(): cHints::nextStep.
// - showHint():       cHints::showCurrent.        - hideHint():       cHints::hideCurrent.

#include <cstdint>

enum class TutorialStation { Cake, Drink, Coffee, Cream, Oven1, Trash };

class cTutorialHost {
public:
    virtual ~cTutorialHost() = default;

    virtual bool hasCustomer(int table) const = 0;
    virtual int32_t getCustomerStage(int table) const = 0;
    virtual int32_t getTableState(int table) const = 0;
    virtual bool isTableFree(int table) const = 0;
    virtual int32_t getHandItem(int hand) const = 0;
    virtual bool isMakerWorking() const = 0;
    virtual int32_t getPlaceItem(int place) const = 0;
    virtual bool isCoffeeBrewing() const = 0;
    virtual int getOvenPhase(int oven) const = 0;

    virtual void setTableBlocked(int table, bool blocked) = 0;
    virtual void setStationBlocked(TutorialStation station, bool blocked) = 0;
    virtual void setAllTargetsBlocked(bool blocked) = 0;
    virtual void setSubsBlocked(bool blocked, int index) = 0;
    virtual void setPlacesBlocked(bool blocked, int index) = 0;
    virtual void setSpawning(bool on) = 0;
    virtual void setPatientCustomers(bool on) = 0;
    virtual void setWaitressTutorialMode(bool on) = 0;
    virtual void setCustomerWaitTime(int table, float seconds) = 0;
    virtual void setFastFill(bool on) = 0;
    virtual void setBonusFrozen(bool frozen) = 0;

    virtual int getHintStep() const = 0;
    virtual void nextHint() = 0;
    virtual void silentHintStep() = 0;
    virtual void showHint() = 0;
    virtual void hideHint() = 0;
};
