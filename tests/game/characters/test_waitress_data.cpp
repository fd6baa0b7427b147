// The waitress's demo data in the built Data folder: every layout's path graph reads, has no
// node at (0,0), stands every object of its layout on a node and joins every node to table
// 1's point both ways; her configuration keeps her walking and idling, and every sheet she
// names exists.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/core/cIniFile.h"
#include "engine/core/cXmlNode.h"
#include "game/characters/PathGraph.h"
#include "game/characters/cWaitress.h"
#include "tests/game/characters/WaitressTestSupport.h"

namespace fs = std::filesystem;
using namespace waitress_test;

namespace {

TEST(WaitressData, EveryLayoutsGraphJoinsEveryObjectToTableOne) {
    for (int sauce = 0; sauce <= 1; ++sauce)
        for (int places = 0; places <= 3; ++places) {
            const std::string name = "s" + std::to_string(sauce) + "p" + std::to_string(places) + ".xml";
            SCOPED_TRACE(name);
            const std::string bytes = readDataFile("packs/paths/" + name);
            ASSERT_FALSE(bytes.empty()) << "missing";
            auto root = cXmlNode::fromBytes(bytes.data(), bytes.size(), cStringA(name.c_str()));
            ASSERT_TRUE(root);
            const cPathGraph graph = readPathGraph(*root);
            ASSERT_GE(graph.nodes.size(), 2u);
            EXPECT_FALSE(graph.isNode(cVector2())) << "a node at (0,0) cannot be reached";
            for (const auto& [position, neighbours] : graph.nodes) {
                EXPECT_EQ(position.x, float(int(position.x))) << "whole numbers match exactly";
                EXPECT_EQ(position.y, float(int(position.y)));
                for (const cVector2& n : neighbours) EXPECT_TRUE(graph.isNode(n)) << n.x << "," << n.y;
            }

            const cXmlNode* objects = nullptr;
            ASSERT_TRUE(root->getChild("Objects", objects));
            std::vector<std::string> names;
            for (auto it = objects->childrenBegin(); it != objects->childrenEnd(); ++it) {
                names.push_back(it->first.str());
                EXPECT_TRUE(graph.isNode(controlPointOf(*root, it->first.c_str()))) << it->first.str() << " stands off the graph";
            }
            std::vector<std::string> wanted = {"TABLE_ORDER_1", "TABLE_ORDER_2", "TABLE_ORDER_3", "TABLE_ORDER_4",
                                               "TABLE_ORDER_5", "TABLE_ORDER_6", "DRINK_STATION", "CAKE_STATION",
                                               "SNACK_STATION", "COFFEE_STATION", "CREAM_STATION", "COTTON_STATION",
                                               "OVEN", "TRASH"};
            if (sauce) wanted.push_back("SOUSE_STATION");
            for (int k = 1; k <= places; ++k) wanted.push_back("SUB_PLACE_" + std::to_string(k));
            for (const std::string& w : wanted)
                EXPECT_NE(std::find(names.begin(), names.end(), w), names.end()) << w << " is not placed";

            const cXmlNode* table1 = nullptr;
            ASSERT_TRUE(objects->getChild("TABLE_ORDER_1", table1));
            const cVector2 home = controlPointOf(*root, "TABLE_ORDER_1");
            for (const auto& [position, neighbours] : graph.nodes) {
                bool there = false, back = false;
                findPath(graph, home, position, &there);
                findPath(graph, position, home, &back);
                EXPECT_TRUE(there && back) << position.x << "," << position.y;
            }
        }
}

TEST(WaitressData, HerConfigurationKeepsHerWalkingAndIdling) {
    const std::string bytes = readDataFile("config/game/c_lucinda.ini");
    ASSERT_FALSE(bytes.empty());
    auto ini = cIniFile::fromBytes(bytes.data(), bytes.size(), cStringA("c_lucinda.ini"));
    ASSERT_TRUE(ini);
    auto number = [&](const wchar_t* section, const wchar_t* key) {
        float v = -1.0f;
        stringToFloat(&v, ini->getValue(section, key));
        return v;
    };
    for (const wchar_t* key : {L"speed_move_world_1", L"speed_move_world_2", L"speed_move_world_3"})
        EXPECT_GT(number(L"COMMON", key), 0.0f);
    EXPECT_GE(number(L"COMMON", L"inc_speed_move"), 0.0f);
    EXPECT_GE(number(L"COMMON", L"temp_speed_up"), 0.0f);
    for (const wchar_t* stand : {L"STAND", L"STAND_1", L"STAND_2"}) {
        EXPECT_EQ(number(stand, L"anim_looped"), 0.0f) << "an idle run that ends";
        EXPECT_GE(number(stand, L"anim_frame_count"), 2.0f);
        EXPECT_GT(number(stand, L"anim_length"), 0.0f);
        EXPECT_GE(number(stand, L"count_cycles"), 1.0f);
        EXPECT_GE(number(stand, L"min_anim_time"), 0.0f);
        EXPECT_GE(number(stand, L"max_anim_time"), number(stand, L"min_anim_time"));
    }
    for (const wchar_t* run : {L"RUN_L", L"RUN_DR", L"RUN_D", L"RUN_DL", L"RUN_R", L"RUN_UR", L"RUN_U", L"RUN_UL"}) {
        EXPECT_EQ(number(run, L"anim_looped"), 1.0f);
        EXPECT_GT(number(run, L"anim_length"), 0.0f);
        EXPECT_FALSE(ini->getValue(run, L"off_right_hand").isEmpty());
        EXPECT_FALSE(ini->getValue(run, L"off_left_hand").isEmpty());
    }
    for (int code = 0; code < 27; ++code) {
        cStringA sheet = waitressSheet(code);
        sheet.makeLower();
        EXPECT_TRUE(fs::exists(kDataFolder / sheet.str())) << sheet.str();
    }
}

}  // namespace
