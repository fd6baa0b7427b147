#pragma once
// The fixture of the sub counter tests: the station fixture plus the counter's files, small
// enough to reason about, and a stand-in for the level that builds the trash, then the
// counter, as the level does, and plays the level's part in each frame (hover pick, then the
// plate flag, then the update).
//
// Plates: a 48 x 32 picture, polygon around the position, fade-in 0.4 s from 20 px above,
// slide 0.2 s. Plates 1..3 at (700, 300 + 60 i); breads at (600 + 40 i, 250). Preparation:
// bread 1, 2, 3 take 1, 2, 3 s in set 1 (2, 3, 4 s in set 2, 3, 4, 5 s in set 3), less 0.5 s once the maker is
// upgraded; twice as fast in bonus mode. The hint fades at 2000 alpha a second.

#include <string>

#include "game/characters/cSandwichMaker.h"
#include "game/restaurant/cSub.h"
#include "game/restaurant/cSubPlace.h"
#include "game/restaurant/cSubStation.h"
#include "game/restaurant/cTrash.h"
#include "tests/game/restaurant/StationTestSupport.h"

namespace counter_test {

using namespace station_test;

inline const char* const kSubText =
    "[COMMON]\ncentered=\"1\"\ndeep=\"215\"\nanim_looped=\"1\"\nanim_length=\"0\"\nanim_frame_count=\"1\"\n"
    "anim_frame_size=\"40,20\"\nhighlight_alpha=\"300\"\npointer_offset=\"0,-20\"\npointer1_offset=\"10,-20\"\n"
    "v1=\"0,0\"\nv2=\"40,0\"\nv3=\"40,20\"\nv4=\"0,20\"\n";
inline const char* const kSubPlaceText =
    "[COMMON]\npicture=\"Game/Worlds/Common/Items/none.dds\"\ncentered=\"1\"\ndeep=\"220\"\nhighlight_alpha=\"180\"\n"
    "pointer_offset=\"0,-24\"\npointer1_offset=\"12,-24\"\nappear_time=\"0.4\"\nmove_time=\"0.2\"\n"
    "appear_pos_off=\"0,-20\"\nv1=\"-24,-16\"\nv2=\"24,-16\"\nv3=\"24,16\"\nv4=\"-24,16\"\n";
inline const char* const kSubStationText =
    "[COMMON]\ngeneration_time_1_world_1=\"1\"\ngeneration_time_2_world_1=\"2\"\ngeneration_time_3_world_1=\"3\"\n"
    "generation_time_1_world_2=\"2\"\ngeneration_time_2_world_2=\"3\"\ngeneration_time_3_world_2=\"4\"\n"
    "generation_time_1_world_3=\"3\"\ngeneration_time_2_world_3=\"4\"\ngeneration_time_3_world_3=\"5\"\n"
    "dec_generation_time=\"0.5\"\ntemp_multiplier=\"2\"\n"
    "[HINT_SUB]\npicture=\"hint.dds\"\nvisible=\"0\"\n"
    "[COUNT_PLATES_1]\nplate_position_1=\"700,300\"\n"
    "[COUNT_PLATES_2]\nplate_position_1=\"700,300\"\nplate_position_2=\"700,360\"\n"
    "[COUNT_PLATES_3]\nplate_position_1=\"700,300\"\nplate_position_2=\"700,360\"\nplate_position_3=\"700,420\"\n"
    "[COUNT_SUBS_1]\nsub_position_1=\"600,250\"\n"
    "[COUNT_SUBS_2]\nsub_position_1=\"600,250\"\nsub_position_2=\"640,250\"\n"
    "[COUNT_SUBS_3]\nsub_position_1=\"600,250\"\nsub_position_2=\"640,250\"\nsub_position_3=\"680,250\"\n";
inline const char* const kCookText =
    "[COMMON]\nspeed_move=\"100\"\ntemp_multiplier=\"2\"\nharold_stand_pos=\"600,150\"\nharold_work_pos=\"650,150\"\n"
    "[STAND]\nmin_anim_time=\"1\"\nmax_anim_time=\"2\"\nmax_count_cycles=\"1\"\npicture=\"cook.dds\"\n"
    "[WORKING]\npicture=\"cook.dds\"\n";
inline const char* const kCounterPaths =
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?><paths><PathPoints/><Objects>"
    "<TRASH control_point=\"500,500\"/><SUB_PLACE_1 control_point=\"650,300\"/>"
    "<SUB_PLACE_2 control_point=\"650,360\"/><SUB_PLACE_3 control_point=\"650,420\"/></Objects></paths>";

class CounterTest : public StationTest {
protected:
    cTrash* trash = nullptr;
    cSubStation* counter = nullptr;
    // The level's hovered target of this frame, as its pick leaves it.
    cClickTarget* hovered = nullptr;

    void SetUp() override {
        StationTest::SetUp();
        if (HasFatalFailure()) return;
        look.graphicsSet = 1;
        look.pathsFileName = "Packs/Paths/s0p3.xml";
        look.upgrades.sub1 = look.upgrades.sub2 = look.upgrades.sub3 = 1;
        look.upgrades.subPlace1 = look.upgrades.subPlace2 = look.upgrades.subPlace3 = 1;
        for (const char* t : {"Game/Worlds/Common/Items/none.dds", "Game/Worlds/Common/Items/sub01.dds",
                              "Game/Worlds/Common/Items/sub02.dds", "Game/Worlds/Common/Items/sub03.dds", "hint.dds",
                              "cook.dds"})
            services.addTexture(t, 48, 32);
        try {
            addFile("Packs/Paths/s0p3.xml", file_test::utf16(widen(kCounterPaths)));
            addIni("Config/Game/o_sub.ini", kSubText);
            addIni("Config/Game/o_sub_place.ini", kSubPlaceText);
            addIni("Config/Game/o_sub_st.ini", kSubStationText);
            addIni("Config/Game/c_harold.ini", kCookText);
        } catch (const std::string& text) {
            FAIL() << text;
        } catch (const char* text) {
            FAIL() << text;
        }
    }
    // The trash, then the counter, under the level, as the level builds them.
    cSubStation* build() {
        trash = shown(new cTrash(level));
        counter = shown(new cSubStation(level));
        return counter;
    }
    // One frame as the level runs it: the pick over the counter, the plate flag, the update.
    void levelFrame(float dt) {
        services.mousePosition = mouse;
        counter->updateHover(true, false);
        hovered = counter->isHovered() ? counter->getHoveredPlace() : nullptr;
        counter->setPlaceHovered(false);
        if (hovered && hovered->getKind() == KIND_SUB_PLACE && hovered->getState() != 0) counter->setPlaceHovered(true);
        step(dt);
    }
    void levelRun(float seconds, float dt = 0.01f) {
        for (float t = 0.0f; t < seconds - 1e-4f; t += dt) levelFrame(dt);
    }
    cVector2 mouse{-100.0f, -100.0f};
};

}  // namespace counter_test
