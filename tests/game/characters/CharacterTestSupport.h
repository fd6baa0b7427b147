#pragma once
// The fixture of the character tests: the restaurant's fixture (tables, clouds, items, a level,
// a bonus bar the test controls) plus a score table that prices items and records penalties,
// a sound manager that records what plays, a statistics logger, and the characters' files:
// - guests (c_01, c_02): wait_time 40 (a mood step of 5 s), order_time 4 (1 in bonus mode),
//   a walk-in of 50 px in 0.5 s with a fade of 0.5 s, a walk-out of 100 px in 0.5 s, idle
//   pauses of 2 to 3 s, seat n at (100 n, 250), idle runs of 0.4 s, EXIT_HAPPY of 0.4 s;
// - the cook: stand (100,100), work (200,100), 100 px/s, rests of 1.9 to 3.2 s, up to 3 idle
//   runs of 0.5 s, bonus factor 3;
// - the thief: start n at (100 n - 60, 200), stand n at (100 n, 200), 200 px/s, a fade of
//   0.5 s sliding 50 px in 0.5 s.

#include <memory>
#include <string>
#include <vector>

#include "engine/media/cSound.h"
#include "game/characters/cCustomer.h"
#include "game/data/cStatistics.h"
#include "game/restaurant/cTable.h"
#include "tests/game/restaurant/RestaurantTestSupport.h"

namespace characters_test {

// Items cost 10 points per id unit (a drink 10, a cake 20 ...); take 5, deliver 7.
class PricedScores : public cScoreTable {
public:
    std::vector<cVector2> penalties;
    int32_t getEntry(int32_t index) const override {
        switch (index) {
        case SCORE_TAKE: return take;
        case SCORE_DELIVER: return deliver;
        case SCORE_TIP1: return 30;
        case SCORE_TIP2: return 15;
        default: return 0;
        }
    }
    int32_t getProductPoints(int32_t item) const override { return pricePerId * item; }
    void applyPenalty(const cVector2& position) override { penalties.push_back(position); }
    int32_t take = 5, deliver = 7, pricePerId = 10;
};

class RecordingSound : public cSound {
public:
    std::vector<std::string> played;
    void playSample(const cStringA& name, int) override { played.push_back(name); }
    int count(const std::string& name) const {
        int n = 0;
        for (const std::string& p : played) n += p == name;
        return n;
    }
};

inline std::string animationSection(const std::string& name, const std::string& picture, float length, bool looped,
                                    int frames = 2) {
    return "[" + name + "]\npicture=\"" + picture + "\"\nanim_looped=\"" + (looped ? "1" : "0") +
           "\"\nanim_length=\"" + std::to_string(length) + "\"\nanim_frame_count=\"" + std::to_string(frames) +
           "\"\nanim_frame_size=\"40,80\"\n";
}

inline std::string guestIni() {
    std::string t =
        "[COMMON]\npicture=\"guest_happy.dds\"\nappear_time=\"0.5\"\nwait_time=\"40\"\norder_time=\"4\"\n"
        "disappear_time=\"0.5\"\ncombo_mode_order_time=\"1\"\nappear_distance=\"50\"\nappear_distance_time=\"0.5\"\n"
        "disappear_distance=\"100\"\ndisappear_distance_time=\"0.5\"\noff_mood=\"0,-60\"\nmin_anim_time=\"2\"\n"
        "max_anim_time=\"3\"\nhighlight_alpha=\"200\"\nv1=\"0,0\"\nv2=\"40,0\"\nv3=\"40,80\"\nv4=\"0,80\"\n";
    for (int n = 1; n <= 6; ++n) t += "position_" + std::to_string(n) + "=\"" + std::to_string(100 * n) + ",250\"\n";
    t += animationSection("STAND_HAPPY", "guest_happy.dds", 0.4f, false);
    t += animationSection("STAND_ANGRY", "guest_angry.dds", 0.4f, false);
    t += animationSection("ORDER", "guest_order.dds", 0.4f, true);
    t += animationSection("EXIT_HAPPY", "guest_exit.dds", 0.4f, false);
    t += "[MOOD]\npicture=\"mood.dds\"\nvisible=\"0\"\nanim_frame_count=\"8\"\nanim_length=\"0.8\"\n"
         "anim_looped=\"0\"\nanim_frame_size=\"16,16\"\n";
    return t;
}

inline std::string cookIni() {
    return "[COMMON]\noff_sprite=\"0,20\"\nspeed_move=\"100\"\ntemp_multiplier=\"3\"\nharold_stand_pos=\"100,100\"\n"
           "harold_work_pos=\"200,100\"\n[STAND]\nmin_anim_time=\"1.9\"\nmax_anim_time=\"3.2\"\nmax_count_cycles=\"3\"\n"
           "picture=\"cook_stand.dds\"\nanim_looped=\"0\"\nanim_length=\"0.5\"\nanim_frame_count=\"2\"\n"
           "[WORKING]\npicture=\"cook_work.dds\"\nanim_looped=\"1\"\nanim_length=\"1\"\nanim_frame_count=\"4\"\n";
}

inline std::string thiefIni() {
    std::string t = "[COMMON]\nspeed_move=\"200\"\nappear_time=\"0.5\"\nappear_distance=\"50\"\n"
                    "appear_distance_time=\"0.5\"\n";
    for (int n = 1; n <= 6; ++n) {
        t += "position_" + std::to_string(n) + "=\"" + std::to_string(100 * n) + ",200\"\n";
        t += "start_position_" + std::to_string(n) + "=\"" + std::to_string(100 * n - 60) + ",200\"\n";
    }
    return t + animationSection("THIEF", "thief.dds", 0.5f, true, 4);
}

class CharacterTest : public restaurant_test::RestaurantTest {
protected:
    std::unique_ptr<PricedScores> prices;
    std::unique_ptr<RecordingSound> sound;
    std::unique_ptr<cStatistics> statistics;
    cStatistics::Services savedStatistics;

    void SetUp() override {
        RestaurantTest::SetUp();
        if (HasFatalFailure()) return;
        scores.reset();
        prices = std::make_unique<PricedScores>();
        sound = std::make_unique<RecordingSound>();
        savedStatistics = cStatistics::services();
        cStatistics::services().enabled = [] { return false; };
        cStatistics::services().log = [](const std::string&) {};
        statistics = std::make_unique<cStatistics>();
        for (const char* t : {"guest_happy.dds", "guest_angry.dds", "guest_order.dds", "guest_exit.dds", "mood.dds",
                              "cook_stand.dds", "cook_work.dds", "thief.dds"})
            services.addTexture(t, 80, 80);
        try {
            addIni("Config/Game/c_01.ini", guestIni());
            addIni("Config/Game/c_02.ini", guestIni());
            addIni("Config/Game/c_harold.ini", cookIni());
            addIni("Config/Game/c_thief.ini", thiefIni());
        } catch (const std::string& text) {
            FAIL() << text;
        } catch (const char* text) {
            FAIL() << text;
        }
        rwSrand(4321);
    }
    void TearDown() override {
        RestaurantTest::TearDown();
        statistics.reset();
        cStatistics::services() = savedStatistics;
        sound.reset();
        prices.reset();
    }

    // Frames of `step` seconds for about `seconds`.
    void run(float seconds, float step = 0.01f) {
        const int frames = static_cast<int>(seconds / step + 0.5f);
        for (int i = 0; i < frames; ++i) frame(step);
    }
    // Frames until the condition holds, at most `limit` seconds; the seconds it took.
    template <class Condition>
    float runUntil(Condition done, float limit, float step = 0.01f) {
        float t = 0.0f;
        while (!done() && t < limit) {
            frame(step);
            t += step;
        }
        return t;
    }
    cTable* makeTable(int index) {
        cTable* table = new cTable(level, index);
        table->show();
        table->enable();
        return table;
    }
    // A guest of kind 0 (or the given kind) with its orders, seated at the table and walked in.
    cCustomer* seatGuest(cTable* table, std::vector<int32_t> orders, int32_t kind = 0, bool walkIn = true) {
        auto* guest = new cCustomer(level, kind);
        for (int32_t item : orders) guest->addOrder(item);
        table->seatCustomer(guest);
        if (walkIn) runUntil([&] { return guest->getStage() == STAGE_WAITING_FOR_ORDER; }, 2.0f);
        return guest;
    }
};

}  // namespace characters_test
