#pragma once
// A player for the headless tests that serves whatever the running level shows, the way a
// person does: it reads only what is on the screen (the items in the order clouds, the guests'
// moods and stages, the stations' states, the plates, the ovens, the waitress's hands and the
// thief) and acts only through clicks injected by the restaurant driver. It takes orders,
// fetches each wanted item from where it comes from (the drink, cake and snack stations, the
// coffee machine and the cream station, the cotton candy stand with its choice, a sub ordered
// at the counter, taken from its plate, given its sauces and baked when the order asks for
// it), delivers it, collects the money (first where a thief creeps up), carries two items when
// it can and throws into the trash what nobody wants. While a tutorial script runs it clicks
// what the current step opens.
//
// Only its own clicks are remembered (the subs ordered at the counter, the candy ordered at
// the stand), as a person remembers them; the customers' scripts are never read. Every wait
// has a frame limit: a stuck level ends the play with a message naming the level, the frame
// and what the player was waiting for.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "tests/game/flow/RestaurantDriver.h"

class cLevel;

namespace restaurant_test {

// What the player saw of one level.
struct LevelTally {
    int served = 0;  // guests that left happy
    int lost = 0;    // guests that left angry
    int frames = 0;
};

class CampaignPlayer {
public:
    explicit CampaignPlayer(std::function<void()> frame);

    // Plays the running level until done() holds; false (with failure()) when frameLimit
    // frames passed first or a click never came to an end. label names the level in messages.
    bool playUntil(const std::function<bool()>& done, int frameLimit, const std::string& label);
    const std::string& failure() const { return m_failure; }
    const LevelTally& tally() const { return m_tally; }

    // The targets a tutorial step has opened, stations, subs and plates before the tables (a
    // table opened beside a station waits for what the station gives).
    static std::vector<cClickTarget*> openTargets(const cLevel& level);
    // The waitress has no target and nothing queued.
    static bool waitressIdle(const cLevel& level);
    // The target a tutorial step clicks now, or null for one more frame: the scripts open one or
    // two targets at a time, and a few quiet frames after each arrival let the script see its
    // result first. *idleFrames counts the waitress's idle frames between calls.
    static cClickTarget* tutorialTarget(const cLevel& level, int* idleFrames);

private:
    struct Want;
    void frame();
    void observeGuests();
    // One tutorial step: a click on what the script opened, once the waitress has rested.
    bool tutorialStep(cLevel& level);
    // The next click of normal play, with what it is for; null when nothing is to be done.
    cClickTarget* decide(cLevel& level, std::string* why);
    bool clickAndWait(cLevel& level, cClickTarget* target, const std::string& why);
    bool fail(const std::string& what);

    RestaurantDriver m_driver;
    std::function<void()> m_frame;
    // RW_CAMPAIGN_TRACE set: every click and what it is for on the error stream.
    bool m_trace = false;
    std::string m_failure;
    std::string m_label;
    const std::function<bool()>* m_done = nullptr;
    std::string m_waiting = "the level to start";
    LevelTally m_tally;
    int m_idleFrames = 0;
    int m_clickFailures = 0;
    // Subs ordered at the counter and not yet made, by bread, oldest first.
    std::deque<int> m_subOrders;
    // The candy ordered at the stand and not yet taken (0 none).
    int m_cottonOrdered = 0;
    // The guest seen at each table and its stage, to count happy and angry exits.
    const void* m_guests[6] = {};
    int m_stages[6] = {};
    int32_t m_wanted[6] = {};  // what each guest showed last, for the trace
};

}  // namespace restaurant_test
