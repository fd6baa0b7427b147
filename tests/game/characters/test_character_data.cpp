// The characters' demo data in the built Data folder: the guests', the cook's and the thief's
// files keep the values that make a level run (times above 0, idle and exit runs that end, an
// eight-frame mood display, clockwise polygons, pictures that exist), and every guest of every
// level pack orders, on every random branch, an item its level can make, with goals above 0.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cwchar>
#include <set>

#include "engine/core/cIniFile.h"
#include "engine/core/cXmlNode.h"
#include "game/characters/cCustomerGenerator.h"
#include "game/data/GameConstants.h"
#include "game/data/LevelPack.h"
#include "game/data/cProfile.h"
#include "tests/game/characters/CharacterTestSupport.h"

namespace fs = std::filesystem;
using namespace characters_test;

namespace {

const fs::path kData = fs::path(RW_DIST_DIR) / "Data";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::unique_ptr<cIniFile> readIni(const std::string& name) {
    const std::string bytes = readFile(kData / "config/game" / name);
    if (bytes.empty()) return nullptr;
    return cIniFile::fromBytes(bytes.data(), bytes.size(), cStringA(name.c_str()));
}

std::string text(const cIniFile& ini, const wchar_t* section, const wchar_t* key) {
    const cStringW v = ini.getValue(section, key);
    return std::string(v.begin(), v.end());
}
float number(const cIniFile& ini, const wchar_t* section, const wchar_t* key) {
    float v = -1.0f;
    stringToFloat(&v, ini.getValue(section, key));
    return v;
}
cVector2 vector(const cIniFile& ini, const wchar_t* section, const wchar_t* key) {
    float v[2] = {-99999.0f, -99999.0f};
    parseVector2(v, ini.getValue(section, key));
    return cVector2(v[0], v[1]);
}
bool pictureExists(const cIniFile& ini, const wchar_t* section) {
    const std::string name = text(ini, section, L"picture");
    return !name.empty() && fs::exists(kData / name);
}

TEST(CharacterData, GuestFilesKeepEveryLevelRunning) {
    for (int kind = 0; kind < 9; ++kind) {
        const std::string name = "c_0" + std::to_string(kind + 1) + ".ini";
        SCOPED_TRACE(name);
        auto ini = readIni(name);
        ASSERT_TRUE(ini) << "missing";
        for (const wchar_t* key : {L"appear_time", L"wait_time", L"order_time", L"disappear_time",
                                   L"combo_mode_order_time", L"appear_distance_time", L"disappear_distance_time"})
            EXPECT_GT(number(*ini, L"COMMON", key), 0.0f) << "key " << std::string(key, key + std::wcslen(key));
        EXPECT_GE(number(*ini, L"COMMON", L"max_anim_time"), number(*ini, L"COMMON", L"min_anim_time"));
        for (const wchar_t* section : {L"STAND_HAPPY", L"STAND_ANGRY", L"ORDER", L"EXIT_HAPPY", L"MOOD"}) {
            EXPECT_TRUE(pictureExists(*ini, section)) << text(*ini, section, L"picture");
            EXPECT_GT(number(*ini, section, L"anim_length"), 0.0f);
        }
        for (const wchar_t* section : {L"STAND_HAPPY", L"STAND_ANGRY", L"EXIT_HAPPY"}) {
            EXPECT_EQ(text(*ini, section, L"anim_looped"), "0") << "a run that ends";
            EXPECT_GE(number(*ini, section, L"anim_frame_count"), 2.0f);
        }
        EXPECT_EQ(number(*ini, L"MOOD", L"anim_frame_count"), 8.0f);
        EXPECT_EQ(text(*ini, L"MOOD", L"visible"), "0");
        // A clockwise polygon on screen (y down): every turn to the right.
        std::vector<cVector2> polygon;
        for (int i = 1;; ++i) {
            const cVector2 p = vector(*ini, L"COMMON", (L"v" + std::to_wstring(i)).c_str());
            if (p.x == -99999.0f) break;
            polygon.push_back(p);
        }
        ASSERT_GE(polygon.size(), 3u);
        for (size_t i = 0; i < polygon.size(); ++i) {
            const cVector2 a = polygon[i], b = polygon[(i + 1) % polygon.size()], c = polygon[(i + 2) % polygon.size()];
            EXPECT_GT((b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x), 0.0f) << "corner " << i + 2;
        }
    }
}

TEST(CharacterData, TheCookAndTheThiefHaveTheirPlaces) {
    auto cook = readIni("c_harold.ini");
    ASSERT_TRUE(cook);
    EXPECT_GE(number(*cook, L"STAND", L"max_count_cycles"), 1.0f);
    EXPECT_GE(int(number(*cook, L"STAND", L"max_anim_time")), int(number(*cook, L"STAND", L"min_anim_time")));
    EXPECT_GT(number(*cook, L"COMMON", L"speed_move"), 0.0f);
    EXPECT_NE(vector(*cook, L"COMMON", L"harold_stand_pos"), vector(*cook, L"COMMON", L"harold_work_pos"));
    EXPECT_EQ(text(*cook, L"STAND", L"anim_looped"), "0");
    EXPECT_TRUE(pictureExists(*cook, L"STAND"));
    EXPECT_TRUE(pictureExists(*cook, L"WORKING"));
    auto thief = readIni("c_thief.ini");
    ASSERT_TRUE(thief);
    for (const wchar_t* key : {L"speed_move", L"appear_time", L"appear_distance_time"})
        EXPECT_GT(number(*thief, L"COMMON", key), 0.0f);
    for (int n = 1; n <= 6; ++n) {
        const cVector2 stand = vector(*thief, L"COMMON", (L"position_" + std::to_wstring(n)).c_str());
        const cVector2 start = vector(*thief, L"COMMON", (L"start_position_" + std::to_wstring(n)).c_str());
        EXPECT_GT(stand.x, start.x) << "table " << n;
        EXPECT_GT(start.x, -99999.0f);
    }
    EXPECT_TRUE(pictureExists(*thief, L"THIEF"));
}

// Whether a level with these station values (kUpgradeAttributes order) in this world makes
// the item: its station, or the sub's bread, a plate, an oven when baked and every sauce's
// station as the world builds them (sauce 2 from world 2, sauce 3 in world 3).
bool makes(int32_t item, const int32_t up[18], int world) {
    switch (item) {
    case ITEM_DRINK: return up[0] != 0;
    case ITEM_CAKE: return up[1] != 0;
    case ITEM_SNACK: return up[2] != 0;
    case ITEM_COFFEE: return up[3] != 0;
    case ITEM_COFFEE_CREAM: return up[3] != 0 && up[4] != 0;
    case ITEM_COTTON_CANDY_1: return up[5] != 0;
    case ITEM_COTTON_CANDY_2: return up[6] != 0;
    default: break;
    }
    if (!isSub(item)) return false;
    if (up[12 + subBread(item) - 1] == 0 || (up[15] == 0 && up[16] == 0 && up[17] == 0)) return false;
    if (isBakedSub(item) && up[7] == 0 && up[8] == 0) return false;
    for (int sauce : {firstSauce(item), secondSauce(item)}) {
        if (sauce == 0) continue;
        if (up[9 + sauce - 1] == 0 || world < sauce) return false;
    }
    return true;
}

class PackData : public CharacterTest {};

TEST_F(PackData, EveryGuestOrdersWhatItsLevelMakesAndTheGoalsCanBeShown) {
    // The guests' files as the game loads them.
    for (int kind = 1; kind <= 9; ++kind) {
        const std::string file = "c_0" + std::to_string(kind) + ".ini";
        const cStringA name(("Config/Game/" + file).c_str());
        if (resources->isLoaded(name)) resources->unload(name);
        addFile(name.c_str(), readFile(kData / "config/game" / file));
    }
    int levels = 0;
    for (const char* file : game::kPackFilesOnDisk) {
        const std::string bytes = readFile(kData / file);
        ASSERT_FALSE(bytes.empty()) << file;
        std::unique_ptr<cXmlNode> pack = cXmlNode::fromBytes(bytes.data(), bytes.size(), cStringA(file));
        const int world = file[6] - '0';
        for (uint32_t n = 1; n <= levelpack::countLevels(pack.get()); ++n) {
            SCOPED_TRACE(std::string(file) + " level " + std::to_string(n));
            ++levels;
            const cXmlNode* level = levelpack::findLevel(pack.get(), n);
            ASSERT_TRUE(level);
            int32_t up[18] = {};
            for (int i = 0; i < 18; ++i) levelpack::readInt(level, kUpgradeAttributes[i], &up[i]);
            look.upgrades = world_textures::Upgrades();
            look.upgrades.cotton2 = up[6];
            look.upgrades.sauce1 = up[9];
            look.upgrades.sauce2 = up[10];
            look.upgrades.sauce3 = up[11];
            // Every random branch of every order code of the script.
            for (int line = 1; line <= 6; ++line) {
                const cXmlNode* l = levelpack::child(level, ("Line_" + std::to_string(line)).c_str());
                for (int h = 1; l; ++h) {
                    const cXmlNode* human = levelpack::child(l, ("Human_" + std::to_string(h)).c_str());
                    if (!human) break;
                    int32_t codes[2] = {0, 0};
                    levelpack::readInt(human, L"order_1", &codes[0]);
                    levelpack::readInt(human, L"order_2", &codes[1]);
                    EXPECT_TRUE(codes[0] != 0 || codes[1] != 0) << "line " << line << " guest " << h;
                    for (int32_t code : codes) {
                        if (code == 0) continue;
                        for (int draw = 0; draw < 24; ++draw) {
                            const int32_t item = cCustomerGenerator::orderToItem(code, look.upgrades);
                            EXPECT_TRUE(makes(item, up, world)) << "code " << code << " gives " << item;
                        }
                    }
                }
            }
            // The goals of the script with the test prices.
            auto* generator = new cCustomerGenerator(this->level);
            generator->loadScript(*level);
            uint32_t minGoal = 0, goal = 0, expert = 0;
            float time = 0.0f;
            levelpack::readUnsigned(level, L"min_goal", &minGoal);
            levelpack::readUnsigned(level, L"goal", &goal);
            levelpack::readUnsigned(level, L"expert", &expert);
            levelpack::readFloat(level, L"level_time", &time);
            EXPECT_GT(minGoal, 0u);
            const cCustomerGenerator::Goals goals = generator->goalsFor(minGoal, goal, expert, time);
            EXPECT_GT(goals.goal, 0);
            EXPECT_LE(goals.goal, goals.expert);
            int32_t thief = 0, points = 0;
            levelpack::readInt(level, L"is_thief", &thief);
            levelpack::readInt(level, L"thief_count_pnt", &points);
            if (thief == 1) EXPECT_GE(points, 1);
            delete generator;
            flush();
        }
    }
    EXPECT_EQ(levels, 4 * game::kLevelsPerWorld);
}

}  // namespace
