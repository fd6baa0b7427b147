#pragma once
// The fixture of the restaurant tests: the effects' fixture (fake services with a test clock,
// resources over a private data folder, settings, a bonus bar the test controls) plus a level,
// a score table with tips, the level look (graphics set, upgrades, paths document) and the
// restaurant's configuration files in memory, small enough to reason about:
// - items: "COMMON" overlay offsets per bread, a seven-frame money animation, "CLOUD" offsets
//   for bread 1 only, family offsets inside the clouds and in the hands;
// - clouds: table offset (10,-50), second bubble 40 to the right, all sections visible;
// - tables: table n at (100 n, 300), a 90 x 60 frame, not centred, money places and a
//   clockwise polygon 0..90 x 0..60.

#include <string>

#include "game/characters/cCustomer.h"
#include "game/flow/cLevel.h"
#include "game/restaurant/LevelLook.h"
#include "game/scoring/cScoreTable.h"
#include "tests/game/effects/EffectTestSupport.h"

namespace restaurant_test {

class TestScores : public cScoreTable {
public:
    int32_t getEntry(int32_t index) const override { return index == SCORE_TIP1 ? 30 : index == SCORE_TIP2 ? 15 : 0; }
};

inline const char* const kItemsText =
    "[COMMON]\nvisible=\"1\"\noff_souse_1=\"1,1\"\noff_souse_2=\"2,2\"\noff_souse_3=\"3,3\"\n"
    "off_souse1_1=\"11,11\"\noff_souse1_2=\"12,12\"\noff_souse1_3=\"13,13\"\n"
    "off_hot_1=\"21,21\"\noff_hot_2=\"22,22\"\noff_hot_3=\"23,23\"\n"
    "[MONEY]\npicture=\"x.dds\"\nanim_looped=\"0\"\nanim_length=\"0.7\"\nanim_frame_count=\"7\"\nanim_frame_size=\"32,32\"\n"
    "[CLOUD]\noff_souse_1=\"-1,-1\"\noff_souse1_1=\"-11,-11\"\noff_hot_1=\"-21,-21\"\n"
    "[DRINK]\noff_cloud=\"1,0\"\noff_right_hand_stand=\"5,5\"\noff_right_hand_d=\"6,7\"\n"
    "[CAKE]\noff_cloud=\"2,0\"\noff_left_hand_ur=\"-8,3\"\noff_right_hand_ur=\"8,3\"\n"
    "[SNACK]\noff_cloud=\"3,0\"\n"
    "[COTTONCANDY]\noff_cloud=\"4,0\"\n"
    "[COFFEE]\noff_cloud=\"6,0\"\n"
    "[SUBS]\noff_cloud=\"0,5\"\noff_right_hand_stand=\"0,9\"\n";

inline const char* const kCloudText =
    "[CLOUD_COMMON]\ncloud_offset=\"40,0\"\npicture=\"cloud_small.dds\"\ntransform_origin=\"4,8\"\n"
    "[CLOUD_COMMON_RED]\ncolor=\"255,0,0\"\n";

inline std::string cloudSections() {
    std::string t = kCloudText;
    for (int n = 1; n <= 6; ++n)
        t += "[CLOUD_" + std::to_string(n) + "]\ntable_offset=\"10,-50\"\npicture=\"cloud.dds\"\ntransform_origin=\"6,12\"\n"
             "[CLOUD_" + std::to_string(n) + "_RED]\ncolor=\"255,0,0\"\n";
    return t;
}

inline std::string tableSections() {
    std::string t = "[COMMON]\npicture=\"x.dds\"\nanim_looped=\"1\"\nanim_length=\"0\"\nanim_frame_count=\"1\"\n"
                    "anim_frame_size=\"90,60\"\nfx_money_color=\"4294956800\"\nhighlight_alpha=\"200\"\ntemp_multiplier=\"3\"\n";
    for (int n = 1; n <= 6; ++n) {
        const std::string x = std::to_string(100 * n);
        t += "[TABLE_" + std::to_string(n) + "]\ncentered=\"0\"\nposition=\"" + x + ",300\"\n" +
             "item_position=\"" + x + ",310\"\nitem_position1=\"" + x + ",320\"\nitem_position2=\"" + x + ",330\"\n" +
             "dollar_position=\"" + x + ",290\"\npointer_offset=\"0,-20\"\npointer1_offset=\"10,-20\"\n";
    }
    return t;
}

inline std::string boxSections(int set) {
    std::string t;
    for (int n = 1; n <= 6; ++n)
        t += "[TABLE_" + std::to_string(n) + "]\nv1=\"0,0\"\nv2=\"90,0\"\nv3=\"90," + std::to_string(50 + set * 5) +
             "\"\nv4=\"0," + std::to_string(50 + set * 5) + "\"\n";
    return t;
}

inline const char* const kPathsText =
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?><paths><PathPoints/><Objects>"
    "<TABLE_ORDER_1 control_point=\"130,440\"/><TABLE_ORDER_2 control_point=\"230,490\"/>"
    "<TABLE_ORDER_3 control_point=\"330,440\"/></Objects></paths>";

class RestaurantTest : public effects_test::EffectsTest {
protected:
    cLevelLook look;
    std::unique_ptr<TestScores> scores;

    void SetUp() override {
        EffectsTest::SetUp();
        look.graphicsSet = 2;
        look.upgrades.tables = 2;
        look.upgrades.drink = 1;
        look.upgrades.cotton1 = 1;
        look.pathsFileName = "Packs/Paths/s0p1.xml";
        setLevelLookOverride(&look);
        scores = std::make_unique<TestScores>();
        try {
            addIni("Config/Game/o_items.ini", kItemsText);
            addIni("Config/Game/o_cloud.ini", cloudSections());
            addIni("Config/Game/o_table_order.ini", tableSections());
            for (int set = 1; set <= 3; ++set) addIni("Config/Game/o_table_box" + std::to_string(set) + ".ini", boxSections(set));
            addFile("Packs/Paths/s0p1.xml", file_test::utf16(widen(kPathsText)));
        } catch (const std::string& text) {
            FAIL() << text;
        } catch (const char* text) {
            FAIL() << text;
        }
        level = new cLevel();
        level->show();
        level->enable();
    }
    void TearDown() override {
        EffectsTest::TearDown();
        scores.reset();
        setLevelLookOverride(nullptr);
    }
    // A guest at the given stage with mood and money, a child of the level.
    // Its configuration: patient (a mood step of 1000 s), appearing in 0.1 s; a happy exit
    // plays for 100 s before it walks out.
    cCustomer* makeGuest(int32_t mood, int32_t money) {
        if (!resources->isLoaded(cStringA("Config/Game/c_01.ini")))
            addIni("Config/Game/c_01.ini", "[COMMON]\nwait_time=\"8000\"\norder_time=\"4\"\nappear_time=\"0.1\"\n"
                                           "disappear_time=\"0.1\"\ncombo_mode_order_time=\"1\"\n"
                                           "[EXIT_HAPPY]\nanim_looped=\"0\"\nanim_length=\"100\"\nanim_frame_count=\"2\"\n"
                                           "[MOOD]\nanim_frame_count=\"8\"\nanim_length=\"0.8\"\n");
        cCustomer* guest = new cCustomer(level, 0);
        guest->setMood(mood);
        guest->setMoney(money);
        return guest;
    }
};

}  // namespace restaurant_test
