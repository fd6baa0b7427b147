// Every level of the four demo packs in the built Data folder: playable values, orders the
// level can serve, a campaign that grows, and the shapes the tutorial levels need.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "engine/core/cXmlNode.h"
#include "game/data/LevelPack.h"
#include "game/data/cGameData.h"

namespace fs = std::filesystem;

namespace {

struct Customer {
    int line, type, order1, order2;
    float time, at;
};

std::vector<Customer> customersOf(const cXmlNode* level) {
    std::vector<Customer> out;
    for (int line = 1; line <= 6; ++line) {
        const cXmlNode* l = levelpack::child(level, ("Line_" + std::to_string(line)).c_str());
        for (int n = 1; l && n < 500; ++n) {
            const cXmlNode* h = levelpack::child(l, ("Human_" + std::to_string(n)).c_str());
            if (!h) break;
            Customer c{line, 0, 0, 0, 0, 0};
            levelpack::readInt(h, L"type", &c.type);
            levelpack::readInt(h, L"order_1", &c.order1);
            levelpack::readInt(h, L"order_2", &c.order2);
            levelpack::readFloat(h, L"time", &c.time);
            levelpack::readFloat(h, L"abs_time", &c.at);
            out.push_back(c);
        }
    }
    return out;
}

int32_t intAttr(const cXmlNode* node, const wchar_t* name) {
    int32_t v = -999;
    levelpack::readInt(node, name, &v);
    return v;
}

class DemoLevels : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* file : game::kPackFilesOnDisk) {
            fs::path path = fs::path(RW_DIST_DIR) / "Data" / file;
            std::ifstream in(path, std::ios::binary);
            ASSERT_TRUE(in) << "missing " << path;
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
            ASSERT_NO_THROW(m_docs[file] = cXmlNode::fromBytes(bytes.data(), bytes.size(), cStringA(file))) << file;
        }
        // Each test has a folder of its own: CTest runs the tests of one fixture in parallel.
        m_folder = fs::path(RW_TEST_OUTPUT_DIR) / "demo_levels" /
                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_saved = cGameData::services();
        auto& s = cGameData::services();
        s.commonFolder = [this] { return m_folder.string() + "/"; };
        s.getPack = [this](const cStringA& name) -> const cXmlNode* {
            std::string lower = name;
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return m_docs.at(lower).get();
        };
        s.readSetting = nullptr;
        s.applyVolumes = nullptr;
        s.sleep = nullptr;
        s.log = nullptr;
    }
    void TearDown() override { cGameData::services() = m_saved; }

    std::map<std::string, std::unique_ptr<cXmlNode>> m_docs;
    fs::path m_folder;
    cGameData::Services m_saved;
};

}  // namespace

TEST_F(DemoLevels, EveryLevelOfBothCampaignsIsPlayable) {
    for (int difficulty : {0, 1}) {
        SCOPED_TRACE(difficulty ? "hard" : "easy");
        cGameData data(true, cStringA());
        data.addProfile(cStringW(L"Tester"));
        data.setDifficulty(difficulty);
        // The player's stations of every level as a new player of this game mode has them.
        for (int32_t l = 1; l <= game::kLevelCount; ++l) {
            data.setLevel(l);
            data.initLevelUpgrades();
        }
        int previousCount = 0, previousCombo = 0;
        float previousTime = 0;
        for (int32_t level = 1; level <= game::kLevelCount; ++level) {
            SCOPED_TRACE("level " + std::to_string(level));
            data.setLevel(level);
            const int world = game::worldOfLevel(level);
            const cXmlNode* node = data.getLevelNode();
            ASSERT_NE(node, nullptr);
            EXPECT_EQ(data.getLevel(), level);
            EXPECT_EQ(data.getWorld(), world);
            EXPECT_EQ(data.getGraphicsSet(), world);
            EXPECT_GT(data.getMinGoal(), 0);
            EXPECT_GT(data.getGoal(), 0);
            EXPECT_GE(data.getExpertGoal(), data.getGoal());
            EXPECT_LT(data.getExpertGoal(), data.getMinGoal() + 1);  // reachable: weights below 1
            EXPECT_GT(data.getLevelTime(), 0.0f);
            int32_t combo = intAttr(node, L"combo_sum");
            EXPECT_TRUE(combo >= 10 && combo % 10 == 0) << combo;
            if (intAttr(node, L"is_thief") == 1) {
                float lo = 0, hi = -1;
                levelpack::readFloat(node, L"min_thief_time", &lo);
                levelpack::readFloat(node, L"max_thief_time", &hi);
                EXPECT_LE(lo, hi);
                EXPECT_GE(intAttr(node, L"thief_count_pnt"), 1);
            }

            int32_t upgrades[18];
            for (int a = PA_DRINK; a <= PA_SUB_PLACE_3; ++a) upgrades[a - PA_DRINK] = data.getCurrentProfile().values[a][level - 1];
            const auto customers = customersOf(node);
            ASSERT_FALSE(customers.empty());
            for (const Customer& c : customers) {
                SCOPED_TRACE("line " + std::to_string(c.line) + " at " + std::to_string(c.at));
                EXPECT_TRUE(c.type >= 1 && c.type <= game::kMaxCustomerKind);
                EXPECT_TRUE(levelpack::isOrderServable(c.order1, upgrades, world)) << "order " << c.order1;
                if (c.order2 != 0) {
                    EXPECT_TRUE(levelpack::isOrderServable(c.order2, upgrades, world)) << "order " << c.order2;
                }
                EXPECT_GE(c.time, 0.0f);
                EXPECT_LE(c.at, data.getLevelTime());
            }
            // Sub places without a bread, or a bread without a sub place, would break the counter.
            EXPECT_NE(upgrades[PA_SUB_PLACE_1 - PA_DRINK], 0);
            // Past the tutorials the campaign grows from level to level.
            if (level > 4) {
                EXPECT_GE(static_cast<int>(customers.size()), previousCount);
                EXPECT_GE(combo, previousCombo);
                EXPECT_GE(data.getLevelTime(), previousTime);
            }
            previousCount = static_cast<int>(customers.size());
            previousCombo = combo;
            previousTime = data.getLevelTime();
        }
    }
}

TEST_F(DemoLevels, PacksHoldTwentyLevelsEach) {
    for (const auto& [name, doc] : m_docs) {
        SCOPED_TRACE(name);
        EXPECT_EQ(levelpack::countLevels(doc.get()), uint32_t(game::kLevelsPerWorld));
        for (uint32_t n = 1; n <= uint32_t(game::kLevelsPerWorld); ++n) EXPECT_NE(levelpack::findLevel(doc.get(), n), nullptr) << n;
        EXPECT_EQ(levelpack::findLevel(doc.get(), 21), nullptr);
    }
}

TEST_F(DemoLevels, TutorialLevelsHaveTheShapesTheirScriptsWaitFor) {
    for (const char* file : {game::kPackFilesOnDisk[0], game::kPackFilesOnDisk[1]}) {
        SCOPED_TRACE(file);
        const cXmlNode* pack = m_docs.at(file).get();
        auto level = [&](int n) { return levelpack::findLevel(pack, n); };
        auto first = [&](int n, int line) {
            for (const Customer& c : customersOf(level(n)))
                if (c.line == line) return c;
            return Customer{line, 0, -1, -1, 0, 0};
        };
        auto earliest = [&](int n) {
            float t = 1e9f;
            for (const Customer& c : customersOf(level(n))) t = std::min(t, c.time);
            return t;
        };
        // Level 1: a sub of bread 2 ordered first at table 2; cake and trash lessons; a customer at table 3.
        for (const wchar_t* a : {L"is_sub_1", L"is_sub_2", L"is_sub_place_1", L"is_cake"}) EXPECT_GE(intAttr(level(1), a), 1);
        EXPECT_LE(intAttr(level(1), L"is_coffee"), 1);
        EXPECT_EQ(first(1, 2).order1, 13);
        EXPECT_EQ(first(1, 2).order2, 0);
        EXPECT_EQ(first(1, 2).time, earliest(1));
        EXPECT_GT(first(1, 3).order1, 0);
        // A line counts down only while customers are released: in level 1 from the end of the
        // first sub until table 2 is seated (line 2's time), then again after the trash lesson,
        // whose last step waits at most 7 s. Tables 3 and 4 must be seated inside that window.
        for (int line : {3, 4}) {
            SCOPED_TRACE("level 1, line " + std::to_string(line));
            const float left = first(1, line).time - first(1, 2).time;
            EXPECT_GT(left, 0.5f) << "seated during the sub lesson";
            EXPECT_LE(left, 5.0f) << "seated after the last hint has gone";
        }
        // Level 2: one cup per brew, coffee then coffee with cream.
        EXPECT_EQ(intAttr(level(2), L"is_coffee"), 1);
        EXPECT_GE(intAttr(level(2), L"is_cream"), 1);
        EXPECT_EQ(first(2, 2).order1, 3);
        EXPECT_EQ(first(2, 3).order1, 4);
        EXPECT_EQ(first(2, 2).time, earliest(2));
        // Level 2 releases again once table 2 is free and waits for table 3's guest.
        EXPECT_GT(first(2, 3).time - first(2, 2).time, 0.5f);
        EXPECT_LE(first(2, 3).time - first(2, 2).time, 5.0f);
        // Level 3: a baked sub.
        EXPECT_GE(intAttr(level(3), L"is_oven_1"), 1);
        EXPECT_EQ(first(3, 2).order1, 8);
        EXPECT_EQ(first(3, 2).time, earliest(3));
        // Level 4: a drink and a cake seated together.
        EXPECT_GE(intAttr(level(4), L"is_drink"), 1);
        EXPECT_EQ(first(4, 2).order1, 5);
        EXPECT_EQ(first(4, 3).order1, 1);
        EXPECT_EQ(first(4, 2).time, earliest(4));
        EXPECT_EQ(first(4, 3).time, earliest(4));
        for (int n = 1; n <= 4; ++n) {
            EXPECT_EQ(first(n, 2).order2, 0) << n;
            EXPECT_EQ(intAttr(level(n), L"num_graphics_set"), 1) << n;
        }
        for (int n : {2, 4}) EXPECT_EQ(first(n, 3).order2, 0) << n;
    }
}
