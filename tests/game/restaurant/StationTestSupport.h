#pragma once
// The fixture of the station tests: the restaurant's fixture plus every station's file, small
// enough to reason about, a paths document with every station's element, a sound manager
// that records each play with the frame it came in, and a stand-in for the waitress's hands
// (she calls the stations exactly so on arrival).
//
// Runs: the use runs of the simple stations, the trash and the sauces last 0.4 s (4 frames),
// the oven door 0.4 s (4 frames), the progress indicator has 4 frames; the coffee machine
// brews 4 / 5 / 6 s by graphics set, less 1 s from upgrade 2 (not in set 1), twice as fast in
// bonus mode; the ovens bake 3 s, less 1 s from upgrade 2; the cotton machines work 2 s and
// 3 s, less 0.5 s where reduced.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/media/cSound.h"
#include "game/effects/cClickEffect.h"
#include "game/effects/cFxTrail.h"
#include "game/restaurant/cHighlight.h"
#include "tests/game/restaurant/RestaurantTestSupport.h"

namespace station_test {

using namespace restaurant_test;

// Sound plays, each with the frame number it was made in.
class FrameSound : public cSound {
public:
    int frameNumber = 0;
    std::vector<std::pair<int, std::string>> plays;
    void playSample(const cStringA& name, int) override { plays.emplace_back(frameNumber, name.str()); }
    int count(const std::string& name) const {
        int n = 0;
        for (const auto& p : plays) n += p.second == name ? 1 : 0;
        return n;
    }
    std::vector<int> framesOf(const std::string& name) const {
        std::vector<int> frames;
        for (const auto& p : plays)
            if (p.second == name) frames.push_back(p.first);
        return frames;
    }
};

// A use run of 4 frames in 0.4 s, not looped, 40 x 40, with a clockwise square polygon.
inline std::string useRun(const std::string& extra = "") {
    return "anim_looped=\"0\"\nanim_length=\"0.4\"\nanim_frame_count=\"4\"\nanim_frame_size=\"40,40\"\n"
           "v1=\"0,0\"\nv2=\"40,0\"\nv3=\"40,40\"\nv4=\"0,40\"\n" + extra;
}

inline const std::string kDrinkText = "[COMMON]\nposition=\"100,100\"\ndeep=\"100\"\nhighlight_alpha=\"200\"\n"
                                     "pointer_offset=\"0,-30\"\npointer1_offset=\"10,-30\"\nsound_delay=\"0.1\"\n" + useRun();
inline const std::string kSnackText = "[COMMON]\nposition=\"200,100\"\ndeep=\"100\"\nsound_delay=\"0.1\"\n" + useRun();
inline const std::string kCreamText = "[COMMON]\nposition=\"250,100\"\ndeep=\"100\"\nsound_delay=\"0.5\"\n" + useRun() +
                                     "[CUP_STATION]\nsound_delay=\"0.05\"\n";
inline const std::string kCakeText = "[COVER]\nposition=\"300,100\"\ndeep=\"100\"\nhighlight_alpha=\"150\"\n" + useRun() +
                                    "[TABLE]\ncentered=\"0\"\nposition=\"280,110\"\ndeep=\"99\"\n"
                                    "[COMMON]\nsound_delay=\"0.1\"\n";
inline const std::string kTrashText = "[COMMON]\nposition=\"500,450\"\ndeep=\"3\"\n" + useRun();
inline const std::string kSouseText = "[COMMON]\ndeep=\"100\"\nsound_delay=\"0.1\"\n" + useRun() +
                                     "[COUNT_SOUSE_1]\nposition1=\"610,50\"\n"
                                     "[COUNT_SOUSE_2]\nposition1=\"620,50\"\nposition2=\"660,50\"\n"
                                     "[COUNT_SOUSE_3]\nposition1=\"630,50\"\nposition2=\"670,50\"\nposition3=\"710,50\"\n";
inline const std::string kCoffeeText =
    "[COMMON]\nposition=\"400,100\"\ndeep=\"100\"\ngeneration_time_world_1=\"4\"\ngeneration_time_world_2=\"5\"\n"
    "generation_time_world_3=\"6\"\ndec_generation_time=\"1\"\ntemp_multiplier=\"2\"\nsound_delay=\"0.1\"\n"
    "steam_scale=\"2,2\"\nsteam_offset=\"0,-30\"\nsteam_offset_1=\"-10,-30\"\nsteam_offset_2=\"10,-30\"\n"
    "v1=\"0,0\"\nv2=\"40,0\"\nv3=\"40,60\"\nv4=\"0,60\"\n"
    "[GLOW]\npicture=\"glow.dds\"\n"
    "[STAND]\npicture=\"x.dds\"\nanim_looped=\"0\"\nanim_length=\"0.3\"\nanim_frame_count=\"7\"\nanim_frame_size=\"40,60\"\n"
    "[WORK]\npicture=\"x.dds\"\nanim_looped=\"1\"\nanim_length=\"0.4\"\nanim_frame_count=\"4\"\nanim_frame_size=\"40,60\"\n"
    "[STEAM]\npicture=\"steam.dds\"\nvisible=\"0\"\nanim_looped=\"1\"\nanim_length=\"2\"\nanim_frame_count=\"4\"\n";
inline std::string ovenSection(int n, const std::string& velocity) {
    const std::string x = std::to_string(500 + 100 * n);
    return "[OVEN_" + std::to_string(n) + "]\nposition=\"" + x + ",200\"\ndeep=\"100\"\nitem_position=\"" + x +
           ",260\"\ngeneration_time_world_1=\"3\"\ngeneration_time_world_2=\"3\"\ngeneration_time_world_3=\"3\"\n"
           "dec_generation_time=\"1\"\ntemp_multiplier=\"2\"\nitem_velocity=\"" + velocity + "\"\nitem_speed=\"100\"\n"
           "steam_offset=\"0,40\"\nsteam_scale=\"1,1\"\nanim_frame_size=\"40,40\"\n"
           "v1=\"0,0\"\nv2=\"40,0\"\nv3=\"40,40\"\nv4=\"0,40\"\n";
}
inline std::string ovenIni(const std::string& open = "anim_looped=\"0\"\nanim_length=\"0.4\"\nanim_frame_count=\"4\"\n",
                           const std::string& velocity = "0,2") {
    return ovenSection(1, velocity) + ovenSection(2, velocity) + "[OPEN]\npicture=\"x.dds\"\n" + open +
           "anim_frame_size=\"40,40\"\n[WORK]\npicture=\"x.dds\"\nanim_looped=\"1\"\nanim_length=\"0.4\"\n"
           "anim_frame_count=\"4\"\nanim_frame_size=\"40,40\"\n[STEAM]\npicture=\"steam.dds\"\nvisible=\"0\"\n"
           "[BASE]\ndeep=\"90\"\n";
}
inline std::string progressIni(int frames = 4) {
    std::string t;
    for (int n = 1; n <= 2; ++n)
        t += "[PROGRESS_" + std::to_string(n) + "]\nposition=\"" + std::to_string(500 + 100 * n) +
             ",150\"\nanim_looped=\"0\"\nanim_length=\"0.4\"\nanim_frame_count=\"" + std::to_string(frames) +
             "\"\nanim_frame_size=\"40,10\"\nv1=\"0,0\"\nv2=\"40,0\"\nv3=\"40,10\"\nv4=\"0,10\"\n";
    return t;
}
inline const std::string kCottonStandText =
    "[COMMON]\nposition=\"150,400\"\ndeep=\"100\"\ngeneration_time_1_world_1=\"2\"\ngeneration_time_1_world_2=\"2\"\n"
    "generation_time_1_world_3=\"2\"\ngeneration_time_2_world_1=\"3\"\ngeneration_time_2_world_2=\"3\"\n"
    "generation_time_2_world_3=\"3\"\nhighlight_alpha=\"180.7\"\ntemp_multiplier=\"2\"\ndec_generation_time=\"0.5\"\n"
    "v1=\"0,0\"\nv2=\"100,0\"\nv3=\"100,80\"\nv4=\"0,80\"\n"
    "[LID]\nposition=\"150,380\"\n[ITEM]\nposition=\"150,390\"\n"
    "[STAND]\npicture=\"x.dds\"\nanim_looped=\"1\"\nanim_length=\"0\"\nanim_frame_count=\"1\"\nanim_frame_size=\"100,80\"\n"
    "[WORK]\npicture=\"x.dds\"\nanim_looped=\"1\"\nanim_length=\"0.4\"\nanim_frame_count=\"4\"\nanim_frame_size=\"100,80\"\n"
    "[COUNT_COTTONS_1]\ncotton_position_1=\"150,330\"\n"
    "[COUNT_COTTONS_2]\ncotton_position_1=\"120,330\"\ncotton_position_2=\"180,330\"\n"
    "item_position_1=\"60,400\"\nitem_position_2=\"240,400\"\n"
    "[LIGHT]\npicture=\"light.dds\"\nposition=\"150,400\"\nspeed_move=\"100\"\n"
    "v1=\"0,0\"\nv2=\"100,0\"\nv3=\"100,80\"\nv4=\"0,80\"\n"
    "[LIGHT2]\npicture=\"light.dds\"\nposition=\"150,400\"\nspeed_move=\"50\"\nv1=\"10,10\"\nv2=\"90,10\"\nv3=\"50,70\"\n";
inline const std::string kCottonText =
    "[COMMON]\ndeep=\"110\"\nhighlight_alpha=\"190\"\nanim_frame_size=\"30,30\"\n"
    "[POINTS_1_COUNT_1]\nv1=\"0,0\"\nv2=\"30,0\"\nv3=\"30,30\"\nv4=\"0,30\"\n"
    "[POINTS_1_COUNT_2]\nv1=\"0,0\"\nv2=\"28,0\"\nv3=\"28,30\"\nv4=\"0,30\"\n"
    "[POINTS_2_COUNT_2]\nv1=\"2,0\"\nv2=\"30,0\"\nv3=\"30,30\"\nv4=\"2,30\"\n";
inline const std::string kCottonItemText =
    "[COMMON]\ndeep=\"120\"\nanim_frame_size=\"30,30\"\n"
    "[POINTS_1_COUNT_2]\nv1=\"0,0\"\nv2=\"30,0\"\nv3=\"30,30\"\nv4=\"0,30\"\n"
    "[POINTS_2_COUNT_2]\nv1=\"0,0\"\nv2=\"30,0\"\nv3=\"30,30\"\nv4=\"0,30\"\n";

inline const char* const kStationPaths =
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?><paths><PathPoints/><Objects>"
    "<DRINK_STATION control_point=\"100,150\"/><CAKE_STATION control_point=\"300,150\"/>"
    "<SNACK_STATION control_point=\"200,150\"/><CREAM_STATION control_point=\"250,150\"/>"
    "<COFFEE_STATION control_point=\"400,170\"/><TRASH control_point=\"500,500\"/>"
    "<SOUSE_STATION control_point=\"650,100\"/><OVEN control_point=\"650,300\"/>"
    "<COTTON_STATION control_point=\"150,480\"/></Objects></paths>";

// What the waitress does with a station on arrival, as far as her hands go: she holds up to
// two items (right hand first) and calls the station as she does.
struct Hands {
    int32_t right = 0, left = 0;
    int32_t* freeHand() { return right == 0 ? &right : left == 0 ? &left : nullptr; }
    // Drink, cake, snack, coffee, oven, stand body, item part: take the offered item into the
    // first free hand, then setState(0); with both hands full nothing happens.
    bool take(cClickTarget* target, int32_t item) {
        int32_t* hand = freeHand();
        if (!hand || item == 0) return false;
        *hand = item;
        target->setState(0);
        return true;
    }
    // The cream station turns a coffee into a coffee with cream, right hand first.
    bool cream(cClickTarget* station) {
        int32_t* hand = right == ITEM_COFFEE ? &right : left == ITEM_COFFEE ? &left : nullptr;
        if (!hand) return false;
        *hand = ITEM_COFFEE_CREAM;
        station->setState(0);
        return true;
    }
    // The trash: one call per emptied hand, the right first.
    int empty(cClickTarget* trash) {
        int calls = 0;
        for (int32_t* hand : {&right, &left})
            if (*hand) {
                *hand = 0;
                trash->setState(0);
                ++calls;
            }
        return calls;
    }
    // A use whose refusal leaves the hands as they are (coffee brew, cotton choice, oven put).
    bool use(cClickTarget* target, int32_t value = 0) { return target->setState(value); }
    // The oven put: a raw sub from a hand goes in unless the oven refuses.
    bool put(cClickTarget* oven, int32_t* hand) {
        if (!oven->setState(*hand)) return false;
        *hand = 0;
        return true;
    }
};

class StationTest : public RestaurantTest {
protected:
    FrameSound* sound = nullptr;
    int frames = 0;

    void SetUp() override {
        RestaurantTest::SetUp();
        sound = new FrameSound();
        makeBar();
        look.pathsFileName = "Packs/Paths/s1p1.xml";
        try {
            addFile("Packs/Paths/s1p1.xml", file_test::utf16(widen(kStationPaths)));
            addIni("Config/Game/o_drink_station.ini", kDrinkText);
            addIni("Config/Game/o_snack_station.ini", kSnackText);
            addIni("Config/Game/o_cream_station.ini", kCreamText);
            addIni("Config/Game/o_cake_station.ini", kCakeText);
            addIni("Config/Game/o_trash.ini", kTrashText);
            addIni("Config/Game/o_souse_station.ini", kSouseText);
            addIni("Config/Game/o_coffee_station.ini", kCoffeeText);
            addIni("Config/Game/o_oven.ini", ovenIni());
            addIni("Config/game/o_oven_progress.ini", progressIni());
            addIni("Config/Game/o_cotton_st.ini", kCottonStandText);
            addIni("Config/Game/o_cotton.ini", kCottonText);
            addIni("Config/Game/o_cotton_item.ini", kCottonItemText);
        } catch (const std::string& text) {
            FAIL() << text;
        } catch (const char* text) {
            FAIL() << text;
        }
    }
    void TearDown() override {
        RestaurantTest::TearDown();
        delete sound;
        sound = nullptr;
    }
    // One frame of dt game seconds, counted for the sound record.
    void step(float dt) {
        sound->frameNumber = ++frames;
        frame(dt);
    }
    void run(float seconds, float dt = 0.01f) {
        for (float t = 0.0f; t < seconds - 1e-4f; t += dt) step(dt);
    }
    template <class T>
    T* shown(T* node) {
        node->show();
        node->enable();
        return node;
    }
};

}  // namespace station_test
