#pragma once
// The fixture of the room tests: the counter's fixture (stations, trash, counter, sounds) plus
// a level whose time left the test sets, the three rooms' files and their curve sets, small
// enough to reason about, and a builder that makes what the level makes, in its order.
//
// Sections sit at distinct positions, so a test sees which one a picture loaded: sub table n
// at (500 + n, 0), sauce table n at (600 + n, 0). The horse curve rises from (0, 0) to
// (300, 30); the balloon's curves run from x 0 to 400 (curve_1 at height 10, curve_2 at 20);
// the door curve runs 0 -> 5 px over 1 s.

#include <string>

#include "game/flow/cLevel.h"
#include "game/restaurant/cRoom1.h"
#include "game/restaurant/cRoom2.h"
#include "game/restaurant/cRoom3.h"
#include "game/effects/EffectSupport.h"
#include "tests/game/restaurant/StationBuild.h"
#include "tests/game/restaurant/SubCounterTestSupport.h"

namespace room_test {

using namespace counter_test;
using effects_test::curve;
using effects_test::curveSet;
using station_test::BuiltStations;
using station_test::buildStations;

class TimedLevel : public cLevel {
public:
    float left = 100.0f;
    float getTimeLeft() const override { return left; }
};

inline std::string section(const std::string& name, const std::string& keys) { return "[" + name + "]\n" + keys; }

inline std::string roomText(int world) {
    std::string t;
    for (const char* s : {"FLOOR", "WALL", "DOORS_WINDOWS", "HAND_RAIL", "TABLE_UPPER", "SUBS_COUNTER", "TABLE_LOWER",
                          "TABLE_COTTON_LOWER", "TABLE_COTTON_UPPER"})
        t += section(s, "deep=\"1\"\n");
    for (int n = 1; n <= 3; ++n) {
        t += section("SUBS_TABLE_" + std::to_string(n), "position=\"" + std::to_string(500 + n) + ",0\"\n");
        t += section("SOUSE_TABLE_" + std::to_string(n), "position=\"" + std::to_string(600 + n) + ",0\"\n");
    }
    t += section("BACK_SCROLL_1", "picture=\"scroll1.dds\"\nspeed=\"100\"\nstart_speed=\"0\"\ndelta_speed=\"50\"\n"
                                  "size=\"400,0\"\ntexture_rect=\"0,0,200,100\"\n");
    t += section("BACK_SCROLL_2", "picture=\"scroll2.dds\"\nspeed=\"50\"\nstart_speed=\"43\"\ndelta_speed=\"25\"\n"
                                  "size=\"400,0\"\ntexture_rect=\"0,0,200,50\"\n");
    std::string lamps1, lamps2;
    for (int k = 1; k <= 7; ++k) {
        lamps1 += "position" + std::to_string(k) + "=\"" + std::to_string(10 * k) + ",1\"\n";
        lamps2 += "position" + std::to_string(k) + "=\"" + std::to_string(10 * k) + ",2\"\n";
    }
    if (world != 2) {
        t += section("HAND_RAIL_ADD_1", "picture=\"lamp1.dds\"\n" + lamps1);
        t += section("HAND_RAIL_ADD_2", "picture=\"lamp2.dds\"\n" + lamps2);
    }
    if (world == 1) {
        t += section("BROKEN_DOOR", "picture=\"door.dds\"\nposition=\"50,60\"\n");
        t += section("LIGHT_DOOR", "picture=\"light.dds\"\n");
        t += section("LIGHT_WINDOW", "picture=\"light.dds\"\nposition1=\"1,0\"\nposition2=\"2,0\"\nposition3=\"3,0\"\n");
        t += section("TRAIN_SOUND", "delay_min_max=\"1,1\"\ncycles_min_max=\"2,2\"\nbetween_cycles_delay=\"0.5\"\n");
    } else if (world == 2) {
        t += section("HORSE", "position=\"0,100\"\nspeed=\"100\"\nstart_speed=\"100\"\ndelta_speed=\"0\"\n"
                              "off_c1=\"1,-10\"\noff_c2=\"2,-10\"\noff_c3=\"3,-10\"\noff_c4=\"4,-10\"\n");
        t += section("HORSEMAN", "deep=\"3\"\n");
        t += section("LIGHT_DAY_EVENINIG", "picture=\"light.dds\"\n" + lamps1);
        t += section("LIGHT_NIGHT", "picture=\"light.dds\"\n" + lamps2 + "position8=\"80,2\"\n");
    } else {
        t += section("LIBERTY", "position=\"300,0\"\n");
        t += section("BALLOON", "position=\"0,50\"\nmin_max_speed=\"100,100\"\nmin_max_delay=\"0,-2\"\n"
                                "min_max_scale=\"0.6,0\"\n");
        t += section("LIGHT", "picture=\"light.dds\"\ndeep=\"7\"\nnight_deep=\"9\"\n");
    }
    return t;
}

class RoomTest : public CounterTest {
protected:
    TimedLevel* timed = nullptr;
    cRoom* room = nullptr;

    void SetUp() override {
        CounterTest::SetUp();
        if (HasFatalFailure()) return;
        // A level whose clock the test sets, in place of the fixture's.
        delete level;
        timed = new TimedLevel();
        timed->show();
        timed->enable();
        level = timed;
        look.level = 1;
        try {
            for (int w = 1; w <= 3; ++w) addIni(roomIniName(w), roomText(w));
            addFile(kBrokenDoorCurves,
                    file_test::utf16(widen(curveSet(curve(1, "door", {"0,0", "1,5"}), curve(2, "unused", {"0,0"})))));
            addFile(kHorseCurves,
                    file_test::utf16(widen(curveSet(curve(1, "horse", {"0,0", "300,30"}), curve(2, "unused", {"0,0"})))));
            addFile(kBalloonCurves, file_test::utf16(widen(curveSet(curve(1, "curve_1", {"0,10", "400,10"}),
                                                                  curve(2, "curve_2", {"0,20", "400,20"})))));
        } catch (const std::string& text) {
            FAIL() << text;
        } catch (const char* text) {
            FAIL() << text;
        }
    }
    // What the level builds, in its order: the stations, the trash, the counter, the room.
    cRoom* buildLevel(int graphicsSet) {
        look.graphicsSet = graphicsSet;
        built = buildStations(level);
        trash = getTrash();
        counter = shown(new cSubStation(level));
        room = buildRoom(level);
        return room;
    }
    cRoom* buildOnly(int graphicsSet) {
        look.graphicsSet = graphicsSet;
        room = buildRoom(level);
        return room;
    }
    void TearDown() override {
        built.release();
        CounterTest::TearDown();
    }
    BuiltStations built;
};

}  // namespace room_test
